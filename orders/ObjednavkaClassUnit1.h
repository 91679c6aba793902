#pragma once
// The order: the titles ticked in the other-titles window with their pieces and prices, and
// the fixed-layout text document made of it.
#include <QByteArray>
#include <QString>

#include <functional>
#include <list>

namespace platform {
class TextChannel;
}

namespace katalog {

struct TObjednavkaItem {
    int position;  // the title's row in the title list, the item's key
    int quantity;
    int price;  // of one piece, whole currency units
};

// What the document shows besides the items.
struct OrderDocumentInputs {
    // The customer's details as typed in the order form.
    QString ico, dic, firma, jmeno, adresa, psc, mesto, telefon, fax, email;
    // A publisher detail by its key in [adresa]; empty when absent.
    std::function<QString(const QString& key)> publisher;
    // A title's name by its row in the title list; empty for a row that is not there.
    std::function<QString(int position)> titleName;
};

class TObjednavkaClass {
public:
    // Puts a new item in front of the others and returns it.
    TObjednavkaItem& AddItem(int position, int quantity, int price);
    // Removes the first item with this position; nothing when there is none.
    void RemoveItem(int position);
    // The first item with this position, or nullptr. The caller may change its quantity.
    TObjednavkaItem* FindItem(int position);
    bool IsEmpty() const { return items_.empty(); }
    // Newest first.
    const std::list<TObjednavkaItem>& items() const { return items_; }

    // The whole document in Windows-1250, lines ended by CR LF.
    QByteArray Document(const OrderDocumentInputs& in) const;
    // Builds the document first, so that a failure never leaves half of it behind, then
    // hands it to the channel. Channel errors propagate as platform::KatalogError.
    void WriteDocument(platform::TextChannel& channel, const OrderDocumentInputs& in) const;

private:
    std::list<TObjednavkaItem>::iterator find(int position);

    std::list<TObjednavkaItem> items_;
};

// One two-column address line: label + customer value padded to 44 characters (a longer
// text is left as it is), then label + publisher value. Columns count encoded characters.
QByteArray MakePrintLine(const QString& label, const QString& customer, const QString& publisher);

// The postage as the total counts it: a whole number, or 0 for any other text.
int postageValue(const QString& text);

}  // namespace katalog

#include "orders/ObjednavkaClassUnit1.h"

#include "platform/Codec.h"
#include "platform/PrintChannel.h"
#include "platform/ProfileFile.h"

#include <algorithm>

namespace katalog {
namespace {

constexpr int AddressColumn = 44;
constexpr int DocumentLines = 33;  // item lines that fit before the stamp line moves down

QByteArray padRight(QByteArray s, qsizetype width) {
    if (s.size() < width)
        s.append(width - s.size(), ' ');
    return s;
}

QByteArray padLeft(const QByteArray& s, qsizetype width) {
    return s.size() < width ? QByteArray(width - s.size(), ' ') + s : s;
}

// Decimal text of a sum that no number of 32-bit products can overflow.
QByteArray decimal(__int128 v) {
    const bool negative = v < 0;
    unsigned __int128 u =
        negative ? 0 - static_cast<unsigned __int128>(v) : static_cast<unsigned __int128>(v);
    QByteArray digits;
    do {
        digits.prepend(char('0' + int(u % 10)));
        u /= 10;
    } while (u != 0);
    return negative ? '-' + digits : digits;
}

QByteArray enc(const QString& s) { return platform::toCp1250(s); }

}  // namespace

TObjednavkaItem& TObjednavkaClass::AddItem(int position, int quantity, int price) {
    return items_.emplace_front(TObjednavkaItem{position, quantity, price});
}

std::list<TObjednavkaItem>::iterator TObjednavkaClass::find(int position) {
    return std::find_if(items_.begin(), items_.end(),
                        [position](const TObjednavkaItem& i) { return i.position == position; });
}

void TObjednavkaClass::RemoveItem(int position) {
    if (const auto it = find(position); it != items_.end())
        items_.erase(it);
}

TObjednavkaItem* TObjednavkaClass::FindItem(int position) {
    const auto it = find(position);
    return it == items_.end() ? nullptr : &*it;
}

QByteArray MakePrintLine(const QString& label, const QString& customer, const QString& publisher) {
    return padRight(enc(label + customer), AddressColumn) + enc(label + publisher);
}

int postageValue(const QString& text) { return platform::parseInteger(text, true).value_or(0); }

QByteArray TObjednavkaClass::Document(const OrderDocumentInputs& in) const {
    const auto pub = [&in](const char* key) {
        return in.publisher ? in.publisher(QString::fromLatin1(key)) : QString();
    };
    const QByteArray rule(70, '_');
    QList<QByteArray> lines;
    lines << enc(QStringLiteral("OBJEDNÁVKA")) << rule;
    lines << MakePrintLine(QStringLiteral("IČO:"), in.ico, pub("ico"));
    lines << MakePrintLine(QStringLiteral("DIČ:"), in.dic, pub("dic"));
    lines << MakePrintLine({}, in.firma, pub("Firma"));
    lines << MakePrintLine({}, in.jmeno, pub("jmeno"));
    lines << MakePrintLine({}, in.adresa, pub("ulice"));
    lines << MakePrintLine({}, in.psc + QLatin1Char(' ') + in.mesto,
                           pub("PSC") + QLatin1Char(' ') + pub("mesto"));
    lines << MakePrintLine({}, QStringLiteral("telefon:") + in.telefon, pub("telef"));
    lines << MakePrintLine({}, QStringLiteral("fax:") + in.fax, pub("fax"));
    lines << MakePrintLine({}, QStringLiteral("e-mail:") + in.email, pub("mail"));
    lines << rule << QByteArray();
    lines << enc(
        QStringLiteral("                               cena za kus  počet kusů     cena celkem"));
    lines << rule;

    __int128 total = 0;
    for (const TObjednavkaItem& item : items_) {
        const qint64 lineTotal = qint64(item.quantity) * item.price;
        total += lineTotal;
        const QString name = in.titleName ? in.titleName(item.position) : QString();
        lines << padRight(enc(name), 36) + padLeft(QByteArray::number(item.price), 4) +
                     padLeft(QByteArray::number(item.quantity), 12) +
                     padLeft(QByteArray::number(lineTotal), 17);
    }

    // The line shows what the total counts: a text that is not a whole number counts 0.
    const int postage = postageValue(pub("postovne"));
    total += postage;
    lines << enc(QStringLiteral("Poštovné        ")) + padLeft(QByteArray::number(postage), 53);
    lines << padLeft("----------", 70);
    lines << padLeft(decimal(total) + ".00", 69);

    const qsizetype n = qsizetype(items_.size());
    for (qsizetype i = n; i < DocumentLines; ++i)
        lines << QByteArray();
    lines << padLeft(enc(QStringLiteral("Razítko a podpis")), 65) << QByteArray() << rule;
    lines << enc(QStringLiteral("   Ceny jsou včetně 5% DPH"));

    QByteArray doc;
    for (const QByteArray& line : lines)
        doc += line + "\r\n";
    return doc;
}

void TObjednavkaClass::WriteDocument(platform::TextChannel& channel,
                                     const OrderDocumentInputs& in) const {
    channel.write(Document(in));
}

}  // namespace katalog

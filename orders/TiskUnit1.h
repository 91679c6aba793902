#pragma once
// The order form: the customer's details, then the order document printed or, without a
// printer, saved as a text file.
#include "orders/ObjednavkaClassUnit1.h"

#include <QDialog>

#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;

namespace katalog {

class TMain;

class TTiskForm : public QDialog {
    Q_OBJECT
public:
    TTiskForm(TMain& main, QWidget* parent);
    void FormCreate();

    // The publisher's detail by its key in [adresa] of dalsicd.INI, read afresh each time.
    QString CtiCastAdresy(const QString& key) const;
    QString MakePrintLine(const QString& label, const QString& customer,
                          const QString& publisher) const;
    // The document's inputs as the form holds them now.
    OrderDocumentInputs DocumentInputs() const;

    void TiskClick();
    void ZrusitClick();

    // The platform dialogs, replaceable so that tests can drive the print and save paths.
    struct PlatformDialogs {
        std::function<QStringList()> printerNames;
        // Configures the printer; false when the user cancelled.
        std::function<bool(QPrinter&, QWidget* parent)> printDialog;
        // The file name chosen; nullopt when the user cancelled.
        std::function<std::optional<QString>(QWidget* parent)> saveFileName;
    };
    void setPlatformDialogs(PlatformDialogs dialogs) { dialogs_ = std::move(dialogs); }
    static PlatformDialogs systemDialogs();

    QLineEdit* ICOEdit;
    QLineEdit* DICEdit;
    QLineEdit* FirmaEdit;
    QLineEdit* JmenoEdit;
    QLineEdit* AdresaEdit;
    QLineEdit* MestoEdit;
    QLineEdit* EmailEdit;
    QLineEdit* FaxEdit;
    QLineEdit* TelefonEdit;
    QLineEdit* PSCEdit;
    QPushButton* Tisk;
    QPushButton* Zrusit;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Print();

    TMain& main_;
    PlatformDialogs dialogs_;
};

}  // namespace katalog

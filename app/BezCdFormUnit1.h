#pragma once
// Shown when no CD was found: says so in the program's language and offers a folder, a CD
// image, the demo CD installed with the program, or the end.
#include <QDialog>

#include <optional>

class QLabel;
class QPushButton;

namespace katalog {

class TBezCdForm : public QDialog {
    Q_OBJECT
public:
    enum Choice { End = QDialog::Rejected, ChooseFolder = 10, ChooseImage, OpenDemo };

    // demoAvailable: the demo CD is installed, so its button is offered.
    TBezCdForm(bool slovak, bool demoAvailable, QWidget* parent = nullptr);

    QLabel* Nadpis;
    QLabel* Text;
    QPushButton* Slozka;
    QPushButton* Obraz;
    QPushButton* Ukazka;
    QPushButton* Konec;
};

// Several media hold a CD: the user picks one. Returns its index, or -1.
int VyberCd(const QStringList& names, bool slovak, QWidget* parent = nullptr);

// The demo CD installed with the program ("share/katalog/demo-cd" beside its "bin"), or
// empty when it is not there.
QString installedDemoCd();

// The data root of this start: the folder or CD image named by the one argument, else the
// program's own folder, a mounted medium or the CD chosen last time, else what the user
// chooses in the no-CD window. A named folder or image that holds no CD is said so.
// Nothing: the user chose to end.
std::optional<QString> NajdiCd(const QStringList& arguments);

}  // namespace katalog

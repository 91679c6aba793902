#pragma once
// The catalogue window: sections, the program list, the detail view of the selected
// program, sorting, search, the program actions and favourites.
#include "app/Forms.h"
#include "catalogue/CatalogueLoader.h"
#include "catalogue/CatalogueStore.h"
#include "catalogue/InstalledState.h"
#include "platform/ProfileFile.h"
#include "platform/Registry.h"
#include "widgets/ImageList.h"

#include <QCollator>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>

#include <memory>

namespace katalog {

class TEzRgnBtn;
class TPictureBox;

class TProgramyForm : public TContentForm {
    Q_OBJECT
public:
    TProgramyForm(TMain& main, QWidget* parent);

    void FormCreate();

    // Catalogue loading. LoadINI and LoadTXT work on the container that FullDecrypt has open.
    void FullDecrypt();
    void LoadINI();
    void LoadTXT();
    const CatalogueStore& store() const { return store_; }
    const DescriptionTable& descriptions() const { return descriptions_; }
    QString title() const;

    // Sections, list and detail view.
    void NactiSekce();
    void NastavSekci(const QString& name);
    void SeznamSekciChange(int index);
    void SetNeutral();
    void SeznamProgramuClick();
    void NastavTlacitka(const QString& name);
    void NastavText(const QString& name);
    void NastavNahled(const QString& name);
    void FormActivate();
    void PopisProgramuKeyUp();
    void PopisProgramuMouseUp();

    // Sorting and search.
    void TypTrideniChange(int index);
    void FiltrClick();
    void Edit1Change(const QString& text);
    void Edit1KeyPress();

    // Program actions.
    void SpustitClick();
    void InstalovatClick();
    void KopirovatClick();
    void PopisClick();
    void InternetClick();
    void TovanaLogoClick();
    // True when the program's installer ran from here and the registry knows it; leaves
    // InstalledPath and UninstallCommand.
    bool InstalledCheck(const QString& name);

    // Favourites.
    void NastavMenuZalozek();
    void ZalClick();
    void OpenListMenu();
    void PridatClick();
    void OdebratClick();

    // The rows of the program list, top to bottom.
    QStringList programRows() const;
    QString selectedProgram() const;

    QLabel* Desktop;
    QLabel* Line;
    QLabel* bmpLupa;
    TPictureBox* Nahled;
    QLabel* KonceptPic;
    QLabel* HodnoceniPic;
    QLabel* VelikostPic;
    QLabel* OSpic;
    QPlainTextEdit* PopisProgramu;
    QComboBox* SeznamSekci;
    QComboBox* TypTrideni;
    QListWidget* SeznamProgramu;
    QLineEdit* Edit1;
    TEzRgnBtn* Spustit;
    TEzRgnBtn* Instalovat;
    TEzRgnBtn* Kopirovat;
    TEzRgnBtn* Popis;
    TEzRgnBtn* Filtr;
    TEzRgnBtn* Internet;
    TEzRgnBtn* btnZalozky;
    TEzRgnBtn* TovanaLogo;
    QMenu* PopupMenu1;
    QAction* Pridat;
    QAction* Odebrat;

    TImageList PopisList, HledatList, Instalace, OdInstalace, KopirovatList, SpustitList,
        InternetList, TovanaList, PridZalList, OdebZalList, OSList, VelikostList, HodnoceniList,
        KonceptList;

    // The controls' integer tags.
    int sectionTag() const { return sectionTag_; }
    int listTag() const { return listTag_; }
    int orderTag() const { return orderTag_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void clearDescriptionSelection();
    QString ReadString(const QString& program, const char* key) const;
    int ReadInteger(const QString& program, const char* key) const;
    // Fills the program list; sorted lists are alphabetical by the collation.
    void setRows(QStringList rows, bool sorted);
    void showIcon(QLabel* icon, const TImageList& list, int index);
    void hideIcon(QLabel* icon);
    // Runs a modal window above the catalogue; the catalogue is "activated" again after.
    void runModal(QDialog* dialog);
    // Reports a start that failed; a started process refreshes the buttons when it ends.
    void RefreshWhenEnded(const platform::StartResult& started);
    // The program folder's file: ProgramDir + source + "\" + file, inside the CD only.
    std::optional<QString> programFile(const QString& source, const QString& file) const;
    platform::ProfileFile settings() const;
    InstalledState installedState();
    const QString& foldedDescription(int index);

    CatalogueStore store_;
    // Parsed registry files stay cached between selections.
    platform::Registry registry_;
    DescriptionTable descriptions_;
    std::unique_ptr<CatalogueLoader> loader_;  // only while FullDecrypt runs
    QList<QString> folded_;  // search texts by slot, made when first searched
    QCollator collator_;
    bool listSorted_ = true;
    int sectionTag_ = -1;
    int listTag_ = -1;
    int orderTag_ = 0;
    bool selectedByPress_ = false;
};

}  // namespace katalog

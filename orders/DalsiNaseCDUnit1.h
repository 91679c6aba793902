#pragma once
// The publisher's other CD titles: the list, a cover, a description and the order corner.
#include "app/Forms.h"
#include "orders/ObjednavkaClassUnit1.h"
#include "platform/ProfileFile.h"
#include "widgets/ImageList.h"

class QLabel;
class QListWidget;
class QTextEdit;

namespace katalog {

class TEzRgnBtn;

class TDalsiNaseCDForm : public TContentForm {
    Q_OBJECT
public:
    enum class DetailMode { Normal, Extended };

    TDalsiNaseCDForm(TMain& main, QWidget* parent);
    void FormCreate();

    void NactiTituly();
    void UpdateAll();
    void UpdateIcons();
    void UpdateText();
    void UpdatePurchase();

    void SeznamTituluClick();
    void ViceInfoClick();
    void ObjednavkaChkClick();
    void KusuIncClick();
    void KusuDecClick();
    void TiskClick();

    int ShownTitle() const { return shownTitle_; }
    DetailMode detailMode() const { return detailMode_; }
    bool InOrderShown() const { return inOrderShown_; }

    QLabel* Plocha;
    QLabel* Nadpis;
    QLabel* ObjRamecek;
    QLabel* PridatDoObj;
    QLabel* PocKusu;
    QLabel* Pocitadlo;
    QLabel* BookletCD;
    QLabel* Pozadavky;
    QLabel* PocetCD;
    QLabel* Data;
    QListWidget* SeznamTitulu;
    QTextEdit* PopisTitulu;
    QLabel* PocetKusu;
    TEzRgnBtn* ObjednavkaChk;
    TEzRgnBtn* KusuDec;
    TEzRgnBtn* KusuInc;
    TEzRgnBtn* ViceInfo;
    TEzRgnBtn* Tisk;

    TImageList TiskList, ViceInfoList, ZobrObalList, DecList, IncList, PocetCDList, PozadavkyList,
        DataList, Zaskrtnuto, Nezaskrtnuto;

    TObjednavkaClass Objednavka;

private:
    // dalsicd.INI, opened afresh for every value.
    platform::ProfileFile Ini() const;
    // The selected title's row and name; -1 and empty when none is selected.
    int selected() const;
    QString selectedName() const;
    void showInOrder(bool inOrder);
    void setQuantity(TObjednavkaItem& item, int quantity);

    int shownTitle_ = -1;
    DetailMode detailMode_ = DetailMode::Normal;
    bool inOrderShown_ = false;
};

}  // namespace katalog

#include "orders/DalsiNaseCDUnit1.h"

#include "app/MainFormUnit1.h"

#include <QLabel>

namespace katalog {

TDalsiNaseCDForm::TDalsiNaseCDForm(TMain& main, QWidget* parent) : TContentForm(main, parent) {
    setObjectName(QStringLiteral("DalsiNaseCDForm"));
}

void TDalsiNaseCDForm::FormCreate() {
    placeOnContentArea();
    auto* background = new QLabel(this);
    background->setPixmap(QPixmap::fromImage(main_.LoadSkinPicture(skin::ContentPlocha)));
    background->adjustSize();
    background->lower();
}

}  // namespace katalog

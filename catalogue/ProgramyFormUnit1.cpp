#include "catalogue/ProgramyFormUnit1.h"

#include "app/MainFormUnit1.h"

#include <QLabel>

namespace katalog {

TProgramyForm::TProgramyForm(TMain& main, QWidget* parent) : TContentForm(main, parent) {
    setObjectName(QStringLiteral("ProgramyForm"));
}

void TProgramyForm::FormCreate() {
    placeOnContentArea();
    auto* background = new QLabel(this);
    background->setPixmap(QPixmap::fromImage(main_.LoadSkinPicture(skin::ContentPlocha)));
    background->adjustSize();
    background->lower();
}

}  // namespace katalog

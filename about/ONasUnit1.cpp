#include "about/ONasUnit1.h"

#include "app/MainFormUnit1.h"

#include <QLabel>

namespace katalog {

TONas::TONas(TMain& main, QWidget* parent) : TContentForm(main, parent) {
    setObjectName(QStringLiteral("ONas"));
}

void TONas::FormCreate() {
    placeOnContentArea();
    auto* background = new QLabel(this);
    background->setPixmap(QPixmap::fromImage(main_.LoadSkinPicture(skin::ContentPlocha)));
    background->adjustSize();
    background->lower();
}

}  // namespace katalog

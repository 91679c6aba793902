#include "settings/NastaveniUnit1.h"

#include "app/MainFormUnit1.h"

#include <QLabel>

namespace katalog {

TNastaveniForm::TNastaveniForm(TMain& main, QWidget* parent) : TContentForm(main, parent) {
    setObjectName(QStringLiteral("NastaveniForm"));
}

void TNastaveniForm::FormCreate() {
    placeOnContentArea();
    auto* background = new QLabel(this);
    background->setPixmap(QPixmap::fromImage(main_.LoadSkinPicture(skin::ContentPlocha)));
    background->adjustSize();
    background->lower();
}

}  // namespace katalog

namespace katalog {

void TNastaveniForm::SetFont(const QFont&, const QColor&) {}

}  // namespace katalog

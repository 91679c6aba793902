#include "app/ErrorDialogUnit1.h"

#include "app/Layouts.h"
#include "app/MainFormUnit1.h"
#include "app/Shell.h"
#include "widgets/EzRgnBtn.h"
#include "widgets/Keyboard.h"

namespace katalog {

TErrorDialog::TErrorDialog(TMain& main, QWidget* parent) : TSkinDialog(main, parent) {
    setObjectName(QStringLiteral("ErrorDialog"));
    setWindowTitle(QStringLiteral("Chyba"));
    EPlocha = makePicture(this, QStringLiteral("EPlocha"));
    Opakovat = makeButton(this, QStringLiteral("Opakovat"));
    Zrusit = makeButton(this, QStringLiteral("Zrusit"));
    connect(Opakovat, &TEzRgnBtn::clicked, this, &TErrorDialog::OpakovatClick);
    connect(Zrusit, &TEzRgnBtn::clicked, this, &TErrorDialog::ZrusitClick);
    keys::setFocusOrder(layout::focusOrder(this, layout::ErrorDialogFocus));
}

void TErrorDialog::FormCreate() {
    main_.NaplnImageList(ZrusitList, skin::ErrorZrusit);
    Zrusit->setImageList(&ZrusitList);
    main_.NaplnImageList(OpakovatList, skin::ErrorOpak);
    Opakovat->setImageList(&OpakovatList);
    EPlocha->move(0, 0);
    const QSize background = main_.ShowSkinPictureOrReport(EPlocha, skin::ErrorPlocha);
    EPlocha->lower();
    setFixedSize(background);
    centreOnContentArea();
    layout::apply(this, layout::ErrorDialog, shell().HighRes);
}

int TErrorDialog::exec() { return main_.terminationRequested() ? Cancel : TSkinDialog::exec(); }

// The dialog follows the main menu window if it was moved.
void TErrorDialog::showEvent(QShowEvent* event) {
    centreOnContentArea();
    TSkinDialog::showEvent(event);
}

void TErrorDialog::OpakovatClick() { done(Retry); }
void TErrorDialog::ZrusitClick() { done(Cancel); }

}  // namespace katalog

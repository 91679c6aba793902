#include "app/Forms.h"

#include "app/Layouts.h"
#include "app/MainFormUnit1.h"
#include "app/Shell.h"
#include "menu/DesktopUnit1.h"
#include "widgets/EzRgnBtn.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace katalog {

QLabel* makePicture(QWidget* parent, const QString& name) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    return l;
}

TEzRgnBtn* makeButton(QWidget* parent, const QString& name, const QString& hint) {
    auto* b = new TEzRgnBtn(parent);
    b->setObjectName(name);
    b->setHint(hint);
    b->setShowHint(!hint.isEmpty());
    return b;
}

void setWhiteBackground(QWidget* window) {
    window->setAutoFillBackground(true);
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, Qt::white);
    window->setPalette(pal);
}

TContentForm::TContentForm(TMain& main, QWidget* parent) : QWidget(parent), main_(main) {
    setWhiteBackground(this);
    hide();
}

void TContentForm::placeOnContentArea() {
    const auto& g = shell().HighRes ? layout::MenuLarge : layout::MenuSmall;
    setGeometry(g.contentDx, g.contentDy, g.contentWidth, g.contentHeight);
}

void TContentForm::closeEvent(QCloseEvent* event) {
    event->accept();
    FormClose();
}

void TContentForm::FormClose() {
    if (auto* desktop = main_.forms().DesktopForm)
        desktop->hide();
    main_.UnLoadForms();
}

TSkinDialog::TSkinDialog(TMain& main, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), main_(main) {
    setModal(true);
}

void TSkinDialog::centreOnContentArea() {
    const Shell& s = shell();
    move(s.ContentLeft + (s.ContentWidth - width()) / 2, s.ContentTop + (s.ContentHeight - height()) / 2);
}

void TSkinDialog::centreOnScreen() {
    const QSize screen = TMain::screenSize();
    move((screen.width() - width()) / 2, (screen.height() - height()) / 2);
}

}  // namespace katalog

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
#include <QTimer>

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

QPoint centredOnScreen(QSize frame) {
    const QRect screen = TMain::screenGeometry();
    return {screen.x() + (screen.width() - frame.width()) / 2, screen.y() + (screen.height() - frame.height()) / 2};
}

namespace {

class CentreWhenShown : public QObject {
public:
    explicit CentreWhenShown(QWidget* window) : QObject(window), window_(window) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            centre();
            // The window manager has mapped and placed the window by then.
            QTimer::singleShot(100, this, [this] {
                if (window_->isVisible())
                    centre();
            });
        }
        return false;
    }

private:
    void centre() { window_->move(centredOnScreen(window_->frameGeometry().size())); }

    QWidget* window_;
};

}  // namespace

void centreOnScreenWhenShown(QWidget* window) { window->installEventFilter(new CentreWhenShown(window)); }

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

void TSkinDialog::centreOnScreen() { move(centredOnScreen(size())); }

}  // namespace katalog

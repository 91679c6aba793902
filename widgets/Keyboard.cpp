#include "widgets/Keyboard.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QShortcut>
#include <QWidget>

namespace katalog::keys {

namespace {

bool cues = false;

class CueWatch : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        // A key that a shortcut takes never arrives as a key press.
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
            setCuesShown(true);
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            setCuesShown(false);
            break;
        default:
            break;
        }
        return false;
    }
};

}  // namespace

void install() {
    static CueWatch* watch = nullptr;
    if (watch || !qApp)
        return;
    watch = new CueWatch(qApp);
    qApp->installEventFilter(watch);
}

bool cuesShown() { return cues; }

void setCuesShown(bool shown) {
    if (cues == shown)
        return;
    cues = shown;
    if (QWidget* focused = QApplication::focusWidget())
        focused->update();
}

bool showsMark(const QWidget* control) { return cues && control->hasFocus(); }

void drawFocusMark(QPainter& p, QRect bounds) {
    const int inset = std::min({3, bounds.width() / 4, bounds.height() / 4});
    const QRect r = bounds.adjusted(inset, inset, -inset - 1, -inset - 1);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    // White under black dots: one of the two always differs from the skin beneath.
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(r);
    p.drawRect(r.adjusted(1, 1, -1, -1));
    QPen dots(Qt::black, 1, Qt::CustomDashLine);
    dots.setDashPattern({2, 2});
    p.setPen(dots);
    p.drawRect(r);
    p.drawRect(r.adjusted(1, 1, -1, -1));
    p.restore();
}

bool isPressKey(const QKeyEvent* event) {
    const int key = event->key();
    return (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) &&
           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

void setFocusOrder(const QList<QWidget*>& order) {
    // Qt links only controls that take the focus now; a button disabled for the moment
    // keeps its place for when it is enabled.
    QList<QWidget*> lent;
    for (QWidget* w : order)
        if (w->focusPolicy() == Qt::NoFocus) {
            w->setFocusPolicy(Qt::TabFocus);
            lent.append(w);
        }
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    for (QWidget* w : lent)
        w->setFocusPolicy(Qt::NoFocus);
}

void focusFirstIn(QWidget* container) {
    QWidget* start = container->window();
    for (QWidget* w = start->nextInFocusChain(); w != start; w = w->nextInFocusChain()) {
        if (container->isAncestorOf(w) && w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void bind(QWidget* widget, std::initializer_list<QKeySequence> keys, std::function<void()> action,
          Qt::ShortcutContext context) {
    for (const QKeySequence& key : keys) {
        auto* shortcut = new QShortcut(key, widget);
        shortcut->setContext(context);
        QObject::connect(shortcut, &QShortcut::activated, widget, action);
    }
}

}  // namespace katalog::keys

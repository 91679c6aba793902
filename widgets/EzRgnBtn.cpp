#include "widgets/EzRgnBtn.h"

#include "widgets/ImageList.h"
#include "widgets/Keyboard.h"

#include <QAccessibleWidget>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include <utility>

namespace katalog {

namespace {

constexpr int RepeatIntervalMs = 300;

// Skin pictures are bitmaps, drawn whole: a picture with an alpha channel is made opaque.
QImage asBitmap(const QImage& image) {
    return image.hasAlphaChannel() ? image.convertToFormat(QImage::Format_RGB32) : image;
}

TWMMouse messageOf(const QMouseEvent* event) {
    return {event->position().toPoint(), event->buttons(), event->modifiers()};
}

// What assistive technology sees of a region button: a push button, or a check box with
// its state, disabled by the button's own flag rather than Qt's.
class RgnBtnAccessible : public QAccessibleWidget {
public:
    explicit RgnBtnAccessible(TEzRgnBtn* button) : QAccessibleWidget(button) {}

    QAccessible::Role role() const override {
        return button()->checkable() ? QAccessible::CheckBox : QAccessible::PushButton;
    }

    QAccessible::State state() const override {
        QAccessible::State st = QAccessibleWidget::state();
        const TEzRgnBtn* b = button();
        st.disabled = !b->buttonEnabled();
        st.focusable = b->buttonEnabled();
        st.pressed = b->buttonEnabled() && (b->keyPressed() || (b->pressed() && b->hovered()));
        st.checkable = b->checkable();
        st.checked = b->checkable() && b->checked();
        return st;
    }

    QStringList actionNames() const override {
        if (!button()->buttonEnabled())
            return {};
        return {button()->checkable() ? toggleAction() : pressAction()};
    }

    void doAction(const QString& name) override {
        if (name == pressAction() || name == toggleAction())
            button()->Click();
    }

private:
    TEzRgnBtn* button() const { return static_cast<TEzRgnBtn*>(widget()); }
};

QAccessibleInterface* accessibleFor(const QString& className, QObject* object) {
    if (className == QLatin1String("katalog::TEzRgnBtn") && object->isWidgetType())
        return new RgnBtnAccessible(static_cast<TEzRgnBtn*>(object));
    return nullptr;
}

}  // namespace

TEzRgnBtn::TEzRgnBtn(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Moves are reported also without a mouse button held.
    setMouseTracking(true);
    // A click gives no focus: a mouse user never sees a focus mark move.
    setFocusPolicy(Qt::TabFocus);
    keys::install();
    static const bool accessible = (QAccessible::installFactory(accessibleFor), true);
    Q_UNUSED(accessible);
    repeat_.setTimerType(Qt::PreciseTimer);
    repeat_.setInterval(RepeatIntervalMs);
    connect(&repeat_, &QTimer::timeout, this, [this] { RepeatClick(); });
}

void TEzRgnBtn::setButtonEnabled(bool enabled) {
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    if (QAccessible::isActive()) {
        QAccessible::State state;
        state.disabled = true;
        QAccessibleStateChangeEvent event(this, state);
        QAccessible::updateAccessibility(&event);
    }
    // A disabled button is passed over by Tab; one that loses its focus so hands it on.
    setFocusPolicy(enabled ? Qt::TabFocus : Qt::NoFocus);
    if (!enabled) {
        keyPressed_ = false;
        updateRepeat();
        if (hasFocus())
            focusNextPrevChild(true);
    }
    redraw();
}

void TEzRgnBtn::setChecked(bool checked) {
    const bool changed = !checkable_ || checked_ != checked;
    checkable_ = true;
    checked_ = checked;
    if (changed && QAccessible::isActive()) {
        QAccessible::State state;
        state.checked = true;
        QAccessibleStateChangeEvent event(this, state);
        QAccessible::updateAccessibility(&event);
    }
}

void TEzRgnBtn::setAutoRepeat(bool on) {
    autoRepeat_ = on;
    updateRepeat();
}

void TEzRgnBtn::setPicIdle(const QImage& image) {
    picIdle_ = asBitmap(image);
    if (region_) {
        clearMask();
        region_ = false;
        buildShape();
    }
    redraw();
}

void TEzRgnBtn::setPicUp(const QImage& image) {
    picUp_ = asBitmap(image);
    redraw();
}

void TEzRgnBtn::setPicDown(const QImage& image) {
    picDown_ = asBitmap(image);
    redraw();
}

void TEzRgnBtn::setPicDsbld(const QImage& image) {
    picDsbld_ = asBitmap(image);
    redraw();
}

void TEzRgnBtn::setPaintMode(PaintMode mode) {
    if (paintMode_ == mode)
        return;
    if (paintMode_ == PaintMode::Crop) {
        clearMask();
        region_ = false;
    }
    paintMode_ = mode;
    // Left-out pixels show what lies behind the button.
    setAttribute(Qt::WA_OpaquePaintEvent, mode != PaintMode::Transparent);
    if (mode == PaintMode::Crop && !region_)
        buildShape();
    redraw();
}

void TEzRgnBtn::setImageList(const TImageList* list) {
    if (list == imageList_)
        return;
    imageList_ = list;
    if (!list)
        return;
    const int n = list->count();
    // The idle picture is written directly: assigning a list does not rebuild the shape.
    if (n > 0) {
        picIdle_ = asBitmap(list->image(0));
        redraw();
    }
    if (n > 1)
        setPicUp(list->image(1));
    if (n > 2)
        setPicDown(list->image(2));
    if (n > 3)
        setPicDsbld(list->image(3));
}

void TEzRgnBtn::setHint(const QString& hint) {
    hint_ = hint;
    updateAccessibleName();
    updateToolTip();
}

void TEzRgnBtn::setCaption(const QString& caption) {
    caption_ = caption;
    updateAccessibleName();
}

void TEzRgnBtn::updateAccessibleName() { setAccessibleName(hint_.isEmpty() ? caption_ : hint_); }

void TEzRgnBtn::setShowHint(bool show) {
    showHint_ = show;
    updateToolTip();
}

void TEzRgnBtn::updateToolTip() { setToolTip(showHint_ ? hint_ : QString()); }

const QImage& TEzRgnBtn::currentImage() const {
    const QImage& idle = enabled_ || picDsbld_.isNull() ? picIdle_ : picDsbld_;
    if (((pressed_ && hover_) || keyPressed_) && enabled_)
        return picDown_.isNull() ? idle : picDown_;
    if (hover_ && !pressed_ && enabled_)
        return picUp_.isNull() ? idle : picUp_;
    return idle;
}

void TEzRgnBtn::fitToImage() {
    const QImage& img = currentImage();
    if (!img.isNull() && size() != img.size())
        resize(img.size());
}

// Immediate, not deferred: the new picture is on screen when the change returns.
void TEzRgnBtn::redraw() {
    fitToImage();
    repaint();
}

void TEzRgnBtn::paintEvent(QPaintEvent*) {
    const QImage& img = currentImage();
    if (img.isNull() || paintLock_)
        return;
    paintLock_ = true;
    // A size given from outside (a form's design size) yields to the picture.
    fitToImage();
    QPainter p(this);
    if (paintMode_ == PaintMode::Transparent) {
        QImage keyed = img.convertToFormat(QImage::Format_ARGB32);
        const QRgb key = img.pixel(0, 0) & RGB_MASK;
        for (int y = 0; y < keyed.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
            for (int x = 0; x < keyed.width(); ++x)
                if ((line[x] & RGB_MASK) == key)
                    line[x] = 0;
        }
        p.drawImage(0, 0, keyed);
    } else {
        p.drawImage(0, 0, img);
    }
    if (keys::showsMark(this))
        keys::drawFocusMark(p, rect());
    paintLock_ = false;
}

// The window keeps every pixel of the idle picture except those of the colour of its
// top-left pixel.
void TEzRgnBtn::buildShape() {
    if (picIdle_.isNull() || paintLock_)
        return;
    paintLock_ = true;
    const QImage img = picIdle_.convertToFormat(QImage::Format_RGB32);
    const QRgb key = img.pixel(0, 0);
    // One band per row: the runs of pixels that differ from the key.
    QList<QRect> runs;
    for (int y = 0; y < img.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width();) {
            while (x < img.width() && line[x] == key)
                ++x;
            const int start = x;
            while (x < img.width() && line[x] != key)
                ++x;
            if (x > start)
                runs.append(QRect(start, y, x - start, 1));
        }
    }
    QRegion shape;
    shape.setRects(runs.constData(), int(runs.size()));
    setMask(shape);
    region_ = true;
    paintLock_ = false;
    repaint();
}

TWMMouse TEzRgnBtn::messageHere() const {
    return {mapFromGlobal(QCursor::pos()), QGuiApplication::mouseButtons(),
            QGuiApplication::keyboardModifiers()};
}

void TEzRgnBtn::setHover(bool hover, const TWMMouse& msg) {
    if (hover_ == hover)
        return;
    hover_ = hover;
    redraw();
    Q_EMIT hover ? OnMouseEnter(msg) : OnMouseLeave(msg);
    updateRepeat();
}

// The left button went up where the button never heard of it (a window that took the
// mouse meanwhile): the press is over, without a click.
void TEzRgnBtn::releaseLost() {
    pressed_ = false;
    redraw();
    updateRepeat();
}

void TEzRgnBtn::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    // No enter reaches a button that holds the mouse: a press still marked here was lost.
    if (pressed_ && !(QGuiApplication::mouseButtons() & Qt::LeftButton))
        releaseLost();
    const QPoint pos = event->position().toPoint();
    setHover(true, {pos, QGuiApplication::mouseButtons(), event->modifiers()});
}

void TEzRgnBtn::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    setHover(false, messageHere());
}

void TEzRgnBtn::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const TWMMouse msg = messageOf(event);
    // A press is always over the button, even when no enter came before it.
    setHover(true, msg);
    pressed_ = true;
    redraw();
    Q_EMIT OnMouseDown(msg);
    updateRepeat();
}

// While the button holds the mouse Qt sends no enter or leave: hover follows the moves.
void TEzRgnBtn::mouseMoveEvent(QMouseEvent* event) {
    const TWMMouse msg = messageOf(event);
    if (pressed_ && !(event->buttons() & Qt::LeftButton))
        releaseLost();
    if (pressed_)
        setHover(rect().contains(msg.pos), msg);
    QWidget::mouseMoveEvent(event);
    Q_EMIT OnMouseMove(msg);
}

void TEzRgnBtn::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    // The release of an ignored double click, or of a press that ended elsewhere.
    if (!pressed_)
        return;
    const TWMMouse msg = messageOf(event);
    const bool inside = rect().contains(msg.pos);
    // The click runs while the pressed picture is still shown. Its handler may hide the
    // button or let it go.
    if (inside && !clickSurvived())
        return;
    pressed_ = false;
    redraw();
    Q_EMIT OnMouseUp(msg);
    updateRepeat();
    // Qt reports the leave of a release outside only after it; the picture follows at once.
    // A click that ran a modal window took the pointer away, and no second leave comes when
    // that window closes: the hover is where the pointer is now.
    if (isVisible())
        setHover(inside && underMouse(), messageHere());
}

// A double click's second press is no press at all: a quick double click is one click.
void TEzRgnBtn::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

// A hidden button holds no press and no hover, so a repeating one stops clicking.
void TEzRgnBtn::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    hover_ = false;
    pressed_ = false;
    keyPressed_ = false;
    updateRepeat();
}

// The key goes down: the pressed picture and, for a repeating button, the repeat; the key
// coming up clicks, as the mouse button does inside. The keyboard's own repeat is no press.
void TEzRgnBtn::keyPressEvent(QKeyEvent* event) {
    if (!keys::isPressKey(event)) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (event->isAutoRepeat() || keyPressed_ || !enabled_)
        return;
    keyPressed_ = true;
    pressKey_ = event->key();
    redraw();
    updateRepeat();
}

void TEzRgnBtn::keyReleaseEvent(QKeyEvent* event) {
    const bool same = keyPressed_ && event->key() == pressKey_;
    if (!same) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    event->accept();
    if (!event->isAutoRepeat() && clickSurvived())
        endKeyPress();
}

// Focus taken away while a key holds the button: the press is over, without a click.
void TEzRgnBtn::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    if (keyPressed_)
        endKeyPress();
}

void TEzRgnBtn::endKeyPress() {
    keyPressed_ = false;
    redraw();
    updateRepeat();
}

bool TEzRgnBtn::clickSurvived() {
    const QPointer<TEzRgnBtn> self(this);
    Click();
    return !self.isNull();
}

void TEzRgnBtn::updateRepeat() {
    if (autoRepeat_ && ((hover_ && pressed_) || keyPressed_)) {
        if (!repeat_.isActive())
            repeat_.start();
    } else {
        repeat_.stop();
    }
}

void TEzRgnBtn::RepeatClick() { Click(); }

void TEzRgnBtn::Click() {
    if (enabled_)
        Q_EMIT clicked();
}

}  // namespace katalog

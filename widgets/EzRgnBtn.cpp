#include "widgets/EzRgnBtn.h"

#include "widgets/ImageList.h"

#include <QBitmap>
#include <QMouseEvent>
#include <QPainter>

namespace katalog {

namespace {
constexpr int RepeatIntervalMs = 300;
}

TEzRgnBtn::TEzRgnBtn(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    repeat_.setInterval(RepeatIntervalMs);
    connect(&repeat_, &QTimer::timeout, this, [this] { RepeatClick(); });
}

void TEzRgnBtn::setButtonEnabled(bool enabled) {
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    redraw();
}

void TEzRgnBtn::setAutoRepeat(bool on) {
    autoRepeat_ = on;
    updateRepeat();
}

void TEzRgnBtn::setPicIdle(const QImage& image) {
    picIdle_ = image;
    if (region_) {
        clearMask();
        region_ = false;
        buildShape();
    }
    redraw();
}

void TEzRgnBtn::setPicUp(const QImage& image) {
    picUp_ = image;
    redraw();
}

void TEzRgnBtn::setPicDown(const QImage& image) {
    picDown_ = image;
    redraw();
}

void TEzRgnBtn::setPicDsbld(const QImage& image) {
    picDsbld_ = image;
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
    // Direct member writes, not setPicIdle: assigning a list does not rebuild the shape.
    if (n > 0) { picIdle_ = list->image(0); redraw(); }
    if (n > 1) setPicUp(list->image(1));
    if (n > 2) setPicDown(list->image(2));
    if (n > 3) setPicDsbld(list->image(3));
}

void TEzRgnBtn::setHint(const QString& hint) {
    hint_ = hint;
    setAccessibleName(hint);
    updateToolTip();
}

void TEzRgnBtn::setShowHint(bool show) {
    showHint_ = show;
    updateToolTip();
}

void TEzRgnBtn::updateToolTip() { setToolTip(showHint_ ? hint_ : QString()); }

const QImage& TEzRgnBtn::currentImage() const {
    const QImage& idle = enabled_ || picDsbld_.isNull() ? picIdle_ : picDsbld_;
    if (pressed_ && hover_ && enabled_)
        return picDown_.isNull() ? idle : picDown_;
    if (hover_ && !pressed_ && enabled_)
        return picUp_.isNull() ? idle : picUp_;
    return idle;
}

void TEzRgnBtn::redraw() {
    const QImage& img = currentImage();
    if (!img.isNull() && size() != img.size())
        resize(img.size());
    repaint();
}

void TEzRgnBtn::paintEvent(QPaintEvent*) {
    const QImage& img = currentImage();
    if (img.isNull())
        return;
    QPainter p(this);
    if (paintMode_ == PaintMode::Transparent) {
        QImage keyed = img.convertToFormat(QImage::Format_ARGB32);
        const QRgb key = img.pixel(0, 0);
        for (int y = 0; y < keyed.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(keyed.scanLine(y));
            for (int x = 0; x < keyed.width(); ++x)
                if ((line[x] & 0xFFFFFF) == (key & 0xFFFFFF))
                    line[x] = 0;
        }
        p.drawImage(0, 0, keyed);
    } else {
        p.drawImage(0, 0, img);
    }
}

void TEzRgnBtn::buildShape() {
    if (picIdle_.isNull())
        return;
    const QImage mask = picIdle_.createMaskFromColor(picIdle_.pixel(0, 0), Qt::MaskOutColor);
    setMask(QRegion(QBitmap::fromImage(mask)));
    region_ = true;
}

void TEzRgnBtn::setHover(bool hover) {
    if (hover_ == hover)
        return;
    hover_ = hover;
    redraw();
    Q_EMIT hover ? mouseEntered() : mouseLeft();
    updateRepeat();
}

void TEzRgnBtn::enterEvent(QEnterEvent* event) {
    QWidget::enterEvent(event);
    setHover(true);
}

void TEzRgnBtn::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    setHover(false);
}

void TEzRgnBtn::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    pressed_ = true;
    hover_ = rect().contains(event->position().toPoint());
    redraw();
    Q_EMIT mousePressed();
    updateRepeat();
}

// While the button holds the mouse grab Qt sends no enter or leave: hover follows the moves.
void TEzRgnBtn::mouseMoveEvent(QMouseEvent* event) {
    if (pressed_)
        setHover(rect().contains(event->position().toPoint()));
    QWidget::mouseMoveEvent(event);
}

void TEzRgnBtn::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const bool inside = rect().contains(event->position().toPoint());
    // The click runs while the pressed picture is still shown.
    if (inside)
        Click();
    pressed_ = false;
    hover_ = inside;
    redraw();
    Q_EMIT mouseReleased();
    updateRepeat();
}

// A double click's second press is no press at all: a quick double click is one click.
void TEzRgnBtn::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

void TEzRgnBtn::updateRepeat() {
    if (autoRepeat_ && hover_ && pressed_) {
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

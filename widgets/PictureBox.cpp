#include "widgets/PictureBox.h"

#include "widgets/Keyboard.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace katalog {

TPictureBox::TPictureBox(QWidget* parent) : QLabel(parent) { setMouseTracking(true); }

void TPictureBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        pressed_ = true;
    event->accept();
}

// A click is a left press and release on the picture; the release then reports its button.
void TPictureBox::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = event->button() == Qt::LeftButton && pressed_ &&
                       rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        pressed_ = false;
    event->accept();
    if (click)
        Q_EMIT clicked();
    Q_EMIT mouseReleased(event->button());
}

// The second press of a double click is no click of its own.
void TPictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
    event->accept();
    pressed_ = false;
    if (event->button() == Qt::LeftButton)
        Q_EMIT doubleClicked();
}

void TPictureBox::mouseMoveEvent(QMouseEvent* event) {
    Q_EMIT mouseMoved();
    QLabel::mouseMoveEvent(event);
}

void TPictureBox::keyPressEvent(QKeyEvent* event) {
    if (!keys::isPressKey(event)) {
        QLabel::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!event->isAutoRepeat())
        Q_EMIT keyPressed();
}

void TPictureBox::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (keys::showsMark(this)) {
        QPainter p(this);
        keys::drawFocusMark(p, rect());
    }
}

}  // namespace katalog

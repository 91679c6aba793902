#include "widgets/PictureBox.h"

#include <QMouseEvent>

namespace katalog {

TPictureBox::TPictureBox(QWidget* parent) : QLabel(parent) { setMouseTracking(true); }

void TPictureBox::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void TPictureBox::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click)
        Q_EMIT clicked();
    Q_EMIT mouseReleased(event->button());
}

void TPictureBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        Q_EMIT doubleClicked();
}

void TPictureBox::mouseMoveEvent(QMouseEvent* event) {
    Q_EMIT mouseMoved();
    QLabel::mouseMoveEvent(event);
}

}  // namespace katalog

#pragma once
// A picture control that tells its owner about clicks, double clicks and mouse movement.
#include <QLabel>

namespace katalog {

class TPictureBox : public QLabel {
    Q_OBJECT
public:
    explicit TPictureBox(QWidget* parent = nullptr);

Q_SIGNALS:
    void clicked();
    void doubleClicked();
    void mouseMoved();
    void mouseReleased(Qt::MouseButton button);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

}  // namespace katalog

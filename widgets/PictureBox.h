#pragma once
// A picture control that tells its owner about clicks, double clicks and mouse movement.
// One that takes the focus is opened by Space or Enter and shows the focus mark.
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
    void keyPressed();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool pressed_ = false;
};

}  // namespace katalog

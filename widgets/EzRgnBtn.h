#pragma once
// The image-driven push button of every window: idle, mouse-over, pressed and disabled
// pictures from a skin image list; click on release inside; optional auto repeat.
#include <QImage>
#include <QTimer>
#include <QWidget>

namespace katalog {

class TImageList;

enum class PaintMode { Normal, Crop, Transparent };

class TEzRgnBtn : public QWidget {
    Q_OBJECT
public:
    explicit TEzRgnBtn(QWidget* parent = nullptr);

    // The button's own enabled flag. The Qt widget stays enabled, so a disabled button
    // still tracks the mouse and shows its hint, but draws its disabled picture and never
    // clicks.
    void setButtonEnabled(bool enabled);
    bool buttonEnabled() const { return enabled_; }
    bool disabled() const { return !enabled_; }

    bool autoRepeat() const { return autoRepeat_; }
    void setAutoRepeat(bool on);

    const QImage& picIdle() const { return picIdle_; }
    const QImage& picUp() const { return picUp_; }
    const QImage& picDown() const { return picDown_; }
    const QImage& picDsbld() const { return picDsbld_; }
    void setPicIdle(const QImage& image);
    void setPicUp(const QImage& image);
    void setPicDown(const QImage& image);
    void setPicDsbld(const QImage& image);

    PaintMode paintMode() const { return paintMode_; }
    void setPaintMode(PaintMode mode);

    // Copies the list's pictures; the same list again does nothing, and pictures the list
    // lacks keep what they had.
    void setImageList(const TImageList* list);
    const TImageList* imageList() const { return imageList_; }

    void setHint(const QString& hint);
    const QString& hint() const { return hint_; }
    void setShowHint(bool show);
    bool showHint() const { return showHint_; }

    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    bool hovered() const { return hover_; }
    bool pressed() const { return pressed_; }
    // The picture the button shows now.
    const QImage& currentImage() const;

    // The repeat timer's handler: the click operation.
    virtual void RepeatClick();
    // Fires clicked() when enabled.
    void Click();

Q_SIGNALS:
    void clicked();
    void mouseEntered();
    void mouseLeft();
    void mousePressed();
    void mouseReleased();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void setHover(bool hover);
    void redraw();
    void updateRepeat();
    void buildShape();
    void updateToolTip();

    bool enabled_ = true;
    bool autoRepeat_ = false;
    bool hover_ = false;
    bool pressed_ = false;
    bool region_ = false;
    int tag_ = 0;
    PaintMode paintMode_ = PaintMode::Normal;
    const TImageList* imageList_ = nullptr;
    QImage picIdle_, picUp_, picDown_, picDsbld_;
    QString hint_;
    bool showHint_ = false;
    QTimer repeat_;
};

}  // namespace katalog

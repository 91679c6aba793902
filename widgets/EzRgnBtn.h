#pragma once
// The image-driven push button of every window: idle, mouse-over, pressed and disabled
// pictures from a skin image list; click on release inside; optional auto repeat. An
// enabled button takes the keyboard focus, and Space or Enter press it like the mouse.
#include <QImage>
#include <QMetaType>
#include <QPoint>
#include <QTimer>
#include <QWidget>

namespace katalog {

class TImageList;

enum class PaintMode { Normal, Crop, Transparent };

// The mouse message handed to the mouse handlers: where the pointer is in the button and
// which mouse buttons and keys are held.
struct TWMMouse {
    QPoint pos;
    Qt::MouseButtons buttons;
    Qt::KeyboardModifiers keys;
};

class TEzRgnBtn : public QWidget {
    Q_OBJECT
    // The published properties by their names; Qt's own "enabled" stays on (below), and
    // clicked() is the OnClick event.
    Q_PROPERTY(bool AutoRepeat READ autoRepeat WRITE setAutoRepeat)
    Q_PROPERTY(bool Enabled READ buttonEnabled WRITE setButtonEnabled)
    Q_PROPERTY(bool Disabled READ disabled)
    Q_PROPERTY(QImage PicIdle READ picIdle WRITE setPicIdle)
    Q_PROPERTY(QImage PicDown READ picDown WRITE setPicDown)
    Q_PROPERTY(QImage PicUp READ picUp WRITE setPicUp)
    Q_PROPERTY(QImage PicDsbld READ picDsbld WRITE setPicDsbld)
    Q_PROPERTY(katalog::PaintMode PaintMode READ paintMode WRITE setPaintMode)
    Q_PROPERTY(QString Hint READ hint WRITE setHint)
    Q_PROPERTY(bool ShowHint READ showHint WRITE setShowHint)
    Q_PROPERTY(int Tag READ tag WRITE setTag)

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

    // The hint is the tool tip while ShowHint is on. The accessible name is the hint, or
    // without one the caption: what the picture says.
    void setHint(const QString& hint);
    void setCaption(const QString& caption);
    const QString& caption() const { return caption_; }
    const QString& hint() const { return hint_; }
    void setShowHint(bool show);
    bool showHint() const { return showHint_; }

    // A button whose pictures show a tick is a check box to assistive technology; the
    // first setChecked makes it one.
    void setChecked(bool checked);
    bool checkable() const { return checkable_; }
    bool checked() const { return checked_; }

    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    bool hovered() const { return hover_; }
    bool pressed() const { return pressed_; }
    // Held down by Space or Enter while it has the focus.
    bool keyPressed() const { return keyPressed_; }
    // The picture the button shows now.
    const QImage& currentImage() const;
    // Test seam: the auto-repeat timer, running while a repeating button is held inside.
    const QTimer& repeatTimer() const { return repeat_; }

    // The repeat timer's handler: the click operation.
    virtual void RepeatClick();
    // Fires clicked() when enabled.
    virtual void Click();

Q_SIGNALS:
    void clicked();
    void OnMouseEnter(const katalog::TWMMouse& msg);
    void OnMouseLeave(const katalog::TWMMouse& msg);
    void OnMouseDown(const katalog::TWMMouse& msg);
    void OnMouseUp(const katalog::TWMMouse& msg);
    void OnMouseMove(const katalog::TWMMouse& msg);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void setHover(bool hover, const TWMMouse& msg);
    void releaseLost();
    void endKeyPress();
    // Clicks; false when the click's handler deleted the button.
    bool clickSurvived();
    void redraw();
    void fitToImage();
    void updateRepeat();
    void buildShape();
    void updateToolTip();
    void updateAccessibleName();
    TWMMouse messageHere() const;

    bool enabled_ = true;
    bool autoRepeat_ = false;
    bool hover_ = false;
    bool pressed_ = false;
    bool keyPressed_ = false;
    bool checkable_ = false;
    bool checked_ = false;
    int pressKey_ = 0;
    bool region_ = false;
    // Serialises painting and shape changes; a nested attempt is skipped, never waited for.
    bool paintLock_ = false;
    int tag_ = 0;
    PaintMode paintMode_ = PaintMode::Normal;
    const TImageList* imageList_ = nullptr;
    QImage picIdle_, picUp_, picDown_, picDsbld_;
    QString hint_;
    QString caption_;
    bool showHint_ = false;
    QTimer repeat_;
};

}  // namespace katalog

Q_DECLARE_METATYPE(katalog::PaintMode)
Q_DECLARE_METATYPE(katalog::TWMMouse)

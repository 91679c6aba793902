#pragma once
// The picture viewer: a program's screenshots at their natural size, one at a time, in a
// frameless black window centred on the screen. A click steps on; a click on the last
// picture, a double click or a right click closes it.
#include "app/Forms.h"

#include <QCursor>
#include <QLabel>

namespace katalog {

class TPictureBox;

class TPicForm : public TSkinDialog {
    Q_OBJECT
public:
    TPicForm(TMain& main, QWidget* parent);

    void FormCreate();
    void FormShow();
    void FormClose();
    // Shows the picture at ViewerIndex, sizes and centres the window, sets cursor and hint.
    void Slideshow();
    void DesktopClick();
    void PreviousPicture();
    void DesktopDblClick();
    void DesktopMouseUp(Qt::MouseButton button);

    // With no pictures to show the viewer does not open.
    int exec() override;
    void setVisible(bool visible) override;
    void done(int result) override;

    // The end cursor "KONEC": 32x32, black and white, a large diagonal cross above the
    // word KONEC, hot spot 16,13.
    static QCursor KonecCursor();
    const QCursor& EndCursor() const { return konec_; }

    // The viewer's one component: its mouse events are the viewer's whole behaviour.
    TPictureBox* Desktop;

private:
    bool atLastPicture() const;

    QCursor konec_;
};

}  // namespace katalog

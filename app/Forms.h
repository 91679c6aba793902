#pragma once
// What the program's windows share: the content windows sit on the main menu's content
// area and end the program when closed; the modal dialogs are frameless and centred.
#include <QDialog>
#include <QWidget>

class QLabel;

namespace katalog {

class TMain;
class TEzRgnBtn;

// Controls carry the names their window gives them: layout tables and the font find them so.
QLabel* makePicture(QWidget* parent, const QString& name);
// A region button; a non-empty hint is shown.
TEzRgnBtn* makeButton(QWidget* parent, const QString& name, const QString& hint = {});
// The skinned windows' own colour under their pictures.
void setWhiteBackground(QWidget* window);

// The top-left corner that centres a window (its frame) of this size on the primary
// screen, whose origin need not be 0,0.
QPoint centredOnScreen(QSize frame);
// Each time the window is shown its frame is centred on the primary screen, and once more
// when it is on screen: a window manager may place a new window itself (openbox does).
void centreOnScreenWhenShown(QWidget* window);

// One of the four windows shown in the main menu's content area (a child of it).
class TContentForm : public QWidget {
    Q_OBJECT
public:
    TContentForm(TMain& main, QWidget* parent);

    // Bounds: the content area, in the main menu window's own coordinates.
    void placeOnContentArea();

protected:
    // Closing any content window ends the whole program.
    void closeEvent(QCloseEvent* event) override;
    virtual void FormClose();

    TMain& main_;
};

// A frameless modal dialog owned by the main menu window.
class TSkinDialog : public QDialog {
    Q_OBJECT
public:
    TSkinDialog(TMain& main, QWidget* parent);

    // Left = ContentLeft + (ContentWidth - w) div 2, and so on.
    void centreOnContentArea();
    void centreOnScreen();

protected:
    TMain& main_;
};

}  // namespace katalog

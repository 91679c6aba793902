#pragma once
// The main menu window: the shaped frame of the whole program. The content windows are its
// children on the content area; the menu buttons switch between them.
#include "widgets/ImageList.h"

#include <QLabel>
#include <QPolygon>
#include <QWidget>

#include <optional>

namespace katalog {

class TMain;
class TEzRgnBtn;

class TDesktopForm : public QWidget {
    Q_OBJECT
public:
    explicit TDesktopForm(TMain& main);

    void FormCreate();

    // The outline of the current layout as corners; nullopt (and the program ending) when
    // the outline has an odd number of items.
    std::optional<QPolygon> NactiPoleBoduRgn(std::string_view outline);
    // Recomputes ContentLeft/Top/Width/Height from the window's position.
    void UpdateContentArea();
    // True when the screen point lies in the title strip.
    bool InTitleStrip(QPoint screenPos) const;

    // Tab visits the menu's column, then the content window shown, then the window buttons.
    void ChainFocus();
    // The content window step places after the current one in the menu's order, as its
    // menu button would show it; the focus goes to its first control.
    void NextWindow(int step);

    void mnuProgramyClick();
    void mnuONasClick();
    void mnuDalsiTitulyClick();
    void mnuNastaveniClick();
    void mnuNapovedaClick();
    void MinimalizaceClick();
    void KonecClick();

    QLabel* Plocha;
    QLabel* Titulek;
    TEzRgnBtn* mnuProgramy;
    TEzRgnBtn* mnuONas;
    TEzRgnBtn* mnuDalsiTituly;
    TEzRgnBtn* mnuNastaveni;
    TEzRgnBtn* mnuNapoveda;
    TEzRgnBtn* Minimalizace;
    TEzRgnBtn* Quit;

    TImageList ProgramyList, OnasList, DalsiCDList, NastaveniList, NapovedaList, MinimList,
        QuitList;

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    TMain& main_;
    // Moving by hand where no window manager moves the window for us.
    std::optional<QPoint> dragOffset_;
};

}  // namespace katalog

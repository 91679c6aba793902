#pragma once
// The intro picture shown while start-up creates the windows.
#include <QLabel>
#include <QWidget>

namespace katalog {

class TIntroForm : public QWidget {
    Q_OBJECT
public:
    TIntroForm();
    // Loads SystemDir + "intro.BMP" and centres the window on the screen; throws
    // KatalogError when the picture cannot be loaded.
    void Prepare();

    QLabel* IntroPIC;
};

}  // namespace katalog

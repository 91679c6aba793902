#include "app/Application.h"
#include "app/IntroFormUnit1.h"
#include "app/MainFormUnit1.h"
#include "platform/AtomicFile.h"

#include <QDir>

int main(int argc, char** argv) {
    // Placing windows at exact screen positions needs X11; prefer it on a Wayland desktop
    // that also offers an X display, unless the user chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    platform::ignoreFileSizeSignal();
    katalog::KatalogApplication app(argc, argv);
    // The data root is the folder of the program file, or the one argument (a mounted CD).
    const QStringList args = app.arguments();
    const QString programDir = args.size() > 1 ? args[1] : QCoreApplication::applicationDirPath();

    auto* intro = new katalog::TIntroForm;
    katalog::TMain main(intro, programDir);
    main.FormCreate();
    main.CreateSearchResultForm();
    if (main.terminationRequested())
        return 0;
    return app.exec();
}

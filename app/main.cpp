#include "app/Application.h"
#include "app/BezCdFormUnit1.h"
#include "app/IntroFormUnit1.h"
#include "app/MainFormUnit1.h"
#include "platform/AtomicFile.h"

int main(int argc, char** argv) {
    // Placing windows at exact screen positions needs X11; prefer it on a Wayland desktop
    // that also offers an X display, unless the user chose a platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");

    platform::ignoreFileSizeSignal();
    katalog::KatalogApplication app(argc, argv);
    const std::optional<QString> programDir = katalog::NajdiCd(app.arguments());
    if (!programDir)
        return 0;

    auto* intro = new katalog::TIntroForm;
    katalog::TMain main(intro, *programDir);
    main.FormCreate();
    main.CreateSearchResultForm();
    if (main.terminationRequested())
        return main.exitStatus();
    return app.exec();
}

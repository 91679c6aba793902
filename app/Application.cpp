#include "app/Application.h"

#include "platform/Errors.h"
#include "platform/Fonts.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QProxyStyle>
#include <QTranslator>

#include <memory>

namespace katalog {
namespace {

class HintStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* ret) const override {
        if (hint == SH_ToolTip_WakeUpDelay)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, ret);
    }
};

}  // namespace

KatalogApplication::KatalogApplication(int& argc, char** argv) : QApplication(argc, argv) {
    // No display name: Qt would append it to every window title ("Tisk — Katalog"), and each
    // window names itself.
    setApplicationName(QStringLiteral("katalog"));
    setQuitOnLastWindowClosed(false);
    platform::installFontSubstitutions();
    installHintStyle(*this);
    installQtTranslation(*this);
}

bool KatalogApplication::notify(QObject* receiver, QEvent* event) {
    bool result = false;
    platform::guarded([&] { result = QApplication::notify(receiver, event); });
    return result;
}

void installHintStyle(QApplication& app) { app.setStyle(new HintStyle); }

bool installQtTranslation(QApplication& app) {
    // The program speaks Czech in both language variants; Qt's own dialogs (save, message
    // boxes) follow when Qt's translations are installed, and stay English otherwise.
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QLocale(QLocale::Czech, QLocale::CzechRepublic), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    translator->setParent(&app);
    app.installTranslator(translator.release());
    return true;
}

}  // namespace katalog

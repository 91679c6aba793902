#include "app/Application.h"

#include "platform/Errors.h"
#include "platform/Fonts.h"

#include <QProxyStyle>

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
    setApplicationName(QStringLiteral("katalog"));
    setApplicationDisplayName(platform::applicationTitle());
    setQuitOnLastWindowClosed(false);
    platform::installFontSubstitutions();
    installHintStyle(*this);
}

bool KatalogApplication::notify(QObject* receiver, QEvent* event) {
    bool result = false;
    platform::guarded([&] { result = QApplication::notify(receiver, event); });
    return result;
}

void installHintStyle(QApplication& app) { app.setStyle(new HintStyle); }

}  // namespace katalog

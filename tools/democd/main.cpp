// Generates a CD tree for katalog: democd OUT
#include "tools/democd/CdWriter.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        std::fputs("usage: democd OUT\n", stderr);
        return 1;
    }
    democd::writePlainSkins(args[1]);
    democd::writePlainIntro(args[1]);
    return 0;
}

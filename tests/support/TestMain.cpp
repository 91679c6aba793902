// Unit tests run without a display: the offscreen platform with a 1024x768 screen.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/Application.h"
#include "platform/Fonts.h"

int main(int argc, char** argv) {
    QTemporaryDir config;
    const QString screenFile = config.filePath(QStringLiteral("screen.json"));
    QFile f(screenFile);
    if (f.open(QIODevice::WriteOnly))
        f.write(R"({"screens":[{"name":"s","x":0,"y":0,"width":1024,"height":768}]})");
    f.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screenFile).toLocal8Bit());
    qputenv("SDL_AUDIODRIVER", qgetenv("SDL_AUDIODRIVER").isEmpty() ? "dummy" : qgetenv("SDL_AUDIODRIVER"));
    QApplication app(argc, argv);
    platform::installFontSubstitutions();
    katalog::installHintStyle(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// The yardstick for katalog's start-up: a Qt Widgets program that shows one window of the
// main menu's size with one label, and nothing else.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Katalog"));
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.resize(855, 570);
    window.show();
    return app.exec();
}

#include "tests/fuzz/WindowFuzz.h"

#include "app/Shell.h"
#include "catalogue/ContainerBuilder.h"
#include "platform/Errors.h"
#include "platform/ShellOpen.h"
#include "tools/democd/CdWriter.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <cstdlib>
#include <utility>

namespace fuzzing {
namespace {

QTemporaryDir& root() {
    static QTemporaryDir dir;
    return dir;
}

QImage solid(QColor colour, int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QByteArray jpeg(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

}  // namespace

QString cdFile(const QString& rel) { return root().path() + QStringLiteral("/cd/") + rel; }

QString settingsFile() { return root().path() + QStringLiteral("/config/katalog/kat.INI"); }

void writeFile(const QString& path, QByteArrayView bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        (!bytes.isEmpty() && file.write(bytes.data(), bytes.size()) != bytes.size()))
        std::abort();
}

void initWindows() {
    if (qApp)
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("SDL_AUDIODRIVER", "dummy");
    if (!root().isValid())
        std::abort();
    qputenv("XDG_CONFIG_HOME", (root().path() + QStringLiteral("/config")).toLocal8Bit());
    qputenv("WINEPREFIX", (root().path() + QStringLiteral("/wine")).toLocal8Bit());
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    // The offscreen plugin warns at every shaped window.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});

    const QString cd = root().path() + QStringLiteral("/cd");
    if (!democd::writeSkins(cd, democd::Variant::CzLarge) || !democd::writeSkins(cd, democd::Variant::SkLarge))
        std::abort();
    // Program files the catalogue can name: whole, cut short and lying pictures, a script.
    democd::saveBmp(solid(Qt::darkGreen, 60, 40), cdFile(QStringLiteral("hra/obr.bmp")));
    QFile::copy(cdFile(QStringLiteral("hra/obr.bmp")), cdFile(QStringLiteral("hra/cut.bmp")));
    QFile::resize(cdFile(QStringLiteral("hra/cut.bmp")), 80);
    const QByteArray photo = jpeg(solid(Qt::blue, 50, 30));
    writeFile(cdFile(QStringLiteral("hra/foto.jpg")), photo);
    writeFile(cdFile(QStringLiteral("hra/cut.jpg")), photo.left(photo.size() / 2));
    writeFile(cdFile(QStringLiteral("hra/lez.bmp")), "BM not a bitmap");
    writeFile(cdFile(QStringLiteral("hra/hra.sh")), "#!/bin/sh\nexit 0\n");
    writeFile(cdFile(QStringLiteral("hra/navod.txt")), "Návod.");
    writeFile(cdFile(QStringLiteral("CTIMNE.TXT")), "key file");
    writeFile(cdFile(QStringLiteral("SYSTEM/MAP.PIC")),
              katalog::ContainerBuilder(0, {}).build("[Title]\r\nName=Fuzz\r\n[sections]\r\nHry=\r\n[Hry]\r\nHra=\r\n"
                                                     "[Hra]\r\nsource=hra\r\nrun=hra.sh\r\nobr=obr.bmp\r\n"));
    // No sounds: the fuzzed settings may ask for music, which is then reported as missing.

    platform::setMessageHook([](platform::MessageKind, const QString&) {});
    platform::setLaunchHook([](const platform::Launch&) {});
    katalog::TMain::setScreenSizeForTests(QSize(1024, 768));
    writeFile(settingsFile(), "[Music]\r\nMusic=Off\r\n");
}

namespace {
// Never destroyed at exit: the application goes first.
katalog::TMain* running = nullptr;
}

katalog::TMain& program() {
    if (!running) {
        katalog::resetShell();
        running = new katalog::TMain(nullptr, root().path() + QStringLiteral("/cd"));
        running->FormCreate();
        if (running->terminationRequested())
            std::abort();
    }
    return *running;
}

void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    if (running && running->terminationRequested()) {
        delete std::exchange(running, nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

QList<QByteArrayView> parts(const uint8_t* data, size_t size, qsizetype max) {
    QByteArrayView rest(reinterpret_cast<const char*>(data), qsizetype(size));
    QList<QByteArrayView> out;
    while (out.size() + 1 < max) {
        const qsizetype cut = rest.indexOf(QByteArrayView("\n--\n"));
        if (cut < 0)
            break;
        out.append(rest.first(cut));
        rest = rest.sliced(cut + 4);
    }
    out.append(rest);
    return out;
}

}  // namespace fuzzing

// Catalogue and INI values name files on the CD; installers' registry entries name files in
// the Wine prefix. Whatever the text, a CD name never resolves to a place outside the CD, and
// a drive path never to a place outside its drive's folder.
#include "platform/Paths.h"
#include "platform/WinePaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

struct Tree {
    QTemporaryDir dir;
    QString cd, prefix, drive;
};

void touch(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        std::abort();
}

// A CD with case variants, a link loop, a link out of the CD and a link that stays inside;
// a prefix whose drive c: holds a few folders and d: leads to the CD.
const Tree& tree() {
    static Tree t;
    static const bool made = [] {
        const QString root = t.dir.path();
        t.cd = root + QStringLiteral("/cd");
        t.prefix = root + QStringLiteral("/prefix");
        t.drive = t.prefix + QStringLiteral("/drive_c");
        QDir().mkpath(t.cd + QStringLiteral("/HRY/Sachy"));
        QDir().mkpath(t.cd + QStringLiteral("/hry/sachy"));
        QDir().mkpath(t.cd + QStringLiteral("/SYSTEM/Cz"));
        touch(t.cd + QStringLiteral("/HRY/Sachy/run.sh"));
        touch(t.cd + QStringLiteral("/SYSTEM/MAP.PIC"));
        touch(root + QStringLiteral("/secret"));
        QFile::link(QStringLiteral("loop"), t.cd + QStringLiteral("/loop"));
        QFile::link(QStringLiteral("../secret"), t.cd + QStringLiteral("/out"));
        QFile::link(root, t.cd + QStringLiteral("/HRY/up"));
        QFile::link(QStringLiteral("../SYSTEM"), t.cd + QStringLiteral("/HRY/sys"));
        QDir().mkpath(t.drive + QStringLiteral("/Program Files/Hra"));
        QDir().mkpath(t.drive + QStringLiteral("/windows/system32"));
        touch(t.drive + QStringLiteral("/Program Files/Hra/hra.exe"));
        QDir().mkpath(t.prefix + QStringLiteral("/dosdevices"));
        QFile::link(QStringLiteral("../drive_c"), t.prefix + QStringLiteral("/dosdevices/c:"));
        QFile::link(t.cd, t.prefix + QStringLiteral("/dosdevices/d:"));
        return true;
    }();
    (void)made;
    return t;
}

bool inside(const QString& base, const QString& path) {
    return path == base || path.startsWith(base + QLatin1Char('/'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Tree& t = tree();
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));

    if (const auto path = platform::resolvePath(t.cd, text)) {
        // Lexically below the CD, and really there when it exists.
        if (!inside(t.cd, *path) || path->contains(QLatin1String("/../")) || path->endsWith(QLatin1String("/..")))
            std::abort();
        const QFileInfo info(*path);
        if (info.exists() && !inside(QFileInfo(t.cd).canonicalFilePath(), info.canonicalFilePath()))
            std::abort();
    }
    if (const auto file = platform::existingFile(t.cd, text); file && !QFileInfo(*file).isFile())
        std::abort();
    if (const auto dir = platform::existingDir(t.cd, text); dir && !QFileInfo(*dir).isDir())
        std::abort();
    (void)platform::lowerExtension(text);

    if (const auto mapped = platform::windowsToLinuxPath(t.prefix, text)) {
        if (!platform::isWindowsDrivePath(text))
            std::abort();
        const QString drive = t.prefix + QStringLiteral("/dosdevices/") + text.left(1).toLower() +
                              QLatin1Char(':');
        if (!inside(drive, *mapped) || mapped->contains(QLatin1String("/../")) ||
            mapped->contains(QLatin1String("/./")))
            std::abort();
    }
    return 0;
}

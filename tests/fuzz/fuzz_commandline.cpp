// Command lines that installers leave in the registry (start and uninstall commands), split
// by the Windows rules and looked up in the Wine prefix: any text gives a program and its
// arguments, or nothing, and a program is only ever a file that is there.
#include "platform/CommandLine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

void touch(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        std::abort();
}

const QString& prefix() {
    static QTemporaryDir dir;
    static const QString p = dir.path() + QStringLiteral("/prefix");
    static const bool made = [] {
        const QString c = p + QStringLiteral("/drive_c");
        QDir().mkpath(c + QStringLiteral("/Program Files/Moje Hra"));
        QDir().mkpath(c + QStringLiteral("/windows/system32"));
        touch(c + QStringLiteral("/Program Files/Moje Hra/uninst.exe"));
        touch(c + QStringLiteral("/Program Files/Moje Hra/hra.exe"));
        touch(c + QStringLiteral("/windows/regedit.exe"));
        touch(c + QStringLiteral("/windows/system32/rundll32.exe"));
        QDir().mkpath(p + QStringLiteral("/dosdevices"));
        QFile::link(QStringLiteral("../drive_c"), p + QStringLiteral("/dosdevices/c:"));
        return true;
    }();
    (void)made;
    return p;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString line = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString& p = prefix();
    const auto split =
        platform::splitCommandLine(line, [&](const QString& c) { return platform::locateProgram(c, p); });
    if (!split) {
        // Only a line of blanks has no program.
        for (const QChar c : line)
            if (c != QLatin1Char(' ') && c != QLatin1Char('\t'))
                std::abort();
        return 0;
    }
    if (!split->programFile.isEmpty() && !QFileInfo(split->programFile).isFile())
        std::abort();
    // Arguments never hold more characters than the line.
    qsizetype chars = 0;
    for (const QString& a : split->arguments)
        chars += a.size();
    if (chars > line.size())
        std::abort();
    return 0;
}

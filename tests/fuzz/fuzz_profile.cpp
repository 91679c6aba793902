// Settings files as they may come: any bytes. Every section and key found is read, and a
// write followed by a read must give back what was written.
#include "platform/ProfileFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    static const QString path = dir.path() + QStringLiteral("/kat.INI");
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    platform::ProfileFile ini(path);

    // Section names as a reader would guess them from the text.
    const QStringList lines = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size))
                                  .split(QLatin1Char('\n'));
    int sections = 0;
    for (const QString& line : lines) {
        const QString t = line.trimmed();
        if (!t.startsWith(QLatin1Char('[')) || ++sections > 50)
            continue;
        const QString name = t.mid(1, t.indexOf(QLatin1Char(']')) - 1);
        for (const QString& key : ini.readSection(name)) {
            (void)ini.readString(name, key);
            (void)ini.readInteger(name, key, -1);
            (void)platform::parseInteger(ini.readString(name, key), true);
        }
    }
    (void)ini.readString(QStringLiteral("Options"), QStringLiteral("Sk"), QStringLiteral("x"));

    ini.writeString(QStringLiteral("Installed-Fuzz"), QStringLiteral("Program"), QStringLiteral("1"));
    if (ini.readInteger(QStringLiteral("installed-fuzz"), QStringLiteral("program"), -1) != 1)
        std::abort();
    ini.deleteKey(QStringLiteral("Installed-Fuzz"), QStringLiteral("Program"));
    return 0;
}

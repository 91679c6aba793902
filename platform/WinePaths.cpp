#include "platform/WinePaths.h"

#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

QString defaultWinePrefix() {
    const QString env = qEnvironmentVariable("WINEPREFIX");
    if (!env.isEmpty())
        return env;
    return QDir::homePath() + QStringLiteral("/.wine");
}

bool isWindowsDrivePath(const QString& path) {
    return path.size() >= 3 && path[0].isLetter() && path[0].unicode() < 128 &&
           path[1] == QLatin1Char(':') && (path[2] == QLatin1Char('\\') || path[2] == QLatin1Char('/'));
}

std::optional<QString> windowsToLinuxPath(const QString& winePrefix, const QString& path) {
    if (winePrefix.isEmpty() || !isWindowsDrivePath(path))
        return std::nullopt;
    const QString letter = path.left(1).toLower();
    QString drive = winePrefix + QStringLiteral("/dosdevices/") + letter + QLatin1Char(':');
    if (!QFileInfo(drive).isDir()) {
        // A prefix without dosdevices still has its system drive.
        drive = winePrefix + QStringLiteral("/drive_c");
        if (letter != QLatin1String("c") || !QFileInfo(drive).isDir())
            return std::nullopt;
    }

    QString rel = path.mid(3);
    rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QStringList parts;
    for (const QString& part : rel.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        parts.append(part);
    }

    QString result = drive;
    bool missing = false;
    for (const QString& part : parts) {
        const QString dir = result + QLatin1Char('/');
        const QString name = missing ? part : matchComponent(dir, part);
        result = dir + name;
        if (!missing && !QFileInfo::exists(result))
            missing = true;
    }
    return result;
}

}  // namespace platform

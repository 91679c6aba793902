#include "platform/WinePaths.h"

#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

#include <pwd.h>
#include <unistd.h>

namespace platform {
namespace {

// Characters that a DOS name cannot hold; Wine writes "_" for them in a short name.
bool invalidDosChar(QChar c) {
    return c.unicode() > 0x7f || QStringView(u"*?<>|\"+=,;[] ~.:/\\").contains(c);
}

bool isLegal8dot3(QStringView name) {
    if (name.size() > 12 || name.isEmpty())
        return false;
    if (name[0] == u'.')
        return name == u"." || name == u"..";
    qsizetype dot = -1;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c == u'.') {
            if (dot >= 0)
                return false;
            dot = i;
        } else if (c != u'~' && invalidDosChar(c)) {
            return false;  // "~" may stand in a legal name ("KNIHY~1" is its own short name)
        }
    }
    if (dot < 0)
        return name.size() <= 8;
    return dot <= 8 && name.size() - dot > 1 && name.size() - dot < 5;
}

QChar dosChar(QChar c) { return invalidDosChar(c) ? QLatin1Char('_') : c.toUpper(); }

// The classic basis of a long name: upper case, without spaces and without dots but the last,
// other characters a DOS name cannot hold as "_"; and the first three letters of its extension.
std::pair<QString, QString> classicParts(const QString& name) {
    qsizetype lastDot = name.lastIndexOf(QLatin1Char('.'));
    if (lastDot <= 0)
        lastDot = name.size();
    QString base, ext;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c == u' ' || c == u'.')
            continue;
        (i < lastDot ? base : ext).append(dosChar(c));
    }
    return {base, ext.left(3)};
}

}  // namespace

QString defaultWinePrefix() {
    const QString env = qEnvironmentVariable("WINEPREFIX");
    if (!env.isEmpty())
        return env;
    return QDir::homePath() + QStringLiteral("/.wine");
}

QString wineUserName() {
    const QString env = qEnvironmentVariable("USER");
    if (!env.isEmpty())
        return env;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_name && *pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    return QString::number(::getuid());
}

bool isWindowsDrivePath(const QString& path) {
    return path.size() >= 3 && path[0].isLetter() && path[0].unicode() < 128 &&
           path[1] == QLatin1Char(':') && (path[2] == QLatin1Char('\\') || path[2] == QLatin1Char('/'));
}

QString wineShortName(const QString& longName) {
    if (longName.isEmpty() || isLegal8dot3(longName))
        return {};
    const qsizetype end = longName.size();
    auto lower = [&](qsizetype i) { return quint16(longName[i].toLower().unicode()); };
    quint16 hash = 0xbeef;
    for (qsizetype i = 0; i + 1 < end; ++i)
        hash = quint16((hash << 3) ^ (hash >> 5) ^ lower(i) ^ (lower(i + 1) << 8));
    hash = quint16((hash << 3) ^ (hash >> 5) ^ lower(end - 1));

    // The extension starts at the last dot that is neither the first nor the last character.
    qsizetype ext = -1;
    for (qsizetype i = 1; i + 1 < end; ++i)
        if (longName[i] == u'.')
            ext = i;

    QString out;
    for (qsizetype i = 0; i < end && i != ext && out.size() < 4; ++i)
        out.append(dosChar(longName[i]));
    out.append(QString(5 - out.size(), QLatin1Char('~')));
    static const char HashChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
    out.append(QLatin1Char(HashChars[(hash >> 10) & 0x1f]));
    out.append(QLatin1Char(HashChars[(hash >> 5) & 0x1f]));
    out.append(QLatin1Char(HashChars[hash & 0x1f]));
    if (ext >= 0) {
        out.append(QLatin1Char('.'));
        for (qsizetype i = ext + 1; i < end && i <= ext + 3; ++i)
            out.append(dosChar(longName[i]));
    }
    return out;
}

std::optional<QString> longNameOf(const QString& shortName, QStringList names) {
    if (!shortName.contains(QLatin1Char('~')))
        return std::nullopt;
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    for (const QString& name : names)
        if (wineShortName(name).compare(shortName, Qt::CaseInsensitive) == 0)
            return name;

    static const QRegularExpression classic(QStringLiteral("^([^~.]{1,7})~([1-9][0-9]{0,5})(?:\\.([^.]{1,3}))?$"));
    const auto m = classic.match(shortName);
    if (!m.hasMatch() || m.capturedLength(1) + 1 + m.capturedLength(2) > 8)
        return std::nullopt;
    const qsizetype kept = 8 - 1 - m.capturedLength(2);
    int n = m.captured(2).toInt();
    for (const QString& name : names) {
        if (isLegal8dot3(name))
            continue;  // such a name has no short form besides itself
        const auto [base, ext] = classicParts(name);
        if (base.left(kept).compare(m.captured(1), Qt::CaseInsensitive) == 0 &&
            ext.compare(m.captured(3), Qt::CaseInsensitive) == 0 && --n == 0)
            return name;
    }
    return std::nullopt;
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
        QString name = missing ? part : matchComponent(dir, part);
        if (!missing && !QFileInfo::exists(dir + name)) {
            // Installers record short names ("C:\PROG~FBU\...", "C:\PROGRA~1\...").
            const QStringList entries =
                QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            if (auto long_ = longNameOf(part, entries))
                name = *long_;
            else
                missing = true;
        }
        result = dir + name;
    }
    return result;
}

std::optional<QString> linuxToWindowsPath(const QString& winePrefix, const QString& path) {
    if (winePrefix.isEmpty() || !QDir::isAbsolutePath(path))
        return std::nullopt;
    auto drivePath = [](QChar letter, QString rest) {
        rest.replace(QLatin1Char('/'), QLatin1Char('\\'));
        return QString(letter.toUpper()) + QStringLiteral(":\\") + rest;
    };
    const QString devices = winePrefix + QStringLiteral("/dosdevices/");
    const QString clean = QDir::cleanPath(path);
    // Written through the prefix's own drive link ("dosdevices/c:/..."): that drive.
    if (clean.startsWith(devices) && clean.size() > devices.size() + 2 && clean[devices.size() + 1] == u':' &&
        (clean.size() == devices.size() + 2 || clean[devices.size() + 2] == u'/'))
        return drivePath(clean[devices.size()], clean.mid(devices.size() + 3));

    // Else the drive whose folder holds the file most closely, as Wine chooses it.
    const QString real = QFileInfo(clean).canonicalFilePath();
    if (real.isEmpty())
        return std::nullopt;
    std::optional<QString> best;
    qsizetype bestLength = -1;
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        const QString root = QFileInfo(devices + QLatin1Char(letter) + QLatin1Char(':')).canonicalFilePath();
        if (root.isEmpty() || root.size() <= bestLength || !QFileInfo(root).isDir())
            continue;
        const QString prefix = withTrailingSlash(root);
        if (real != root && !real.startsWith(prefix))
            continue;
        bestLength = root.size();
        best = drivePath(QLatin1Char(letter), real.mid(prefix.size()));
    }
    return best;
}

}  // namespace platform

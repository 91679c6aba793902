#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>

namespace platform {
namespace {

}  // namespace

// Directory order is arbitrary on Linux, so ties are broken by sorted name.
QString matchComponent(const QString& dir, const QString& name) {
    if (QFileInfo::exists(dir + name))
        return name;
    const QStringList entries =
        QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                            QDir::Name);
    for (const QString& e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0)
            return e;
    return name;
}

namespace {

bool isInside(const QString& canonicalBase, const QString& canonicalPath) {
    return canonicalPath == canonicalBase ||
           canonicalPath.startsWith(withTrailingSlash(canonicalBase));
}

}  // namespace

QString withTrailingSlash(const QString& dir) {
    if (dir.endsWith(QLatin1Char('/')))
        return dir;
    return dir + QLatin1Char('/');
}

std::optional<QString> resolvePath(const QString& base, const QString& relative) {
    QString rel = relative;
    rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = rel.split(QLatin1Char('/'), Qt::SkipEmptyParts);

    QStringList resolved;
    bool missing = false;  // once a component is missing, the rest cannot be matched
    for (const QString& part : parts) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (resolved.isEmpty())
                return std::nullopt;
            resolved.removeLast();
            continue;
        }
        const QString dir = withTrailingSlash(base) + resolved.join(QLatin1Char('/'));
        const QString name = missing ? part : matchComponent(withTrailingSlash(dir), part);
        if (!missing && !QFileInfo::exists(withTrailingSlash(dir) + name))
            missing = true;
        resolved.append(name);
    }
    const QString path = withTrailingSlash(base) + resolved.join(QLatin1Char('/'));

    // A symbolic link on the CD must not lead out of it.
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink()) {
        const QString canonicalBase = QFileInfo(base).canonicalFilePath();
        const QString canonical = info.canonicalFilePath();
        if (canonical.isEmpty() || canonicalBase.isEmpty() || !isInside(canonicalBase, canonical))
            return std::nullopt;
    }
    return path;
}

std::optional<QString> existingFile(const QString& base, const QString& relative) {
    auto path = resolvePath(base, relative);
    if (path && QFileInfo(*path).isFile())
        return path;
    return std::nullopt;
}

std::optional<QString> existingDir(const QString& base, const QString& relative) {
    auto path = resolvePath(base, relative);
    if (path && QFileInfo(*path).isDir())
        return path;
    return std::nullopt;
}

QString lowerExtension(const QString& path) {
    QString name = path;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    name = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot).toLower();
}

}  // namespace platform

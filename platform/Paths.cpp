#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

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
    // A relative or empty base would make the result depend on the working folder (or "/").
    if (!QDir::isAbsolutePath(base))
        return std::nullopt;
    QString rel = relative;
    rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QStringList parts = rel.split(QLatin1Char('/'), Qt::SkipEmptyParts);

    QStringList resolved;
    qsizetype existing = 0;  // leading components that exist; the rest cannot be matched
    for (const QString& part : parts) {
        if (part == QLatin1String("."))
            continue;
        if (part == QLatin1String("..")) {
            if (resolved.isEmpty())
                return std::nullopt;
            resolved.removeLast();
            existing = qMin(existing, resolved.size());
            continue;
        }
        const QString dir = withTrailingSlash(withTrailingSlash(base) + resolved.join(QLatin1Char('/')));
        if (existing == resolved.size()) {
            const QString name = matchComponent(dir, part);
            if (QFileInfo::exists(dir + name))
                ++existing;
            else if (QFileInfo(dir + name).isSymLink())
                return std::nullopt;  // a dangling link could be created through, anywhere
            resolved.append(name);
        } else {
            resolved.append(part);
        }
    }
    const QString path = withTrailingSlash(base) + resolved.join(QLatin1Char('/'));

    // A symbolic link on the CD must not lead out of it, whether or not the file at its end
    // exists: check the deepest part of the path that does.
    const QString deepest =
        withTrailingSlash(base) + resolved.first(existing).join(QLatin1Char('/'));
    const QString canonicalBase = QFileInfo(base).canonicalFilePath();
    const QString canonical = QFileInfo(deepest).canonicalFilePath();
    if (QFileInfo::exists(base) &&
        (canonical.isEmpty() || canonicalBase.isEmpty() || !isInside(canonicalBase, canonical)))
        return std::nullopt;
    return path;
}

QString readablePath(const QString& base, const QString& relative) {
    return resolvePath(base, relative).value_or(QString());
}

QString readableFolder(const QString& base, const QString& relative) {
    const auto path = resolvePath(base, relative);
    return path ? withTrailingSlash(*path) : QString();
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

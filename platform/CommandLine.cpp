#include "platform/CommandLine.h"

#include "platform/Paths.h"
#include "platform/WinePaths.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace platform {
namespace {

// Program paths longer than this many words are not tried; no installer writes one.
constexpr int MaxProgramWords = 64;

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

std::optional<QString> existing(const QString& path) {
    if (QFileInfo(path).isFile())
        return path;
    return std::nullopt;
}

// The file, or the ".exe" file when the name has no extension (the process-creation call
// appends it).
std::optional<QString> withExe(const std::function<std::optional<QString>(const QString&)>& find,
                               const QString& name) {
    if (auto found = find(name))
        return found;
    if (lowerExtension(name).isEmpty())
        return find(name + QStringLiteral(".exe"));
    return std::nullopt;
}

}  // namespace

QStringList splitArguments(QStringView text) {
    QStringList args;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (true) {
        while (i < n && isBlank(text[i]))
            ++i;
        if (i >= n)
            break;
        QString arg;
        bool quoted = false;
        while (i < n && (quoted || !isBlank(text[i]))) {
            qsizetype slashes = 0;
            while (i < n && text[i] == QLatin1Char('\\')) {
                ++slashes;
                ++i;
            }
            if (i < n && text[i] == QLatin1Char('"')) {
                arg += QString(slashes / 2, QLatin1Char('\\'));
                if (slashes % 2) {
                    arg += QLatin1Char('"');
                    ++i;
                } else if (quoted && i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                    arg += QLatin1Char('"');
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                arg += QString(slashes, QLatin1Char('\\'));
                if (slashes == 0 && i < n)
                    arg += text[i++];
            }
        }
        args.append(arg);
    }
    return args;
}

std::optional<SplitCommand> splitCommandLine(const QString& line, const ProgramLocator& locate) {
    qsizetype start = 0;
    while (start < line.size() && isBlank(line[start]))
        ++start;
    if (start >= line.size())
        return std::nullopt;

    SplitCommand out;
    qsizetype restAt = 0;
    if (line[start] == QLatin1Char('"')) {
        const qsizetype close = line.indexOf(QLatin1Char('"'), start + 1);
        out.program = close < 0 ? line.mid(start + 1) : line.mid(start + 1, close - start - 1);
        restAt = close < 0 ? line.size() : close + 1;
        out.programFile = locate(out.program).value_or(QString());
    } else {
        // The ends of the leading words; the longest run that names a file wins.
        QList<qsizetype> ends;
        qsizetype i = start;
        while (i < line.size() && ends.size() < MaxProgramWords) {
            while (i < line.size() && !isBlank(line[i]))
                ++i;
            ends.append(i);
            while (i < line.size() && isBlank(line[i]))
                ++i;
        }
        restAt = ends.front();
        out.program = line.mid(start, restAt - start);
        for (qsizetype k = ends.size() - 1; k >= 0; --k) {
            const QString candidate = line.mid(start, ends[k] - start);
            if (auto file = locate(candidate)) {
                out.program = candidate;
                out.programFile = *file;
                restAt = ends[k];
                break;
            }
        }
    }
    out.rawArguments = line.mid(restAt);
    out.arguments = splitArguments(out.rawArguments);
    return out;
}

std::optional<QString> locateProgram(const QString& candidate, const QString& winePrefix) {
    const QString name = candidate.trimmed();
    if (name.isEmpty())
        return std::nullopt;
    if (isWindowsDrivePath(name)) {
        return withExe(
            [&](const QString& n) -> std::optional<QString> {
                if (auto local = windowsToLinuxPath(winePrefix, n))
                    return existing(*local);
                return std::nullopt;
            },
            name);
    }
    if (name.startsWith(QLatin1Char('/')))
        return existing(name);
    if (name.contains(QLatin1Char('\\')) || name.contains(QLatin1Char('/')))
        return std::nullopt;  // relative to a current folder we do not have
    for (const char* dir : {"C:\\windows\\system32\\", "C:\\windows\\"}) {
        auto found = withExe(
            [&](const QString& n) -> std::optional<QString> {
                if (auto local = windowsToLinuxPath(winePrefix, QString::fromLatin1(dir) + n))
                    return existing(*local);
                return std::nullopt;
            },
            name);
        if (found)
            return found;
    }
    const QString onPath = QStandardPaths::findExecutable(name);
    if (!onPath.isEmpty())
        return onPath;
    return std::nullopt;
}

StartResult runCommandLine(const QString& line, ShowMode) {
    const QString prefix = defaultWinePrefix();
    const auto split =
        splitCommandLine(line, [&](const QString& c) { return locateProgram(c, prefix); });
    if (!split)
        return {};
    if (split->programFile.isEmpty()) {
        QString name = split->program;
        name.replace(QLatin1Char('\\'), QLatin1Char('/'));
        return {StartResult::Outcome::Failed, QFileInfo(name).fileName(), false};
    }
    return startProgram(split->programFile, split->rawArguments, QFileInfo(split->programFile).absolutePath());
}

}  // namespace platform

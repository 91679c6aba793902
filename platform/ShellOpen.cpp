#include "platform/ShellOpen.h"

#include "platform/Paths.h"
#include "platform/WinePaths.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace platform {
namespace {

LaunchHook& hook() {
    static LaunchHook h;
    return h;
}

// Kinds of file that a desktop's opener runs, installs or follows rather than shows:
// programs and scripts, desktop entries, shortcuts, installers and packages, registry files.
// Openers judge by name or by content, so both are asked.
bool openerRuns(const QString& path) {
    static const char* const kinds[] = {
        "application/x-executable",       "application/x-sharedlib",
        "application/x-desktop",          "application/x-ms-dos-executable",
        "application/x-msi",              "application/x-ms-shortcut",
        "application/x-mswinurl",         "application/x-java-archive",
        "application/x-java-jnlp-file",   "application/vnd.appimage",
        "application/vnd.debian.binary-package", "application/x-rpm",
        "application/vnd.flatpak",        "application/vnd.flatpak.ref",
        "application/vnd.flatpak.repo",   "application/vnd.snap",
        "text/x-ms-regedit",              "text/vbscript",
    };
    const QMimeDatabase db;
    for (const auto mode : {QMimeDatabase::MatchExtension, QMimeDatabase::MatchContent}) {
        const QMimeType type = db.mimeTypeForFile(path, mode);
        for (const char* kind : kinds)
            if (type.inherits(QString::fromLatin1(kind)))
                return true;
    }
    return false;
}

bool start(const Launch& l) {
    if (hook()) {
        hook()(l);
        return true;
    }
    switch (l.kind) {
    case Launch::Kind::Process:
        return QProcess::startDetached(l.program, l.arguments, l.workDir);
    case Launch::Kind::Document:
        return QDesktopServices::openUrl(QUrl::fromLocalFile(l.program));
    case Launch::Kind::Url:
        return QDesktopServices::openUrl(QUrl(l.program));
    }
    return false;
}

bool isWindowsProgram(const QString& path) {
    static const QStringList exts{QStringLiteral(".exe"), QStringLiteral(".com"), QStringLiteral(".bat"),
                                  QStringLiteral(".pif"), QStringLiteral(".msi"), QStringLiteral(".lnk"),
                                  QStringLiteral(".hlp")};
    return exts.contains(lowerExtension(path));
}

// Windows files that run code when opened; a help file is read in its viewer.
bool runsOnWindows(const QString& path) {
    static const QStringList exts{QStringLiteral(".exe"), QStringLiteral(".com"), QStringLiteral(".bat"),
                                  QStringLiteral(".cmd"), QStringLiteral(".pif"), QStringLiteral(".scr"),
                                  QStringLiteral(".cpl"), QStringLiteral(".msi"), QStringLiteral(".lnk"),
                                  QStringLiteral(".url"), QStringLiteral(".vbs"), QStringLiteral(".vbe"),
                                  QStringLiteral(".js"),  QStringLiteral(".jse"), QStringLiteral(".wsf"),
                                  QStringLiteral(".wsh"), QStringLiteral(".ps1"), QStringLiteral(".reg"),
                                  QStringLiteral(".inf")};
    return exts.contains(lowerExtension(path));
}

// CD mounts set the mode bits arbitrarily: a Linux program is known by its first bytes, and
// is started through its interpreter or the dynamic loader so that a missing x bit does not
// matter.
std::optional<Launch> linuxProgram(const QString& path, const QString& workDir) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray head = f.read(256);
    if (head.startsWith("\x7f" "ELF")) {
        if (QFileInfo(path).isExecutable())
            return Launch{Launch::Kind::Process, path, {}, workDir};
        for (const char* loader : {"/lib64/ld-linux-x86-64.so.2", "/lib/ld-linux-aarch64.so.1"})
            if (QFileInfo::exists(QString::fromLatin1(loader)))
                return Launch{Launch::Kind::Process, QString::fromLatin1(loader), {path}, workDir};
        return std::nullopt;
    }
    if (head.startsWith("#!")) {
        QByteArray line = head.mid(2);
        const qsizetype nl = line.indexOf('\n');
        if (nl < 0)
            return std::nullopt;
        line = line.left(nl).trimmed();
        // "#!/usr/bin/env python3 -u": the interpreter, then at most one argument.
        const qsizetype sp = line.indexOf(' ');
        const QString interpreter = QString::fromLocal8Bit(sp < 0 ? line : line.left(sp));
        QStringList args;
        if (sp >= 0)
            args << QString::fromLocal8Bit(line.mid(sp + 1).trimmed());
        args << path;
        // The kernel would take a relative interpreter from the working folder: the CD's.
        if (!QDir::isAbsolutePath(interpreter) || !QFileInfo(interpreter).isExecutable())
            return std::nullopt;
        return Launch{Launch::Kind::Process, interpreter, args, workDir};
    }
    return std::nullopt;
}

// "scheme:..." with a scheme of at least two characters; "C:\\x" is a drive.
bool hasScheme(const QString& text) {
    const QString t = text.trimmed();
    const qsizetype colon = t.indexOf(QLatin1Char(':'));
    if (colon < 2)
        return false;
    for (qsizetype i = 0; i < colon; ++i) {
        const char16_t c = t[i].unicode();
        const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
        const bool other = (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.';
        if (!letter && (i == 0 || !other))
            return false;
    }
    return true;
}

}  // namespace

void setLaunchHook(LaunchHook h) { hook() = std::move(h); }

QString findWine() { return QStandardPaths::findExecutable(QStringLiteral("wine")); }

bool isAllowedAddress(const QString& address) {
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    if (!url.isValid())
        return false;
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
           scheme == QLatin1String("ftp") || scheme == QLatin1String("mailto");
}

bool startProgram(const QString& path, const QStringList& arguments, const QString& workDir) {
    const QFileInfo info(path);
    if (!info.isFile())
        return false;
    // Absolute, so that no file name is ever taken for an option of wine or an interpreter.
    const QString file = info.absoluteFilePath();
    // A working folder that is not there would make the start fail.
    const QString dir = QFileInfo(workDir).isDir() ? workDir : info.absolutePath();
    if (isWindowsProgram(file)) {
        const QString wine = findWine();
        if (wine.isEmpty())
            return false;
        return start({Launch::Kind::Process, wine,
                      QStringList{QStringLiteral("start"), QStringLiteral("/unix"), file} + arguments, dir});
    }
    if (auto program = linuxProgram(file, dir)) {
        program->arguments += arguments;
        return start(*program);
    }
    return false;
}

namespace {

std::optional<QString> fileToOpen(const QString& file, const QString& workDir) {
    if (isWindowsDrivePath(file))
        return windowsToLinuxPath(defaultWinePrefix(), file);
    if (QDir::isAbsolutePath(file))
        return file;
    // CD values keep their backslashes and their author's letter case.
    return resolvePath(workDir.isEmpty() ? QDir::currentPath() : workDir, file);
}

// A document goes to the desktop's opener only when the opener would show it.
bool startDocument(const QString& path, const QString& workDir) {
    if (openerRuns(path))
        return false;
    return start({Launch::Kind::Document, path, {}, workDir});
}

}  // namespace

bool shellOpen(const QString& file, const QString& workDir, ShowMode mode) {
    if (file.trimmed().isEmpty())
        return false;
    if (hasScheme(file))
        return openAddress(file, mode);

    const std::optional<QString> path = fileToOpen(file, workDir);
    if (!path || !QFileInfo(*path).isFile()) {
        // The Windows shell took a bare "www.host" for an address.
        if (file.trimmed().startsWith(QLatin1String("www."), Qt::CaseInsensitive))
            return openAddress(file, mode);
        return false;
    }
    const QString absolute = QFileInfo(*path).absoluteFilePath();
    if (isWindowsProgram(absolute) || linuxProgram(absolute, workDir))
        return startProgram(absolute, {}, workDir);
    return startDocument(absolute, workDir);
}

bool openDocument(const QString& file, const QString& workDir) {
    if (file.trimmed().isEmpty() || hasScheme(file))
        return false;
    const std::optional<QString> path = fileToOpen(file, workDir);
    if (!path || !QFileInfo(*path).isFile())
        return false;
    const QString absolute = QFileInfo(*path).absoluteFilePath();
    if (lowerExtension(absolute) == QLatin1String(".hlp"))
        return startProgram(absolute, {}, workDir);
    if (runsOnWindows(absolute) || linuxProgram(absolute, workDir))
        return false;
    return startDocument(absolute, workDir);
}

bool openAddress(const QString& address, ShowMode) {
    QString a = address.trimmed();
    if (!hasScheme(a)) {
        if (a.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
            a.prepend(QStringLiteral("http://"));
        else if (a.startsWith(QLatin1String("ftp."), Qt::CaseInsensitive))
            a.prepend(QStringLiteral("ftp://"));
        else
            return false;
    }
    if (!isAllowedAddress(a))
        return false;
    const QUrl url(a, QUrl::StrictMode);
    if (url.scheme().compare(QLatin1String("mailto"), Qt::CaseInsensitive) == 0 ? url.path().isEmpty()
                                                                                 : url.host().isEmpty())
        return false;
    return start({Launch::Kind::Url, a, {}, {}});
}

bool openHelp(const QString& systemDir, const QString& hlpName) {
    if (auto hlp = existingFile(systemDir, hlpName); hlp && !findWine().isEmpty())
        return shellOpen(*hlp, systemDir, ShowMode::Maximized);
    QString base = hlpName;
    if (const qsizetype dot = base.lastIndexOf(QLatin1Char('.'));
        dot > base.lastIndexOf(QLatin1Char('\\')) && dot > base.lastIndexOf(QLatin1Char('/')))
        base.truncate(dot);
    if (auto htm = existingFile(systemDir, base + QStringLiteral(".HTM")))
        return startDocument(*htm, systemDir);
    return false;
}

}  // namespace platform

#include "platform/ShellOpen.h"

#include "platform/CommandLine.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "platform/WinePaths.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include <cerrno>
#include <csignal>
#include <sys/syscall.h>
#include <unistd.h>

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

using Outcome = StartResult::Outcome;

StartResult result(Outcome outcome, const QString& path, bool document) {
    return {outcome, QFileInfo(path).fileName(), document};
}

bool startProcess(const Launch& l, qint64* pid) {
    QProcess process;
    process.setProgram(l.program);
    process.setArguments(l.arguments);
    process.setWorkingDirectory(l.workDir);
    if (!l.environment.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString& pair : l.environment) {
            const qsizetype eq = pair.indexOf(QLatin1Char('='));
            env.insert(pair.left(eq), pair.mid(eq + 1));
        }
        process.setProcessEnvironment(env);
    }
    return process.startDetached(pid);
}

StartResult start(const Launch& l, const QString& name, bool document) {
    bool started = true;
    qint64 pid = 0;
    if (hook())
        hook()(l);
    else if (l.kind == Launch::Kind::Process)
        started = startProcess(l, &pid);
    else if (l.kind == Launch::Kind::Document)
        started = QDesktopServices::openUrl(QUrl::fromLocalFile(l.program));
    else
        started = QDesktopServices::openUrl(QUrl(l.program));
    return {started ? Outcome::Started : Outcome::Failed, name, document, started ? pid : 0};
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
            return Launch{Launch::Kind::Process, path, {}, workDir, {}};
        for (const char* loader : {"/lib64/ld-linux-x86-64.so.2", "/lib/ld-linux-aarch64.so.1"})
            if (QFileInfo::exists(QString::fromLatin1(loader)))
                return Launch{Launch::Kind::Process, QString::fromLatin1(loader), {path}, workDir, {}};
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
        return Launch{Launch::Kind::Process, interpreter, args, workDir, {}};
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

void reportStartFailure(const StartResult& r, bool slovak) {
    switch (r.outcome) {
    case Outcome::Started:
    case Outcome::Missing:
        return;
    case Outcome::NeedsWine:
        showMessage(slovak ? QStringLiteral("Na spustenie programov pre Windows je potrebné Wine (balík wine).")
                           : QStringLiteral("Ke spuštění programů pro Windows je potřeba Wine (balíček wine)."));
        return;
    case Outcome::Failed: {
        // A catalogue's text may be of any length; the message names it in one short line.
        const QString name = r.name.size() <= 80 ? r.name : r.name.left(38) + QStringLiteral("…") + r.name.right(38);
        if (r.document)
            showMessage((slovak ? QStringLiteral("Nepodarilo sa otvoriť „%1“.") : QStringLiteral("Nepodařilo se otevřít „%1“."))
                            .arg(name));
        else
            showMessage((slovak ? QStringLiteral("Nepodarilo sa spustiť „%1“.") : QStringLiteral("Nepodařilo se spustit „%1“."))
                            .arg(name));
        return;
    }
    }
}

void whenProcessEnds(qint64 pid, QObject* context, std::function<void()> ended) {
    if (pid <= 0 || !context)
        return;
    int fd = -1;
#ifdef SYS_pidfd_open
    fd = int(::syscall(SYS_pidfd_open, pid_t(pid), 0));
#else
    errno = ENOSYS;
#endif
    if (fd < 0 && errno == ESRCH) {
        QTimer::singleShot(0, context, std::move(ended));
        return;
    }
    if (fd >= 0) {
        // A process's descriptor reads ready once the process has ended.
        auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, context);
        QObject::connect(notifier, &QObject::destroyed, [fd] { ::close(fd); });
        QObject::connect(notifier, &QSocketNotifier::activated, context, [notifier, ended = std::move(ended)] {
            notifier->setEnabled(false);
            notifier->deleteLater();
            ended();
        });
        return;
    }
    // Kernels before 5.3: ask now and then. The process is not our child (started detached),
    // so no zombie of it stays to answer for it.
    auto* timer = new QTimer(context);
    QObject::connect(timer, &QTimer::timeout, context, [timer, pid, ended = std::move(ended)] {
        if (::kill(pid_t(pid), 0) == 0 || errno == EPERM)
            return;
        timer->stop();
        timer->deleteLater();
        ended();
    });
    timer->start(500);
}

QString findWine() { return QStandardPaths::findExecutable(QStringLiteral("wine")); }

bool isAllowedAddress(const QString& address) {
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    if (!url.isValid())
        return false;
    const QString scheme = url.scheme().toLower();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
           scheme == QLatin1String("ftp") || scheme == QLatin1String("mailto");
}

namespace {

// Wine builds a Windows program's command line from its Unix arguments and quotes each one
// anew, so an argument such as -f"C:\Program Files\x.isu" would reach the program as
// "-fC:\Program Files\x.isu". Wine's cmd takes the line from its environment instead and
// hands it on as it stands; nothing of it is a Unix argument, nothing is quoted again.
constexpr char CommandLineVariable[] = "KATALOG_COMMAND_LINE";

StartResult startWindowsProgram(const QString& file, const std::optional<QString>& arguments,
                                const QString& dir) {
    const QString wine = findWine();
    if (wine.isEmpty())
        return result(Outcome::NeedsWine, file, false);
    if (!arguments)
        // With /wait, wine ends when the program does, so that its end can be noticed.
        return start({Launch::Kind::Process, wine,
                      {QStringLiteral("start"), QStringLiteral("/wait"), QStringLiteral("/unix"), file}, dir, {}},
                     QFileInfo(file).fileName(), false);
    const auto windowsPath = linuxToWindowsPath(defaultWinePrefix(), file);
    if (!windowsPath)
        return result(Outcome::Failed, file, false);
    const QString variable = QString::fromLatin1(CommandLineVariable);
    return start({Launch::Kind::Process, wine,
                  {QStringLiteral("cmd"), QStringLiteral("/c"), QLatin1Char('%') + variable + QLatin1Char('%')}, dir,
                  {variable + QStringLiteral("=\"") + *windowsPath + QLatin1Char('"') + *arguments}},
                 QFileInfo(file).fileName(), false);
}

// A file with nothing after it (the shell's open) or with the rest of its command line.
StartResult startFile(const QString& path, const std::optional<QString>& arguments, const QString& workDir) {
    const QFileInfo info(path);
    if (!info.isFile())
        return result(Outcome::Missing, path, false);
    // Absolute, so that no file name is ever taken for an option of wine or an interpreter.
    const QString file = info.absoluteFilePath();
    // A working folder that is not there would make the start fail.
    const QString dir = QFileInfo(workDir).isDir() ? workDir : info.absolutePath();
    if (isWindowsProgram(file))
        return startWindowsProgram(file, arguments, dir);
    if (auto program = linuxProgram(file, dir)) {
        if (arguments)
            program->arguments += splitArguments(*arguments);
        return start(*program, info.fileName(), false);
    }
    return result(Outcome::Failed, file, false);
}

}  // namespace

StartResult startProgram(const QString& path, const QString& arguments, const QString& workDir) {
    return startFile(path, arguments, workDir);
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

// A document goes to the desktop's opener only when the opener would show it; what it would
// run instead may not be started.
StartResult startDocument(const QString& path, const QString& workDir) {
    if (openerRuns(path))
        return result(Outcome::Failed, path, false);
    return start({Launch::Kind::Document, path, {}, workDir, {}}, QFileInfo(path).fileName(), true);
}

}  // namespace

StartResult shellOpen(const QString& file, const QString& workDir, ShowMode mode) {
    if (file.trimmed().isEmpty())
        return {};
    if (hasScheme(file))
        return openAddress(file, mode);

    const std::optional<QString> path = fileToOpen(file, workDir);
    if (!path || !QFileInfo(*path).isFile()) {
        // The Windows shell took a bare "www.host" for an address.
        if (file.trimmed().startsWith(QLatin1String("www."), Qt::CaseInsensitive))
            return openAddress(file, mode);
        return result(Outcome::Missing, file, false);
    }
    const QString absolute = QFileInfo(*path).absoluteFilePath();
    if (isWindowsProgram(absolute) || linuxProgram(absolute, workDir))
        return startFile(absolute, std::nullopt, workDir);
    return startDocument(absolute, workDir);
}

StartResult openDocument(const QString& file, const QString& workDir) {
    if (file.trimmed().isEmpty())
        return {};
    if (hasScheme(file))
        return {Outcome::Failed, file, true};
    const std::optional<QString> path = fileToOpen(file, workDir);
    if (!path || !QFileInfo(*path).isFile())
        return result(Outcome::Missing, file, true);
    const QString absolute = QFileInfo(*path).absoluteFilePath();
    if (lowerExtension(absolute) == QLatin1String(".hlp")) {
        StartResult r = startFile(absolute, std::nullopt, workDir);
        r.document = true;
        return r;
    }
    if (runsOnWindows(absolute) || linuxProgram(absolute, workDir))
        return result(Outcome::Failed, absolute, true);
    return startDocument(absolute, workDir);
}

StartResult openAddress(const QString& address, ShowMode) {
    QString a = address.trimmed();
    if (a.isEmpty())
        return {};
    const StartResult refused{Outcome::Failed, a, true};
    if (!hasScheme(a)) {
        if (a.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
            a.prepend(QStringLiteral("http://"));
        else if (a.startsWith(QLatin1String("ftp."), Qt::CaseInsensitive))
            a.prepend(QStringLiteral("ftp://"));
        else
            return refused;
    }
    if (!isAllowedAddress(a))
        return refused;
    const QUrl url(a, QUrl::StrictMode);
    if (url.scheme().compare(QLatin1String("mailto"), Qt::CaseInsensitive) == 0 ? url.path().isEmpty()
                                                                                 : url.host().isEmpty())
        return refused;
    return start({Launch::Kind::Url, a, {}, {}, {}}, refused.name, true);
}

StartResult openHelp(const QString& systemDir, const QString& hlpName) {
    const auto hlp = existingFile(systemDir, hlpName);
    if (hlp && !findWine().isEmpty())
        return shellOpen(*hlp, systemDir, ShowMode::Maximized);
    QString base = hlpName;
    if (const qsizetype dot = base.lastIndexOf(QLatin1Char('.'));
        dot > base.lastIndexOf(QLatin1Char('\\')) && dot > base.lastIndexOf(QLatin1Char('/')))
        base.truncate(dot);
    if (auto htm = existingFile(systemDir, base + QStringLiteral(".HTM")))
        return startDocument(*htm, systemDir);
    // The WinHelp file alone, and no Wine to show it.
    if (hlp)
        return result(Outcome::NeedsWine, *hlp, true);
    return result(Outcome::Missing, hlpName, true);
}

}  // namespace platform

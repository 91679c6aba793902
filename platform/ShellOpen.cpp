#include "platform/ShellOpen.h"

#include "platform/Paths.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace platform {
namespace {

LaunchHook& hook() {
    static LaunchHook h;
    return h;
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
        if (interpreter.isEmpty() || !QFileInfo(interpreter).isExecutable())
            return std::nullopt;
        return Launch{Launch::Kind::Process, interpreter, args, workDir};
    }
    return std::nullopt;
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

bool shellOpen(const QString& file, const QString& workDir, ShowMode) {
    if (file.isEmpty())
        return false;
    // An address: something with a scheme that is not a Windows drive letter.
    const qsizetype colon = file.indexOf(QLatin1Char(':'));
    if (colon > 1 && !file.startsWith(QLatin1Char('/'))) {
        if (!isAllowedAddress(file))
            return false;
        return start({Launch::Kind::Url, file.trimmed(), {}, {}});
    }
    if (file.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        return start({Launch::Kind::Url, QStringLiteral("http://") + file.trimmed(), {}, {}});

    const QString path = QDir::isAbsolutePath(file) ? file : QDir(workDir).filePath(file);
    if (!QFileInfo(path).isFile())
        return false;
    if (isWindowsProgram(path)) {
        const QString wine = findWine();
        if (wine.isEmpty())
            return false;
        return start({Launch::Kind::Process, wine,
                      {QStringLiteral("start"), QStringLiteral("/unix"), path}, workDir});
    }
    if (auto program = linuxProgram(path, workDir))
        return start(*program);
    return start({Launch::Kind::Document, path, {}, workDir});
}

bool openHelp(const QString& systemDir, const QString& hlpName) {
    if (auto hlp = existingFile(systemDir, hlpName); hlp && !findWine().isEmpty())
        return shellOpen(*hlp, systemDir, ShowMode::Maximized);
    QString base = hlpName;
    base.truncate(base.lastIndexOf(QLatin1Char('.')));
    if (auto htm = existingFile(systemDir, base + QStringLiteral(".HTM")))
        return start({Launch::Kind::Document, *htm, {}, systemDir});
    return false;
}

}  // namespace platform

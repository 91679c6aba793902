#include "catalogue/InstalledState.h"

#include "platform/CommandLine.h"
#include "platform/Paths.h"
#include "platform/ShellOpen.h"
#include "platform/WinePaths.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

#include <dirent.h>
#include <sys/stat.h>

namespace katalog {
namespace {

const QString AppPaths = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\");
const QString Uninstall = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\");
const QString ShellFolders = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");

// Deeper than any start menu; a bound on the recursion whatever the mounts do.
constexpr int MaxDepth = 64;

struct Walk {
    QString name;
    std::set<std::pair<dev_t, ino_t>> visited;
};

QString findIn(Walk& walk, const QByteArray& dir, int depth) {
    struct stat st {};
    if (::stat(dir.constData(), &st) != 0 || !walk.visited.insert({st.st_dev, st.st_ino}).second)
        return {};
    DIR* d = ::opendir(dir.constData());
    if (!d)
        return {};
    std::vector<std::pair<QString, QByteArray>> entries;
    while (const dirent* e = ::readdir(d)) {
        const QByteArray raw(e->d_name);
        if (raw == "." || raw == "..")
            continue;
        entries.emplace_back(QFile::decodeName(raw), raw);
    }
    ::closedir(d);
    // Directory order is arbitrary on Linux; name order makes the first match repeatable.
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return a.first < b.first || (a.first == b.first && a.second < b.second);
    });

    for (const auto& [name, raw] : entries) {
        const QByteArray path = dir + raw;
        struct stat entry {};
        const bool enter = ::lstat(path.constData(), &entry) == 0 && S_ISDIR(entry.st_mode) &&
                           !raw.startsWith('.') && depth < MaxDepth;
        if (enter) {
            // A folder that is searched counts by what it holds, not by its own name.
            QString found = findIn(walk, path + '/', depth + 1);
            if (!found.isEmpty())
                return found;
        } else if (name == walk.name) {
            return QFile::decodeName(path);
        }
    }
    return {};
}

}  // namespace

InstalledState::InstalledState(platform::ProfileFile settings, platform::RegistryReader& registry,
                               QString cdTitle, KeysLookup keys, QString& installedPath,
                               QString& uninstallCommand)
    : settings_(std::move(settings)),
      registry_(registry),
      cdTitle_(std::move(cdTitle)),
      keys_(std::move(keys)),
      installedPath_(installedPath),
      uninstallCommand_(uninstallCommand) {}

bool InstalledState::InstalledCheck(const QString& program) {
    installedPath_.clear();
    uninstallCommand_.clear();
    auto found = [this] { return !installedPath_.isEmpty() && !uninstallCommand_.isEmpty(); };

    if (settings_.readInteger(installedSection(), program, -1) > 0)
        GetInstalledParams(program);
    if (!found())
        settings_.deleteKey(installedSection(), program);
    if (settings_.readInteger(installingSection(), program, -1) >= 0) {
        GetInstalledParams(program);
        if (found()) {
            settings_.writeInteger(installedSection(), program, 1);
            settings_.deleteKey(installingSection(), program);
        }
    }
    return found();
}

void InstalledState::GetInstalledParams(const QString& program) {
    const InstallKeys keys = keys_ ? keys_(program) : InstallKeys{};
    installedPath_.clear();
    uninstallCommand_.clear();
    if (keys.AppName.isEmpty() || keys.UnInstallReg.isEmpty())
        return;

    using platform::RootKey;
    const QString startMenu =
        registry_.readString(RootKey::Users, QStringLiteral(".Default\\") + ShellFolders, QStringLiteral("Start Menu"));
    // The places beyond the default user's, asked only when those held nothing.
    auto elsewhere = [this](const QString& key, const QString& value, const QString& name) {
        QString found = registry_.readString(RootKey::CurrentUser, key, value);
        if (found.isEmpty())
            found = FindInTree(name, registry_.readString(RootKey::CurrentUser, ShellFolders, QStringLiteral("Start Menu")));
        if (found.isEmpty())
            found = FindInTree(name, registry_.readString(RootKey::LocalMachine, ShellFolders,
                                                          QStringLiteral("Common Start Menu")));
        return found;
    };

    installedPath_ = registry_.readString(RootKey::LocalMachine, AppPaths + keys.AppName, QString());
    if (installedPath_.isEmpty())
        installedPath_ = FindInTree(keys.AppName, startMenu);
    if (installedPath_.isEmpty())
        installedPath_ = elsewhere(AppPaths + keys.AppName, QString(), keys.AppName);
    uninstallCommand_ =
        registry_.readString(RootKey::LocalMachine, Uninstall + keys.UnInstallReg, QStringLiteral("UnInstallString"));
    if (uninstallCommand_.isEmpty())
        uninstallCommand_ = FindInTree(keys.UnInstallReg, startMenu);
    if (uninstallCommand_.isEmpty())
        uninstallCommand_ = elsewhere(Uninstall + keys.UnInstallReg, QStringLiteral("UnInstallString"), keys.UnInstallReg);
}

void InstalledState::markInstalling(const QString& program) {
    settings_.writeInteger(installingSection(), program, 1);
}

QString InstalledState::FindInTree(const QString& name, const QString& folder) {
    // Relative to the process's current folder would be anywhere at all.
    if (folder.isEmpty() || name.isEmpty() || !folder.startsWith(QLatin1Char('/')))
        return {};
    Walk walk{name, {}};
    return findIn(walk, QFile::encodeName(platform::withTrailingSlash(folder)), 0);
}

platform::StartResult launchInstalledCommand(const QString& command) {
    if (platform::lowerExtension(command) == QLatin1String(".lnk")) {
        QString path = command;
        if (platform::isWindowsDrivePath(path))
            path = platform::windowsToLinuxPath(platform::defaultWinePrefix(), path).value_or(QString());
        if (path.isEmpty())
            return {};
        return platform::shellOpen(path, QFileInfo(path).absolutePath());
    }
    return platform::runCommandLine(command);
}

std::optional<QString> programFolderFile(const QString& programDir, const QString& source,
                                         const QString& file) {
    if (source.isEmpty() || file.isEmpty())
        return std::nullopt;
    QString rel = source;
    if (!rel.endsWith(QLatin1Char('\\')) && !rel.endsWith(QLatin1Char('/')))
        rel += QLatin1Char('\\');
    return platform::existingFile(programDir, rel + file);
}

namespace {

template <typename Open>
platform::StartResult openInProgramFolder(const QString& programDir, const QString& source, const QString& file, Open open) {
    const auto path = programFolderFile(programDir, source, file);
    if (!path)
        return {};
    const auto folder = platform::existingDir(programDir, source);
    return open(*path, folder.value_or(QFileInfo(*path).absolutePath()));
}

}  // namespace

platform::StartResult openProgramFolderFile(const QString& programDir, const QString& source, const QString& file) {
    return openInProgramFolder(programDir, source, file, [](const QString& path, const QString& dir) {
        return platform::shellOpen(path, dir);
    });
}

platform::StartResult openProgramFolderDocument(const QString& programDir, const QString& source, const QString& file) {
    return openInProgramFolder(programDir, source, file, platform::openDocument);
}

}  // namespace katalog

#pragma once
// Whether a program of the CD is installed on this computer, and how to start and uninstall
// the installed copy. Markers in the settings file decide whether the registry is asked at
// all: only programs whose setup the user started from here, or that were found before.
#include "platform/ProfileFile.h"
#include "platform/Registry.h"
#include "platform/ShellOpen.h"

#include <QString>

#include <functional>
#include <optional>

namespace katalog {

// The keys of a program's catalogue record that the lookup uses; empty when absent.
struct InstallKeys {
    QString AppName;
    QString UnInstallReg;
};

class InstalledState {
public:
    using KeysLookup = std::function<InstallKeys(const QString& program)>;

    // settings: kat.INI; cdTitle: key Name of section Title of the catalogue. installedPath
    // and uninstallCommand receive the results (the process-wide hand-over values); they
    // must outlive this object.
    InstalledState(platform::ProfileFile settings, platform::RegistryReader& registry, QString cdTitle,
                   KeysLookup keys, QString& installedPath, QString& uninstallCommand);

    // Reads and updates the markers, looks the program up zero, one or two times, and leaves
    // both texts. True when both were found. A registry value that holds no text fails with
    // platform::KatalogError; the texts are then as far as the lookup got.
    bool InstalledCheck(const QString& program);

    // Clears both texts, then fills them from the registry or the start-menu search. Where the
    // machine's keys and the default user's Start Menu hold nothing, the current user's keys
    // (HKEY_CURRENT_USER), the user's and the all-users Start Menu are asked, as Wine's
    // installers use them.
    void GetInstalledParams(const QString& program);

    // The install action's marker: the user started the program's setup from here.
    void markInstalling(const QString& program);

    // Depth-first search of folder for an entry named exactly name (letter case included);
    // entries are taken in name order, hidden folders, symbolic links and anything but plain
    // folders are not entered. The full path of the first match, or empty. An empty or
    // relative folder means no search: walking the whole file system is no answer.
    static QString FindInTree(const QString& name, const QString& folder);

    QString installedSection() const { return QStringLiteral("Installed-") + cdTitle_; }
    QString installingSection() const { return QStringLiteral("Installing-") + cdTitle_; }

private:
    platform::ProfileFile settings_;
    platform::RegistryReader& registry_;
    QString cdTitle_;
    KeysLookup keys_;
    QString& installedPath_;
    QString& uninstallCommand_;
};

// Starting an installed program or its uninstaller (InstalledPath, UninstallCommand): a
// shortcut (".lnk" in any letter case) opens through the shell with its own folder as
// working folder; anything else runs as a command line.
platform::StartResult launchInstalledCommand(const QString& command);

// programDir + source + file with exactly one separator between source and file, found
// without regard to letter case and never outside programDir; nullopt when source or file is
// empty or the file is not there.
std::optional<QString> programFolderFile(const QString& programDir, const QString& source,
                                         const QString& file);

// Opens a file of a program's CD folder (run, setup, doc) through the shell, the program's
// folder being the working folder. Missing, and nothing started, when source or file is empty
// or the file is not there.
platform::StartResult openProgramFolderFile(const QString& programDir, const QString& source, const QString& file);

// The same for the documentation, which is only read: a documentation file that is a program,
// a script or anything else the desktop would run is not opened (Failed).
platform::StartResult openProgramFolderDocument(const QString& programDir, const QString& source,
                                                const QString& file);

}  // namespace katalog

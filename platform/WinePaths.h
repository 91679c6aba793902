#pragma once
// Windows paths that installed programs left in Wine's registry ("C:\Program Files\X\x.exe")
// name files inside the Wine prefix; the prefix's dosdevices say where each drive lives.
#include <QString>
#include <QStringList>

#include <optional>

namespace platform {

// $WINEPREFIX, or ~/.wine.
QString defaultWinePrefix();

// The user's name as Wine takes it for the profile folder: $USER, else the account's name.
QString wineUserName();

// True for "X:\..." and "X:/...".
bool isWindowsDrivePath(const QString& path);

// A drive path to the Linux path it names in the prefix: "." and ".." are applied first (as
// Windows does), then each component is matched without regard to case, an exact match
// winning, then as a short 8.3 name (wineShortName's hash form, then the classic "NAME~N");
// components that do not exist are kept as written. nullopt when the text is no drive path or
// the prefix has no such drive.
std::optional<QString> windowsToLinuxPath(const QString& winePrefix, const QString& path);

// The drive path under which a Windows program sees a Linux file: the prefix's drive whose
// folder holds it most closely ("C:\Program Files\X\x.exe", "Z:\media\cd\x.exe"). nullopt
// when no drive holds it.
std::optional<QString> linuxToWindowsPath(const QString& winePrefix, const QString& path);

// The short name Wine gives a long file name ("Program Files" -> "PROG~FBU"): its first four
// letters, "~" and a hash of the whole name, then up to three letters of the extension. Empty
// for a name that is a legal 8.3 name itself and so has no other.
QString wineShortName(const QString& longName);

// The entry of names that the short name stands for: an entry whose Wine short name it is, else
// the N-th (in name order) of the entries whose classic short form "NAME~N.EXT" it fits, as
// installers that ran on Windows recorded them. Without regard to case; nullopt when none.
std::optional<QString> longNameOf(const QString& shortName, QStringList names);

}  // namespace platform

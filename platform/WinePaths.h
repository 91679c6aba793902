#pragma once
// Windows paths that installed programs left in Wine's registry ("C:\Program Files\X\x.exe")
// name files inside the Wine prefix; the prefix's dosdevices say where each drive lives.
#include <QString>

#include <optional>

namespace platform {

// $WINEPREFIX, or ~/.wine.
QString defaultWinePrefix();

// True for "X:\..." and "X:/...".
bool isWindowsDrivePath(const QString& path);

// A drive path to the Linux path it names in the prefix: "." and ".." are applied first (as
// Windows does), then each component is matched without regard to case, an exact match
// winning; components that do not exist are kept as written. nullopt when the text is no
// drive path or the prefix has no such drive.
std::optional<QString> windowsToLinuxPath(const QString& winePrefix, const QString& path);

}  // namespace platform

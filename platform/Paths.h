#pragma once
// Catalogue and INI values name files with backslashes, in whatever letter case the CD
// author typed; ISO 9660 and Joliet mounts disagree on case. Everything goes through here.
#include <QString>

#include <optional>

namespace platform {

// base (a real folder) + relative "a\b\c" (backslashes or slashes) -> the real path.
// Each component is matched without regard to case (an exact match wins); empty and "."
// components are dropped. A path that would leave base - by "..", or through a symbolic
// link that points outside it - gives nullopt, as does a base that is not absolute.
// Components that do not exist are kept as written, so the result may name a file that is
// not there.
std::optional<QString> resolvePath(const QString& base, const QString& relative);

// resolvePath for a file that is only read: a refused path is the empty name, which opens
// nothing and so reads as a missing file.
QString readablePath(const QString& base, const QString& relative);
// The same for a folder: ends with "/", or is empty when refused (and then every path
// resolved below it is refused too).
QString readableFolder(const QString& base, const QString& relative);

// The entry of dir (ending with "/") named name without regard to case; an exact match
// wins; name itself when nothing matches.
QString matchComponent(const QString& dir, const QString& name);

// resolvePath and the result is an existing regular file (or folder, for dirExists).
std::optional<QString> existingFile(const QString& base, const QString& relative);
std::optional<QString> existingDir(const QString& base, const QString& relative);

// A folder string in the program's convention: ends with exactly one separator.
QString withTrailingSlash(const QString& dir);

// Lower-cased extension from the last dot of the file-name part, dot included ("" if none).
QString lowerExtension(const QString& path);

}  // namespace platform

#pragma once
// Opening a file or address "with its default action", as the Windows shell did: never
// through a shell, never waited for, its failure not examined.
#include <QString>
#include <QStringList>

#include <functional>

namespace platform {

enum class ShowMode { Normal, Maximized };

// What was started; tests replace the starter with a recorder.
struct Launch {
    enum class Kind { Process, Document, Url } kind;
    QString program;      // Process: the executable; Document/Url: the file or address
    QStringList arguments;
    QString workDir;
};
using LaunchHook = std::function<void(const Launch&)>;
void setLaunchHook(LaunchHook hook);

// file: an absolute path, a path relative to workDir, or a web address. Windows programs go
// to Wine when it is installed, Linux programs (by their content: ELF or "#!") run directly,
// other documents go to the desktop's opener; addresses only with http, https, ftp or mailto.
// Returns false when nothing was started.
bool shellOpen(const QString& file, const QString& workDir, ShowMode mode = ShowMode::Normal);

// Opens a help file: the WinHelp file through Wine when both exist, otherwise the HTML file of
// the same base name beside it (".HTM", matched without regard to case).
bool openHelp(const QString& systemDir, const QString& hlpName);

// True when the address has one of the schemes a catalogue may open.
bool isAllowedAddress(const QString& address);

// Wine on the PATH, or empty.
QString findWine();

}  // namespace platform

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
// other documents go to the desktop's opener unless it would run them (a desktop entry, a
// script, an installer package); addresses only with http, https, ftp or mailto. Returns
// false when nothing was started.
bool shellOpen(const QString& file, const QString& workDir, ShowMode mode = ShowMode::Normal);

// Opens a file for reading, as the documentation button does: a document goes to the desktop's
// opener and a WinHelp file to its viewer, but nothing that runs - no Windows or Linux program,
// script, shortcut, desktop entry or installer - is started: false.
bool openDocument(const QString& file, const QString& workDir);

// Starts an existing file with arguments, as a command line would: a Windows program through
// Wine, a Linux program by its content. Anything else (a document) is not started: false.
bool startProgram(const QString& path, const QStringList& arguments, const QString& workDir);

// A web address for the browser: only http, https and ftp addresses with a host and mailto
// addresses; a bare "www." or "ftp." host gets its scheme, as the Windows shell guessed it.
// Local files, other schemes and anything else are refused: false.
bool openAddress(const QString& address, ShowMode mode = ShowMode::Maximized);

// Opens a help file: the WinHelp file through Wine when both exist, otherwise the HTML file of
// the same base name beside it (".HTM", matched without regard to case).
bool openHelp(const QString& systemDir, const QString& hlpName);

// True when the address has one of the schemes a catalogue may open.
bool isAllowedAddress(const QString& address);

// Wine on the PATH, or empty.
QString findWine();

}  // namespace platform

#pragma once
// Opening a file or address "with its default action", as the Windows shell did: never
// through a shell, never waited for. What became of it is returned, so that the caller can
// report a start that failed.
#include <QString>
#include <QStringList>

#include <functional>

class QObject;

namespace platform {

enum class ShowMode { Normal, Maximized };

// What was started; tests replace the starter with a recorder.
struct Launch {
    enum class Kind { Process, Document, Url } kind;
    QString program;      // Process: the executable; Document/Url: the file or address
    QStringList arguments;
    QString workDir;
    QStringList environment;  // Process: "NAME=value" added to its environment
};
using LaunchHook = std::function<void(const Launch&)>;
void setLaunchHook(LaunchHook hook);

// What became of a start.
struct StartResult {
    enum class Outcome {
        Started,
        Missing,    // nothing to start: no file, no address; said nothing about
        NeedsWine,  // a Windows file, and Wine is not installed
        Failed,     // there, but it could not or may not be started
    };
    Outcome outcome = Outcome::Missing;
    QString name;           // what was to be started, as the user knows it: file name or address
    bool document = false;  // to be opened rather than run
    qint64 pid = 0;         // the process started, when one was and is known

    explicit operator bool() const { return outcome == Outcome::Started; }
};

// One message for a start that needs Wine or failed, in Czech or Slovak; nothing otherwise.
void reportStartFailure(const StartResult& result, bool slovak);

// file: an absolute path, a path relative to workDir, or a web address. Windows programs go
// to Wine when it is installed, Linux programs (by their content: ELF or "#!") run directly,
// other documents go to the desktop's opener unless it would run them (a desktop entry, a
// script, an installer package); addresses only with http, https, ftp or mailto.
StartResult shellOpen(const QString& file, const QString& workDir, ShowMode mode = ShowMode::Normal);

// Opens a file for reading, as the documentation button does: a document goes to the desktop's
// opener and a WinHelp file to its viewer, but nothing that runs - no Windows or Linux program,
// script, shortcut, desktop entry or installer - is started (Failed).
StartResult openDocument(const QString& file, const QString& workDir);

// Starts an existing file as a command line would, arguments being the rest of the line as
// written: a Windows program through Wine with the line reaching it unchanged (only its own
// path written anew, as Wine sees it), a Linux program by its content with the arguments split
// by the Windows rules. Anything else (a document) is not started (Failed).
StartResult startProgram(const QString& path, const QString& arguments, const QString& workDir);

// A web address for the browser: only http, https and ftp addresses with a host and mailto
// addresses; a bare "www." or "ftp." host gets its scheme, as the Windows shell guessed it.
// Local files, other schemes and anything else are refused (Failed).
StartResult openAddress(const QString& address, ShowMode mode = ShowMode::Maximized);

// Opens a help file: the WinHelp file through Wine when both exist, otherwise the HTML file of
// the same base name beside it (".HTM", matched without regard to case).
StartResult openHelp(const QString& systemDir, const QString& hlpName);

// Calls ended once, on context's thread, when the process pid has ended (at once when it
// already has); never when context goes first or pid is not a process's.
void whenProcessEnds(qint64 pid, QObject* context, std::function<void()> ended);

// True when the address has one of the schemes a catalogue may open.
bool isAllowedAddress(const QString& address);

// Wine on the PATH, or empty.
QString findWine();

}  // namespace platform

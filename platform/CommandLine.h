#pragma once
// Running a command line as the Windows process-creation call did: the uninstall strings and
// start commands that installers leave in the registry are command lines, often with an
// unquoted "C:\Program Files\..." program path. Nothing here goes through a shell.
#include "platform/ShellOpen.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace platform {

struct SplitCommand {
    QString program;        // the program as written (quotes removed)
    QString programFile;    // the existing file it names; empty when there is none
    QStringList arguments;  // split by the Windows argument rules
    QString rawArguments;   // the rest of the line as written, from its first blank on

    bool operator==(const SplitCommand&) const = default;
};

// Names a file for a candidate program text: the existing file's real path, or nullopt.
using ProgramLocator = std::function<std::optional<QString>(const QString& candidate)>;

// A quoted first token is the program. Unquoted, the longest run of leading words that
// locate() knows is the program ("C:\Program Files\X\un.exe /S"); when no run is known, the
// first word. The rest is split into arguments: whitespace separates, quotes group, "" in
// quotes is a quote, and backslashes are literal unless they precede a quote (2n -> n and
// the quote groups; 2n+1 -> n and a literal quote). nullopt for a blank line.
std::optional<SplitCommand> splitCommandLine(const QString& line, const ProgramLocator& locate);

// Arguments alone, by the rules above.
QStringList splitArguments(QStringView text);

// The locator of runCommandLine: a Windows drive path is mapped into the Wine prefix, a bare
// name is looked for in the prefix's Windows folders and then on the PATH; names match
// without regard to case, and a name without extension may mean the ".exe" file.
std::optional<QString> locateProgram(const QString& candidate, const QString& winePrefix);

// Splits the line, then starts the program it names with the rest of the line and its own
// folder as working folder (as startProgram does: never through a shell, never waited for).
// A program that is not there fails (the line named it); a blank line is Missing.
StartResult runCommandLine(const QString& line, ShowMode mode = ShowMode::Normal);

}  // namespace platform

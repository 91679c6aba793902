#pragma once
// Copies the contents of a folder into another folder, recursively. An entry whose name is
// taken is written whole under a new free name, or, when asked, replaces a file or link of
// that name in one step (a folder merges into the folder there). A file is written without
// a name (or under a temporary one) and put in place only when it is complete, so a
// cancelled or failed copy leaves no half-written file under a final name and never a file
// half old, half new. Symbolic
// links are copied as links. Copies are writable by their owner even when the originals were not
// (CD mounts give 0400 files and 0500 folders).
//
// No widgets: the caller supplies the progress, cancel and error callbacks, which run on the
// thread that copies.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

namespace platform {

enum class CopyStep {
    ReadFolder,    // a source folder cannot be opened or listed
    ReadFile,      // a source file cannot be opened or read
    CreateFolder,  // a destination folder cannot be created
    WriteFile,     // a destination file cannot be created, written or put in place
    CopyLink,      // a symbolic link cannot be read or created
    NameTaken,     // the name is taken and renaming was not asked for, or no free name left
    Destination,   // the destination cannot be opened, or lies inside the source
};

struct CopyError {
    CopyStep step;
    QString source;  // the entry being copied
    QString target;  // the destination folder it was going to
    int error = 0;   // errno
};

enum class CopyDecision { Retry, Skip, Cancel };

struct CopyCallbacks {
    // Bytes of file data done and in all; the file being copied. At every file and chunk.
    std::function<void(qint64 done, qint64 total, const QString& current)> progress;
    // Asked between chunks; true stops the copy.
    std::function<bool()> cancelled;
    // Asked for every error; without it an error skips the entry.
    std::function<CopyDecision(const CopyError&)> error;
};

struct CopyOptions {
    bool renameOnCollision = true;
    // A taken name is replaced instead: files and links whole, folders merged. An entry that
    // meets one of another kind (a file where a folder is) keeps both.
    bool replaceExisting = false;
    qint64 chunkBytes = qint64(8) << 20;
    // Write into files without a name (O_TMPFILE) where the filesystem can; otherwise, or
    // when false, into hidden named temporaries.
    bool unnamedTemporaries = true;
};

struct CopyReport {
    int files = 0;
    int folders = 0;
    int links = 0;
    qint64 bytes = 0;        // file data written
    int skipped = 0;         // entries left out after an error
    int specialSkipped = 0;  // pipes, sockets and devices, which are never copied
    bool cancelled = false;
    // Entries written under a new name: (the name they would have had, the name they got),
    // both as destination paths.
    QList<std::pair<QString, QString>> renamed;
    // Files and links that replaced one of the same name, as destination paths.
    QStringList replaced;
};

// Copies every entry of the folder from into the existing folder to.
CopyReport copyFolderContents(const QString& from, const QString& to,
                              const CopyCallbacks& callbacks, const CopyOptions& options = {});

// The entries of from whose names are taken in to: what a copy would meet, found before
// anything is written.
QStringList takenNames(const QString& from, const QString& to);

// The n-th name for an entry whose name is taken (n >= 2): "name (2).ext", "folder (2)".
// Never longer than 255 bytes and never cutting a UTF-8 sequence.
QByteArray collisionName(const QByteArray& name, int n, bool isFolder);

// The user's text for an error, in Czech.
QString describeCopyError(const CopyError& e);
// Czech text for an errno value.
QString describeErrno(int error);

// Creates path with every missing parent folder; an existing folder is no error. Returns 0
// or the errno of the step that failed.
int makeFolderPath(const QString& path);

}  // namespace platform

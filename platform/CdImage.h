#pragma once
// CD images as people keep them: an .iso file, or a raw .bin dump of 2352-byte sectors with
// or without its .cue sheet. The ISO 9660 filesystem (with Joliet and Rock Ridge names) is
// read by libarchive; raw sectors are unwrapped here into the 2048 user bytes it expects.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace platform {

// Where the filesystem's sectors lie in a file.
struct DataTrack {
    QString file;
    qint64 start = 0;       // byte offset of the track's first sector
    int sectorSize = 2048;  // bytes one sector takes in the file
    int dataOffset = 0;     // where its 2048 user bytes begin: 16 for Mode 1, 24 for Mode 2 Form 1
    bool operator==(const DataTrack&) const = default;
};

// The first data track of a cue sheet; the track's FILE is matched without regard to case
// in cueDir. Audio tracks are skipped.
std::optional<DataTrack> parseCueSheet(const QByteArray& cue, const QString& cueDir);

// The data track of an image file by its content: a cue sheet's first data track, a raw
// image by the sync pattern of its first sector, or plain 2048-byte sectors holding an
// ISO 9660 volume. nullopt: none of these.
std::optional<DataTrack> findDataTrack(const QString& imageFile);

enum class ImageStatus {
    Ok,
    Damaged,      // cut short or unreadable
    Refused,      // an entry would land outside its folder, or claims more than the image has
    WriteFailed,  // the folder could not be written (errno tells why)
    Cancelled,
};

struct ImageResult {
    ImageStatus status = ImageStatus::Ok;
    QString entry;  // the entry refused or being written
    int error = 0;  // errno for WriteFailed
};

// A path of the image as it may be written below a folder: relative, with no "." or ".."
// parts. nullopt: it is not.
std::optional<QString> safeEntryPath(const QString& path);
// Whether a symbolic link at linkPath (a safe entry path) pointing to target stays inside
// the image's tree.
bool linkStaysInside(const QString& linkPath, const QString& target);

class CdImage {
public:
    explicit CdImage(DataTrack track) : track_(std::move(track)) {}

    // The user data the track holds: every size in the image is bounded by it.
    qint64 dataSize() const;

    struct Listing {
        ImageResult result;
        QStringList files;     // paths of regular files and folders, as the image names them
        qint64 fileBytes = 0;  // what the regular files hold
    };
    // Reads the whole directory tree and checks every entry without writing anything.
    Listing list() const;

    // The regular files whose paths (slashes or backslashes, any letter case) are asked for,
    // read into memory; the others read nothing at all.
    ImageResult readFiles(const QStringList& paths, QHash<QString, QByteArray>& contents) const;

    // Writes the whole tree into folder, which must exist and be empty. Permissions come
    // from Rock Ridge where present, never set-user-ID; links are made last, so nothing is
    // ever written through one. progress(bytes done, bytes in all) returns false to cancel.
    ImageResult extract(const QString& folder, const std::function<bool(qint64, qint64)>& progress) const;

private:
    DataTrack track_;
};

// The folder of the extracted CDs, "$XDG_CACHE_HOME/katalog/cd/".
QString imageCacheFolder();
// The cache entry's name for an image file: from its size, modification time and the hash of
// its first megabyte.
QString imageCacheKey(const QString& file);
// The cache entry of key when it is there (entries are only ever made whole), marked as used
// now.
std::optional<QString> usedCacheEntry(const QString& cacheFolder, const QString& key);
// Renames a whole extraction in part into the cache as the entry of key. When another start
// made that entry meanwhile, that one is kept and part stays as it is. nullopt: errno tells.
std::optional<QString> completeCacheEntry(const QString& part, const QString& cacheFolder, const QString& key);
// Removes all but the keep most recently used entries of the cache folder, and temporary
// folders that an extraction left a day or more ago.
void pruneImageCache(const QString& cacheFolder, int keep);

}  // namespace platform

#include "platform/CdImage.h"

#include "platform/Paths.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

#include <archive.h>
#include <archive_entry.h>

#include <cerrno>
#include <clocale>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr qint64 UserBytes = 2048;
constexpr qint64 RawSector = 2352;
// The primary volume descriptor sits in sector 16 and starts with 1, "CD001".
constexpr qint64 DescriptorSector = 16;
constexpr qint64 ReadBlock = 1 << 20;
const QByteArray SyncPattern("\x00\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\x00", 12);

// Sector size and where the user data begins, for a cue sheet's track mode; nullopt for
// audio and other tracks that hold no filesystem.
std::optional<std::pair<int, int>> trackLayout(const QByteArray& mode) {
    const QByteArray m = mode.toUpper();
    if (m == "MODE1/2048" || m == "MODE2/2048")
        return std::pair(2048, 0);
    if (m == "MODE1/2352")
        return std::pair(2352, 16);
    if (m == "MODE2/2352")
        return std::pair(2352, 24);
    if (m == "MODE2/2336")
        return std::pair(2336, 8);
    return std::nullopt;
}

// The words of a cue sheet line; a quoted word keeps its blanks.
QList<QByteArray> cueWords(const QByteArray& line) {
    QList<QByteArray> words;
    qsizetype i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        if (i >= line.size())
            break;
        if (line[i] == '"') {
            const qsizetype end = line.indexOf('"', i + 1);
            words.append(line.mid(i + 1, end < 0 ? -1 : end - i - 1));
            i = end < 0 ? line.size() : end + 1;
        } else {
            qsizetype end = i;
            while (end < line.size() && line[end] != ' ' && line[end] != '\t')
                ++end;
            words.append(line.mid(i, end - i));
            i = end;
        }
    }
    return words;
}

// "mm:ss:ff" in frames of 1/75 s.
std::optional<qint64> cueFrames(const QByteArray& time) {
    const QList<QByteArray> parts = time.split(':');
    if (parts.size() != 3)
        return std::nullopt;
    qint64 value[3];
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        value[i] = parts[i].toLongLong(&ok);
        if (!ok || value[i] < 0 || value[i] > 1000000)
            return std::nullopt;
    }
    return (value[0] * 60 + value[1]) * 75 + value[2];
}

// The file a cue sheet names, beside it; a path from the machine it was made on counts by
// its last part.
std::optional<QString> cueFile(const QString& cueDir, const QString& name) {
    if (auto f = existingFile(cueDir, name))
        return f;
    QString base = name;
    base.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return existingFile(cueDir, base.mid(base.lastIndexOf(QLatin1Char('/')) + 1));
}

class TrackReader {
public:
    explicit TrackReader(const DataTrack& track) : track_(track) {
        fd_ = ::open(QFile::encodeName(track.file).constData(), O_RDONLY | O_CLOEXEC);
        struct stat st {};
        if (fd_ < 0 || ::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode) || track.start < 0 ||
            track.sectorSize < UserBytes || track.dataOffset < 0 ||
            track.dataOffset + UserBytes > track.sectorSize)
            return;
        const qint64 bytes = qMax<qint64>(0, st.st_size - track.start);
        size_ = raw() ? bytes / track.sectorSize * UserBytes : bytes;
    }
    ~TrackReader() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    TrackReader(const TrackReader&) = delete;
    TrackReader& operator=(const TrackReader&) = delete;

    qint64 size() const { return size_; }

    // User bytes from pos; 0 at the end, -1 when the file cannot be read.
    qint64 read(qint64 pos, char* out, qint64 n) {
        n = qMin(n, size_ - pos);
        if (pos < 0 || n <= 0)
            return 0;
        if (!raw())
            return ::pread(fd_, out, size_t(n), track_.start + pos);
        const qint64 first = pos / UserBytes;
        const qint64 within = pos % UserBytes;
        const qint64 sectors = (within + n + UserBytes - 1) / UserBytes;
        buffer_.resize(sectors * track_.sectorSize);
        const qint64 got = ::pread(fd_, buffer_.data(), size_t(buffer_.size()), track_.start + first * track_.sectorSize);
        if (got < 0)
            return -1;
        qint64 copied = 0;
        for (qint64 s = 0; s < sectors && (s + 1) * track_.sectorSize <= got && copied < n; ++s) {
            const qint64 from = s == 0 ? within : 0;
            const qint64 take = qMin(UserBytes - from, n - copied);
            std::memcpy(out + copied, buffer_.constData() + s * track_.sectorSize + track_.dataOffset + from, size_t(take));
            copied += take;
        }
        return copied;
    }

private:
    bool raw() const { return track_.sectorSize != UserBytes || track_.dataOffset != 0; }

    DataTrack track_;
    int fd_ = -1;
    qint64 size_ = 0;
    QByteArray buffer_;
};

// The bytes the volume says it has, from its primary volume descriptor; 0 when there is none.
qint64 volumeBytes(TrackReader& reader) {
    unsigned char d[132] = {};
    if (reader.read(DescriptorSector * UserBytes, reinterpret_cast<char*>(d), sizeof d) != sizeof d || d[0] != 1 ||
        std::memcmp(d + 1, "CD001", 5) != 0)
        return 0;
    const qint64 blocks = d[80] | d[81] << 8 | d[82] << 16 | qint64(d[83]) << 24;
    const qint64 blockSize = d[128] | d[129] << 8;
    return blocks * blockSize;
}

bool holdsIsoVolume(const DataTrack& track) {
    TrackReader reader(track);
    return volumeBytes(reader) > 0;
}

// Joliet names are UTF-16 and Rock Ridge names bytes; libarchive converts both to the
// locale's character set, which may be ASCII. Names are wanted in UTF-8 whatever the
// user's locale: for this thread, while the image is read.
class Utf8Names {
public:
    Utf8Names() : locale_(::newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(nullptr))) {
        if (locale_)
            previous_ = ::uselocale(locale_);
    }
    ~Utf8Names() {
        if (locale_) {
            ::uselocale(previous_);
            ::freelocale(locale_);
        }
    }
    Utf8Names(const Utf8Names&) = delete;
    Utf8Names& operator=(const Utf8Names&) = delete;

private:
    locale_t locale_;
    locale_t previous_ = locale_t(nullptr);
};

struct Client {
    explicit Client(const DataTrack& track) : reader(track), buffer(ReadBlock, Qt::Uninitialized) {}
    TrackReader reader;
    QByteArray buffer;
    qint64 pos = 0;
};

la_ssize_t readTrack(archive* a, void* data, const void** block) {
    auto* c = static_cast<Client*>(data);
    const qint64 got = c->reader.read(c->pos, c->buffer.data(), c->buffer.size());
    if (got < 0) {
        archive_set_error(a, errno, "read error");
        return ARCHIVE_FATAL;
    }
    c->pos += got;
    *block = c->buffer.constData();
    return la_ssize_t(got);
}

la_int64_t skipTrack(archive*, void* data, la_int64_t request) {
    auto* c = static_cast<Client*>(data);
    const qint64 skip = qBound(qint64(0), qint64(request), c->reader.size() - c->pos);
    c->pos += skip;
    return skip;
}

la_int64_t seekTrack(archive*, void* data, la_int64_t offset, int whence) {
    auto* c = static_cast<Client*>(data);
    const qint64 base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? c->pos : c->reader.size();
    const qint64 to = base + offset;
    if (to < 0 || to > c->reader.size())
        return ARCHIVE_FATAL;
    c->pos = to;
    return to;
}

struct Entry {
    QString path;
    mode_t type = 0;
    qint64 size = 0;
    int perm = 0;
    QString link;      // a symbolic link's target
    QString hardlink;  // the earlier entry this one is another name of
    qint64 mtime = 0;
};

QString entryText(const char* utf8, const char* local) {
    return utf8 ? QString::fromUtf8(utf8) : local ? QString::fromLocal8Bit(local) : QString();
}

// Reads every entry of the image, checks it and hands it to visit, which may read its data
// or end the walk with a result of its own.
ImageResult walk(const DataTrack& track, const std::function<std::optional<ImageResult>(const Entry&, archive*)>& visit) {
    const Utf8Names names;
    Client client(track);
    const qint64 dataSize = client.reader.size();
    // An image cut short has less than its volume claims.
    if (dataSize <= 0 || dataSize < volumeBytes(client.reader))
        return {ImageStatus::Damaged, {}, 0};
    std::unique_ptr<archive, decltype(&archive_read_free)> a(archive_read_new(), archive_read_free);
    archive_read_support_format_iso9660(a.get());
    archive_read_set_seek_callback(a.get(), seekTrack);
    if (archive_read_open2(a.get(), &client, nullptr, readTrack, skipTrack, nullptr) != ARCHIVE_OK)
        return {ImageStatus::Damaged, {}, 0};
    for (;;) {
        archive_entry* e = nullptr;
        const int r = archive_read_next_header(a.get(), &e);
        if (r == ARCHIVE_EOF)
            return {};
        if (r != ARCHIVE_OK && r != ARCHIVE_WARN)
            return {ImageStatus::Damaged, {}, 0};
        Entry entry;
        const QString name = entryText(archive_entry_pathname_utf8(e), archive_entry_pathname(e));
        // The root folder itself, "." or "./", is the folder written into.
        if (archive_entry_filetype(e) == AE_IFDIR && QString(name).remove(QLatin1Char('.')).remove(QLatin1Char('/')).isEmpty() &&
            !name.startsWith(QLatin1Char('/')) && !name.contains(QLatin1String("..")))
            continue;
        const auto path = safeEntryPath(name);
        if (!path)
            return {ImageStatus::Refused, name, 0};
        entry.path = *path;
        entry.type = archive_entry_filetype(e);
        entry.size = archive_entry_size(e);
        entry.perm = int(archive_entry_perm(e));
        entry.mtime = archive_entry_mtime(e);
        if (const char* hard = archive_entry_hardlink(e)) {
            const auto target = safeEntryPath(entryText(archive_entry_hardlink_utf8(e), hard));
            if (!target)
                return {ImageStatus::Refused, name, 0};
            entry.hardlink = *target;
        } else if (entry.type == AE_IFLNK) {
            entry.link = entryText(archive_entry_symlink_utf8(e), archive_entry_symlink(e));
            if (!linkStaysInside(entry.path, entry.link))
                return {ImageStatus::Refused, name, 0};
        } else if (entry.type == AE_IFREG) {
            if (entry.size < 0 || entry.size > dataSize)
                return {ImageStatus::Refused, name, 0};
        } else if (entry.type != AE_IFDIR) {
            continue;  // devices and pipes have no place on a CD copy
        }
        if (auto stop = visit(entry, a.get()))
            return *stop;
    }
}

QString folderPath(const QString& folder, const QString& path) { return withTrailingSlash(folder) + path; }

QByteArray encoded(const QString& path) { return QFile::encodeName(path); }

ImageResult writeFailed(const QString& entry) { return {ImageStatus::WriteFailed, entry, errno}; }

}  // namespace

std::optional<DataTrack> parseCueSheet(const QByteArray& cue, const QString& cueDir) {
    QString file;
    std::pair<int, int> layout{0, 0};  // of the current track, when it holds data
    bool inDataTrack = false;
    for (QByteArray line : cue.split('\n')) {
        const QList<QByteArray> w = cueWords(line.replace('\r', ' '));
        if (w.isEmpty())
            continue;
        const QByteArray command = w[0].toUpper();
        if (command == "FILE" && w.size() >= 2) {
            file = QString::fromLocal8Bit(w[1]);
            inDataTrack = false;
        } else if (command == "TRACK" && w.size() >= 3) {
            const auto data = trackLayout(w[2]);
            inDataTrack = data.has_value();
            if (data)
                layout = *data;
        } else if (command == "INDEX" && w.size() >= 3 && inDataTrack && w[1].toInt() == 1) {
            const auto frames = cueFrames(w[2]);
            const auto path = file.isEmpty() ? std::nullopt : cueFile(cueDir, file);
            if (!frames || !path)
                return std::nullopt;
            return DataTrack{*path, *frames * layout.first, layout.first, layout.second};
        }
    }
    return std::nullopt;
}

std::optional<DataTrack> findDataTrack(const QString& imageFile) {
    QFile f(imageFile);
    if (!QFileInfo(imageFile).isFile() || !f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray head = f.read(RawSector);
    std::optional<DataTrack> track;
    if (head.startsWith(SyncPattern) && head.size() == RawSector) {
        // Mode 2 sectors carry an 8-byte subheader before their data.
        track = DataTrack{imageFile, 0, int(RawSector), head[15] == 2 ? 24 : 16};
    } else if (lowerExtension(imageFile) == QLatin1String(".cue")) {
        f.seek(0);
        track = parseCueSheet(f.read(1 << 16), QFileInfo(imageFile).absolutePath());
    } else {
        track = DataTrack{imageFile, 0, int(UserBytes), 0};
    }
    if (track && holdsIsoVolume(*track))
        return track;
    return std::nullopt;
}

std::optional<QString> safeEntryPath(const QString& path) {
    if (path.isEmpty() || path.startsWith(QLatin1Char('/')) || path.contains(QChar(0)))
        return std::nullopt;
    QStringList parts;
    for (const QString& part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String(".."))
            return std::nullopt;
        if (part != QLatin1String("."))
            parts.append(part);
    }
    if (parts.isEmpty())
        return std::nullopt;
    return parts.join(QLatin1Char('/'));
}

bool linkStaysInside(const QString& linkPath, const QString& target) {
    if (target.isEmpty() || target.startsWith(QLatin1Char('/')))
        return false;
    QStringList at = linkPath.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (!at.isEmpty())
        at.removeLast();
    for (const QString& part : target.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String("..")) {
            if (at.isEmpty())
                return false;
            at.removeLast();
        } else if (part != QLatin1String(".")) {
            at.append(part);
        }
    }
    return true;
}

qint64 CdImage::dataSize() const { return TrackReader(track_).size(); }

CdImage::Listing CdImage::list() const {
    Listing l;
    const qint64 limit = dataSize();
    l.result = walk(track_, [&](const Entry& e, archive*) -> std::optional<ImageResult> {
        if (e.type == AE_IFREG && e.hardlink.isEmpty()) {
            // Files that share their data could otherwise fill any disk.
            l.fileBytes += e.size;
            if (l.fileBytes > limit)
                return ImageResult{ImageStatus::Refused, e.path, 0};
        }
        if (e.type == AE_IFREG || e.type == AE_IFDIR)
            l.files.append(e.path);
        return std::nullopt;
    });
    return l;
}

ImageResult CdImage::readFiles(const QStringList& paths, QHash<QString, QByteArray>& contents) const {
    QHash<QString, QString> wanted;  // folded path -> as asked
    for (const QString& p : paths) {
        QString folded = p;
        folded.replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (auto safe = safeEntryPath(folded))
            wanted.insert(safe->toLower(), p);
    }
    return walk(track_, [&](const Entry& e, archive* a) -> std::optional<ImageResult> {
        const auto it = wanted.constFind(e.path.toLower());
        if (e.type != AE_IFREG || !e.hardlink.isEmpty() || it == wanted.constEnd() || contents.contains(*it))
            return std::nullopt;
        QByteArray data(e.size, Qt::Uninitialized);
        if (archive_read_data(a, data.data(), size_t(data.size())) != e.size)
            return ImageResult{ImageStatus::Damaged, e.path, 0};
        contents.insert(*it, data);
        return std::nullopt;
    });
}

ImageResult CdImage::extract(const QString& folder, const std::function<bool(qint64, qint64)>& progress) const {
    const Listing listing = list();
    if (listing.result.status != ImageStatus::Ok)
        return listing.result;
    qint64 done = 0;
    QList<std::pair<QString, int>> folders;
    QList<Entry> links;
    const ImageResult written = walk(track_, [&](const Entry& e, archive* a) -> std::optional<ImageResult> {
        const QByteArray target = encoded(folderPath(folder, e.path));
        if (!progress(done, listing.fileBytes))
            return ImageResult{ImageStatus::Cancelled, {}, 0};
        if (e.type == AE_IFDIR) {
            // Writable while it is filled; its own permissions come at the end.
            if (!QDir().mkpath(folderPath(folder, e.path)))
                return writeFailed(e.path);
            folders.append({e.path, e.perm});
            return std::nullopt;
        }
        if (!e.hardlink.isEmpty() || e.type == AE_IFLNK) {
            links.append(e);
            return std::nullopt;
        }
        if (!QDir().mkpath(QFileInfo(folderPath(folder, e.path)).absolutePath()))
            return writeFailed(e.path);
        const int fd = ::open(target.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0)
            return writeFailed(e.path);
        const void* block = nullptr;
        size_t size = 0;
        la_int64_t offset = 0;
        int r;
        while ((r = archive_read_data_block(a, &block, &size, &offset)) == ARCHIVE_OK) {
            if (offset < 0 || offset + qint64(size) > e.size) {
                ::close(fd);
                return ImageResult{ImageStatus::Damaged, e.path, 0};
            }
            for (size_t put = 0; put < size;) {
                const ssize_t n = ::pwrite(fd, static_cast<const char*>(block) + put, size - put, offset + qint64(put));
                if (n <= 0) {
                    const ImageResult failed = writeFailed(e.path);
                    ::close(fd);
                    return failed;
                }
                put += size_t(n);
            }
            done += qint64(size);
            if (!progress(done, listing.fileBytes)) {
                ::close(fd);
                return ImageResult{ImageStatus::Cancelled, {}, 0};
            }
        }
        const timespec times[2] = {{0, UTIME_OMIT}, {time_t(e.mtime), 0}};
        const bool ok = r == ARCHIVE_EOF && ::ftruncate(fd, e.size) == 0 &&
                        ::fchmod(fd, mode_t((e.perm & 0777) | 0600)) == 0 && ::futimens(fd, times) == 0;
        const ImageResult failed = r == ARCHIVE_EOF ? writeFailed(e.path) : ImageResult{ImageStatus::Damaged, e.path, 0};
        if (::close(fd) != 0 || !ok)
            return failed;
        return std::nullopt;
    });
    if (written.status != ImageStatus::Ok)
        return written;
    // Links last, hard links before symbolic ones, and no link below another symbolic link:
    // nothing is ever written through one.
    std::stable_sort(links.begin(), links.end(),
                     [](const Entry& a, const Entry& b) { return !a.hardlink.isEmpty() && b.hardlink.isEmpty(); });
    QSet<QString> symlinks;
    for (const Entry& e : links)
        if (e.hardlink.isEmpty())
            symlinks.insert(e.path);
    const auto belowSymlink = [&](const QString& path) {
        for (qsizetype slash = path.indexOf(QLatin1Char('/')); slash > 0; slash = path.indexOf(QLatin1Char('/'), slash + 1))
            if (symlinks.contains(path.left(slash)))
                return true;
        return false;
    };
    for (const Entry& e : links)
        if (belowSymlink(e.path) || belowSymlink(e.hardlink) || symlinks.contains(e.hardlink))
            return {ImageStatus::Refused, e.path, 0};
    for (const Entry& e : links) {
        const QByteArray at = encoded(folderPath(folder, e.path));
        const bool made = e.hardlink.isEmpty()
                              ? ::symlink(encoded(e.link).constData(), at.constData()) == 0
                              : ::link(encoded(folderPath(folder, e.hardlink)).constData(), at.constData()) == 0;
        if (!made)
            return writeFailed(e.path);
    }
    for (const auto& [path, perm] : folders)
        if (::chmod(encoded(folderPath(folder, path)).constData(), mode_t((perm & 0777) | 0700)) != 0)
            return writeFailed(path);
    return {};
}

QString imageCacheFolder() {
    return withTrailingSlash(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                             QStringLiteral("/katalog/cd"));
}

QString imageCacheKey(const QString& file) {
    QFile f(file);
    const QFileInfo info(file);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArray::number(info.size()) + ' ' +
                 QByteArray::number(info.lastModified().toMSecsSinceEpoch()) + ' ');
    if (f.open(QIODevice::ReadOnly))
        hash.addData(f.read(1 << 20));
    return QString::fromLatin1(hash.result().toHex().left(24));
}

std::optional<QString> usedCacheEntry(const QString& cacheFolder, const QString& key) {
    const QString entry = withTrailingSlash(cacheFolder) + key;
    if (!QFileInfo(entry).isDir())
        return std::nullopt;
    // The age of the last use decides what the cache keeps.
    ::utimensat(AT_FDCWD, encoded(entry).constData(), nullptr, 0);
    return entry;
}

std::optional<QString> completeCacheEntry(const QString& part, const QString& cacheFolder, const QString& key) {
    const QString entry = withTrailingSlash(cacheFolder) + key;
    if (::rename(encoded(part).constData(), encoded(entry).constData()) == 0 ||
        ((errno == EEXIST || errno == ENOTEMPTY) && QFileInfo(entry).isDir()))
        return usedCacheEntry(cacheFolder, key);
    return std::nullopt;
}

void pruneImageCache(const QString& cacheFolder, int keep) {
    const QFileInfoList entries = QDir(cacheFolder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Time);
    const QDateTime dayAgo = QDateTime::currentDateTime().addDays(-1);
    int kept = 0;
    for (const QFileInfo& entry : entries) {
        const bool partial = entry.fileName().startsWith(QLatin1Char('.'));
        if (partial ? entry.lastModified() < dayAgo : ++kept > keep)
            QDir(entry.absoluteFilePath()).removeRecursively();
    }
}

}  // namespace platform

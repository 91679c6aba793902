#include "platform/FileCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

// Each level holds a few descriptors open; deeper trees are refused rather than running
// out of them.
constexpr int MaxDepth = 200;
constexpr int MaxCandidates = 9999;
constexpr qint64 ReadWriteBuffer = qint64(1) << 20;

class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : fd_(fd) {}
    Fd(Fd&& o) noexcept : fd_(std::exchange(o.fd_, -1)) {}
    Fd& operator=(Fd&& o) noexcept {
        reset(std::exchange(o.fd_, -1));
        return *this;
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() { reset(); }

    void reset(int fd = -1) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }
    int release() { return std::exchange(fd_, -1); }
    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

enum class Kind { File, Folder, Link, Special };

struct Node {
    QByteArray name;
    Kind kind = Kind::File;
    qint64 size = 0;  // a folder: all file data below it
    mode_t mode = 0;
    int listError = 0;  // a folder that could not be opened or listed
    std::vector<Node> children;
};

QString join(const QString& folder, const QByteArray& name) {
    const QString n = QFile::decodeName(name);
    if (folder.isEmpty())
        return n;
    return folder.endsWith(QLatin1Char('/')) ? folder + n : folder + QLatin1Char('/') + n;
}

int openFolderAt(int dirfd, const char* name) {
    return ::openat(dirfd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Never replaces: RENAME_NOREPLACE where the filesystem has it, else a hard link (which
// fails on an existing name), else a check just before a plain rename.
int renameNoReplace(int dirfd, const QByteArray& from, const QByteArray& to) {
    if (::renameat2(dirfd, from.constData(), dirfd, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return errno;
    if (::linkat(dirfd, from.constData(), dirfd, to.constData(), 0) == 0) {
        ::unlinkat(dirfd, from.constData(), 0);
        return 0;
    }
    if (errno == EEXIST)
        return EEXIST;
    struct stat st{};
    if (::fstatat(dirfd, to.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0)
        return EEXIST;
    if (errno != ENOENT)
        return errno;
    return ::renameat(dirfd, from.constData(), dirfd, to.constData()) == 0 ? 0 : errno;
}

// Puts from in the place of to in one step, replacing a file or link there; a folder there is
// never replaced: EEXIST.
int replaceName(int dirfd, const QByteArray& from, const QByteArray& to) {
    struct stat st{};
    if (::fstatat(dirfd, to.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode))
        return EEXIST;
    return ::renameat(dirfd, from.constData(), dirfd, to.constData()) == 0 ? 0 : errno;
}

QByteArray hiddenName() {
    return QByteArrayLiteral(".katalog-") + QByteArray::number(QRandomGenerator::global()->generate64(), 16) +
           QByteArrayLiteral(".part");
}

// A hidden temporary file beside its final place, created exclusively.
Fd createTemporary(int dirfd, mode_t mode, QByteArray& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = hiddenName();
        const int fd =
            ::openat(dirfd, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return Fd(fd);
    }
    errno = EEXIST;
    return Fd();
}

// Removes the temporary file unless it was put in place.
class TemporaryGuard {
public:
    TemporaryGuard(int dirfd, const QByteArray& name) : dirfd_(dirfd), name_(name) {}
    ~TemporaryGuard() {
        if (armed_)
            ::unlinkat(dirfd_, name_.constData(), 0);
    }
    void release() { armed_ = false; }

private:
    int dirfd_;
    QByteArray name_;
    bool armed_ = true;
};

class Copier {
public:
    Copier(const CopyCallbacks& callbacks, const CopyOptions& options)
        : cb_(callbacks), options_(options), chunk_(std::max<qint64>(options.chunkBytes, 4096)) {}

    CopyReport run(const QString& from, const QString& to);

private:
    struct Outcome {
        int error = 0;
        CopyStep step = CopyStep::WriteFile;
        bool special = false;
        bool again = false;  // unnamed temporaries do not work here: once more with a named one
        qint64 written = 0;
    };

    bool stopped() {
        if (!report_.cancelled && cb_.cancelled && cb_.cancelled())
            report_.cancelled = true;
        return report_.cancelled;
    }
    CopyDecision ask(CopyStep step, const QString& source, const QString& target, int error);
    void progress(const QString& current) {
        if (cb_.progress)
            cb_.progress(done_, total_, current);
    }
    void skip(const Node& node, const QString& current) {
        ++report_.skipped;
        done_ += node.size;
        progress(current);
    }

    void scan(int dirfd, Node& folder, int depth);
    void rescan(int parentfd, Node& folder, int depth);
    void copyChildren(int srcfd, const QString& srcPath, int dstfd, const QString& dstPath,
                      Node& folder, int depth);
    void copyFolder(int srcfd, const QString& srcPath, int dstfd, const QString& dstPath,
                    Node& node, int depth);
    void copyFile(int srcfd, const QString& srcPath, int dstfd, const QString& dstPath,
                  const Node& node);
    Outcome tryCopyFile(int srcfd, int dstfd, const QString& dstPath, const Node& node,
                        const QString& current);
    Outcome copyData(int in, int out, qint64 size, const QString& current);
    void copyLink(int srcfd, const QString& srcPath, int dstfd, const QString& dstPath,
                  const Node& node);

    // Tries name, then its collision names, until attempt gives anything but EEXIST.
    template <typename Attempt>
    int placeUnderFreeName(const QByteArray& name, bool folder, const QString& dstPath,
                           Attempt attempt, QByteArray& used);
    // Puts the finished entry at temporary under its name: in the place of what is there when
    // replacing, else (or when a folder is there) under a free name.
    int place(int dstfd, const QByteArray& temporary, const QByteArray& name, const QString& dstPath);

    const CopyCallbacks& cb_;
    const CopyOptions& options_;
    const qint64 chunk_;
    CopyReport report_;
    qint64 done_ = 0;
    qint64 total_ = 0;
    struct stat destination_{};
    std::vector<char> buffer_;
    bool unnamed_ = options_.unnamedTemporaries && ::access("/proc/self/fd", X_OK) == 0;
};

CopyDecision Copier::ask(CopyStep step, const QString& source, const QString& target, int error) {
    if (report_.cancelled)
        return CopyDecision::Cancel;
    const CopyDecision d =
        cb_.error ? cb_.error(CopyError{step, source, target, error}) : CopyDecision::Skip;
    if (d == CopyDecision::Cancel)
        report_.cancelled = true;
    return d;
}

void Copier::scan(int dirfd, Node& folder, int depth) {
    if (depth > MaxDepth) {
        folder.listError = ENAMETOOLONG;
        return;
    }
    Fd listing(::openat(dirfd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    DIR* dir = listing ? ::fdopendir(listing.get()) : nullptr;
    if (!dir) {
        folder.listError = errno;
        return;
    }
    listing.release();
    for (;;) {
        errno = 0;
        const dirent* e = ::readdir(dir);
        if (!e) {
            if (errno != 0)
                folder.listError = errno;
            break;
        }
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0)
            continue;
        Node child;
        child.name = QByteArray(e->d_name);
        struct stat st{};
        if (::fstatat(dirfd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
            // Opening it later reports what is wrong.
            folder.children.push_back(std::move(child));
            continue;
        }
        child.mode = st.st_mode;
        if (S_ISREG(st.st_mode)) {
            child.size = st.st_size;
        } else if (S_ISLNK(st.st_mode)) {
            child.kind = Kind::Link;
        } else if (S_ISDIR(st.st_mode)) {
            // A destination inside the source is never copied into itself.
            if (sameFile(st, destination_))
                continue;
            child.kind = Kind::Folder;
            Fd sub(openFolderAt(dirfd, e->d_name));
            if (sub)
                scan(sub.get(), child, depth + 1);
            else
                child.listError = errno;
        } else {
            child.kind = Kind::Special;
        }
        folder.size += child.size;
        folder.children.push_back(std::move(child));
    }
    ::closedir(dir);
    // Directory order is arbitrary; a repeatable order makes collisions repeatable too.
    std::sort(folder.children.begin(), folder.children.end(),
              [](const Node& a, const Node& b) { return a.name < b.name; });
}

void Copier::rescan(int parentfd, Node& folder, int depth) {
    const qint64 before = folder.size;
    folder.children.clear();
    folder.size = 0;
    folder.listError = 0;
    Fd sub(openFolderAt(parentfd, folder.name.constData()));
    if (sub)
        scan(sub.get(), folder, depth);
    else
        folder.listError = errno;
    total_ += folder.size - before;
}

template <typename Attempt>
int Copier::placeUnderFreeName(const QByteArray& name, bool folder, const QString& dstPath,
                               Attempt attempt, QByteArray& used) {
    for (int n = 1; n <= MaxCandidates; ++n) {
        used = n == 1 ? name : collisionName(name, n, folder);
        const int r = attempt(used);
        if (r != EEXIST) {
            if (r == 0 && n > 1)
                report_.renamed.append({join(dstPath, name), join(dstPath, used)});
            return r;
        }
        if (!options_.renameOnCollision)
            return EEXIST;
    }
    return EEXIST;
}

int Copier::place(int dstfd, const QByteArray& temporary, const QByteArray& name, const QString& dstPath) {
    if (options_.replaceExisting) {
        struct stat st{};
        const bool taken = ::fstatat(dstfd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0;
        const int r = replaceName(dstfd, temporary, name);
        if (r != EEXIST) {
            if (r == 0 && taken)
                report_.replaced.append(join(dstPath, name));
            return r;
        }
    }
    QByteArray used;
    return placeUnderFreeName(
        name, false, dstPath, [&](const QByteArray& candidate) { return renameNoReplace(dstfd, temporary, candidate); },
        used);
}

void Copier::copyChildren(int srcfd, const QString& srcPath, int dstfd, const QString& dstPath,
                          Node& folder, int depth) {
    for (Node& child : folder.children) {
        if (stopped())
            return;
        switch (child.kind) {
        case Kind::Folder:
            copyFolder(srcfd, srcPath, dstfd, dstPath, child, depth);
            break;
        case Kind::File:
            copyFile(srcfd, srcPath, dstfd, dstPath, child);
            break;
        case Kind::Link:
            copyLink(srcfd, srcPath, dstfd, dstPath, child);
            break;
        case Kind::Special:
            ++report_.specialSkipped;
            break;
        }
    }
}

void Copier::copyFolder(int srcfd, const QString& srcPath, int dstfd, const QString& dstPath,
                        Node& node, int depth) {
    const QString source = join(srcPath, node.name);
    for (;;) {
        if (stopped())
            return;
        Fd src;
        int error = node.listError;
        if (!error) {
            src.reset(openFolderAt(srcfd, node.name.constData()));
            if (!src)
                error = errno;
        }
        if (error) {
            const CopyDecision d = ask(CopyStep::ReadFolder, source, dstPath, error);
            if (d == CopyDecision::Retry) {
                rescan(srcfd, node, depth + 1);
                continue;
            }
            if (d == CopyDecision::Skip)
                skip(node, source);
            return;
        }

        // The owner may always write into the copy; the CD's 0500 would lock it.
        const mode_t mode = (node.mode & 0777) | S_IRWXU;
        QByteArray used;
        int r = placeUnderFreeName(
            node.name, true, dstPath,
            [&](const QByteArray& candidate) {
                if (::mkdirat(dstfd, candidate.constData(), mode) == 0)
                    return 0;
                const int error = errno;
                // Replacing merges into the folder of that name.
                struct stat st{};
                if (error == EEXIST && options_.replaceExisting && candidate == node.name &&
                    ::fstatat(dstfd, candidate.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode))
                    return 0;
                return error;
            },
            used);
        Fd dst;
        if (r == 0) {
            dst.reset(openFolderAt(dstfd, used.constData()));
            if (!dst)
                r = errno;
        }
        if (r != 0) {
            const CopyStep step = r == EEXIST ? CopyStep::NameTaken : CopyStep::CreateFolder;
            const CopyDecision d = ask(step, source, dstPath, r);
            if (d == CopyDecision::Retry)
                continue;
            if (d == CopyDecision::Skip)
                skip(node, source);
            return;
        }
        ++report_.folders;
        copyChildren(src.get(), source, dst.get(), join(dstPath, used), node, depth + 1);
        return;
    }
}

void Copier::copyFile(int srcfd, const QString& srcPath, int dstfd, const QString& dstPath,
                      const Node& node) {
    const QString source = join(srcPath, node.name);
    const qint64 start = done_;
    for (;;) {
        done_ = start;
        progress(source);
        const Outcome o = tryCopyFile(srcfd, dstfd, dstPath, node, source);
        if (o.again)
            continue;
        if (o.special) {
            ++report_.specialSkipped;
            return;
        }
        if (o.error == 0 && !report_.cancelled) {
            ++report_.files;
            report_.bytes += o.written;
            done_ = start + node.size;
            progress(source);
            return;
        }
        if (report_.cancelled)
            return;
        const CopyDecision d = ask(o.step, source, dstPath, o.error);
        if (d == CopyDecision::Retry)
            continue;
        if (d == CopyDecision::Skip) {
            done_ = start;
            skip(node, source);
        }
        return;
    }
}

Copier::Outcome Copier::tryCopyFile(int srcfd, int dstfd, const QString& dstPath, const Node& node,
                                    const QString& current) {
    // O_NONBLOCK: should the entry have turned into a pipe since the scan, opening it must
    // not wait for a writer.
    Fd in(::openat(srcfd, node.name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!in)
        return {errno, CopyStep::ReadFile};
    struct stat st{};
    if (::fstat(in.get(), &st) != 0)
        return {errno, CopyStep::ReadFile};
    if (!S_ISREG(st.st_mode))
        return {0, CopyStep::ReadFile, true};
    ::fcntl(in.get(), F_SETFL, O_RDONLY);

    // The data goes to a file without a name (it vanishes by itself on failure, cancel or
    // crash) or, where the filesystem cannot do that, to a hidden temporary beside the
    // final place.
    const mode_t mode = (st.st_mode & 0777) | S_IRUSR | S_IWUSR;
    Fd out;
    QByteArray temporary;
    // Replacing puts a named temporary over the old file in one step.
    if (unnamed_ && !options_.replaceExisting) {
        out.reset(::openat(dstfd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
        if (!out && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL))
            unnamed_ = false;
    }
    if (!out) {
        out = createTemporary(dstfd, mode, temporary);
        if (!out)
            return {errno, CopyStep::WriteFile};
    }
    TemporaryGuard guard(dstfd, temporary);
    if (temporary.isEmpty())
        guard.release();

    Outcome done = copyData(in.get(), out.get(), st.st_size, current);
    if (done.error != 0 || report_.cancelled)
        return done;
    const timespec times[2] = {{0, UTIME_OMIT}, st.st_mtim};
    ::futimens(out.get(), times);

    QByteArray used;
    if (temporary.isEmpty()) {
        char self[64];
        std::snprintf(self, sizeof self, "/proc/self/fd/%d", out.get());
        // A link never replaces an existing name.
        const int r = placeUnderFreeName(
            node.name, false, dstPath,
            [&](const QByteArray& candidate) {
                return ::linkat(AT_FDCWD, self, dstfd, candidate.constData(), AT_SYMLINK_FOLLOW) ==
                               0
                           ? 0
                           : errno;
            },
            used);
        if (r == EEXIST)
            return {r, CopyStep::NameTaken};
        if (r != 0) {
            unnamed_ = false;
            return {r, CopyStep::WriteFile, false, true};
        }
        if (::close(out.release()) != 0) {
            const int error = errno;
            ::unlinkat(dstfd, used.constData(), 0);
            return {error, CopyStep::WriteFile};
        }
        return done;
    }

    // Some filesystems report a failed write only here.
    if (::close(out.release()) != 0)
        return {errno, CopyStep::WriteFile};
    const int r = place(dstfd, temporary, node.name, dstPath);
    if (r != 0)
        return {r, r == EEXIST ? CopyStep::NameTaken : CopyStep::WriteFile};
    guard.release();
    return done;
}

Copier::Outcome Copier::copyData(int in, int out, qint64 size, const QString& current) {
    qint64 written = 0;
    // copy_file_range lets the kernel move the data (or share it, on filesystems that can);
    // between filesystems that do not support it, and on any doubt, read and write tell
    // which side failed.
    bool inKernel = true;
    for (;;) {
        if (stopped())
            return {};
        if (inKernel) {
            const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, size_t(chunk_), 0);
            if (n > 0) {
                written += n;
                done_ += n;
                progress(current);
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n == 0 && written >= size)
                break;
            // Short of the size, 0 may be a filesystem that cannot tell: read() will.
            inKernel = false;
            continue;
        }
        if (buffer_.empty())
            buffer_.resize(size_t(std::min(chunk_, ReadWriteBuffer)));
        const ssize_t n = ::read(in, buffer_.data(), buffer_.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return {errno, CopyStep::ReadFile};
        }
        if (n == 0)
            break;
        for (ssize_t off = 0; off < n;) {
            const ssize_t w = ::write(out, buffer_.data() + off, size_t(n - off));
            if (w < 0) {
                if (errno == EINTR)
                    continue;
                return {errno, CopyStep::WriteFile};
            }
            if (w == 0)
                return {ENOSPC, CopyStep::WriteFile};
            off += w;
        }
        written += n;
        done_ += n;
        progress(current);
    }
    Outcome o;
    o.written = written;
    return o;
}

void Copier::copyLink(int srcfd, const QString& srcPath, int dstfd, const QString& dstPath,
                      const Node& node) {
    const QString source = join(srcPath, node.name);
    for (;;) {
        if (stopped())
            return;
        char target[4096];
        const ssize_t n = ::readlinkat(srcfd, node.name.constData(), target, sizeof target);
        int r = n < 0 ? errno : n >= ssize_t(sizeof target) ? ENAMETOOLONG : 0;
        QByteArray used;
        if (r == 0 && options_.replaceExisting) {
            // Made under a hidden name, then put in the place of what is there.
            const QByteArray temporary = hiddenName();
            r = ::symlinkat(QByteArray(target, n).constData(), dstfd, temporary.constData()) == 0 ? 0 : errno;
            if (r == 0) {
                r = place(dstfd, temporary, node.name, dstPath);
                if (r != 0)
                    ::unlinkat(dstfd, temporary.constData(), 0);
            }
        } else if (r == 0) {
            // The link's own text: it is never followed.
            const QByteArray text(target, n);
            r = placeUnderFreeName(
                node.name, false, dstPath,
                [&](const QByteArray& candidate) {
                    return ::symlinkat(text.constData(), dstfd, candidate.constData()) == 0 ? 0
                                                                                            : errno;
                },
                used);
        }
        if (r == 0) {
            ++report_.links;
            return;
        }
        const CopyDecision d =
            ask(r == EEXIST ? CopyStep::NameTaken : CopyStep::CopyLink, source, dstPath, r);
        if (d == CopyDecision::Retry)
            continue;
        if (d == CopyDecision::Skip)
            skip(node, source);
        return;
    }
}

// True when folder lies inside (or is) root.
bool isInside(int folder, const struct stat& root) {
    Fd current(::dup(folder));
    for (int level = 0; current && level < 4096; ++level) {
        struct stat st{};
        if (::fstat(current.get(), &st) != 0)
            return false;
        if (sameFile(st, root))
            return true;
        Fd up(::openat(current.get(), "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        struct stat parent{};
        if (!up || ::fstat(up.get(), &parent) != 0 || sameFile(parent, st))
            return false;
        current = std::move(up);
    }
    return false;
}

CopyReport Copier::run(const QString& from, const QString& to) {
    const QByteArray fromName = QFile::encodeName(from);
    const QByteArray toName = QFile::encodeName(to);
    Fd src;
    Fd dst;
    Node root;
    for (;;) {
        src.reset(::open(fromName.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!src) {
            if (ask(CopyStep::ReadFolder, from, to, errno) != CopyDecision::Retry)
                break;
            continue;
        }
        dst.reset(::open(toName.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        struct stat srcStat{};
        int error = 0;
        if (!dst || ::fstat(dst.get(), &destination_) != 0)
            error = errno;
        else if (::fstat(src.get(), &srcStat) != 0)
            error = errno;
        else if (isInside(dst.get(), srcStat))
            error = EINVAL;
        if (error) {
            if (ask(CopyStep::Destination, from, to, error) != CopyDecision::Retry)
                break;
            continue;
        }
        root = Node();
        scan(src.get(), root, 0);
        if (root.listError) {
            if (ask(CopyStep::ReadFolder, from, to, root.listError) != CopyDecision::Retry)
                break;
            continue;
        }
        total_ = root.size;
        progress(QString());
        copyChildren(src.get(), from, dst.get(), to, root, 1);
        return report_;
    }
    // Nothing could start: the answer, whatever it was, ends the copy.
    if (!report_.cancelled)
        ++report_.skipped;
    return report_;
}

}  // namespace

CopyReport copyFolderContents(const QString& from, const QString& to,
                              const CopyCallbacks& callbacks, const CopyOptions& options) {
    Copier copier(callbacks, options);
    return copier.run(from, to);
}

QStringList takenNames(const QString& from, const QString& to) {
    QStringList taken;
    const QStringList names =
        QDir(from).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names) {
        const QFileInfo there(to + QLatin1Char('/') + name);
        if (there.exists() || there.isSymLink())
            taken.append(name);
    }
    return taken;
}

QByteArray collisionName(const QByteArray& name, int n, bool isFolder) {
    qsizetype dot = isFolder ? -1 : name.lastIndexOf('.');
    // ".profile" has no extension; neither has a name whose "extension" is most of it.
    if (dot <= 0 || name.size() - dot > 32)
        dot = name.size();
    QByteArray stem = name.left(dot);
    const QByteArray extension = name.mid(dot);
    const QByteArray suffix = QByteArrayLiteral(" (") + QByteArray::number(n) + ')';
    const qsizetype room = 255 - suffix.size() - extension.size();
    if (stem.size() > room) {
        qsizetype cut = room;
        // Back to the first byte of the character that would be cut.
        while (cut > 0 && (uchar(stem[cut]) & 0xC0) == 0x80)
            --cut;
        stem.truncate(cut);
    }
    return stem + suffix + extension;
}

QString describeErrno(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return QStringLiteral("přístup byl odepřen");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("na disku není dost místa");
    case EFBIG:
        return QStringLiteral("soubor je pro cílový disk příliš velký");
    case EROFS:
        return QStringLiteral("disk je chráněn proti zápisu");
    case EIO:
        return QStringLiteral("chyba čtení nebo zápisu na disku");
    case ENOENT:
        return QStringLiteral("soubor nebo složka neexistuje");
    case ENOTDIR:
        return QStringLiteral("v cestě je soubor, ne složka");
    case ENAMETOOLONG:
        return QStringLiteral("název nebo cesta je příliš dlouhá");
    case EEXIST:
        return QStringLiteral("název je už obsazen");
    case EINVAL:
        return QStringLiteral("neplatný název");
    case ELOOP:
        return QStringLiteral("příliš mnoho úrovní odkazů");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("příliš mnoho otevřených souborů");
    case EMLINK:
        return QStringLiteral("ve složce je příliš mnoho položek");
    case ENOMEDIUM:
        return QStringLiteral("v jednotce není médium");
    default:
        break;
    }
    char buffer[256];
    return QString::fromLocal8Bit(::strerror_r(error, buffer, sizeof buffer));
}

QString describeCopyError(const CopyError& e) {
    const QString reason = describeErrno(e.error);
    switch (e.step) {
    case CopyStep::ReadFolder:
        return QStringLiteral("Složku „%1“ nelze přečíst: %2.").arg(e.source, reason);
    case CopyStep::ReadFile:
        return QStringLiteral("Soubor „%1“ nelze přečíst: %2.").arg(e.source, reason);
    case CopyStep::CreateFolder:
        return QStringLiteral("Složku „%1“ nelze vytvořit ve složce „%2“: %3.")
            .arg(e.source, e.target, reason);
    case CopyStep::WriteFile:
        return QStringLiteral("Soubor „%1“ nelze zapsat do složky „%2“: %3.")
            .arg(e.source, e.target, reason);
    case CopyStep::CopyLink:
        return QStringLiteral("Odkaz „%1“ nelze zkopírovat do složky „%2“: %3.")
            .arg(e.source, e.target, reason);
    case CopyStep::NameTaken:
        return QStringLiteral("Pro „%1“ není ve složce „%2“ volný název.").arg(e.source, e.target);
    case CopyStep::Destination:
        if (e.error == EINVAL)
            return QStringLiteral("Cílová složka „%1“ leží uvnitř kopírované složky.")
                .arg(e.target);
        return QStringLiteral("Do složky „%1“ nelze kopírovat: %2.").arg(e.target, reason);
    }
    return reason;
}

int makeFolderPath(const QString& path) {
    const QByteArray p = QFile::encodeName(QDir::cleanPath(path));
    for (qsizetype i = 1; i <= p.size(); ++i) {
        if (i < p.size() && p[i] != '/')
            continue;
        const QByteArray part = p.left(i);
        if (::mkdir(part.constData(), 0777) == 0)
            continue;
        const int error = errno;
        struct stat st{};
        if (::stat(part.constData(), &st) == 0) {
            if (S_ISDIR(st.st_mode))
                continue;
            return ENOTDIR;
        }
        return error;
    }
    return 0;
}

}  // namespace platform

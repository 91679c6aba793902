#include "platform/Drives.h"

#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>
#include <cerrno>

#include <dirent.h>
#include <pwd.h>
#include <unistd.h>

namespace platform {
namespace {

bool isUnder(const QString& path, const QString& root) {
    if (root == QLatin1String("/"))
        return path.startsWith(QLatin1Char('/'));
    return path == root || path.startsWith(root + QLatin1Char('/'));
}

// mountinfo escapes blanks and backslashes as \ooo.
QString unescape(const QByteArray& field) {
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int c = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok && c >= 0 && c < 256) {
                out += char(c);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return QFile::decodeName(out);
}

QString withoutTrailingSlash(QString path) {
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

}  // namespace

bool holdsUserData(const QString& root, const QByteArray& fsType, bool bindMount) {
    static const QSet<QByteArray> pseudo{
        "proc",          "sysfs",      "devtmpfs",        "devpts",      "tmpfs",
        "ramfs",         "cgroup",     "cgroup2",         "securityfs",  "pstore",
        "bpf",           "debugfs",    "tracefs",         "configfs",    "fusectl",
        "mqueue",        "hugetlbfs",  "autofs",          "binfmt_misc", "efivarfs",
        "rpc_pipefs",    "nsfs",       "squashfs",        "selinuxfs",   "nfsd",
        "fuse.snapfuse", "fuse.lxcfs", "fuse.gvfsd-fuse", "fuse.portal"};
    if (bindMount || pseudo.contains(fsType))
        return false;
    if (isUnder(root, QStringLiteral("/run/media")))
        return true;
    for (const char* system :
         {"/proc", "/sys", "/dev", "/run", "/boot", "/snap", "/var/snap", "/var/lib/snapd"})
        if (isUnder(root, QString::fromLatin1(system)))
            return false;
    return true;
}

QList<Mount> parseMountInfo(const QByteArray& mountinfo) {
    QList<Mount> mounts;
    for (const QByteArray& line : mountinfo.split('\n')) {
        const QList<QByteArray> f = line.split(' ');
        if (f.size() < 5)
            continue;
        Mount m{f[2], unescape(f[3]), unescape(f[4]), {}, {}, false};
        // Optional fields come before the "-" that separates the filesystem's own fields.
        const qsizetype dash = f.indexOf("-", 6);
        if (dash > 0 && dash + 1 < f.size()) {
            m.fsType = f[dash + 1];
            if (dash + 2 < f.size())
                m.source = unescape(f[dash + 2]);
            if (dash + 3 < f.size() && f[dash + 3].split(',').contains("ro"))
                m.readOnly = true;
        }
        if (f.size() > 5 && f[5].split(',').contains("ro"))
            m.readOnly = true;
        mounts.append(m);
    }
    return mounts;
}

namespace {

QSet<QString> bindMountPoints(const QList<Mount>& mounts) {
    QSet<QString> binds;
    for (qsizetype i = 0; i < mounts.size(); ++i) {
        for (qsizetype j = 0; j < mounts.size(); ++j) {
            if (i == j || mounts[i].device != mounts[j].device)
                continue;
            const QString& mine = mounts[i].root;
            const QString& other = mounts[j].root;
            // Inside another mount's part of the same filesystem; for the same part, the
            // later mount is the bind.
            if ((mine != other && isUnder(mine, other)) || (mine == other && j < i)) {
                binds.insert(mounts[i].point);
                break;
            }
        }
    }
    return binds;
}

QByteArray readMountInfo() {
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

QSet<QString> bindMountPoints(const QByteArray& mountinfo) {
    return bindMountPoints(parseMountInfo(mountinfo));
}

QList<Drive> userDrives() {
    QList<Drive> drives;
    const QString home = withoutTrailingSlash(QDir::homePath());
    drives.append({home, QStringLiteral("Domovská složka")});

    const QSet<QString> binds = bindMountPoints(readMountInfo());
    QList<Drive> volumes;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        const QString root = withoutTrailingSlash(v.rootPath());
        if (!v.isValid() || !QFileInfo(root).isDir() || root == home ||
            !holdsUserData(root, v.fileSystemType(), binds.contains(root)))
            continue;
        const QString name = v.name();
        volumes.append({root, name.isEmpty() ? root : QStringLiteral("%1 (%2)").arg(name, root)});
    }
    std::sort(volumes.begin(), volumes.end(),
              [](const Drive& a, const Drive& b) { return a.root < b.root; });
    drives.append(volumes);
    return drives;
}

bool isLocalFileSystem(const QByteArray& fsType) {
    static const QSet<QByteArray> local{
        "iso9660", "udf",   "vfat",    "msdos",   "exfat",   "ntfs",     "ntfs3",
        "fuseblk", "ext2",  "ext3",    "ext4",    "btrfs",   "xfs",      "f2fs",
        "jfs",     "hfs",   "hfsplus", "nilfs2",  "reiserfs", "bcachefs", "zfs",
        "overlay", "fuse.fuseiso", "fuse.archivemount", "fuse.squashfuse"};
    return local.contains(fsType);
}

namespace {

// The mount that holds path: the one with the longest mount point at or above it.
const Mount* mountOf(const QList<Mount>& mounts, const QString& path) {
    const Mount* best = nullptr;
    for (const Mount& m : mounts)
        if (isUnder(path, m.point) && (!best || m.point.size() > best->point.size()))
            best = &m;
    return best;
}

bool isRemovable(const Mount& m) {
    if (m.fsType == "iso9660" || m.fsType == "udf")
        return true;
    if (!m.source.startsWith(QLatin1String("/dev/")))
        return false;
    const QString device = QFileInfo(QFileInfo(m.source).canonicalFilePath()).fileName();
    QString sys = QFileInfo(QStringLiteral("/sys/class/block/") + device).canonicalFilePath();
    if (device.isEmpty() || sys.isEmpty())
        return false;
    // A partition's flag sits on its disk.
    if (QFileInfo::exists(sys + QStringLiteral("/partition")))
        sys = QFileInfo(sys).absolutePath();
    QFile flag(sys + QStringLiteral("/removable"));
    return flag.open(QIODevice::ReadOnly) && flag.read(1) == "1";
}

}  // namespace

QList<Medium> localMedia(const QList<Mount>& mounts, const QStringList& mediaParents) {
    const QSet<QString> binds = bindMountPoints(mounts);
    QList<Medium> media;
    QSet<QString> seen;
    const auto add = [&](const QString& root, const Mount& m, const QString& label) {
        if (seen.contains(root))
            return;
        seen.insert(root);
        media.append({root, label, m.readOnly, isRemovable(m)});
    };
    for (const Mount& m : mounts) {
        const QString root = withoutTrailingSlash(m.point);
        if (isLocalFileSystem(m.fsType) && holdsUserData(root, m.fsType, binds.contains(m.point)))
            add(root, m, QStorageInfo(root).name());
    }
    for (const QString& parent : mediaParents) {
        const Mount* holder = mountOf(mounts, parent);
        if (!holder || !isLocalFileSystem(holder->fsType))
            continue;
        const QStringList children = QDir(parent).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString& child : children) {
            const QString root = withTrailingSlash(parent) + child;
            // A child may be a mount point of its own, of any kind.
            const Mount* m = mountOf(mounts, root);
            if (m && isLocalFileSystem(m->fsType))
                add(root, *m, child);
        }
    }
    const auto rank = [](const Medium& m) { return (m.readOnly ? 0 : 1) + (m.removable ? 0 : 1); };
    std::stable_sort(media.begin(), media.end(), [&](const Medium& a, const Medium& b) {
        return rank(a) != rank(b) ? rank(a) < rank(b) : a.root < b.root;
    });
    return media;
}

QList<Medium> localMedia() {
    QString user;
    if (const passwd* account = ::getpwuid(::getuid()))
        user = QFile::decodeName(account->pw_name);
    if (user.isEmpty())
        user = qEnvironmentVariable("USER");
    QStringList parents;
    if (!user.isEmpty())
        parents << QStringLiteral("/media/") + user << QStringLiteral("/run/media/") + user;
    parents << QStringLiteral("/media") << QStringLiteral("/mnt");
    return localMedia(parseMountInfo(readMountInfo()), parents);
}

bool driveReady(const QString& root) {
    DIR* dir = ::opendir(QFile::encodeName(root).constData());
    if (!dir)
        return false;
    errno = 0;
    const bool listed = ::readdir(dir) != nullptr || errno == 0;
    ::closedir(dir);
    return listed;
}

bool folderWritable(const QString& folder) {
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

std::optional<qsizetype> driveOf(const QList<Drive>& drives, const QString& path) {
    std::optional<qsizetype> best;
    for (qsizetype i = 0; i < drives.size(); ++i)
        if (isUnder(path, drives[i].root) &&
            (!best || drives[i].root.size() > drives[*best].root.size()))
            best = i;
    return best;
}

}  // namespace platform

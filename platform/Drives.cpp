#include "platform/Drives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>
#include <cerrno>

#include <dirent.h>

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

QSet<QString> bindMountPoints(const QByteArray& mountinfo) {
    struct Mount {
        QByteArray device;
        QString root;
        QString point;
    };
    QList<Mount> mounts;
    for (const QByteArray& line : mountinfo.split('\n')) {
        const QList<QByteArray> f = line.split(' ');
        if (f.size() < 5)
            continue;
        mounts.append({f[2], unescape(f[3]), unescape(f[4])});
    }
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

QList<Drive> userDrives() {
    QList<Drive> drives;
    const QString home = withoutTrailingSlash(QDir::homePath());
    drives.append({home, QStringLiteral("Domovská složka")});

    QFile file(QStringLiteral("/proc/self/mountinfo"));
    const QSet<QString> binds =
        file.open(QIODevice::ReadOnly) ? bindMountPoints(file.readAll()) : QSet<QString>();
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

bool driveReady(const QString& root) {
    DIR* dir = ::opendir(QFile::encodeName(root).constData());
    if (!dir)
        return false;
    errno = 0;
    const bool listed = ::readdir(dir) != nullptr || errno == 0;
    ::closedir(dir);
    return listed;
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

#pragma once
// The drives a user may copy to: the mounted volumes that hold user data, and the home
// folder. A drive is ready when its root can be listed.
#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>

#include <optional>

namespace platform {

struct Drive {
    QString root;   // an absolute folder without a trailing slash ("/" for the root)
    QString label;  // what the drive box shows
    bool operator==(const Drive&) const = default;
};

// The home folder first, then the user's volumes ordered by root.
QList<Drive> userDrives();

// Whether a volume mounted at root with this filesystem type holds user data: not a
// pseudo, snap or squashfs filesystem, not a system place (/proc, /sys, /dev, /run, /boot,
// /snap), not a bind mount.
bool holdsUserData(const QString& root, const QByteArray& fsType, bool bindMount);

// The mount points in /proc/self/mountinfo text that show a part of a filesystem already
// mounted elsewhere (bind mounts). Subvolumes of one device that do not contain each other
// are not binds.
QSet<QString> bindMountPoints(const QByteArray& mountinfo);

// One line of /proc/self/mountinfo.
struct Mount {
    QByteArray device;   // "major:minor"
    QString root;        // the part of the filesystem mounted here
    QString point;       // where it is mounted
    QByteArray fsType;
    QString source;      // "/dev/sr0", "server:/export", ...
    bool readOnly = false;
};
QList<Mount> parseMountInfo(const QByteArray& mountinfo);

// A filesystem that answers at once: a local disk, an optical disc or a stick, never a
// network or a virtual filesystem, so that looking into it cannot wait on a dead server.
bool isLocalFileSystem(const QByteArray& fsType);

// A place that may hold a CD.
struct Medium {
    QString root;    // absolute, without a trailing slash
    QString label;   // the volume's name, or the folder's
    bool readOnly = false;
    bool removable = false;
    bool operator==(const Medium&) const = default;
};

// The local mounts that hold user data, and the folders in mediaParents (such as
// /media/USER) that lie on a local filesystem; read-only and removable media first, then by
// root; each root once. Nothing on another kind of filesystem is touched.
QList<Medium> localMedia(const QList<Mount>& mounts, const QStringList& mediaParents);
// The same for this machine: its mount table and the usual media folders.
QList<Medium> localMedia();

// True when the folder can be opened and listed.
bool driveReady(const QString& root);

// True when the process may create files in the folder (a read-only mount says no, also to
// root).
bool folderWritable(const QString& folder);

// The index of the drive that holds path: the longest root that is path or lies above it.
std::optional<qsizetype> driveOf(const QList<Drive>& drives, const QString& path);

}  // namespace platform

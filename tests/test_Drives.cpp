#include "platform/Drives.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(Drives, OnlyVolumesThatHoldUserDataAreOffered) {
    struct Case {
        const char* root;
        const char* type;
        bool bind;
        bool offered;
    };
    const Case cases[] = {
        {"/", "ext4", false, true},
        {"/home", "btrfs", false, true},
        {"/media/petr/USB", "vfat", false, true},
        {"/run/media/petr/USB", "exfat", false, true},
        {"/mnt/data", "fuse.ntfs-3g", false, true},
        {"/mnt/data", "ext4", true, false},
        {"/proc", "proc", false, false},
        {"/sys/fs/cgroup", "cgroup2", false, false},
        {"/dev/shm", "tmpfs", false, false},
        {"/tmp", "tmpfs", false, false},
        {"/run/user/1000", "tmpfs", false, false},
        {"/run/lock", "ext4", false, false},
        {"/snap/core/123", "squashfs", false, false},
        {"/media/petr/snapimage", "squashfs", false, false},
        {"/boot/efi", "vfat", false, false},
        {"/devices", "ext4", false, true},  // only /dev itself and below is the system's
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::holdsUserData(c.root, c.type, c.bind), c.offered)
            << c.root << " " << c.type;
}

TEST(Drives, BindMountsAreTheLaterOrInnerViewsOfAFilesystem) {
    const QByteArray mountinfo =
        "27 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
        "30 27 254:0 /srv/data /mnt/data rw - ext4 /dev/vda rw\n"
        "31 27 0:40 /@ /data rw - btrfs /dev/vdb rw\n"
        "32 27 0:40 /@home /home rw - btrfs /dev/vdb rw\n"
        "33 27 8:17 / /media/usb\\040stick rw - vfat /dev/sdb1 rw\n"
        "34 27 8:17 / /media/again rw - vfat /dev/sdb1 rw\n"
        "35 27 254:0 /srv/database /mnt/db rw - ext4 /dev/vda rw\n"
        "garbage\n";
    const QSet<QString> binds = platform::bindMountPoints(mountinfo);
    // btrfs subvolumes that do not contain each other are volumes in their own right;
    // "/srv/database" is no part of "/srv/data" although its text begins with it.
    EXPECT_EQ(binds, QSet<QString>({"/mnt/data", "/media/again", "/mnt/db"}));
    EXPECT_FALSE(binds.contains("/media/usb stick"));
}

TEST(Drives, APathBelongsToTheDriveWithTheLongestRootAboveIt) {
    const QList<platform::Drive> drives{
        {"/home/petr", "home"}, {"/", "root"}, {"/home/petr/usb", "usb"}};
    EXPECT_EQ(platform::driveOf(drives, "/home/petr/doc"), 0);
    EXPECT_EQ(platform::driveOf(drives, "/home/petr"), 0);
    EXPECT_EQ(platform::driveOf(drives, "/home/petra"), 1);
    EXPECT_EQ(platform::driveOf(drives, "/home/petr/usb/x"), 2);
    EXPECT_EQ(platform::driveOf({{"/media/a", "a"}}, "/tmp"), std::nullopt);
}

TEST(Drives, TheHomeFolderComesFirstAndAReadyDriveCanBeListed) {
    const QList<platform::Drive> drives = platform::userDrives();
    ASSERT_FALSE(drives.isEmpty());
    EXPECT_EQ(drives[0].root, QDir::cleanPath(QDir::homePath()));
    EXPECT_TRUE(platform::driveReady(drives[0].root));
    QTemporaryDir dir;
    EXPECT_FALSE(platform::driveReady(dir.path() + "/no-such-folder"));
}

}  // namespace

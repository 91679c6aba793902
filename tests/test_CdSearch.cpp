#include "app/CdSearch.h"

#include "app/BezCdFormUnit1.h"

#include "tests/support/TestCatalogue.h"
#include "tests/support/TestCd.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using testing_support::writeCatalogue;
using testing_support::writeFile;

namespace {

QString slash(const QString& dir) { return dir + '/'; }

TEST(CdSearch, FindsTheCdInItsProgramFolderOnMediaAndWhereTheUserLastChoseIt) {
    QTemporaryDir top;
    const QString t = top.path();
    // Names in any letter case, as ISO 9660 and Joliet mounts give them.
    writeCatalogue(t + "/program", "[Title]\nName=Programy 2002\n");
    QDir(t + "/program").rename("SYSTEM", "system");
    QDir(t + "/program/system").rename("MAP.PIC", "map.pic");
    writeFile(t + "/media/a/SYSTEM/readme.txt", "no container");
    writeCatalogue(t + "/media/b", "[Title]\nName=Hry 2003\n");
    writeFile(t + "/media/c/SYSTEM/MAP.PIC", "damaged");
    writeFile(t + "/media/d/SYSTEM", "a file, not a folder");
    writeCatalogue(t + "/last", "[Title]\nName=Naposledy\n");

    const QList<platform::Medium> media{{t + "/media/a", "A", true, true},
                                        {t + "/media/b", "B", true, true},
                                        {t + "/media/c", "Disk C", false, false},
                                        {t + "/media/d", "D", false, false}};
    const katalog::CdSearch search({t + "/program", media, t + "/last"});

    const auto own = search.programFolder();
    ASSERT_TRUE(own);
    EXPECT_EQ(own->root, slash(t + "/program"));
    EXPECT_EQ(own->name, "Programy 2002 (" + t + "/program)");

    // A damaged catalogue names no title: the volume's label does.
    const QList<katalog::FoundCd> found = search.onMedia();
    ASSERT_EQ(found.size(), 2);
    EXPECT_EQ(found[0].root, slash(t + "/media/b"));
    EXPECT_EQ(found[0].name, "Hry 2003 (" + t + "/media/b)");
    EXPECT_EQ(found[1].root, slash(t + "/media/c"));
    EXPECT_EQ(found[1].name, "Disk C (" + t + "/media/c)");

    ASSERT_TRUE(search.remembered());
    EXPECT_EQ(search.remembered()->root, slash(t + "/last"));

    // Nothing where nothing is, and no folder relative to wherever the program was started.
    const katalog::CdSearch empty({t + "/media/a", {}, "last"});
    EXPECT_FALSE(empty.programFolder());
    EXPECT_TRUE(empty.onMedia().isEmpty());
    EXPECT_FALSE(empty.remembered());
    EXPECT_FALSE(katalog::holdsCd(t + "/missing"));
}

TEST(CdSearch, TheChosenCdIsRememberedBesideTheSettingsNotInThem) {
    QTemporaryDir top;
    const QString settings = top.path() + "/config/katalog/";
    EXPECT_EQ(katalog::rememberedCd(settings), QString());
    const QString cd = top.path() + "/Moje CD – čeština /";
    ASSERT_TRUE(katalog::rememberCd(settings, cd));
    EXPECT_EQ(katalog::rememberedCd(settings), cd);
    EXPECT_FALSE(QFile::exists(settings + "kat.INI"));
}

TEST(CdSearch, OnlyLocalMediaAreLookedAtRemovableAndReadOnlyFirst) {
    QTemporaryDir top;
    const QString t = top.path();
    for (const char* folder :
         {"/media/petr/STICK", "/media/petr/NAS/share", "/media/petr/My Disc", "/mnt/cdrom", "/remote/share"})
        QDir().mkpath(t + folder);
    const QByteArray mountinfo =
        "40 1 254:1 / " + t.toUtf8() + " rw,relatime shared:1 - ext4 /dev/nonexistent rw\n"
        "41 40 0:51 / " + t.toUtf8() + "/media/petr/NAS rw - cifs //server/share rw\n"
        "42 40 11:0 / " + t.toUtf8() + "/mnt/cdrom ro,nosuid - iso9660 /dev/sr0 ro\n"
        "43 40 0:52 / " + t.toUtf8() + "/remote rw - nfs4 server:/export rw\n"
        "44 40 0:53 / " + t.toUtf8() + "/media/petr/My\\040Disc ro - udf /dev/sr1 ro\n";
    const QList<platform::Mount> mounts = platform::parseMountInfo(mountinfo);
    ASSERT_EQ(mounts.size(), 5);
    EXPECT_EQ(mounts[2].fsType, "iso9660");
    EXPECT_EQ(mounts[2].source, "/dev/sr0");
    EXPECT_TRUE(mounts[2].readOnly);
    EXPECT_FALSE(mounts[0].readOnly);
    EXPECT_EQ(mounts[4].point, t + "/media/petr/My Disc");

    // The network shares are never looked into, not even when a media folder lies on one.
    const QList<platform::Medium> media =
        platform::localMedia(mounts, {t + "/media/petr", t + "/mnt", t + "/remote", t + "/missing"});
    QStringList roots;
    for (const platform::Medium& m : media)
        roots << m.root;
    EXPECT_EQ(roots, QStringList({t + "/media/petr/My Disc", t + "/mnt/cdrom", t, t + "/media/petr/STICK"}));
    EXPECT_TRUE(media[0].readOnly && media[0].removable);
    EXPECT_EQ(media[3].label, "STICK");

    for (const char* type : {"nfs", "nfs4", "cifs", "smb3", "sshfs", "fuse.sshfs", "fuse.gvfsd-fuse",
                             "9p", "ceph", "glusterfs", "davfs", "autofs", "proc", "tmpfs"})
        EXPECT_FALSE(platform::isLocalFileSystem(type)) << type;
}

}  // namespace

namespace {

TEST(CdSearch, SeveralCdsAreOfferedByNameAndTheNoCdWindowSpeaksTheUsersLanguage) {
    QTimer::singleShot(0, [] {
        auto* list = QApplication::activeModalWidget()->findChild<QListWidget*>("SeznamCd");
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list->count(), 2);
        list->setCurrentRow(1);
        QTest::keyClick(list, Qt::Key_Return);
    });
    EXPECT_EQ(katalog::VyberCd({"Hry 2003 (/media/petr/CD)", "Programy 2002 (/mnt/cdrom)"}, false), 1);
    QTimer::singleShot(0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
    EXPECT_EQ(katalog::VyberCd({"A", "B"}, true), -1);

    const katalog::TBezCdForm slovak(true, false);
    EXPECT_EQ(slovak.Nadpis->text(), "CD sa nenašlo");
    EXPECT_TRUE(slovak.Ukazka->isHidden());
    const katalog::TBezCdForm czech(false, true);
    EXPECT_EQ(czech.Nadpis->text(), "CD nebylo nalezeno");
    EXPECT_FALSE(czech.Ukazka->isHidden());
}

}  // namespace

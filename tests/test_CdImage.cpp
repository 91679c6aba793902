#include "platform/CdImage.h"

#include "app/CdImageOpen.h"
#include "app/CdSearch.h"
#include "tests/support/CdImages.h"
#include "tests/support/TestCatalogue.h"
#include "tests/support/TestCd.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>

#include <fcntl.h>
#include <sys/stat.h>

using platform::CdImage;
using platform::DataTrack;
using platform::ImageStatus;
using testing_support::makeIso;
using testing_support::rawSectors;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

constexpr int Sector = 2048;

class CdImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        tree = dir.path() + "/tree";
        testing_support::writeCatalogue(tree, "[Title]\nName=Obraz\n");
        writeFile(tree + "/Programy/Čeština a mezery/čtení.txt", "Dobrý den");
        writeFile(tree + "/PROGRAMY/HRY/spust.sh", "#!/bin/sh\necho hra\n");
        ::chmod(QFile::encodeName(tree + "/PROGRAMY/HRY/spust.sh").constData(), 04755);
        writeFile(tree + "/dlouhy-nazev-souboru.htm", "<p>x</p>");
        QFile::link("CTIMNE.TXT", tree + "/odkaz");
    }

    QString iso(const QStringList& options, const QString& name = "cd.iso") {
        const QString path = dir.path() + "/" + name;
        makeIso(tree, path, options);
        return path;
    }

    // Extracts into a new folder below the test's folder; the folder's path.
    QString extracted(const CdImage& image, ImageStatus expected = ImageStatus::Ok) {
        const QString folder = dir.path() + "/out" + QString::number(++outputs);
        QDir().mkpath(folder);
        const platform::ImageResult r = image.extract(folder, [](qint64, qint64) { return true; });
        EXPECT_EQ(r.status, expected) << r.entry.toStdString();
        return folder;
    }

    QTemporaryDir dir;
    QString tree;
    int outputs = 0;
};

TEST_F(CdImageTest, RockRidgeNamesPermissionsAndLinksComeOutAsTheAuthorMadeThem) {
    const auto track = platform::findDataTrack(iso({"-R", "-J"}));
    ASSERT_TRUE(track);
    EXPECT_EQ(*track, (DataTrack{dir.path() + "/cd.iso", 0, 2048, 0}));
    const CdImage image(*track);
    const CdImage::Listing l = image.list();
    EXPECT_EQ(l.result.status, ImageStatus::Ok);
    EXPECT_TRUE(l.files.contains("Programy/Čeština a mezery/čtení.txt"));

    const QString out = extracted(image);
    EXPECT_EQ(readFile(out + "/Programy/Čeština a mezery/čtení.txt"), "Dobrý den");
    EXPECT_TRUE(katalog::holdsCd(out));
    const QFileInfo script(out + "/PROGRAMY/HRY/spust.sh");
    EXPECT_TRUE(script.isExecutable());
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(script.filePath()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07000, 0u) << "set-user-ID survived";
    EXPECT_EQ(QFileInfo(out + "/odkaz").symLinkTarget(), out + "/CTIMNE.TXT");
    EXPECT_EQ(QFileInfo(out + "/dlouhy-nazev-souboru.htm").lastModified().toSecsSinceEpoch(),
              QFileInfo(tree + "/dlouhy-nazev-souboru.htm").lastModified().toSecsSinceEpoch());
}

TEST_F(CdImageTest, JolietAndPlainIsoNamesAreFoundWithoutRegardToCase) {
    {
        const CdImage joliet(*platform::findDataTrack(iso({"--norock", "-J"}, "joliet.iso")));
        EXPECT_TRUE(joliet.list().files.contains("dlouhy-nazev-souboru.htm"));
        EXPECT_TRUE(katalog::holdsCd(extracted(joliet)));
    }
    // Level 1: upper-case 8.3 names, as the oldest CDs have them.
    const CdImage plain(*platform::findDataTrack(iso({"--norock", "-iso-level", "1"}, "plain.iso")));
    const QStringList files = plain.list().files;
    EXPECT_TRUE(files.contains("CTIMNE.TXT"));
    EXPECT_FALSE(files.contains("dlouhy-nazev-souboru.htm"));
    const QString out = extracted(plain);
    EXPECT_TRUE(katalog::holdsCd(out));
    QHash<QString, QByteArray> read;
    ASSERT_EQ(plain.readFiles({"system\\map.pic", "Ctimne.txt", "missing.txt"}, read).status, ImageStatus::Ok);
    EXPECT_EQ(read.value("system\\map.pic"), readFile(tree + "/SYSTEM/MAP.PIC"));
    EXPECT_EQ(read.value("Ctimne.txt"), readFile(tree + "/CTIMNE.TXT"));
    EXPECT_FALSE(read.contains("missing.txt"));
}

TEST_F(CdImageTest, RawMode1AndMode2SectorsReadLikeTheIsoTheyWrap) {
    const QString isoPath = iso({"-R", "-J"});
    const QByteArray cooked = readFile(isoPath);
    const QStringList expected = CdImage(*platform::findDataTrack(isoPath)).list().files;

    // A bare .bin, known by its sync pattern.
    for (const int mode : {1, 2}) {
        const QString bin = dir.path() + QString("/bare%1.bin").arg(mode);
        writeFile(bin, rawSectors(cooked, mode));
        const auto track = platform::findDataTrack(bin);
        ASSERT_TRUE(track) << mode;
        EXPECT_EQ(*track, (DataTrack{bin, 0, 2352, mode == 1 ? 16 : 24}));
        EXPECT_EQ(CdImage(*track).list().files, expected);
    }

    // A cue sheet whose first track is audio: the data track is the second, two seconds in,
    // in a file named in another letter case.
    const QByteArray audio(150 * 2352, '\x11');
    writeFile(dir.path() + "/Hra.BIN", audio + rawSectors(cooked, 2));
    writeFile(dir.path() + "/hra.cue", "REM made by hand\r\nFILE \"hra.bin\" BINARY\r\n"
                                       "  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n"
                                       "  TRACK 02 MODE2/2352\r\n    INDEX 00 00:00:00\r\n"
                                       "    INDEX 01 00:02:00\r\n");
    const auto track = platform::findDataTrack(dir.path() + "/hra.cue");
    ASSERT_TRUE(track);
    EXPECT_EQ(*track, (DataTrack{dir.path() + "/Hra.BIN", 150 * 2352, 2352, 24}));
    const CdImage image(*track);
    EXPECT_EQ(image.dataSize(), cooked.size());
    EXPECT_EQ(image.list().files, expected);
    const QString out = extracted(image);
    EXPECT_EQ(readFile(out + "/SYSTEM/MAP.PIC"), readFile(tree + "/SYSTEM/MAP.PIC"));

    // Only audio, or a track file that is not there: no image.
    EXPECT_FALSE(platform::parseCueSheet("FILE a.bin BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n", dir.path()));
    EXPECT_FALSE(platform::parseCueSheet("FILE gone.bin BINARY\nTRACK 01 MODE1/2352\nINDEX 01 00:00:00\n", dir.path()));
}

TEST_F(CdImageTest, WhatIsNoImageOrIsCutShortOrCancelledLeavesNothingWhole) {
    writeFile(dir.path() + "/text.iso", QByteArray(40 * Sector, 'x'));
    EXPECT_FALSE(platform::findDataTrack(dir.path() + "/text.iso"));
    EXPECT_FALSE(platform::findDataTrack(dir.path() + "/missing.iso"));
    EXPECT_FALSE(platform::findDataTrack(dir.path()));

    // Big enough that its data lies past the directories.
    writeFile(tree + "/data.bin", QByteArray(600 * 1024, 'd'));
    const QString whole = iso({"-R"});
    QFile cut(whole);
    ASSERT_TRUE(cut.resize(cut.size() - 400 * 1024));
    const auto track = platform::findDataTrack(whole);
    ASSERT_TRUE(track);
    const CdImage image(*track);
    extracted(image, ImageStatus::Damaged);

    // Cancelled at once, and again in the middle of a file.
    makeIso(tree, dir.path() + "/whole.iso", {"-R"});
    const CdImage complete(*platform::findDataTrack(dir.path() + "/whole.iso"));
    for (const qint64 stopAt : {qint64(0), qint64(100 * 1024)}) {
        const QString out = dir.path() + "/cancelled" + QString::number(stopAt);
        QDir().mkpath(out);
        const platform::ImageResult r = complete.extract(out, [&](qint64 done, qint64) { return done < stopAt; });
        EXPECT_EQ(r.status, ImageStatus::Cancelled);
    }
}

// Hostile images: each is refused as a whole before anything is written, and nothing of it
// ever lands outside its folder.
TEST_F(CdImageTest, EntriesThatLeaveTheirFolderOrClaimMoreThanTheImageAreRefused) {
    struct Case {
        const char* name;
        std::function<void(QString& tree)> make;
        std::function<void(QByteArray& image)> patch;
    };
    const auto rename = [](QByteArray& image, const QByteArray& from, const QByteArray& to) {
        // A Rock Ridge NM entry: "NM", length, version, flags, the name.
        const QByteArray nm = "NM" + QByteArray(1, char(5 + from.size())) + QByteArray("\x01\x00", 2);
        ASSERT_TRUE(image.contains(nm + from));
        image.replace(nm + from, nm + to);
    };
    const std::vector<Case> cases{
        {"LinkOut", [](QString& t) { QFile::link("../../../etc/passwd", t + "/ven"); }, nullptr},
        {"AbsoluteLink", [](QString& t) { QFile::link("/etc/passwd", t + "/abs"); }, nullptr},
        {"DotDotName", [](QString& t) { writeFile(t + "/PROGRAMY/dd", "up"); },
         [&](QByteArray& i) { rename(i, "dd", ".."); }},
        {"AbsoluteName", [](QString& t) { writeFile(t + "/qtmpx", "abs"); },
         [&](QByteArray& i) { rename(i, "qtmpx", "/tmpx"); }},
        {"LargerThanTheImage", [](QString& t) { writeFile(t + "/BIG.TXT", "small"); },
         [](QByteArray& i) {
             // The directory record's data length, both byte orders, before its name.
             const qsizetype name = i.indexOf("BIG.TXT;1");
             ASSERT_GT(name, 33);
             const qsizetype record = name - 33;
             i.replace(record + 10, 8, QByteArray("\xff\xff\xff\x7f\x7f\xff\xff\xff", 8));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir d;
        QString t = d.path() + "/tree";
        testing_support::writeCatalogue(t, "[Title]\nName=Zlý\n");
        c.make(t);
        const QString path = d.path() + "/hostile.iso";
        makeIso(t, path, {"-R"});
        if (c.patch) {
            QByteArray image = readFile(path);
            c.patch(image);
            writeFile(path, image);
        }
        const auto track = platform::findDataTrack(path);
        ASSERT_TRUE(track);
        const CdImage image(*track);
        EXPECT_NE(image.list().result.status, ImageStatus::Ok);
        const QString out = d.path() + "/a/b/out";
        QDir().mkpath(out);
        EXPECT_NE(image.extract(out, [](qint64, qint64) { return true; }).status, ImageStatus::Ok);
        EXPECT_TRUE(QDir(out).isEmpty());
        EXPECT_EQ(QDir(d.path() + "/a").entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"b"});
    }
    EXPECT_FALSE(platform::safeEntryPath("a/../../b"));
    EXPECT_EQ(platform::safeEntryPath("./a//b/"), "a/b");
    EXPECT_TRUE(platform::linkStaysInside("a/b/link", "../c"));
    EXPECT_FALSE(platform::linkStaysInside("a/link", "../../c"));
}

TEST_F(CdImageTest, TheCacheKeepsTheThreeMostRecentlyUsedImages) {
    const QString cache = dir.path() + "/cache/";
    const QDateTime now = QDateTime::currentDateTime();
    for (int i = 0; i < 5; ++i) {
        QDir().mkpath(cache + QString("key%1/SYSTEM").arg(i));
        ::utimensat(AT_FDCWD, QFile::encodeName(cache + QString("key%1").arg(i)).constData(),
                    std::array<timespec, 2>{timespec{0, UTIME_OMIT}, timespec{now.toSecsSinceEpoch() - 100 * (5 - i), 0}}.data(), 0);
    }
    QDir().mkpath(cache + ".part-old");
    QDir().mkpath(cache + ".part-new");
    ::utimensat(AT_FDCWD, QFile::encodeName(cache + ".part-old").constData(),
                std::array<timespec, 2>{timespec{0, UTIME_OMIT}, timespec{now.toSecsSinceEpoch() - 2 * 86400, 0}}.data(), 0);
    // The oldest is used again.
    ASSERT_TRUE(platform::usedCacheEntry(cache, "key0"));
    EXPECT_FALSE(platform::usedCacheEntry(cache, "key9"));
    platform::pruneImageCache(cache, 3);
    QStringList left = QDir(cache).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    EXPECT_EQ(left, QStringList({".part-new", "key0", "key3", "key4"}));

    EXPECT_NE(platform::imageCacheKey(tree + "/CTIMNE.TXT"), platform::imageCacheKey(tree + "/SYSTEM/MAP.PIC"));
    EXPECT_EQ(platform::imageCacheKey(tree + "/CTIMNE.TXT"), platform::imageCacheKey(tree + "/CTIMNE.TXT"));
}

class CdImageOpenTest : public testing_support::TestCd {};

TEST_F(CdImageOpenTest, AnImageIsExtractedOnceAndFoundInTheCacheAfterwards) {
    QTemporaryDir cacheHome;
    qputenv("XDG_CACHE_HOME", cacheHome.path().toLocal8Bit());
    testing_support::writeCatalogue(cdRoot(), "[Title]\nName=Obraz\n");
    const QString iso = configHome() + "/cd.iso";
    makeIso(cdRoot(), iso, {"-R", "-J"});

    const auto root = katalog::openCdImage(iso, false);
    ASSERT_TRUE(root);
    EXPECT_TRUE(root->startsWith(cacheHome.path() + "/katalog/cd/"));
    EXPECT_TRUE(katalog::holdsCd(*root));
    EXPECT_EQ(QDir(cacheHome.path() + "/katalog/cd").entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden).size(), 1);
    // The second start takes it from the cache, even when the image is gone meanwhile.
    QFile(*root + "marker").open(QIODevice::WriteOnly);
    EXPECT_EQ(katalog::openCdImage(iso, false), root);
    EXPECT_TRUE(QFile::exists(*root + "marker"));
    EXPECT_TRUE(messages.empty());

    // What is no image, or holds no CD, is said once, naming the file.
    writeFile(configHome() + "/notes.iso", "plain text");
    EXPECT_FALSE(katalog::openCdImage(configHome() + "/notes.iso", false));
    QDir(cdRoot() + "/SYSTEM").removeRecursively();
    makeIso(cdRoot(), configHome() + "/empty.iso", {"-R"});
    EXPECT_FALSE(katalog::openCdImage(configHome() + "/empty.iso", true));
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].second, "Soubor „" + configHome() + "/notes.iso“ není obraz CD, který katalog umí přečíst (ISO 9660, nebo BIN s CUE).");
    EXPECT_EQ(messages[1].second, "V obraze „" + configHome() + "/empty.iso“ nie je CD katalógu: chýba v ňom priečinok SYSTEM so súborom MAP.PIC.");
    qunsetenv("XDG_CACHE_HOME");
}

}  // namespace

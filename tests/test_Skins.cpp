#include "app/MainFormUnit1.h"
#include "app/Settings.h"
#include "app/Shell.h"
#include "app/SkinTable.h"
#include "tests/support/TestCd.h"
#include "tools/democd/CdWriter.h"
#include "widgets/ImageList.h"

#include <QFile>

#include <numeric>

using katalog::TImageList;
using testing_support::readFile;
using testing_support::writeFile;
namespace skin = katalog::skin;

namespace {

QImage solid(QColor c, QSize size) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

}  // namespace

class SkinTest : public testing_support::TestCd {
protected:
    void SetUp() override {
        TestCd::SetUp();
        main = std::make_unique<katalog::TMain>(nullptr, cdRoot());
        katalog::shell().SkinDir = cdFile("SYSTEM/Cz/1024x768/");
    }
    // Writes picture i of a list below the skin root.
    void picture(const skin::List& l, int i, QColor c, QSize size = {30, 20}) {
        const QString rel = QString::fromStdString(skin::fileOf(l, i)).replace('\\', '/');
        ASSERT_TRUE(democd::saveBmp(solid(c, size), katalog::shell().SkinDir + rel));
    }
    const QString failure = QStringLiteral("Chyba při načítání grafiky, aplikace bude ukončena.");
    std::unique_ptr<katalog::TMain> main;
};

TEST_F(SkinTest, PictureFilesAreNamedByFolderBaseAndNumber) {
    const struct {
        const skin::List& list;
        int i;
        const char* file;
    } cases[] = {
        {skin::MenuProgram, 2, "menu\\program2.bmp"},
        {skin::MenuMinim, 0, "menu\\_0.bmp"},
        {skin::MenuMinim, 2, "menu\\_2.bmp"},
        {skin::MenuQuit, 0, "menu\\x0.bmp"},
        {skin::MenuQuit, 2, "menu\\x2.bmp"},
        {skin::NastavPismo, 2, "nastav\\pismo2.bmp"},
        {skin::ProgVelik, 6, "programy\\velik6.bmp"},
        {skin::NastavSong6, 3, "nastav\\song63.bmp"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(skin::fileOf(c.list, c.i), c.file);
    EXPECT_EQ(skin::fileOf(skin::ContentPlocha), "plocha.bmp");
    EXPECT_EQ(skin::fileOf(skin::ErrorPlocha), "error\\plocha.bmp");

    // The whole table: 55 lists of 192 bitmaps.
    EXPECT_EQ(skin::AllLists.size(), 55u);
    EXPECT_EQ(std::accumulate(skin::AllLists.begin(), skin::AllLists.end(), 0,
                              [](int n, const skin::List& l) { return n + l.count; }),
              192);
}

TEST_F(SkinTest, AListReadsExactlyItsCountOfPicturesAtThePictureZeroSize) {
    picture(skin::MenuQuit, 0, Qt::red);
    picture(skin::MenuQuit, 1, Qt::green, {50, 40});  // larger: cut to picture 0's size
    picture(skin::MenuQuit, 2, Qt::blue, {10, 10});
    picture(skin::MenuQuit, 3, Qt::black);  // beyond the count of 3
    TImageList l;
    main->NaplnImageList(l, skin::MenuQuit);
    ASSERT_EQ(l.count(), 3);
    EXPECT_EQ(l.size(), QSize(30, 20));
    const QColor colours[] = {Qt::red, Qt::green, Qt::blue};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(l.image(i).size(), QSize(30, 20));
        EXPECT_EQ(l.image(i).pixelColor(0, 0), colours[i]);
    }
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(main->terminationRequested());
}

TEST_F(SkinTest, FileNamesMatchWithoutRegardToCase) {
    picture(skin::ErrorOpak, 0, Qt::red);
    picture(skin::ErrorOpak, 1, Qt::green);
    picture(skin::ErrorOpak, 2, Qt::blue);
    const QString dir = katalog::shell().SkinDir + "error/";
    ASSERT_TRUE(QFile::rename(dir + "opak1.bmp", dir + "OPAK1.BMP"));
    TImageList l;
    main->NaplnImageList(l, skin::ErrorOpak);
    EXPECT_EQ(l.count(), 3);
    EXPECT_TRUE(messages.empty());
}

TEST_F(SkinTest, ABadPictureStopsItsListAndIsReportedOnce) {
    const struct {
        const char* problem;
        std::function<void()> make;
    } cases[] = {
        {"missing", [] {}},
        {"not a bitmap", [&] { writeFile(katalog::shell().SkinDir + "menu/program1.bmp", "BM garbage"); }},
        {"empty", [&] { writeFile(katalog::shell().SkinDir + "menu/program1.bmp", ""); }},
        {"cut short", [&] {
             picture(skin::MenuProgram, 1, Qt::green);
             const QString path = katalog::shell().SkinDir + "menu/program1.bmp";
             const QByteArray whole = readFile(path);
             QFile::remove(path);
             writeFile(path, whole.left(whole.size() - 40));
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.problem);
        messages.clear();
        main = std::make_unique<katalog::TMain>(nullptr, cdRoot());
        QFile::remove(katalog::shell().SkinDir + "menu/program1.bmp");
        picture(skin::MenuProgram, 0, Qt::red);
        c.make();
        picture(skin::MenuProgram, 2, Qt::blue);
        picture(skin::MenuProgram, 3, Qt::gray);

        TImageList l;
        main->NaplnImageList(l, skin::MenuProgram);
        EXPECT_EQ(l.count(), 1);
        EXPECT_EQ(l.image(0).pixelColor(0, 0), QColor(Qt::red));
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].first, platform::MessageKind::Plain);
        EXPECT_EQ(messages[0].second, failure);
        EXPECT_TRUE(main->terminationRequested());

        // Further failures once the end is on its way show nothing more.
        TImageList missing;
        main->NaplnImageList(missing, skin::DalsiCd);
        main->ChybaObrazku();
        EXPECT_EQ(missing.count(), 0);
        EXPECT_EQ(messages.size(), 1u);
    }
}

TEST_F(SkinTest, TheSlovakLargeSkinIsReadFromItsOwnRoot) {
    installSkins();
    writeFile(windowsDir() + "kat.INI", "[Options]\r\nSk=1\r\n");
    katalog::Shell& s = katalog::shell();
    s.SystemDir = cdRoot() + "/SYSTEM/";
    s.WindowsDir = windowsDir();
    katalog::NactiNastaveni(s, {1024, 768});
    ASSERT_EQ(s.SkinDir, cdRoot() + "/SYSTEM/Sk/1024x768/");
    // Hard links shared with other tests: replace, never write into.
    QFile::remove(s.SkinDir + "nastav/pismo2.bmp");
    picture(skin::NastavPismo, 2, Qt::magenta);
    TImageList l;
    main->NaplnImageList(l, skin::NastavPismo);
    ASSERT_EQ(l.count(), 3);
    EXPECT_EQ(l.image(2).pixelColor(0, 0), QColor(Qt::magenta));
    EXPECT_NE(l.image(1).pixelColor(0, 0), QColor(Qt::magenta));
    EXPECT_TRUE(messages.empty());
}

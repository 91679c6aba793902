#include "platform/Paths.h"

#include "tests/support/TestCd.h"

#include <QDir>
#include <QFile>

using testing_support::writeFile;

class PathsTest : public testing_support::TestCd {};

TEST_F(PathsTest, MatchesEveryComponentWithoutRegardToCase) {
    writeFile(cdFile("SYSTEM/Cz/1024x768/menu/Program0.BMP"), "x");
    const auto p = platform::resolvePath(cdRoot(), "system\\CZ\\1024X768\\MENU\\program0.bmp");
    ASSERT_TRUE(p);
    EXPECT_EQ(*p, cdFile("SYSTEM/Cz/1024x768/menu/Program0.BMP"));
    EXPECT_TRUE(platform::existingFile(cdRoot(), "system/cz/1024x768/menu/PROGRAM0.bmp"));
}

TEST_F(PathsTest, ExactSpellingWinsOverAnotherCase) {
    writeFile(cdFile("a/File.txt"), "1");
    writeFile(cdFile("a/file.txt"), "2");
    EXPECT_EQ(*platform::resolvePath(cdRoot(), "a\\file.txt"), cdFile("a/file.txt"));
    EXPECT_EQ(*platform::resolvePath(cdRoot(), "A\\File.txt"), cdFile("a/File.txt"));
}

TEST_F(PathsTest, CollapsesEmptyComponentsAndKeepsMissingOnesAsWritten) {
    writeFile(cdFile("prog/bin/run.sh"), "x");
    EXPECT_EQ(*platform::resolvePath(cdRoot(), "\\prog\\\\BIN\\.\\run.sh"), cdFile("prog/bin/run.sh"));
    EXPECT_EQ(*platform::resolvePath(cdRoot(), "prog\\Missing\\X.txt"), cdFile("prog/Missing/X.txt"));
    EXPECT_FALSE(platform::existingFile(cdRoot(), "prog\\Missing\\X.txt"));
}

TEST_F(PathsTest, RefusesPathsThatLeaveTheBase) {
    writeFile(cdFile("prog/run.sh"), "x");
    EXPECT_FALSE(platform::resolvePath(cdRoot() + "/prog", "..\\..\\etc\\passwd"));
    EXPECT_FALSE(platform::resolvePath(cdRoot(), ".."));
    EXPECT_TRUE(platform::resolvePath(cdRoot(), "prog\\..\\prog\\run.sh"));
    // A link on the CD that points outside it is refused as well.
    QDir().mkpath(cdFile("prog"));
    ASSERT_TRUE(QFile::link("/etc", cdFile("prog/out")));
    EXPECT_FALSE(platform::resolvePath(cdRoot(), "prog\\out\\passwd"));
    // ... also when the file at its end does not exist, or a write could land outside.
    EXPECT_FALSE(platform::resolvePath(cdRoot(), "prog\\OUT\\no-such-file"));
    EXPECT_FALSE(platform::resolvePath(cdRoot(), "prog\\out\\no\\such\\folder"));
    ASSERT_TRUE(QFile::link("/nonexistent-katalog-target", cdFile("prog/dangling")));
    EXPECT_FALSE(platform::resolvePath(cdRoot(), "prog\\dangling"));
    ASSERT_TRUE(QFile::link(cdFile("prog/run.sh"), cdFile("prog/inside")));
    EXPECT_TRUE(platform::resolvePath(cdRoot(), "prog\\inside"));
    EXPECT_TRUE(platform::resolvePath(cdRoot(), "prog\\not-yet-there"));
    // A base that is not absolute would resolve against the working folder.
    EXPECT_FALSE(platform::resolvePath("", "etc\\passwd"));
    EXPECT_FALSE(platform::resolvePath("relative", "x"));
    EXPECT_EQ(platform::readablePath(cdRoot(), "prog\\out\\passwd"), QString());
    EXPECT_EQ(platform::readableFolder(cdRoot(), "prog\\out"), QString());
    EXPECT_EQ(platform::readableFolder(cdRoot(), "PROG"), cdRoot() + "/prog/");
}

TEST(Paths, LowerExtensionTakesTheLastDotOfTheFileName) {
    EXPECT_EQ(platform::lowerExtension("a.b\\pic.JPEG"), ".jpeg");
    EXPECT_EQ(platform::lowerExtension("dir.d/noext"), "");
    EXPECT_EQ(platform::lowerExtension("x.tar.GZ"), ".gz");
    EXPECT_EQ(platform::withTrailingSlash("/cd/"), "/cd/");
    EXPECT_EQ(platform::withTrailingSlash("/cd"), "/cd/");
}

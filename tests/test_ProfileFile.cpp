#include "platform/ProfileFile.h"

#include "platform/Codec.h"
#include "platform/Errors.h"
#include "tests/support/TestCd.h"
#include "tests/support/Unprivileged.h"
#include "platform/AtomicFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStringEncoder>

#include <sys/resource.h>
#include <sys/stat.h>
#include <csignal>

using testing_support::readFile;
using testing_support::writeFile;
using namespace Qt::StringLiterals;

class ProfileFileTest : public testing_support::TestCd {
protected:
    QString path() const { return windowsDir() + "kat.INI"; }
};

TEST_F(ProfileFileTest, NamesMatchWithoutCaseValuesAreTrimmedAndUnquoted) {
    writeFile(path(), "; comment\r\n[Font]\r\n  FSBOLD =  TRUE  \r\nname=\"MS Sans Serif\"\r\n"
                      "[Oblibene-Titul]\r\n" + platform::toCp1250(u"Žluťák=1") + "\r\n");
    platform::ProfileFile ini(path());
    EXPECT_EQ(ini.readString("font", "fsbold"), "TRUE");
    EXPECT_EQ(ini.readString("FONT", "Name"), "MS Sans Serif");
    EXPECT_EQ(ini.readString("font", "missing", "dflt"), "dflt");
    EXPECT_EQ(ini.readString("nosection", "name", "dflt"), "dflt");
    EXPECT_EQ(ini.readInteger("oblibene-titul", "žluťák", -1), 1);
    EXPECT_EQ(ini.readSection("Font"), QStringList({"FSBOLD", "name"}));
}

TEST_F(ProfileFileTest, IntegersAreDecimalOrHexElseTheDefault) {
    struct Case { const char* text; int expected; };
    const Case cases[] = {{"42", 42}, {"-9", -9}, {"+7", 7}, {"0x10", 16}, {"0XfF", 255},
                          {"0x", -1}, {"12abc", -1}, {"", -1}, {"yes", -1}, {"99999999999", -1},
                          {"0xFFFFFFFF", -1}, {"0x7fffffff", 2147483647}};
    for (const Case& c : cases) {
        writeFile(path(), QByteArray("[s]\r\nk=") + c.text + "\r\n");
        EXPECT_EQ(platform::ProfileFile(path()).readInteger("s", "k", -1), c.expected) << c.text;
    }
    EXPECT_EQ(platform::parseInteger(u"$1F", true), 31);
    EXPECT_FALSE(platform::parseInteger(u"$1F", false));
}

TEST_F(ProfileFileTest, ValuesAreCutAt2047Characters) {
    writeFile(path(), "[s]\r\nk=" + QByteArray(3000, 'a') + "\r\n");
    EXPECT_EQ(platform::ProfileFile(path()).readString("s", "k").size(), 2047);
}

TEST_F(ProfileFileTest, WritesKeepTheFileInOrder) {
    writeFile(path(), "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
    platform::ProfileFile ini(path());
    ini.writeString("a", "z", "3");       // added at the end of its section
    ini.writeString("b", "Y", "22");      // replaced in place, spelled as the file spells it
    ini.writeInteger("C", "w", 4);        // new section at the end
    ini.writeString("A", "č", "ž");       // Windows-1250 on disk
    EXPECT_EQ(readFile(path()), QByteArray("[A]\r\nx=1\r\nz=3\r\n\xe8=\x9e\r\n\r\n[B]\r\ny=22\r\n[C]\r\nw=4\r\n"));
    EXPECT_EQ(ini.readString("a", "Č"), "ž");
}

// Files made with DOS and Mac tools, as CDs carry them.
TEST_F(ProfileFileTest, LinesEndInCrLfLfOrCrAlike) {
    writeFile(path(), "[section]\rPrvni=1\rDruhy=1\r\n[Music]\nMusic=Off\r");
    platform::ProfileFile ini(path());
    EXPECT_EQ(ini.readSection("section"), QStringList({"Prvni", "Druhy"}));
    EXPECT_EQ(ini.readString("Music", "Music", "On"), "Off");
    ini.writeString("Music", "Music", "On");
    EXPECT_EQ(readFile(path()), QByteArray("[section]\r\nPrvni=1\r\nDruhy=1\r\n[Music]\r\nMusic=On\r\n"));
}

TEST_F(ProfileFileTest, TheDosEndOfFileMarkIsABlank) {
    writeFile(path(), "[Titul]\r\nfile=x.rtf\x1a\r\nData=0\x1a");
    platform::ProfileFile ini(path());
    EXPECT_EQ(ini.readString("Titul", "file"), "x.rtf");
    EXPECT_EQ(ini.readInteger("Titul", "Data", -1), 0);
    ini.writeString("Titul", "CD", "1");  // not after a mark that ends the file for DOS
    EXPECT_EQ(readFile(path()), QByteArray("[Titul]\r\nfile=x.rtf\x1a\r\nData=0\r\nCD=1\r\n"));
}

TEST_F(ProfileFileTest, ASectionNameEndsAtItsBracketOrAtTheLineEnd) {
    writeFile(path(), "[Titul\r\nCD=2\r\n[adresa] ; publisher\r\nmesto=Praha\r\n");
    platform::ProfileFile ini(path());
    EXPECT_EQ(ini.readInteger("Titul", "CD", -1), 2);
    EXPECT_EQ(ini.readString("Adresa", "mesto"), "Praha");
    ini.writeString("Titul", "Data", "1");
    EXPECT_EQ(readFile(path()), QByteArray("[Titul\r\nCD=2\r\nData=1\r\n[adresa] ; publisher\r\nmesto=Praha\r\n"));
}

// A no-break space is part of a name or value; only blanks and tabs are trimmed.
TEST_F(ProfileFileTest, OnlyBlanksAndTabsAreTrimmed) {
    writeFile(path(), "[s]\r\n\t k \t=\t v \t\r\n\xa0n\xa0=\xa0v\xa0\r\ni=5\xa0\r\n");
    platform::ProfileFile ini(path());
    EXPECT_EQ(ini.readString("s", "k"), "v");
    EXPECT_EQ(ini.readString("s", "n", "none"), "none");
    EXPECT_EQ(ini.readString("s", u"\u00a0n\u00a0"_s), u"\u00a0v\u00a0"_s);
    EXPECT_EQ(ini.readInteger("s", "i", -1), -1);
    // Of a default, only trailing blanks go.
    EXPECT_EQ(ini.readString("s", "missing", " On  "), " On");
}

// Settings saved as "Unicode" or UTF-8 by an editor, or an empty file with only the mark.
TEST_F(ProfileFileTest, AMarkedFileIsReadAndWrittenInItsOwnEncoding) {
    const struct {
        QStringConverter::Encoding encoding;
        QByteArray mark;
    } cases[] = {{QStringConverter::Utf16LE, "\xff\xfe"},
                 {QStringConverter::Utf8, "\xef\xbb\xbf"},
                 {QStringConverter::Utf16BE, "\xfe\xff"}};
    for (const auto& c : cases) {
        const auto encoded = [&](const QString& text) { return c.mark + QStringEncoder(c.encoding).encode(text); };
        writeFile(path(), encoded(u"[Oblibene-Titul]\r\nŽluťák=1\r\n"_s));
        platform::ProfileFile ini(path());
        EXPECT_EQ(ini.readInteger("oblibene-titul", "žluťák", -1), 1) << c.mark.toHex().data();
        ini.writeInteger("Oblibene-Titul", "Kůň", 1);
        EXPECT_EQ(readFile(path()), encoded(u"[Oblibene-Titul]\r\nŽluťák=1\r\nKůň=1\r\n"_s));

        writeFile(path(), c.mark);
        ini.writeString("Music", "Music", "On");
        EXPECT_EQ(readFile(path()), encoded(u"[Music]\r\nMusic=On\r\n"_s));
    }
}

// A hand-edited file changes only where the write is.
TEST_F(ProfileFileTest, WritesKeepTheLayoutOfTheFile) {
    writeFile(path(), "[Music]\r\nmusic=On\r\n; the font follows\r\n\r\n"
                      "[Old]\r\nx=1\r\n; y=2\r\nz=3\r\n\r\n; favourites below\r\n"
                      "[Font]\r\nname=system\r\n");
    platform::ProfileFile ini(path());
    ini.writeString("Music", "Music", "Off");
    ini.writeString("Music", "Volume", "5");
    ini.deleteSection("old");
    EXPECT_EQ(readFile(path()), QByteArray("[Music]\r\nmusic=Off\r\nVolume=5\r\n; the font follows\r\n\r\n"
                                           "; favourites below\r\n[Font]\r\nname=system\r\n"));
}

TEST_F(ProfileFileTest, DeletingWhatIsNotThereWritesNothing) {
    writeFile(path(), "[A]\r\nx=1\r\n");
    // Every save replaces the file, so an untouched file keeps its inode.
    const auto inode = [this] {
        struct stat st{};
        ::stat(path().toLocal8Bit().constData(), &st);
        return st.st_ino;
    };
    const auto old = inode();
    platform::ProfileFile ini(path());
    ini.deleteKey("A", "missing");
    ini.deleteKey("Missing", "x");
    ini.deleteSection("Missing");
    EXPECT_EQ(inode(), old);
    ini.deleteKey("a", "X");
    EXPECT_EQ(readFile(path()), QByteArray("[A]\r\n"));
    ini.deleteSection("A");
    EXPECT_EQ(readFile(path()), QByteArray(""));
}

TEST_F(ProfileFileTest, TheFirstWriteCreatesTheFolder) {
    platform::ProfileFile ini(path());
    EXPECT_FALSE(ini.exists());
    ini.writeString("Music", "Music", "On");
    EXPECT_EQ(readFile(path()), QByteArray("[Music]\r\nMusic=On\r\n"));
}

// A disk that fills up during the save: the old file stays whole.
TEST_F(ProfileFileTest, AFailedSaveLeavesTheOldFileIntact) {
    const QByteArray old = "[A]\r\nx=1\r\n";
    writeFile(path(), old);
    platform::ProfileFile ini(path());
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit tiny = saved;
    tiny.rlim_cur = 8;
    std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &tiny);
    try {
        ini.writeString("A", "big", QString(100, 'b'));
        ADD_FAILURE() << "the write should fail";
    } catch (const platform::KatalogError& e) {
        EXPECT_EQ(e.text(), "Unable to write to " + path());
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(readFile(path()), old);
    EXPECT_EQ(QDir(windowsDir()).entryList(QDir::Files), QStringList({"kat.INI"}));
}

// A settings file that is there but cannot be read must not be replaced by the one new key:
// the favourites and install markers in it would be lost.
TEST_F(ProfileFileTest, AFileThatCannotBeReadIsNotOverwritten) {
    const QByteArray old = "[Oblibene]\r\nHra=1\r\n";
    writeFile(path(), old);
    ASSERT_EQ(::chmod(QFile::encodeName(configHome()).constData(), 0755), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(windowsDir()).constData(), 0777), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(path()).constData(), 0222), 0);
    const QString file = path();
    EXPECT_TRUE(testing_support::runUnprivileged([&] {
        platform::ProfileFile ini(file);
        // Seen but not readable, or the case tests nothing.
        if (!QFileInfo::exists(file) || ini.readString("Oblibene", "Hra", "none") != "none")
            return false;
        try {
            ini.writeString("Music", "Music", "On");
        } catch (const platform::KatalogError& e) {
            return e.text() == "Unable to write to " + file;
        }
        return false;
    }));
    EXPECT_EQ(readFile(path()), old);
}

TEST_F(ProfileFileTest, ANewFileFollowsTheUmaskAnOldOneKeepsItsMode) {
    const mode_t saved = ::umask(077);
    platform::ProfileFile(path()).writeString("A", "x", "1");
    ::umask(022);
    const QString other = windowsDir() + "other.INI";
    platform::ProfileFile(other).writeString("A", "x", "1");
    ::umask(saved);
    struct stat st{};
    ASSERT_EQ(::stat(QFile::encodeName(path()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(QFile::encodeName(other).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    ASSERT_EQ(::chmod(QFile::encodeName(other).constData(), 0640), 0);
    platform::ProfileFile(other).writeString("A", "x", "2");
    ASSERT_EQ(::stat(QFile::encodeName(other).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

// Without the signal ignored, the first write past "ulimit -f" kills the process.
TEST_F(ProfileFileTest, AWritePastTheFileSizeLimitFailsInsteadOfKilling) {
    ASSERT_TRUE(QDir().mkpath(windowsDir()));
    ASSERT_EQ(::chmod(QFile::encodeName(configHome()).constData(), 0755), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(windowsDir()).constData(), 0777), 0);
    const QString file = windowsDir() + "big";
    EXPECT_TRUE(testing_support::runUnprivileged([&] {
        std::signal(SIGXFSZ, SIG_DFL);
        platform::ignoreFileSizeSignal();
        rlimit tiny{};
        getrlimit(RLIMIT_FSIZE, &tiny);
        tiny.rlim_cur = 8;
        setrlimit(RLIMIT_FSIZE, &tiny);
        return !platform::writeFileAtomically(file, QByteArray(100, 'x')) &&
               errno == EFBIG;
    }));
}

#include "platform/CommandLine.h"

#include "platform/ShellOpen.h"
#include "tests/support/FakeWine.h"
#include "tests/support/TestCd.h"

#include <QDir>
#include <QFile>
#include <QSet>

using platform::Launch;
using testing_support::writeFile;

namespace {

const QByteArray Script = "#!/bin/sh\necho hi\n";

}  // namespace

class CommandLineTest : public testing_support::TestCd {
protected:
    void SetUp() override {
        TestCd::SetUp();
        platform::setLaunchHook([this](const Launch& l) { launches.push_back(l); });
    }
    std::vector<Launch> launches;
};

TEST(CommandLineSplit, ArgumentsFollowTheWindowsRules) {
    struct Case { const char* text; QStringList args; };
    const Case cases[] = {
        {"a b\tc", {"a", "b", "c"}},
        {"  \"a b\"  c ", {"a b", "c"}},
        {"/D=\"C:\\Program Files\\X\"", {"/D=C:\\Program Files\\X"}},
        {"a\\\\b c\\d", {"a\\\\b", "c\\d"}},        // backslashes before no quote are literal
        {"a\\\\\\\"b", {"a\\\"b"}},                 // 2n+1 backslashes: n and a literal quote
        {"\"a\\\\\\\\\" b", {"a\\\\", "b"}},        // 2n backslashes: n and the quote groups
        {"\"a\"\"b\" c", {"a\"b", "c"}},            // "" inside quotes is a quote
        {"\"\" x", {"", "x"}},                      // an empty argument
        {"tail\\", {"tail\\"}},
        {"\"open ended", {"open ended"}},
        {"", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::splitArguments(QString::fromUtf8(c.text)), c.args) << c.text;
}

TEST(CommandLineSplit, ProgramIsQuotedOrTheLongestExistingLeadingRun) {
    const QSet<QString> files{"C:\\Program Files\\X\\uninst.exe", "C:\\Program", "C:\\Short.exe",
                              "/opt/My Tools/un install.sh"};
    auto locate = [&](const QString& c) -> std::optional<QString> {
        if (files.contains(c))
            return QString("found:") + c;
        return std::nullopt;
    };
    struct Case { const char* line; const char* program; const char* file; QStringList args; };
    const Case cases[] = {
        {"\"C:\\Program Files\\X\\uninst.exe\" /S", "C:\\Program Files\\X\\uninst.exe",
         "found:C:\\Program Files\\X\\uninst.exe", {"/S"}},
        {"C:\\Program Files\\X\\uninst.exe /S \"/D=a b\"", "C:\\Program Files\\X\\uninst.exe",
         "found:C:\\Program Files\\X\\uninst.exe", {"/S", "/D=a b"}},
        {"  C:\\Short.exe  -x", "C:\\Short.exe", "found:C:\\Short.exe", {"-x"}},
        {"/opt/My Tools/un install.sh --all", "/opt/My Tools/un install.sh",
         "found:/opt/My Tools/un install.sh", {"--all"}},
        {"C:\\Missing Dir\\a.exe /q", "C:\\Missing", "", {"Dir\\a.exe", "/q"}},
        {"\"C:\\Nowhere\\a.exe\"", "C:\\Nowhere\\a.exe", "", {}},
    };
    for (const Case& c : cases) {
        const auto split = platform::splitCommandLine(QString::fromUtf8(c.line), locate);
        ASSERT_TRUE(split) << c.line;
        EXPECT_EQ(split->program, QString::fromUtf8(c.program)) << c.line;
        EXPECT_EQ(split->programFile, QString::fromUtf8(c.file)) << c.line;
        EXPECT_EQ(split->arguments, c.args) << c.line;
    }
    EXPECT_FALSE(platform::splitCommandLine(" \t ", locate));
}

TEST_F(CommandLineTest, ProgramsAreFoundInTheWinePrefixWithoutRegardToCase) {
    testing_support::FakeWine wine;
    writeFile(wine.driveC("Program Files/Demo/Uninst.EXE"), "MZ");
    writeFile(wine.driveC("windows/system32/msiexec.exe"), "MZ");
    const QString p = wine.prefix();
    EXPECT_EQ(platform::locateProgram("c:\\PROGRAM FILES\\demo\\uninst.exe", p),
              wine.driveC("Program Files/Demo/Uninst.EXE"));
    EXPECT_EQ(platform::locateProgram("C:\\Program Files\\Demo\\uninst", p),
              wine.driveC("Program Files/Demo/Uninst.EXE"));  // ".exe" may be left out
    EXPECT_EQ(platform::locateProgram("MsiExec.exe", p), wine.driveC("windows/system32/msiexec.exe"));
    EXPECT_EQ(platform::locateProgram("msiexec", p), wine.driveC("windows/system32/msiexec.exe"));
    EXPECT_FALSE(platform::locateProgram("C:\\Program Files\\Demo", p));  // a folder
    EXPECT_FALSE(platform::locateProgram("Demo\\uninst.exe", p));        // no current folder
    EXPECT_FALSE(platform::locateProgram("D:\\x.exe", p));               // no such drive
}

TEST_F(CommandLineTest, WindowsCommandLineReachesTheProgramAsWritten) {
    testing_support::FakeWine wine;
    writeFile(wine.driveC("Program Files/Demo App/uninst.exe"), "MZ");
    writeFile(cdFile("cd/SETUP.EXE"), "MZ");
    ASSERT_TRUE(QFile::link(cdRoot(), wine.prefix() + "/dosdevices/d:"));
    struct Case { QString line; QString handed; QString workDir; };
    const Case cases[] = {
        // Unquoted with spaces; the arguments' quotes and blanks stay as they are.
        {"C:\\Program Files\\Demo App\\uninst.exe /S  -f\"C:\\a b.isu\" \"/LOG=C:\\a b.txt\"",
         "\"C:\\Program Files\\Demo App\\uninst.exe\" /S  -f\"C:\\a b.isu\" \"/LOG=C:\\a b.txt\"",
         wine.driveC("Program Files/Demo App")},
        // The program's own path is written as Wine sees it: letter case, short names, drives.
        {"c:\\progra~1\\DEMOAP~1\\UNINST", "\"C:\\Program Files\\Demo App\\uninst.exe\"",
         wine.driveC("Program Files/Demo App")},
        {"\"" + cdFile("cd/SETUP.EXE") + "\" /x", "\"D:\\cd\\SETUP.EXE\" /x", cdFile("cd")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        launches.clear();
        ASSERT_TRUE(platform::runCommandLine(c.line));
        ASSERT_EQ(launches.size(), 1u);
        EXPECT_EQ(launches[0].kind, Launch::Kind::Process);
        EXPECT_EQ(launches[0].program, wine.wine());
        // Nothing of the line is a Unix argument: Wine would quote it anew.
        EXPECT_EQ(launches[0].arguments, QStringList({"cmd", "/c", "%KATALOG_COMMAND_LINE%"}));
        EXPECT_EQ(launches[0].environment, QStringList{"KATALOG_COMMAND_LINE=" + c.handed});
        EXPECT_EQ(launches[0].workDir, c.workDir);
    }
}

TEST_F(CommandLineTest, ShellCharactersReachTheProgramAsPlainArguments) {
    const QString dir = cdFile("un install $(x)");
    writeFile(dir + "/un;install.sh", Script);
    ASSERT_TRUE(platform::runCommandLine(dir + "/un;install.sh \"; rm -rf ~\" $(id) `id` | x"));
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].program, "/bin/sh");
    EXPECT_EQ(launches[0].arguments,
              QStringList({dir + "/un;install.sh", "; rm -rf ~", "$(id)", "`id`", "|", "x"}));
}

TEST_F(CommandLineTest, NothingStartsForMissingProgramsOrDocuments) {
    using Outcome = platform::StartResult::Outcome;
    writeFile(cdFile("notes.txt"), "text");
    struct Case { QString line; Outcome outcome; QString name; };
    const Case cases[] = {
        {"", Outcome::Missing, ""},
        {cdFile("missing.sh") + " -x", Outcome::Failed, "missing.sh"},
        {cdFile("notes.txt"), Outcome::Failed, "notes.txt"},
        {"C:\\Programy\\x.exe /S", Outcome::Failed, "x.exe"},  // no Wine prefix with that file
    };
    for (const Case& c : cases) {
        const platform::StartResult r = platform::runCommandLine(c.line);
        EXPECT_EQ(r.outcome, c.outcome) << c.line.toStdString();
        EXPECT_EQ(r.name, c.name);
    }
    EXPECT_TRUE(launches.empty());
}

TEST_F(CommandLineTest, AddressesOnlyWithWebAndMailSchemes) {
    writeFile(cdFile("evil.desktop"), "[Desktop Entry]\nExec=sh -c id\n");
    struct Case { QString address; QString opened; };
    const Case cases[] = {
        {"http://www.example.com/", "http://www.example.com/"},
        {"  HTTPS://example.com/a?b=c ", "HTTPS://example.com/a?b=c"},
        {"ftp://ftp.example.com/pub", "ftp://ftp.example.com/pub"},
        {"mailto:autor@example.com", "mailto:autor@example.com"},
        {"www.example.com", "http://www.example.com"},
        {"ftp.example.com", "ftp://ftp.example.com"},
        {"file:///etc/passwd", ""},
        {"javascript:alert(1)", ""},
        {"/etc/passwd", ""},
        {"C:\\Windows\\notepad.exe", ""},
        {cdFile("evil.desktop"), ""},
        {"evil.desktop", ""},
        {"http:/etc/passwd", ""},
        {"mailto:", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        launches.clear();
        const bool opened = bool(platform::openAddress(c.address));
        EXPECT_EQ(opened, !c.opened.isEmpty()) << c.address.toStdString();
        if (opened) {
            ASSERT_EQ(launches.size(), 1u);
            EXPECT_EQ(launches[0].kind, Launch::Kind::Url);
            EXPECT_EQ(launches[0].program, c.opened);
        } else {
            EXPECT_TRUE(launches.empty()) << c.address.toStdString();
        }
    }
}

TEST_F(CommandLineTest, ShellOpenFindsCdFilesBeforeGuessingAddresses) {
    writeFile(cdFile("Prog/Doc/ReadMe.TXT"), "doc");
    writeFile(cdFile("Prog/www.txt"), "doc");
    writeFile(cdFile("secret.txt"), "x");
    const QString folder = cdFile("Prog");
    EXPECT_TRUE(platform::shellOpen("doc\\readme.txt", folder));
    EXPECT_TRUE(platform::shellOpen("www.txt", folder));
    EXPECT_FALSE(platform::shellOpen("..\\secret.txt", folder));
    EXPECT_TRUE(platform::shellOpen("www.example.com", folder));
    ASSERT_EQ(launches.size(), 3u);
    EXPECT_EQ(launches[0].kind, Launch::Kind::Document);
    EXPECT_EQ(launches[0].program, cdFile("Prog/Doc/ReadMe.TXT"));
    EXPECT_EQ(launches[1].kind, Launch::Kind::Document);
    EXPECT_EQ(launches[1].program, cdFile("Prog/www.txt"));
    EXPECT_EQ(launches[2].kind, Launch::Kind::Url);
    EXPECT_EQ(launches[2].program, "http://www.example.com");
}

TEST_F(CommandLineTest, ShellOpenStartsAProgramInAnExistingWorkingFolder) {
    writeFile(cdFile("Prog/run.sh"), Script);
    EXPECT_TRUE(platform::shellOpen(cdFile("Prog/run.sh"), cdFile("Prog\\")));  // no such folder
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].program, "/bin/sh");
    EXPECT_EQ(launches[0].arguments, QStringList({cdFile("Prog/run.sh")}));
    EXPECT_EQ(launches[0].workDir, cdFile("Prog"));
}

TEST_F(CommandLineTest, HelpWithoutExtensionDoesNotOpenAStrayHtmlFile) {
    writeFile(cdFile("SYSTEM/.HTM"), "<html>");
    writeFile(cdFile("SYSTEM/CDHELP.HTM"), "<html>");
    EXPECT_FALSE(platform::openHelp(cdFile("SYSTEM/"), "NOHELP"));
    EXPECT_TRUE(platform::openHelp(cdFile("SYSTEM/"), "cdhelp.hlp"));
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].program, cdFile("SYSTEM/CDHELP.HTM"));
}

TEST_F(CommandLineTest, OnlyWhatTheOpenerShowsGoesToItAndDocumentationNeverRuns) {
    testing_support::FakeWine wine;
    enum class Opens { Nothing, Document, Program };
    struct Case {
        const char* file;
        QByteArray content;
        Opens shell;     // shellOpen: run, setup
        Opens document;  // openDocument: documentation
    };
    const QByteArray desktopEntry = "[Desktop Entry]\nType=Application\nName=x\nExec=sh -c id\n";
    const Case cases[] = {
        {"navod.txt", "Návod k programu.\n", Opens::Document, Opens::Document},
        {"navod.pdf", "%PDF-1.4\n%\xe2\xe3\n", Opens::Document, Opens::Document},
        {"index.HTM", "<html><body>x</body></html>", Opens::Document, Opens::Document},
        {"pomoc.hlp", "?_\x03\0", Opens::Program, Opens::Program},  // WinHelp through its viewer
        {"setup.sh", Script, Opens::Program, Opens::Nothing},
        {"hra", "\x7f" "ELF\x02\x01\x01", Opens::Program, Opens::Nothing},
        {"hra.exe", "MZ", Opens::Program, Opens::Nothing},
        {"spust.bat", "@echo off\r\n", Opens::Program, Opens::Nothing},
        {"evil.desktop", desktopEntry, Opens::Nothing, Opens::Nothing},
        {"EVIL.DESKTOP", desktopEntry, Opens::Nothing, Opens::Nothing},
        {"readme.txt.desktop", desktopEntry, Opens::Nothing, Opens::Nothing},
        {"vypada-jako-text.txt", desktopEntry, Opens::Nothing, Opens::Nothing},  // by content
        {"bez-hlavicky.sh", "echo hi\n", Opens::Nothing, Opens::Nothing},
        // A relative interpreter would be looked up from the working folder.
        {"relativni.sh", "#!../../../../../../../../../../../../bin/sh\necho hi\n", Opens::Nothing, Opens::Nothing},
        {"hra.py", "print(1)\n", Opens::Nothing, Opens::Nothing},
        {"hra.jar", QByteArray("PK\x03\x04", 4) + QByteArray(26, '\0') + "META-INF/MANIFEST.MF", Opens::Nothing,
         Opens::Nothing},
        {"balik.deb", "!<arch>\ndebian-binary   ", Opens::Nothing, Opens::Nothing},
        {"nastaveni.reg", "REGEDIT4\r\n", Opens::Nothing, Opens::Nothing},
        {"odkaz.url", "[InternetShortcut]\r\nURL=file:///bin/sh\r\n", Opens::Nothing, Opens::Nothing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        writeFile(cdFile(QStringLiteral("Prog/") + QString::fromUtf8(c.file)), c.content);
        const QString path = cdFile(QStringLiteral("Prog/") + QString::fromUtf8(c.file));
        for (const bool asDocument : {false, true}) {
            SCOPED_TRACE(asDocument ? "documentation" : "shell");
            const Opens opens = asDocument ? c.document : c.shell;
            launches.clear();
            const bool started = bool(asDocument ? platform::openDocument(c.file, cdFile("Prog"))
                                                 : platform::shellOpen(c.file, cdFile("Prog")));
            EXPECT_EQ(started, opens != Opens::Nothing);
            ASSERT_EQ(launches.size(), started ? 1u : 0u);
            if (started) {
                EXPECT_EQ(launches[0].kind, opens == Opens::Document ? Launch::Kind::Document : Launch::Kind::Process);
            }
            if (opens == Opens::Document) {
                EXPECT_EQ(launches[0].program, path);
            }
        }
    }
    // Addresses are not documents.
    EXPECT_FALSE(platform::openDocument("http://example.com/", cdFile("Prog")));
}

#include "catalogue/InstalledState.h"

#include "catalogue/FavouriteMarks.h"
#include "platform/Errors.h"
#include "platform/ShellOpen.h"
#include "tests/support/FakeWine.h"
#include "tests/support/TestCd.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using katalog::InstalledState;
using platform::Launch;
using platform::RootKey;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

const QString AppPaths = "software\\microsoft\\windows\\currentversion\\app paths\\";
const QString Uninstall = "software\\microsoft\\windows\\currentversion\\uninstall\\";
const QString ShellFolders = ".default\\software\\microsoft\\windows\\currentversion\\explorer\\shell folders";

// A registry that counts what it is asked.
class FakeRegistry : public platform::RegistryReader {
public:
    QString readString(RootKey root, const QString& key, const QString& name) override {
        ++reads;
        const QString id = QString::number(int(root)) + '|' + key.toLower() + '|' + name.toLower();
        if (id == failOn)
            throw platform::KatalogError(QString("Invalid data type for '%1'").arg(name));
        return values.value(id);
    }
    void set(RootKey root, const QString& key, const QString& name, const QString& value) {
        values.insert(QString::number(int(root)) + '|' + key.toLower() + '|' + name.toLower(), value);
    }
    void appPath(const QString& app, const QString& value) { set(RootKey::LocalMachine, AppPaths + app, "", value); }
    void uninstall(const QString& reg, const QString& value) {
        set(RootKey::LocalMachine, Uninstall + reg, "uninstallstring", value);
    }
    void startMenu(const QString& folder) { set(RootKey::Users, ShellFolders, "start menu", folder); }

    QHash<QString, QString> values;
    QString failOn;
    int reads = 0;
};

}  // namespace

class InstalledStateTest : public testing_support::TestCd {
protected:
    QString iniPath() const { return windowsDir() + "kat.INI"; }
    InstalledState state(platform::RegistryReader& reg) {
        return InstalledState(platform::ProfileFile(iniPath()), reg, "Titul CD",
                              [this](const QString& p) { return keys.value(p); }, installedPath, uninstallCommand);
    }
    bool check(platform::RegistryReader& reg, const QString& program) { return state(reg).InstalledCheck(program); }

    QHash<QString, katalog::InstallKeys> keys{{"Prog", {"prog.exe", "ProgUninst"}}};
    QString installedPath = "stale";
    QString uninstallCommand = "stale";
};

TEST_F(InstalledStateTest, OutcomeTable) {
    struct Row {
        const char* markers;  // settings file before
        bool found;           // the lookup finds both texts
        const char* after;    // settings file afterwards; nullptr: unchanged
        bool result;
        int lookups;          // registry lookups (three reads each, six when the uninstall
                              // entry is looked for in the current user's places too)
    };
    const Row rows[] = {
        {"[Other]\r\nx=1\r\n", true, nullptr, false, 0},
        {"[Installed-Titul CD]\r\nProg=1\r\n", true, nullptr, true, 1},
        {"[Installed-Titul CD]\r\nProg=1\r\n", false, "[Installed-Titul CD]\r\n", false, 1},
        {"[Installing-Titul CD]\r\nProg=1\r\n", true, "[Installing-Titul CD]\r\n[Installed-Titul CD]\r\nProg=1\r\n",
         true, 1},
        {"[Installing-Titul CD]\r\nProg=1\r\n", false, nullptr, false, 1},
        {"[Installed-Titul CD]\r\nProg=1\r\n[Installing-Titul CD]\r\nProg=1\r\n", true,
         "[Installed-Titul CD]\r\nProg=1\r\n[Installing-Titul CD]\r\n", true, 2},
        {"[Installed-Titul CD]\r\nProg=1\r\n[Installing-Titul CD]\r\nProg=1\r\n", false,
         "[Installed-Titul CD]\r\n[Installing-Titul CD]\r\nProg=1\r\n", false, 2},
        // Marker values: installed counts above 0, installing from 0; no number reads -1.
        {"[Installed-Titul CD]\r\nProg=0\r\n", true, "[Installed-Titul CD]\r\n", false, 0},
        {"[Installing-Titul CD]\r\nProg=0\r\n", true, "[Installing-Titul CD]\r\n[Installed-Titul CD]\r\nProg=1\r\n",
         true, 1},
        {"[Installing-Titul CD]\r\nProg=ano\r\n", true, nullptr, false, 0},
        {"[installed-titul cd]\r\nprog=0x2\r\n", true, nullptr, true, 1},
        {"[Installed-Jiny titul]\r\nProg=1\r\n[Installing-Jiny titul]\r\nProg=1\r\n", true, nullptr, false, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.markers);
        writeFile(iniPath(), r.markers);
        FakeRegistry reg;
        reg.appPath("prog.exe", "C:\\Prog\\prog.exe");
        if (r.found)
            reg.uninstall("ProgUninst", "C:\\Prog\\uninst.exe /S");
        EXPECT_EQ(check(reg, "Prog"), r.result);
        EXPECT_EQ(readFile(iniPath()), QByteArray(r.after ? r.after : r.markers));
        EXPECT_EQ(reg.reads, r.lookups * (r.found ? 3 : 6));
        EXPECT_EQ(installedPath, r.lookups ? "C:\\Prog\\prog.exe" : "");
        EXPECT_EQ(uninstallCommand, r.lookups && r.found ? "C:\\Prog\\uninst.exe /S" : "");
    }
}

TEST_F(InstalledStateTest, NeverInstalledProgramTouchesNeitherRegistryNorSettings) {
    FakeRegistry reg;
    EXPECT_FALSE(check(reg, "Prog"));
    EXPECT_EQ(reg.reads, 0);
    EXPECT_FALSE(QFileInfo::exists(iniPath()));
    EXPECT_EQ(installedPath, "");
    EXPECT_EQ(uninstallCommand, "");
}

TEST_F(InstalledStateTest, SecondCheckNeedsTheInstalledMarkerOnly) {
    writeFile(iniPath(), "[Installing-Titul CD]\r\nProg=1\r\n");
    FakeRegistry reg;
    reg.appPath("prog.exe", "/opt/prog");
    reg.uninstall("ProgUninst", "/opt/uninst");
    EXPECT_TRUE(check(reg, "Prog"));
    EXPECT_TRUE(check(reg, "Prog"));
    EXPECT_EQ(reg.reads, 6);
    EXPECT_EQ(platform::ProfileFile(iniPath()).readInteger("Installed-Titul CD", "Prog", -1), 1);
}

TEST_F(InstalledStateTest, MissingKeysOfTheRecordMeanNoLookup) {
    keys["Prog"].UnInstallReg.clear();
    writeFile(iniPath(), "[Installing-Titul CD]\r\nProg=1\r\n");
    FakeRegistry reg;
    reg.appPath("prog.exe", "/opt/prog");
    EXPECT_FALSE(check(reg, "Prog"));
    EXPECT_EQ(reg.reads, 0);
}

TEST_F(InstalledStateTest, StartMenuSearchFillsWhatTheRegistryLacks) {
    writeFile(cdFile("menu/Programs/Demo/Demo.lnk"), "L");
    writeFile(cdFile("menu/Programs/Demo/demo uninstall.lnk"), "L");
    writeFile(iniPath(), "[Installing-Titul CD]\r\nProg=1\r\nOther=1\r\n");
    keys["Prog"] = {"Demo.lnk", "DemoUninst"};
    keys["Other"] = {"demo.lnk", "x"};
    FakeRegistry reg;
    reg.startMenu(cdFile("menu"));
    reg.uninstall("DemoUninst", "/opt/demo/uninstall");
    EXPECT_TRUE(check(reg, "Prog"));
    EXPECT_EQ(installedPath, cdFile("menu/Programs/Demo/Demo.lnk"));
    EXPECT_EQ(uninstallCommand, "/opt/demo/uninstall");
    // Names match with their letter case only.
    EXPECT_FALSE(check(reg, "Other"));
    EXPECT_EQ(installedPath, "");
}

TEST_F(InstalledStateTest, UninstallEntryWithoutStartEntryLeavesMarkersAlone) {
    writeFile(cdFile("menu/Other.lnk"), "L");
    const QByteArray markers = "[Installing-Titul CD]\r\nProg=1\r\n";
    writeFile(iniPath(), markers);
    FakeRegistry reg;
    reg.startMenu(cdFile("menu"));
    reg.uninstall("ProgUninst", "/opt/uninst");
    EXPECT_FALSE(check(reg, "Prog"));
    EXPECT_EQ(readFile(iniPath()), markers);
}

TEST_F(InstalledStateTest, ValueThatHoldsNoTextStopsTheCheck) {
    const QByteArray markers = "[Installing-Titul CD]\r\nProg=1\r\n";
    writeFile(iniPath(), markers);
    FakeRegistry reg;
    reg.appPath("prog.exe", "/opt/prog");
    reg.failOn = QString::number(int(RootKey::LocalMachine)) + '|' + Uninstall + "proguninst|uninstallstring";
    try {
        check(reg, "Prog");
        ADD_FAILURE() << "no error";
    } catch (const platform::KatalogError& e) {
        EXPECT_EQ(e.text(), "Invalid data type for 'UnInstallString'");
    }
    EXPECT_EQ(readFile(iniPath()), markers);
}

TEST_F(InstalledStateTest, WorksOnTheRealRegistryFiles) {
    writeFile(windowsDir() + "registry.reg",
              "REGEDIT4\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\prog.exe]\r\n"
              "@=\"/opt/Prog/prog.sh\"\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ProgUninst]\r\n"
              "\"DisplayName\"=\"Prog\"\r\n\"UninstallString\"=\"/opt/Prog/uninstall.sh --all\"\r\n");
    writeFile(iniPath(), "[Installing-Titul CD]\r\nProg=1\r\n");
    platform::Registry reg(windowsDir(), cdFile("no-wine"));
    EXPECT_TRUE(check(reg, "Prog"));
    EXPECT_EQ(installedPath, "/opt/Prog/prog.sh");
    EXPECT_EQ(uninstallCommand, "/opt/Prog/uninstall.sh --all");

    // The uninstaller removes its keys: the next check drops the installed marker.
    writeFile(windowsDir() + "registry.reg",
              "REGEDIT4\r\n\r\n"
              "[-HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\prog.exe]\r\n"
              "[-HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\ProgUninst]\r\n");
    EXPECT_FALSE(check(reg, "Prog"));
    EXPECT_EQ(readFile(iniPath()), "[Installing-Titul CD]\r\n[Installed-Titul CD]\r\n");
}

TEST_F(InstalledStateTest, InstallMarkerGoesToTheFileAtOnce) {
    FakeRegistry reg;
    state(reg).markInstalling("Prog");
    EXPECT_EQ(readFile(iniPath()), "[Installing-Titul CD]\r\nProg=1\r\n");
}

// ---- start-menu search ----------------------------------------------------------------

class FindInTreeTest : public testing_support::TestCd {
protected:
    QString menu() const { return cdFile("menu"); }
};

TEST_F(FindInTreeTest, FindsTheFirstMatchInNameOrderAtAnyDepth) {
    writeFile(cdFile("menu/b/x.lnk"), "");
    writeFile(cdFile("menu/a/deep/x.lnk"), "");
    writeFile(cdFile("menu/c.lnk"), "");
    EXPECT_EQ(InstalledState::FindInTree("x.lnk", menu()), cdFile("menu/a/deep/x.lnk"));
    EXPECT_EQ(InstalledState::FindInTree("x.lnk", menu() + "/"), cdFile("menu/a/deep/x.lnk"));
    EXPECT_EQ(InstalledState::FindInTree("c.lnk", menu()), cdFile("menu/c.lnk"));
    EXPECT_EQ(InstalledState::FindInTree("X.lnk", menu()), "");
    EXPECT_EQ(InstalledState::FindInTree("x", menu()), "");
}

TEST_F(FindInTreeTest, HiddenFoldersAndLinksAreNotEntered) {
    writeFile(cdFile("menu/.hidden/h.lnk"), "");
    writeFile(cdFile("elsewhere/e.lnk"), "");
    writeFile(cdFile("menu/a/file.lnk"), "");
    ASSERT_TRUE(QFile::link(cdFile("elsewhere"), cdFile("menu/link")));
    ASSERT_TRUE(QFile::link(cdFile("menu"), cdFile("menu/a/loop")));  // a loop back to the top
    EXPECT_EQ(InstalledState::FindInTree("h.lnk", menu()), "");
    EXPECT_EQ(InstalledState::FindInTree("e.lnk", menu()), "");
    EXPECT_EQ(InstalledState::FindInTree("absent.lnk", menu()), "");
    EXPECT_EQ(InstalledState::FindInTree("file.lnk", menu()), cdFile("menu/a/file.lnk"));
    // Entries that are not entered still match by name.
    EXPECT_EQ(InstalledState::FindInTree(".hidden", menu()), cdFile("menu/.hidden"));
    EXPECT_EQ(InstalledState::FindInTree("loop", menu()), cdFile("menu/a/loop"));
}

TEST_F(FindInTreeTest, NoFolderMeansNoSearch) {
    EXPECT_EQ(InstalledState::FindInTree("passwd", ""), "");
    EXPECT_EQ(InstalledState::FindInTree("x.lnk", cdFile("missing")), "");
    EXPECT_EQ(InstalledState::FindInTree("", menu()), "");
    writeFile(cdFile("menu/x.lnk"), "");
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(cdRoot()));
    EXPECT_EQ(InstalledState::FindInTree("x.lnk", "menu"), "");
    QDir::setCurrent(cwd);
    EXPECT_EQ(InstalledState::FindInTree("x.lnk", menu()), cdFile("menu/x.lnk"));
}

// ---- launching ------------------------------------------------------------------------

class LaunchTest : public testing_support::TestCd {
protected:
    void SetUp() override {
        TestCd::SetUp();
        platform::setLaunchHook([this](const Launch& l) { launches.push_back(l); });
    }
    std::vector<Launch> launches;
};

TEST_F(LaunchTest, ProgramFolderFileHasOneSeparatorAndStaysOnTheCd) {
    writeFile(cdFile("PROG/Bin/Run.sh"), "#!/bin/sh\n");
    writeFile(cdFile("outside.sh"), "#!/bin/sh\n");
    const QString dir = cdRoot() + "/";
    struct Case { const char* source; const char* file; bool found; };
    const Case cases[] = {
        {"prog\\", "bin\\run.sh", true}, {"prog", "BIN\\RUN.SH", true}, {"Prog/bin", "run.sh", true},
        {"prog", "..\\outside.sh", true}, {"prog", "..\\..\\etc\\passwd", false},
        {"", "run.sh", false}, {"prog", "", false}, {"prog", "bin\\missing.sh", false},
        {"prog", "bin", false},
    };
    for (const Case& c : cases) {
        const auto file = katalog::programFolderFile(dir, c.source, c.file);
        EXPECT_EQ(file.has_value(), c.found) << c.source << " + " << c.file;
    }
    EXPECT_EQ(*katalog::programFolderFile(dir, "prog\\", "bin\\run.sh"), cdFile("PROG/Bin/Run.sh"));
}

TEST_F(LaunchTest, RunValueWithSpacesAndShellCharactersStartsThatFileOnly) {
    const QString run = "my prog; rm -rf ~ $(id) & x.sh";
    writeFile(cdFile("Prog/" + run), "#!/bin/sh\necho hi\n");
    EXPECT_TRUE(katalog::openProgramFolderFile(cdRoot() + "/", "Prog", run));
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].kind, Launch::Kind::Process);
    EXPECT_EQ(launches[0].program, "/bin/sh");
    EXPECT_EQ(launches[0].arguments, QStringList({cdFile("Prog/" + run)}));
    EXPECT_EQ(launches[0].workDir, cdFile("Prog"));

    launches.clear();
    EXPECT_FALSE(katalog::openProgramFolderFile(cdRoot() + "/", "Prog", "missing.sh"));
    EXPECT_FALSE(katalog::openProgramFolderFile(cdRoot() + "/", "", run));
    EXPECT_TRUE(launches.empty());
}

TEST_F(LaunchTest, ShortcutsOpenInTheirFolderOtherCommandsRunAsCommandLines) {
    testing_support::FakeWine wine;
    writeFile(wine.driveC("users/Public/Start Menu/Demo/Demo.LNK"), "L");
    writeFile(cdFile("menu/Demo/demo.lnk"), "L");
    writeFile(cdFile("opt/Demo Tool/uninstall.sh"), "#!/bin/sh\n");

    EXPECT_TRUE(katalog::launchInstalledCommand("C:\\users\\Public\\Start Menu\\Demo\\Demo.LNK"));
    EXPECT_TRUE(katalog::launchInstalledCommand(cdFile("menu/Demo/demo.lnk")));
    EXPECT_TRUE(katalog::launchInstalledCommand(cdFile("opt/Demo Tool/uninstall.sh") + " --all \"a b\""));
    ASSERT_EQ(launches.size(), 3u);
    EXPECT_EQ(launches[0].program, wine.wine());
    EXPECT_EQ(launches[0].arguments,
              QStringList({"start", "/wait", "/unix", wine.driveC("users/Public/Start Menu/Demo/Demo.LNK")}));
    EXPECT_EQ(launches[0].workDir, wine.driveC("users/Public/Start Menu/Demo"));
    EXPECT_EQ(launches[1].arguments, QStringList({"start", "/wait", "/unix", cdFile("menu/Demo/demo.lnk")}));
    EXPECT_EQ(launches[1].workDir, cdFile("menu/Demo"));
    EXPECT_EQ(launches[2].program, "/bin/sh");
    EXPECT_EQ(launches[2].arguments, QStringList({cdFile("opt/Demo Tool/uninstall.sh"), "--all", "a b"}));
}

// ---- favourites -----------------------------------------------------------------------

TEST_F(InstalledStateTest, FavouritesPerTitle) {
    namespace fav = katalog::favourites;
    platform::ProfileFile ini(iniPath());
    writeFile(iniPath(), "[Oblibene-Titul CD]\r\nByHand=ano\r\n");
    EXPECT_FALSE(fav::isFavourite(ini, "Titul CD", "ByHand"));  // listed, but the toggle adds
    EXPECT_EQ(fav::programs(ini, "Titul CD"), QStringList({"ByHand"}));
    fav::add(ini, "Titul CD", "ByHand");
    fav::add(ini, "Titul CD", "Prog");
    EXPECT_TRUE(fav::isFavourite(ini, "Titul CD", "ByHand"));
    EXPECT_TRUE(fav::isFavourite(ini, "titul cd", "prog"));
    EXPECT_FALSE(fav::isFavourite(ini, "Jiny titul", "Prog"));
    fav::remove(ini, "Titul CD", "ByHand");
    fav::remove(ini, "Jiny titul", "Prog");
    EXPECT_EQ(readFile(iniPath()), "[Oblibene-Titul CD]\r\nProg=1\r\n");
}

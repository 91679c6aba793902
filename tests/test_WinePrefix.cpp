// katalog against a prefix made by real Wine (tests/data/wine, recorded by record.sh there):
// the values, mapped paths, environment, installed states and command lines must be what Wine
// itself printed for the same prefix.
#include "catalogue/InstalledState.h"
#include "platform/CommandLine.h"
#include "platform/Registry.h"
#include "platform/ShellOpen.h"
#include "platform/WinePaths.h"
#include "tests/support/FakeWine.h"
#include "tests/support/TestCd.h"

#include <QFile>
#include <QRegularExpression>

#include <pwd.h>
#include <unistd.h>

using platform::Launch;
using platform::RootKey;
using testing_support::FakeWine;
using testing_support::recordedWineData;

namespace {

QString readText(const QString& name) {
    QFile f(recordedWineData() + QLatin1Char('/') + name);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// expected.txt: one fact a line, its kind first, fields split by tabs.
struct Recorded {
    QHash<QString, QString> value;   // "ROOT\key|name" -> text
    QHash<QString, QString> expand;  // text -> expanded
    QHash<QString, QString> path;    // Windows path -> path below the prefix
    QHash<QString, QString> env;     // name -> value
    QList<QStringList> cmdline;      // registry line, handed, received

    Recorded() {
        for (const QString& line : readText("expected.txt").split(QLatin1Char('\n'))) {
            const QStringList f = line.split(QLatin1Char('\t'));
            if (f[0] == "value" && f.size() == 5)
                value.insert(f[1] + '|' + f[2], f[4]);
            else if (f[0] == "expand" && f.size() == 3)
                expand.insert(f[1], f[2]);
            else if (f[0] == "path" && f.size() == 3)
                path.insert(f[1], f[2]);
            else if (f[0] == "env" && f.size() == 3)
                env.insert(f[1], f[2]);
            else if (f[0] == "cmdline" && f.size() == 4)
                cmdline.append(f.mid(1));
        }
    }
    QString at(const QString& key, const QString& name) const {
        EXPECT_TRUE(value.contains(key + '|' + name)) << key.toStdString() << " " << name.toStdString();
        return value.value(key + '|' + name);
    }
};

const QString LM = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\";
const QString CU = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\";
const QString CommandLineVariable = "KATALOG_COMMAND_LINE";

}  // namespace

TEST(WineShortNames, AreTheOnesWineListed) {
    // dir /x: date, time, "<DIR>" in a column of 14 or the size and two blanks, the short name
    // in a column of 13 (blank when the long name needs none), the long name.
    static const QRegularExpression row(R"(^\s*\S+\s+\S+\s+[AP]M\s+(<DIR>         |\d+  )(.{13})(.+)$)");
    int shortNames = 0, rows = 0;
    for (const QString& line : readText("dir-x.txt").split(QLatin1Char('\n'))) {
        if (line.startsWith("==") || line.isEmpty())
            continue;
        const auto m = row.match(line);
        ASSERT_TRUE(m.hasMatch()) << line.toStdString();
        const QString shortName = m.captured(2).trimmed();
        const QString longName = m.captured(3);
        if (longName == "." || longName == "..")
            continue;
        ++rows;
        shortNames += !shortName.isEmpty();
        EXPECT_EQ(platform::wineShortName(longName), shortName) << longName.toStdString();
    }
    EXPECT_GE(rows, 25);
    EXPECT_GE(shortNames, 15);
}

TEST(WineShortNames, ClassicFormsAreTheNthFittingNameInNameOrder) {
    const QStringList names{"ProgramData", "Program Files (x86)", "Program Files", "PROGRA~9", "Knihovna 2",
                            "KNIHY~1", "users", "Knihovna.old.txt"};
    struct Case { const char* shortName; const char* longName; };
    const Case cases[] = {
        {"PROGRA~1", "Program Files"},       {"progra~2", "Program Files (x86)"}, {"PROGRA~3", "ProgramData"},
        {"PROG~FBU", "Program Files"},       {"KNIHOV~1", "Knihovna 2"},          {"KNIHOV~1.TXT", "Knihovna.old.txt"},
        {"PROGRA~4", nullptr},               {"KNIHOV~2", nullptr},               {"users", nullptr},
        {"KNIHY~1", nullptr},  // a legal 8.3 name is its own short name: the exact match, not ours
    };
    for (const Case& c : cases) {
        const auto found = platform::longNameOf(c.shortName, names);
        EXPECT_EQ(found.value_or("-"), c.longName ? c.longName : "-") << c.shortName;
    }
}

class WinePrefixTest : public testing_support::TestCd {
protected:
    void SetUp() override {
        TestCd::SetUp();
        wine.layOutRecordedPrefix();
        platform::setLaunchHook([this](const Launch& l) { launches.push_back(l); });
    }
    QString mapped(const QString& windowsPath) const {
        EXPECT_TRUE(recorded.path.contains(windowsPath)) << windowsPath.toStdString();
        return wine.prefix() + '/' + recorded.path.value(windowsPath);
    }
    QString read(const QString& rootAndKey, const QString& name) {
        const qsizetype slash = rootAndKey.indexOf('\\');
        return registry.readString(*platform::rootKeyFromName(QStringView(rootAndKey).left(slash)),
                                   rootAndKey.mid(slash + 1), name);
    }

    FakeWine wine;
    Recorded recorded;
    platform::Registry registry{windowsDir(), wine.prefix()};
    std::vector<Launch> launches;
};

TEST_F(WinePrefixTest, ValuesAndPathsAreWhatWinePrinted) {
    ASSERT_GE(recorded.value.size(), 15);
    // Text that is no path reads as Wine wrote it: Czech letters, an emoji, key names with
    // spaces, brackets and dots.
    EXPECT_EQ(read(LM + "Uninstall\\Čtečka knih 📚", "DisplayName"), QString::fromUtf8("Čtečka knih 📚"));
    for (const char* key : {"Uninstall\\Stary [1.0] v.2", "Uninstall\\{8F3B2A10-5C4D-4E6F-9A7B-1C2D3E4F5A6B}",
                            "Uninstall\\Čtečka knih 📚", "Uninstall\\Knihovna"})
        EXPECT_EQ(read(LM + QString::fromUtf8(key), "UninstallString"), recorded.at(LM + QString::fromUtf8(key), "UninstallString"));
    // Paths map to the files Wine maps them to, short names included.
    const QString ctecka = recorded.at(LM + "App Paths\\ctecka.exe", "");
    EXPECT_TRUE(ctecka.contains('~'));
    EXPECT_EQ(read(LM + "App Paths\\ctecka.exe", ""), mapped(ctecka));
    EXPECT_TRUE(QFile::exists(mapped(ctecka)));
    // Expandable values as a program expands them: the user's folders from Wine's environment.
    const QString msiprog = recorded.at(LM + "App Paths\\msiprog.exe", "");
    EXPECT_EQ(read(LM + "App Paths\\msiprog.exe", ""), mapped(recorded.expand.value(msiprog)));
    const QString zapisnik = recorded.at(CU + "App Paths\\zapisnik.exe", "");
    EXPECT_EQ(read(CU + "App Paths\\zapisnik.exe", ""), mapped(recorded.expand.value(zapisnik)));
    EXPECT_EQ(read(CU + "Uninstall\\Zapisnik", "UninstallString"),
              recorded.expand.value(recorded.at(CU + "Uninstall\\Zapisnik", "UninstallString")));
    const QString stary = recorded.at(LM + "App Paths\\stary.exe", "");
    EXPECT_EQ(read(LM + "App Paths\\stary.exe", ""), mapped(recorded.expand.value(stary)));
    // The Start Menus.
    EXPECT_EQ(read("HKU\\.Default\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Start Menu"),
              mapped(recorded.at("HKU\\.Default\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                                 "Start Menu")));
    EXPECT_EQ(read(LM + "Explorer\\Shell Folders", "Common Start Menu"),
              mapped(recorded.at(LM + "Explorer\\Shell Folders", "Common Start Menu")));
}

TEST_F(WinePrefixTest, EnvironmentIsTheOneWineGivesItsPrograms) {
    ASSERT_GE(recorded.env.size(), 10);
    // An expandable value that is no path shows each variable as Wine expands it.
    QByteArray reg = "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Env]\n";
    for (auto it = recorded.env.constBegin(); it != recorded.env.constEnd(); ++it) {
        if (it.key() == "WINEUSERNAME")
            continue;
        QByteArray hex;
        for (char ch : ("=%" + it.key() + "%").toUtf8() + QByteArray(1, '\0'))
            hex += QByteArray::number(uchar(ch), 16).rightJustified(2, '0') + ",";
        hex.chop(1);
        reg += "\"" + it.key().toUtf8() + "\"=hex(2):" + hex + "\n";
    }
    testing_support::writeFile(windowsDir() + "registry.reg", reg);
    for (auto it = recorded.env.constBegin(); it != recorded.env.constEnd(); ++it)
        if (it.key() != "WINEUSERNAME") {
            EXPECT_EQ(read("HKLM\\Software\\Env", it.key()), "=" + it.value()) << it.key().toStdString();
        }
}

TEST_F(WinePrefixTest, UserFoldersWithoutWinesLogOnValuesFollowTheAccountName) {
    // An older prefix has no "Volatile Environment": the profile is the user's, by the name
    // Wine takes: $USER, else the account's.
    QString user = QString::fromUtf8(testing_support::readFile(wine.prefix() + "/user.reg"));
    user.replace("[Volatile Environment]", "[Gone]");
    testing_support::writeFile(wine.prefix() + "/user.reg", user.toUtf8());
    testing_support::writeFile(windowsDir() + "registry.reg",
                               "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Env]\n\"V\"=hex(2):3d,25,41,50,50,44,41,54,41,25,00\n");
    const QByteArray oldUser = qgetenv("USER");
    qunsetenv("USER");
    const QString account = QString::fromLocal8Bit(::getpwuid(::getuid())->pw_name);
    EXPECT_EQ(read("HKLM\\Software\\Env", "V"), "=C:\\users\\" + account + "\\AppData\\Roaming");
    qputenv("USER", "jana");
    EXPECT_EQ(read("HKLM\\Software\\Env", "V"), "=C:\\users\\jana\\AppData\\Roaming");
    qputenv("USER", oldUser);
}

TEST_F(WinePrefixTest, InstalledStatesAndTheCommandsHandedToWine) {
    QString installedPath, uninstallCommand;
    const QHash<QString, katalog::InstallKeys> keys{
        {"Ctecka", {"ctecka.exe", QString::fromUtf8("Čtečka knih 📚")}},
        {"Stary", {"stary.exe", "Stary [1.0] v.2"}},
        {"Knihovna", {"knihovna.exe", "Knihovna"}},
        {"Zapisnik", {"zapisnik.exe", "Zapisnik"}},
        {"Msi", {"msiprog.exe", "{8F3B2A10-5C4D-4E6F-9A7B-1C2D3E4F5A6B}"}},
        {"Kalkulacka", {QString::fromUtf8("Kalkulačka.lnk"), QString::fromUtf8("Odinstalovat Kalkulačku.lnk")}},
        {"Nic", {"nic.exe", "Nic"}},
    };
    katalog::InstalledState state(platform::ProfileFile(windowsDir() + "kat.INI"), registry, "CD",
                                  [&](const QString& p) { return keys.value(p); }, installedPath, uninstallCommand);
    struct Case {
        const char* program;
        QString installed;  // InstalledPath
        QString handed;     // the line the uninstaller gets; empty: opened as a shortcut
        QString shortcut;
    };
    const Case cases[] = {
        {"Ctecka", mapped(recorded.at(LM + "App Paths\\ctecka.exe", "")),
         "\"C:\\Program Files\\" + QString::fromUtf8("Čtečka knih") + "\\uninst.exe\" /S", {}},
        {"Stary", mapped("C:\\Program Files (x86)\\Stary\\stary.exe"), recorded.cmdline[0][1], {}},
        {"Knihovna", mapped("C:\\Program Files (x86)\\Knihovna 2\\knihovna.exe"),
         "\"C:\\Program Files (x86)\\Knihovna 2\\knihovna.exe\" /uninstall \"C:\\x y\"", {}},
        {"Zapisnik", mapped(recorded.expand.value(recorded.at(CU + "App Paths\\zapisnik.exe", ""))),
         recorded.expand.value(recorded.at(CU + "Uninstall\\Zapisnik", "UninstallString")), {}},
        {"Msi", mapped(recorded.expand.value(recorded.at(LM + "App Paths\\msiprog.exe", ""))),
         "\"C:\\windows\\system32\\msiexec.exe\" /X{8F3B2A10-5C4D-4E6F-9A7B-1C2D3E4F5A6B}", {}},
        {"Kalkulacka", mapped(QString::fromUtf8("C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Kalkulačka\\Kalkulačka.lnk")), {},
         mapped(QString::fromUtf8("C:\\users\\root\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\Kalkulačka\\Odinstalovat Kalkulačku.lnk"))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program);
        state.markInstalling(c.program);
        ASSERT_TRUE(state.InstalledCheck(c.program));
        EXPECT_EQ(installedPath, c.installed);
        EXPECT_TRUE(QFile::exists(installedPath));
        launches.clear();
        ASSERT_TRUE(katalog::launchInstalledCommand(uninstallCommand));
        ASSERT_EQ(launches.size(), 1u);
        EXPECT_EQ(launches[0].program, wine.wine());
        if (c.shortcut.isEmpty()) {
            EXPECT_EQ(launches[0].arguments, QStringList({"cmd", "/c", "%" + CommandLineVariable + "%"}));
            EXPECT_EQ(launches[0].environment, QStringList{CommandLineVariable + "=" + c.handed});
        } else {
            EXPECT_EQ(launches[0].arguments, QStringList({"start", "/wait", "/unix", c.shortcut}));
        }
    }
    state.markInstalling("Nic");
    EXPECT_FALSE(state.InstalledCheck("Nic"));
}

TEST(WineCommandLineProof, TheLineHandedToWinesCmdReachedTheProgramUnchanged) {
    // Recorded on a machine with Wine: the line as katalog hands it, and what
    // GetCommandLineW() gave the program; the old way through Unix arguments lost the quotes.
    const Recorded recorded;
    ASSERT_EQ(recorded.cmdline.size(), 3);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(recorded.cmdline[i][1], recorded.cmdline[i][0]);
        EXPECT_EQ(recorded.cmdline[i][2], recorded.cmdline[i][0]);
    }
    EXPECT_NE(recorded.cmdline[2][2], recorded.cmdline[2][0]);
}

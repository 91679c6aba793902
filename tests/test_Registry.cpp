#include "platform/Registry.h"

#include "platform/Errors.h"
#include "tests/support/TestCd.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <utime.h>

using platform::RootKey;
using testing_support::writeFile;

namespace {

// UTF-16LE bytes of text as hex(n) data: "41,00,42,00,00,00".
QByteArray utf16Hex(const QString& text) {
    QStringList bytes;
    for (QChar c : text + QChar(0)) {
        bytes << QString::asprintf("%02x", c.unicode() & 0xff);
        bytes << QString::asprintf("%02x", c.unicode() >> 8);
    }
    return bytes.join(',').toLatin1();
}

}  // namespace

class RegistryTest : public testing_support::TestCd {
protected:
    void SetUp() override {
        TestCd::SetUp();
        ASSERT_TRUE(prefixDir_.isValid());
        prefix = prefixDir_.path();
    }
    void regFile(const QByteArray& text) { writeFile(windowsDir() + "registry.reg", text); }
    void systemReg(const QByteArray& text) { writeFile(prefix + "/system.reg", "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n" + text); }
    void userdefReg(const QByteArray& text) { writeFile(prefix + "/userdef.reg", "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\.Default\n\n" + text); }
    // drive_c with the dosdevices link that Wine makes.
    void makeDriveC() {
        QDir().mkpath(prefix + "/drive_c");
        QDir().mkpath(prefix + "/dosdevices");
        ASSERT_TRUE(QFile::link("../drive_c", prefix + "/dosdevices/c:"));
    }
    QString read(RootKey root, const QString& key, const QString& name) {
        return registry.readString(root, key, name);
    }

    QString prefix;
    QTemporaryDir prefixDir_;
    platform::Registry registry{windowsDir(), prefixDir_.path()};
};

TEST_F(RegistryTest, RegeditFileKeysValuesAndEscapes) {
    regFile("REGEDIT4\r\n\r\n; written by setup\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\demo.sh]\r\n"
            "@=\"/opt/demo/run \\\"quoted\\\" C:\\\\dir\"\r\n"
            "\"Path\"=\"/opt/demo\"\r\n"
            "\"Odd\"=\"C:\\Prog\\x\"\r\n"
            "[HKLM\\Software\\Short]\r\n"
            "\"Name With Spaces\" = \"v\"\r\n"
            "[HKEY_NOWHERE\\Software\\Lost]\r\n\"a\"=\"b\"\r\n");
    const QString key = "software\\microsoft\\WINDOWS\\currentversion\\app paths\\DEMO.SH";
    EXPECT_EQ(read(RootKey::LocalMachine, key, ""), "/opt/demo/run \"quoted\" C:\\dir");
    EXPECT_EQ(read(RootKey::LocalMachine, key, "path"), "/opt/demo");
    EXPECT_EQ(read(RootKey::LocalMachine, key, "Odd"), "C:\\Prog\\x");  // unescaped backslashes survive
    EXPECT_EQ(read(RootKey::LocalMachine, "\\Software\\\\Short\\", "name with spaces"), "v");
    EXPECT_EQ(read(RootKey::LocalMachine, key, "missing"), "");
    EXPECT_EQ(read(RootKey::LocalMachine, key + "\\sub", ""), "");
    EXPECT_EQ(read(RootKey::CurrentUser, key, ""), "");
    EXPECT_FALSE(registry.openKey(RootKey::LocalMachine, "Software\\Lost"));
    EXPECT_TRUE(registry.openKey(RootKey::LocalMachine, key)->hasValue("PATH"));
}

TEST_F(RegistryTest, RegeditHexStringsContinuationsAndDeletions) {
    // "%DEMO_HOME%\bin" as UTF-8 bytes, split over continuation lines.
    QStringList hex;
    for (char c : QByteArray("%DEMO_HOME%\\bin"))
        hex << QString::asprintf("%02x", uchar(c));
    hex << "00";
    const QByteArray data = hex.mid(0, 6).join(',').toLatin1() + ",\\\r\n  " + hex.mid(6).join(',').toLatin1();
    qputenv("DEMO_HOME", "/home/demo");
    regFile("REGEDIT4\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\A]\r\n\"Exp\"=hex(2):" + data + "\r\n\"Gone\"=\"x\"\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\A\\Sub]\r\n@=\"sub\"\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\A B]\r\n@=\"sibling\"\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Del]\r\n@=\"d\"\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Del\\Child]\r\n@=\"c\"\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Del X]\r\n@=\"survives\"\r\n"
            "[-HKEY_LOCAL_MACHINE\\Software\\Del]\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\A]\r\n\"Gone\"=-\r\n");
    EXPECT_EQ(read(RootKey::LocalMachine, "Software\\A", "Exp"), "/home/demo\\bin");
    EXPECT_EQ(read(RootKey::LocalMachine, "Software\\A", "Gone"), "");
    EXPECT_EQ(read(RootKey::LocalMachine, "Software\\A\\Sub", ""), "sub");
    EXPECT_EQ(read(RootKey::LocalMachine, "Software\\A B", ""), "sibling");
    EXPECT_FALSE(registry.openKey(RootKey::LocalMachine, "Software\\Del"));
    EXPECT_FALSE(registry.openKey(RootKey::LocalMachine, "Software\\Del\\Child"));
    EXPECT_EQ(read(RootKey::LocalMachine, "Software\\Del X", ""), "survives");
    qunsetenv("DEMO_HOME");
}

TEST_F(RegistryTest, ValuesThatHoldNoTextAreAnError) {
    regFile("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software\\T]\r\n\"Version\"=dword:00000001\r\n"
            "\"Blob\"=hex:01,02\r\n\"Multi\"=hex(7):61,00,00\r\n\"Text\"=\"ok\"\r\n");
    for (const char* name : {"Version", "Blob", "Multi"}) {
        try {
            read(RootKey::LocalMachine, "Software\\T", name);
            ADD_FAILURE() << name << " read as text";
        } catch (const platform::KatalogError& e) {
            EXPECT_EQ(e.text(), QString("Invalid data type for '%1'").arg(name));
        }
    }
    EXPECT_EQ(read(RootKey::LocalMachine, "Software\\T", "Text"), "ok");
}

TEST_F(RegistryTest, WineFilesWithTheirEscapesAndTypes) {
    systemReg("[Software\\\\Vendor\\\\Tool] 1600000000\n#time=1d6b2e5c7a8b9c0\n"
              "@=\"a\\\\b\\\"c\\x00e9\\x17e\\t\\101\"\n"
              "\"Bin\"=hex:00,01\n"
              "\"Wide\"=hex(1):" + utf16Hex("wide text") + "\n"
              "\"Long\"=hex(2):" + utf16Hex("%SystemRoot%").left(18) + ",\\\n  " + utf16Hex("%SystemRoot%").mid(18) + "\n"
              "\"Dw\"=dword:00000010\n"
              "\"Name \\\"q\\\"\"=\"quoted name\"\n"
              "\n[Software\\\\Wow6432Node\\\\Old] 1600000000\n@=\"32-bit\"\n");
    userdefReg("[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\Explorer\\\\Shell Folders] 1600000000\n"
               "\"Start Menu\"=\"/menu\"\n");
    EXPECT_EQ(read(RootKey::LocalMachine, "Software\\Vendor\\Tool", ""), QString::fromUtf8("a\\b\"cé\u017e\tA"));
    EXPECT_EQ(read(RootKey::LocalMachine, "Software\\Vendor\\Tool", "wide"), "wide text");
    EXPECT_EQ(read(RootKey::LocalMachine, "Software\\Vendor\\Tool", "long"), "C:\\windows");
    EXPECT_EQ(read(RootKey::LocalMachine, "Software\\Vendor\\Tool", "Name \"q\""), "quoted name");
    EXPECT_THROW(read(RootKey::LocalMachine, "Software\\Vendor\\Tool", "Dw"), platform::KatalogError);
    EXPECT_THROW(read(RootKey::LocalMachine, "Software\\Vendor\\Tool", "Bin"), platform::KatalogError);
    // 32-bit programs' keys are found through their Wow6432Node home as well.
    EXPECT_EQ(read(RootKey::LocalMachine, "Software\\Old", ""), "32-bit");
    EXPECT_EQ(read(RootKey::Users, ".DEFAULT\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                   "Start Menu"),
              "/menu");
    EXPECT_EQ(read(RootKey::Users, "S-1-5-21\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                   "Start Menu"),
              "");
}

TEST_F(RegistryTest, WindowsPathsFromWineBecomeLinuxPaths) {
    makeDriveC();
    writeFile(prefix + "/drive_c/Program Files (x86)/Demo/DEMO.EXE", "MZ");
    writeFile(prefix + "/drive_c/Program Files/Demo64/demo.exe", "MZ");
    systemReg("[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion] 1\n"
              "\"ProgramFilesDir\"=\"C:\\\\Program Files\"\n"
              "\"ProgramFilesDir (x86)\"=\"C:\\\\Program Files (x86)\"\n"
              "[System\\\\CurrentControlSet\\\\Control\\\\Session Manager\\\\Environment] 1\n"
              "\"SystemRoot\"=\"C:\\\\windows\"\n\"winsysdir\"=str(2):\"%SystemRoot%\\\\system32\"\n"
              "[Software\\\\Wow6432Node\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\demo.exe] 1\n"
              "@=str(2):\"%ProgramFiles%\\\\demo\\\\demo.exe\"\n\"Sys\"=str(2):\"%winsysdir%\\\\x %Nope% 100%\"\n"
              "[Software\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\App Paths\\\\demo64.exe] 1\n"
              "@=str(2):\"%ProgramFiles%\\\\Demo64\\\\demo.exe\"\n"
              "\"Cmd\"=\"C:\\\\Program Files\\\\Demo64\\\\demo.exe /S\"\n");
    const QString appPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
    EXPECT_EQ(read(RootKey::LocalMachine, appPaths + "demo.exe", ""),
              prefix + "/dosdevices/c:/Program Files (x86)/Demo/DEMO.EXE");
    EXPECT_EQ(read(RootKey::LocalMachine, appPaths + "demo64.exe", ""),
              prefix + "/dosdevices/c:/Program Files/Demo64/demo.exe");
    // A command line stays as written, for the command-line service to split.
    EXPECT_EQ(read(RootKey::LocalMachine, appPaths + "demo64.exe", "cmd"),
              "C:\\Program Files\\Demo64\\demo.exe /S");
    EXPECT_EQ(read(RootKey::LocalMachine, appPaths + "demo.exe", "sys"), "C:\\windows\\system32\\x %Nope% 100%");
}

TEST_F(RegistryTest, RegistryFileIsAskedBeforeWineAndItsDeletionsHideWineKeys) {
    regFile("REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\Both]\n@=\"from file\"\n"
            "[-HKEY_LOCAL_MACHINE\\Software\\Removed]\n");
    systemReg("[Software\\\\Both] 1\n@=\"from wine\"\n\"Extra\"=\"wine only\"\n"
              "[Software\\\\Removed\\\\Child] 1\n@=\"hidden\"\n[Software\\\\Kept] 1\n@=\"wine\"\n");
    EXPECT_EQ(read(RootKey::LocalMachine, "Software\\Both", ""), "from file");
    EXPECT_EQ(read(RootKey::LocalMachine, "Software\\Both", "Extra"), "");
    EXPECT_EQ(read(RootKey::LocalMachine, "Software\\Removed\\Child", ""), "");
    EXPECT_EQ(read(RootKey::LocalMachine, "Software\\Kept", ""), "wine");
}

TEST_F(RegistryTest, FilesAreParsedOnceAndAgainOnlyAfterAChange) {
    EXPECT_EQ(read(RootKey::LocalMachine, "Software\\K", ""), "");  // no files: empty registry
    EXPECT_EQ(registry.parseCount(), 0);
    regFile("REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\K]\n@=\"one\"\n");
    systemReg("[Software\\\\W] 1\n@=\"w\"\n");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(read(RootKey::LocalMachine, "Software\\K", ""), "one");
        EXPECT_EQ(read(RootKey::LocalMachine, "Software\\W", ""), "w");
    }
    EXPECT_EQ(registry.parseCount(), 2);

    // Same size, rewritten in place, only the time tells.
    const QString path = windowsDir() + "registry.reg";
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.write("REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software\\K]\n@=\"two\"\n");
    }
    struct utimbuf times {1000000, 1000000};
    ASSERT_EQ(::utime(QFile::encodeName(path).constData(), &times), 0);
    EXPECT_EQ(read(RootKey::LocalMachine, "Software\\K", ""), "two");
    EXPECT_EQ(registry.parseCount(), 3);
    EXPECT_EQ(read(RootKey::LocalMachine, "Software\\K", ""), "two");
    EXPECT_EQ(registry.parseCount(), 3);

    QFile::remove(path);
    EXPECT_EQ(read(RootKey::LocalMachine, "Software\\K", ""), "");
}

TEST_F(RegistryTest, DamagedFilesReadAsWhatCanBeUnderstood) {
    regFile(QByteArray("REGEDIT4\n\"early\"=\"no key yet\"\n[HKEY_LOCAL_MACHINE\\Software\\D]\n"
                       "\"unterminated=\"x\n\"bad\"=hex:zz,01\n\"cut\"=hex(2):41,\\\n") +
            QByteArray("\0", 1) + "\xff\xfe garbage\n[HKEY_LOCAL_MACHINE\n\"ok\"=\"fine\"\n");
    systemReg("[Software\\\\Open\n@=\"x\"\n[Software\\\\Fine] 1\n\"v\"=str(2):\"unterminated\n\"w\"=\"y\"\n");
    EXPECT_EQ(read(RootKey::LocalMachine, "Software\\D", "bad"), "");
    EXPECT_EQ(read(RootKey::LocalMachine, "Software\\D", "unterminated"), "");
    EXPECT_EQ(read(RootKey::LocalMachine, "Software\\Fine", "w"), "y");
    EXPECT_EQ(read(RootKey::LocalMachine, "Software\\Fine", "v"), "");
}

TEST(RegistryRoots, NamesAndAbbreviations) {
    EXPECT_EQ(platform::rootKeyFromName(u"hkey_local_machine"), RootKey::LocalMachine);
    EXPECT_EQ(platform::rootKeyFromName(u"HKU"), RootKey::Users);
    EXPECT_EQ(platform::rootKeyFromName(u"HKEY_CURRENT_USER"), RootKey::CurrentUser);
    EXPECT_FALSE(platform::rootKeyFromName(u"HKEY_LOCAL"));
}

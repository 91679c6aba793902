#include "app/Settings.h"

#include "app/Shell.h"
#include "platform/Errors.h"
#include "platform/ProfileFile.h"
#include "tests/support/TestCd.h"
#include "tests/support/Unprivileged.h"

#include <QDir>
#include <QFile>

using testing_support::readFile;
using testing_support::writeFile;

class SettingsTest : public testing_support::TestCd {
protected:
    void SetUp() override {
        TestCd::SetUp();
        shell().ProgramDir = cdRoot() + "/";
        shell().SystemDir = cdRoot() + "/SYSTEM/";
        shell().WindowsDir = windowsDir();
        QDir().mkpath(cdRoot() + "/SYSTEM/Sk/1024x768");
        QDir().mkpath(cdRoot() + "/SYSTEM/Cz/800x600");
        qunsetenv("LC_ALL");
        qunsetenv("LC_MESSAGES");
        qputenv("LANG", "cs_CZ.UTF-8");
    }
    katalog::Shell& shell() { return katalog::shell(); }
    void settings(const QByteArray& text) { writeFile(windowsDir() + "kat.INI", text); }
    void winIni(const QByteArray& text) { writeFile(windowsDir() + "win.ini", text); }
    void load(QSize screen = {1024, 768}) { katalog::NactiNastaveni(shell(), screen); }
};

TEST_F(SettingsTest, FirstRunWithSlovakWinIniWritesEveryDefaultButNoLanguage) {
    winIni("[intl]\r\niCountry=421\r\n");
    load();
    EXPECT_TRUE(shell().SlovakLang);
    EXPECT_EQ(shell().SkinDir, cdRoot() + "/SYSTEM/Sk/1024x768/");
    EXPECT_EQ(readFile(windowsDir() + "kat.INI"),
              QByteArray("[Music]\r\nMusic=On\r\n[ANIM]\r\nANIM=On\r\n[Options]\r\nFile=1\r\n"
                         "[Font]\r\nname=system\r\nsize=10\r\nfsbold=False\r\nfsitalic=False\r\n"
                         "fsunderline=False\r\nfsstrikeout=False\r\ncolor=-9\r\n"));
}

TEST_F(SettingsTest, LanguageFromTheSettingsOrTheLocaleFile) {
    struct Case { QByteArray settings; QByteArray win; bool slovak; };
    const Case cases[] = {
        {"", "[intl]\r\niCountry=42\r\nsCountry=Slovak Republic\r\n", true},
        {"", "[intl]\r\niCountry=42\r\nsCountry=slovak republic\r\n", false},
        {"", "[INTL]\r\nICOUNTRY=421\r\n", true},
        {"[Options]\r\nSk=0\r\n", "[intl]\r\niCountry=421\r\n", false},
        {"[Options]\r\nSk=2\r\n", "[intl]\r\niCountry=421\r\n", false},
        {"[Options]\r\nSk=1\r\n", "", true},
        {"[options]\r\nsk=x\r\n", "[intl]\r\niCountry=421\r\n", true},
        {"", "[other]\r\niCountry=421\r\n", false},
    };
    for (const Case& c : cases) {
        QFile::remove(windowsDir() + "kat.INI");
        if (!c.settings.isEmpty())
            settings(c.settings);
        winIni(c.win);
        load();
        EXPECT_EQ(shell().SlovakLang, c.slovak) << c.settings.toStdString() << c.win.toStdString();
    }
}

TEST_F(SettingsTest, WithoutWinIniThePosixLocaleDecides) {
    qputenv("LANG", "sk_SK.UTF-8");
    load();
    EXPECT_TRUE(shell().SlovakLang);
    qputenv("LC_ALL", "cs_CZ.UTF-8");
    load();
    EXPECT_FALSE(shell().SlovakLang);
    qunsetenv("LC_ALL");
}

TEST_F(SettingsTest, OptionsAreReadCaseInsensitively) {
    settings("[Music]\r\nMusic=ON\r\n[anim]\r\nanim=yes\r\n[Options]\r\nFile=9\r\n"
             "[font]\r\nFSBOLD=TRUE\r\nfsItalic=true\r\nname=Verdana\r\nsize=0x0C\r\ncolor=255\r\n");
    load();
    EXPECT_TRUE(shell().MusicOn);
    EXPECT_FALSE(shell().AnimOn);
    EXPECT_EQ(shell().SongNumber, 9);
    EXPECT_TRUE(shell().AppFont.bold);
    EXPECT_TRUE(shell().AppFont.italic);
    EXPECT_FALSE(shell().AppFont.underline);
    EXPECT_EQ(shell().AppFont.name, "Verdana");
    EXPECT_EQ(shell().AppFont.size, 12);
    EXPECT_EQ(shell().AppFont.color, 255);
    // The song number 9 is kept and written back unchanged.
    katalog::UlozNastaveni(shell());
    EXPECT_EQ(platform::ProfileFile(windowsDir() + "kat.INI").readString("Options", "File"), "9");
}

TEST_F(SettingsTest, ScreenSizeChoosesTheLayout) {
    load({1024, 600});
    EXPECT_FALSE(shell().HighRes);
    EXPECT_EQ(shell().SkinDir, cdRoot() + "/SYSTEM/Cz/800x600/");
    load({1280, 1024});
    EXPECT_TRUE(shell().HighRes);
    load({800, 768});
    EXPECT_FALSE(shell().HighRes);
}

TEST_F(SettingsTest, SaveNeverWritesTheLanguageAndKeepsOtherSections) {
    settings("[Options]\r\nSk=1\r\nFile=2\r\n[Oblibene-CD]\r\nHra=1\r\n");
    load();
    shell().MusicOn = false;
    shell().AppFont.name = "MS Sans Serif";
    katalog::UlozNastaveni(shell());
    platform::ProfileFile ini(windowsDir() + "kat.INI");
    EXPECT_EQ(ini.readString("Music", "Music"), "Off");
    EXPECT_EQ(ini.readString("Font", "name"), "MS Sans Serif");
    EXPECT_EQ(ini.readString("Options", "Sk"), "1");
    EXPECT_EQ(ini.readString("Oblibene-CD", "Hra"), "1");
}

TEST_F(SettingsTest, AReadOnlySettingsFolderGivesTheErrorTextAndTheSkinStillLoads) {
    const auto open = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                      QFileDevice::ReadOther | QFileDevice::ExeOther;
    QFile::setPermissions(configHome(), open);
    QFile::setPermissions(cdRoot(), open);
    QDir().mkpath(windowsDir());
    QFile::setPermissions(windowsDir(), QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                            QFileDevice::ReadOther | QFileDevice::ExeOther);
    const QString expected = "Unable to write to " + windowsDir() + "kat.INI";
    const bool ok = testing_support::runUnprivileged([&] {
        try {
            katalog::NactiNastaveni(katalog::shell(), {1024, 768});
        } catch (const platform::KatalogError& e) {
            return e.text() == expected && katalog::shell().SkinDir.endsWith("/Cz/1024x768/");
        }
        return false;
    });
    EXPECT_TRUE(ok);
    EXPECT_FALSE(QFile::exists(windowsDir() + "kat.INI"));
}

// A settings folder that cannot be written or a disk that is full, met by the whole program:
// every write says "Unable to write to <path>", the old settings stay as they were and the
// program goes on. Root ignores file modes, so the folder's place is taken by a file, and a
// full disk is a file-size limit.
#include "app/MainFormUnit1.h"
#include "app/Shell.h"
#include "catalogue/ProgramyFormUnit1.h"
#include "menu/DesktopUnit1.h"
#include "platform/Codec.h"
#include "platform/ProfileFile.h"
#include "platform/ShellOpen.h"
#include "settings/NastaveniUnit1.h"
#include "tests/support/TestCatalogue.h"
#include "tests/support/TestCd.h"
#include "widgets/EzRgnBtn.h"

#include <QDir>
#include <QFile>
#include <QListWidget>

#include <csignal>
#include <sys/resource.h>

using platform::MessageKind;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

const char* const Catalogue = R"([Title]
Name=Plný disk
[sections]
Hry=
[Hry]
Hra=
Jiná=
[Hra]
source=hra
run=hra.sh
setup=setup.sh
[Jiná]
source=hra
run=hra.sh
)";

// While it lives, no file of this process can grow beyond a few bytes.
class FullDisk {
public:
    FullDisk() {
        getrlimit(RLIMIT_FSIZE, &saved_);
        handler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit tiny = saved_;
        tiny.rlim_cur = 16;
        setrlimit(RLIMIT_FSIZE, &tiny);
    }
    ~FullDisk() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, handler_);
    }

private:
    rlimit saved_{};
    void (*handler_)(int) = nullptr;
};

}  // namespace

class DiskFaultsTest : public testing_support::TestCd {
protected:
    void SetUp() override {
        TestCd::SetUp();
        platform::setLaunchHook([this](const platform::Launch& l) { launches.push_back(l); });
        installSkins();
        testing_support::writeCatalogue(cdRoot(), QString::fromUtf8(Catalogue));
        writeFile(cdFile("hra/hra.sh"), "#!/bin/sh\nexit 0\n");
        writeFile(cdFile("hra/setup.sh"), "#!/bin/sh\nexit 0\n");
    }
    void TearDown() override {
        main.reset();
        TestCd::TearDown();
    }
    void start() {
        main = std::make_unique<katalog::TMain>(nullptr, cdRoot());
        main->FormCreate();
        main->CreateSearchResultForm();
        programs = main->forms().ProgramyForm;
    }
    void select(const QString& program) {
        const auto items = programs->SeznamProgramu->findItems(program, Qt::MatchExactly);
        ASSERT_FALSE(items.isEmpty());
        programs->SeznamProgramu->setCurrentItem(items[0]);
    }
    // A click as the application delivers it: an error that escapes ends the event with the
    // default error report.
    static void click(katalog::TEzRgnBtn* b) { platform::guarded([b] { b->Click(); }); }

    // Favourites, the install marker and the settings' OK, each on its own.
    void writeEverything() {
        select("Hra");
        click(programs->btnZalozky);
        click(programs->Instalovat);
        main->ZobrazOkno(main->forms().NastaveniForm, main->forms().DesktopForm->mnuNastaveni);
        click(main->forms().NastaveniForm->Hudba);
        click(main->forms().NastaveniForm->OK);
        main->ZobrazOkno(programs, main->forms().DesktopForm->mnuProgramy);
    }
    // The default error report ends its text with a full stop.
    QString unableToWrite() const { return "Unable to write to " + windowsDir() + "kat.INI."; }

    std::unique_ptr<katalog::TMain> main;
    katalog::TProgramyForm* programs = nullptr;
    std::vector<platform::Launch> launches;
};

TEST_F(DiskFaultsTest, ASettingsFolderThatCannotBeMadeIsReportedAtEveryWriteAndTheProgramGoesOn) {
    writeFile(configHome() + "/katalog", "a file where the folder should be");
    start();
    ASSERT_EQ(messages.size(), 1u);  // the first run's settings
    EXPECT_EQ(messages[0], std::make_pair(MessageKind::ErrorReport, unableToWrite()));
    EXPECT_FALSE(main->terminationRequested());
    EXPECT_EQ(programs->programRows(), QStringList({"Hra", "Jiná"}));

    writeEverything();
    // Favourite, install marker, OK: each reported. A marker that cannot be written ends the
    // install action before its setup starts.
    ASSERT_EQ(messages.size(), 4u);
    for (const auto& m : messages)
        EXPECT_EQ(m, std::make_pair(MessageKind::ErrorReport, unableToWrite()));
    EXPECT_EQ(programs->btnZalozky->tag(), 0);
    EXPECT_TRUE(launches.empty());
    EXPECT_FALSE(main->terminationRequested());
    EXPECT_EQ(readFile(configHome() + "/katalog"), "a file where the folder should be");

    // What needs no settings still works.
    click(programs->Spustit);
    EXPECT_EQ(launches.size(), 1u);
}

TEST_F(DiskFaultsTest, AFullDiskLeavesTheOldSettingsWholeAndTheyWorkAgainOnceThereIsRoom) {
    const QByteArray old = platform::toCp1250(
        u"[Music]\r\nMusic=On\r\n[ANIM]\r\nANIM=On\r\n[Options]\r\nFile=1\r\n[Oblibene-Plný disk]\r\nJiná=1\r\n");
    writeFile(windowsDir() + "kat.INI", old);
    start();
    EXPECT_TRUE(messages.empty());
    {
        FullDisk full;
        writeEverything();
    }
    ASSERT_EQ(messages.size(), 3u);
    for (const auto& m : messages)
        EXPECT_EQ(m, std::make_pair(MessageKind::ErrorReport, unableToWrite()));
    EXPECT_EQ(readFile(windowsDir() + "kat.INI"), old);
    EXPECT_EQ(QDir(windowsDir()).entryList(QDir::Files | QDir::Hidden), QStringList({"kat.INI"}));
    EXPECT_TRUE(launches.empty());

    // With room again the same clicks are kept.
    messages.clear();
    writeEverything();
    EXPECT_TRUE(messages.empty());
    const platform::ProfileFile ini(windowsDir() + "kat.INI");
    EXPECT_EQ(ini.readInteger("Oblibene-Plný disk", "Hra", -1), 1);
    EXPECT_EQ(ini.readInteger("Oblibene-Plný disk", "Jiná", -1), 1);
    EXPECT_EQ(ini.readInteger("Installing-Plný disk", "Hra", -1), 1);
    // The music was switched twice; what OK saved is what the program plays.
    EXPECT_EQ(ini.readString("Music", "Music"), katalog::shell().MusicOn ? "On" : "Off");
    EXPECT_EQ(ini.readString("Options", "File"), "1");
    EXPECT_EQ(launches.size(), 1u);
}

TEST_F(DiskFaultsTest, AFirstRunOnAFullDiskStartsWithTheDefaultsAndLeavesNoFile) {
    {
        FullDisk full;
        start();
    }
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], std::make_pair(MessageKind::ErrorReport, unableToWrite()));
    EXPECT_FALSE(main->terminationRequested());
    EXPECT_TRUE(katalog::shell().MusicOn);
    EXPECT_FALSE(QFile::exists(windowsDir() + "kat.INI"));
    EXPECT_EQ(QDir(windowsDir()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

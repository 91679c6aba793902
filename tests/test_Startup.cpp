#include "app/MainFormUnit1.h"
#include "app/SkinSizes.h"

#include "app/ErrorDialogUnit1.h"
#include "app/IntroFormUnit1.h"
#include "app/Shell.h"
#include "catalogue/ProgramyFormUnit1.h"
#include "about/ONasUnit1.h"
#include "menu/DesktopUnit1.h"
#include "settings/NastaveniUnit1.h"
#include "tests/support/TestCd.h"
#include "widgets/EzRgnBtn.h"

#include <QCoreApplication>
#include <QFile>
#include <QTest>
#include <QTimer>

using testing_support::writeFile;

class StartupTest : public testing_support::TestCd {
protected:
    void start(QSize screen = {1024, 768}) {
        katalog::TMain::setScreenSizeForTests(screen);
        main = std::make_unique<katalog::TMain>(new katalog::TIntroForm, cdRoot());
        main->FormCreate();
    }
    std::unique_ptr<katalog::TMain> main;
};

TEST_F(StartupTest, CreatesEveryWindowAndShowsTheCatalogueFirst) {
    installSkins();
    start();
    auto& f = main->forms();
    ASSERT_TRUE(f.DesktopForm && f.TiskForm && f.ONas && f.DalsiNaseCDForm && f.PicForm &&
                f.ProgramyForm && f.KopirovaniForm && f.ErrorDialog && f.NastaveniForm);
    EXPECT_TRUE(f.DesktopForm->isVisible());
    EXPECT_EQ(main->CurrentWindow(), f.ProgramyForm);
    EXPECT_TRUE(f.ProgramyForm->isVisible());
    EXPECT_TRUE(f.DesktopForm->mnuProgramy->disabled());
    EXPECT_FALSE(main->terminationRequested());
    EXPECT_TRUE(messages.empty());
    // The first run wrote the settings.
    EXPECT_TRUE(QFile::exists(windowsDir() + "kat.INI"));
    EXPECT_EQ(katalog::shell().SystemDir, cdRoot() + "/SYSTEM/");
}

TEST_F(StartupTest, ADataRootWithATrailingSlashGivesNoDoubledSeparator) {
    installSkins();
    katalog::TMain m(nullptr, cdRoot() + "/");
    m.FormCreate();
    EXPECT_EQ(katalog::shell().ProgramDir, cdRoot() + "/");
    EXPECT_EQ(katalog::shell().SystemDir, cdRoot() + "/SYSTEM/");
}

TEST_F(StartupTest, ZobrazOknoSwitchesTheContentWindowAndItsButton) {
    installSkins();
    start();
    auto& f = main->forms();
    main->ZobrazOkno(f.ONas, f.DesktopForm->mnuONas);
    EXPECT_FALSE(f.ProgramyForm->isVisible());
    EXPECT_TRUE(f.ONas->isVisible());
    EXPECT_FALSE(f.DesktopForm->mnuProgramy->disabled());
    EXPECT_TRUE(f.DesktopForm->mnuONas->disabled());
    // The current window again: shown, its button stays disabled.
    main->ZobrazOkno(f.ONas, f.DesktopForm->mnuONas);
    EXPECT_TRUE(f.ONas->isVisible());
    EXPECT_TRUE(f.DesktopForm->mnuONas->disabled());
}

TEST_F(StartupTest, ClosingAnyContentWindowEndsTheProgram) {
    installSkins();
    start();
    auto& f = main->forms();
    EXPECT_FALSE(main->terminationRequested());
    f.NastaveniForm->close();
    EXPECT_TRUE(main->terminationRequested());
    EXPECT_FALSE(f.DesktopForm->isVisible());
}

TEST_F(StartupTest, AMissingListPictureIsReportedOnceAndStartUpGoesOn) {
    installSkins();
    QFile::remove(cdFile("SYSTEM/Cz/1024x768/menu/program1.bmp"));
    QFile::remove(cdFile("SYSTEM/Cz/1024x768/nastav/ok0.bmp"));
    start();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].second, "Chyba při načítání grafiky, aplikace bude ukončena.");
    EXPECT_TRUE(main->terminationRequested());
    // The rest of start-up ran.
    EXPECT_NE(main->forms().NastaveniForm, nullptr);
    EXPECT_EQ(main->forms().DesktopForm->ProgramyList.count(), 1);
}

TEST_F(StartupTest, AMissingIntroPictureIsADefaultErrorReport) {
    installSkins();
    QFile::remove(cdFile("SYSTEM/intro.BMP"));
    start();
    // The intro window and the about window's cover picture each report it.
    ASSERT_EQ(messages.size(), 2u);
    for (const auto& [kind, text] : messages) {
        EXPECT_EQ(kind, platform::MessageKind::ErrorReport);
        EXPECT_TRUE(text.startsWith("Cannot open file"));
        EXPECT_TRUE(text.endsWith("."));
    }
    EXPECT_FALSE(main->terminationRequested());
    EXPECT_TRUE(main->forms().DesktopForm->isVisible());
}

TEST_F(StartupTest, TheSmallLayoutUsesTheSmallSkin) {
    installSkins();
    start({800, 600});
    EXPECT_FALSE(katalog::shell().HighRes);
    EXPECT_EQ(katalog::shell().SkinDir, cdRoot() + "/SYSTEM/Cz/800x600/");
    EXPECT_EQ(main->forms().DesktopForm->geometry(), QRect(25, 50, 750, 500));
}

TEST_F(StartupTest, TheErrorDialogAnswersRetryOrCancelAndFollowsTheMenuWindow) {
    installSkins();
    start();
    auto* dlg = main->forms().ErrorDialog;
    main->forms().DesktopForm->move(200, 150);
    QTimer::singleShot(0, dlg, [dlg] {
        const auto size = *katalog::skin::sizeOf(katalog::skin::ErrorPlocha, true);
        EXPECT_EQ(dlg->pos(), QPoint(200 + 59 + (788 - size.width) / 2, 150 + 27 + (536 - size.height) / 2));
        EXPECT_EQ(dlg->Opakovat->pos(), QPoint(123, 106));
        EXPECT_EQ(dlg->Zrusit->pos(), QPoint(239, 106));
        dlg->Opakovat->Click();
    });
    EXPECT_EQ(dlg->exec(), katalog::TErrorDialog::Retry);
    QTimer::singleShot(0, dlg, [dlg] { dlg->Zrusit->Click(); });
    EXPECT_EQ(dlg->exec(), katalog::TErrorDialog::Cancel);
    // Escape answers cancel, never retry.
    QTimer::singleShot(0, dlg, [dlg] { QTest::keyClick(dlg, Qt::Key_Escape); });
    EXPECT_EQ(dlg->exec(), katalog::TErrorDialog::Cancel);
}

#include "app/MainFormUnit1.h"
#include "app/SkinSizes.h"

#include "app/ErrorDialogUnit1.h"
#include "app/IntroFormUnit1.h"
#include "app/Shell.h"
#include "catalogue/ProgramyFormUnit1.h"
#include "catalogue/VysledkyHledaniUnit1.h"
#include "orders/TiskUnit1.h"
#include "viewer/PicFormUnit1.h"
#include "about/ONasUnit1.h"
#include "menu/DesktopUnit1.h"
#include "settings/NastaveniUnit1.h"
#include "tests/support/TestCd.h"
#include "widgets/EzRgnBtn.h"

#include <QCoreApplication>
#include <QDir>
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

TEST_F(StartupTest, AFatalErrorIsTheOnlyMessageAndStartUpStopsThere) {
    installSkins();
    // Without its skin every window would report its own pictures.
    QDir(cdFile("SYSTEM/Cz")).removeRecursively();
    start();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].second, "Chyba při načítání grafiky, aplikace bude ukončena.");
    EXPECT_TRUE(main->terminationRequested());
    EXPECT_EQ(main->exitStatus(), 1);
    auto& f = main->forms();
    EXPECT_FALSE(f.DesktopForm->isVisible());
    EXPECT_EQ(f.TiskForm, nullptr);
    EXPECT_EQ(main->CurrentWindow(), nullptr);
    main->CreateSearchResultForm();
    EXPECT_EQ(f.VysledkyHledaniForm, nullptr);

    // Whatever still goes wrong on the way out is not shown.
    platform::reportError("Cannot open file");
    EXPECT_FALSE(platform::guarded([] { throw platform::KatalogError("Unable to write to x"); }));
    main->ChybaObrazku();
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(StartupTest, ADamagedContainerEndsWithOneMessageAndAFailureStatus) {
    installSkins();
    writeFile(cdFile("SYSTEM/MAP.PIC"), "BRPIX");
    start();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].second, "Datový soubor byl narušen, aplikace bude ukončena!");
    EXPECT_EQ(main->exitStatus(), 1);
    EXPECT_FALSE(main->forms().DesktopForm->isVisible());
    // Start-up stopped at the catalogue.
    EXPECT_EQ(main->forms().KopirovaniForm, nullptr);
}

TEST_F(StartupTest, QuittingEndsWithSuccess) {
    installSkins();
    start();
    main->UnLoadForms();
    EXPECT_TRUE(main->terminationRequested());
    EXPECT_EQ(main->exitStatus(), 0);
    // Not shown once the end is requested: it would answer retry here.
    auto* dialog = main->forms().ErrorDialog;
    QTimer::singleShot(0, dialog, [dialog] { dialog->Opakovat->Click(); });
    EXPECT_EQ(dialog->exec(), katalog::TErrorDialog::Cancel);
    QCoreApplication::processEvents();
}

TEST_F(StartupTest, WindowsAreCentredOnThePrimaryScreenWhereverItLies) {
    installSkins();
    // A primary monitor right of and below another one.
    const QRect screen(1920, 240, 1024, 768);
    katalog::TMain::setScreenForTests(screen);
    main = std::make_unique<katalog::TMain>(new katalog::TIntroForm, cdRoot());
    const auto centred = [&](QSize size) {
        return QPoint(screen.x() + (screen.width() - size.width()) / 2,
                      screen.y() + (screen.height() - size.height()) / 2);
    };
    katalog::TIntroForm intro;
    katalog::shell().SystemDir = cdRoot() + "/SYSTEM/";
    intro.Prepare();
    EXPECT_EQ(intro.pos(), centred(intro.size()));

    main->FormCreate();
    main->CreateSearchResultForm();
    auto& f = main->forms();
    EXPECT_EQ(f.DesktopForm->pos(), centred(f.DesktopForm->size()));
    EXPECT_EQ(f.VysledkyHledaniForm->pos(), centred(f.VysledkyHledaniForm->size()));
    // The error dialog follows the content area of the main menu window.
    EXPECT_TRUE(screen.contains(f.ErrorDialog->geometry()));

    katalog::shell().ViewerPictures = {cdFile("SYSTEM/intro.BMP")};
    f.PicForm->show();
    EXPECT_EQ(f.PicForm->pos(), centred(f.PicForm->size()));
    f.PicForm->reject();
    f.TiskForm->show();
    EXPECT_EQ(f.TiskForm->pos(), centred(f.TiskForm->frameGeometry().size()));
    f.TiskForm->reject();
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

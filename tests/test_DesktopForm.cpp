#include "menu/DesktopUnit1.h"

#include "about/ONasUnit1.h"
#include "app/IntroFormUnit1.h"
#include "app/Layouts.h"
#include "app/MainFormUnit1.h"
#include "app/Shell.h"
#include "catalogue/ProgramyFormUnit1.h"
#include "orders/DalsiNaseCDUnit1.h"
#include "settings/NastaveniUnit1.h"
#include "platform/ShellOpen.h"
#include "tests/support/FakeWine.h"
#include "tests/support/TestCd.h"
#include "widgets/EzRgnBtn.h"
#include "widgets/PictureBox.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>

#include <QTest>

class DesktopFormTest : public testing_support::TestCd {
protected:
    katalog::TDesktopForm* start(QSize screen) {
        installSkins();
        katalog::TMain::setScreenSizeForTests(screen);
        main = std::make_unique<katalog::TMain>(nullptr, cdRoot());
        main->FormCreate();
        return main->forms().DesktopForm;
    }
    std::unique_ptr<katalog::TMain> main;
};

TEST_F(DesktopFormTest, BothGeometriesAreCentredWithTheirContentArea) {
    struct Case { QSize screen; QRect window; QRect content; };
    const Case cases[] = {
        {{1024, 768}, {84, 99, 855, 570}, {143, 126, 788, 536}},
        {{800, 600}, {25, 50, 750, 500}, {77, 74, 690, 470}},
    };
    for (const Case& c : cases) {
        auto* d = start(c.screen);
        const auto& s = katalog::shell();
        EXPECT_EQ(d->geometry(), c.window);
        EXPECT_EQ(QRect(s.ContentLeft, s.ContentTop, s.ContentWidth, s.ContentHeight), c.content);
        // The content windows sit exactly on the content area.
        EXPECT_EQ(main->forms().ProgramyForm->geometry().translated(d->pos()), c.content);
        main.reset();
    }
}

TEST_F(DesktopFormTest, ButtonsStandWhereTheLayoutSays) {
    auto* d = start({1024, 768});
    EXPECT_EQ(d->mnuNastaveni->pos(), QPoint(0, 246));
    EXPECT_EQ(d->Quit->pos(), QPoint(822, 2));
    EXPECT_EQ(d->Minimalizace->hint(), "Minimalizovat ovládací program");
    EXPECT_EQ(d->mnuNapoveda->toolTip(), "Nápověda k ovládacímu programu");
    main.reset();
    d = start({800, 600});
    EXPECT_EQ(d->mnuNapoveda->pos(), QPoint(0, 278));
    EXPECT_EQ(d->Minimalizace->pos(), QPoint(696, 3));
}

TEST_F(DesktopFormTest, TheContentAreaFollowsTheWindow) {
    auto* d = start({1024, 768});
    d->move(10, 20);
    EXPECT_EQ(katalog::shell().ContentLeft, 69);
    EXPECT_EQ(katalog::shell().ContentTop, 47);
}

TEST_F(DesktopFormTest, TitleStripAndOutline) {
    auto* d = start({1024, 768});
    const QPoint w = d->pos();
    EXPECT_TRUE(d->InTitleStrip(w + QPoint(61, 5)));
    EXPECT_FALSE(d->InTitleStrip(w + QPoint(61, 30)));
    EXPECT_FALSE(d->InTitleStrip(w + QPoint(40, 5)));
    EXPECT_FALSE(d->mask().contains(QPoint(0, 20)));
    EXPECT_TRUE(d->mask().contains(QPoint(30, 200)));
    EXPECT_TRUE(d->mask().contains(QPoint(854, 569)));
}

TEST_F(DesktopFormTest, AnOddOutlineEndsTheProgramWithItsMessage) {
    auto* d = start({1024, 768});
    EXPECT_FALSE(d->NactiPoleBoduRgn("1,2,3"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].second, "Neočekávaná chyba - nepodařilo se vytvořit hlavní formulář aplikace");
    EXPECT_TRUE(main->terminationRequested());
}

TEST_F(DesktopFormTest, EveryResizeIsRefused) {
    auto* d = start({1024, 768});
    d->resize(900, 600);
    EXPECT_EQ(d->size(), QSize(855, 570));
    d->setGeometry(0, 0, 100, 100);
    EXPECT_EQ(d->size(), QSize(855, 570));
}

TEST_F(DesktopFormTest, TheSettingsButtonSwitchesTheContentWindow) {
    auto* d = start({1024, 768});
    auto& f = main->forms();
    QTest::mouseClick(d->mnuNastaveni, Qt::LeftButton);
    EXPECT_FALSE(f.ProgramyForm->isVisible());
    EXPECT_TRUE(f.NastaveniForm->isVisible());
    EXPECT_FALSE(d->mnuProgramy->disabled());
    EXPECT_TRUE(d->mnuNastaveni->disabled());
    // The current window's button is disabled and does nothing.
    QTest::mouseClick(d->mnuNastaveni, Qt::LeftButton);
    EXPECT_TRUE(f.NastaveniForm->isVisible());
    // Exactly one of the four window buttons is disabled.
    int disabled = 0;
    for (auto* b : {d->mnuProgramy, d->mnuONas, d->mnuDalsiTituly, d->mnuNastaveni})
        disabled += b->disabled();
    EXPECT_EQ(disabled, 1);
}

TEST_F(DesktopFormTest, QuitHidesTheWindowAndEndsTheProgram) {
    auto* d = start({1024, 768});
    QTest::mouseClick(d->Quit, Qt::LeftButton);
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(main->terminationRequested());
}

TEST_F(DesktopFormTest, HelpOpensTheHtmlFileWithoutWineAndSaysWhatTheWinHelpFileNeeds) {
    testing_support::FakeWine wine(testing_support::FakeWine::Wine::Missing);
    auto* d = start({1024, 768});
    testing_support::writeFile(cdFile("SYSTEM/CDHELP.HLP"), "?_\x03");
    testing_support::writeFile(cdFile("SYSTEM/cdhelp.htm"), "<html></html>");
    std::vector<platform::Launch> launches;
    platform::setLaunchHook([&](const platform::Launch& l) { launches.push_back(l); });
    QTest::mouseClick(d->mnuNapoveda, Qt::LeftButton);
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].program, cdFile("SYSTEM/cdhelp.htm"));
    EXPECT_EQ(launches[0].kind, platform::Launch::Kind::Document);
    EXPECT_TRUE(messages.empty());

    QFile::remove(cdFile("SYSTEM/cdhelp.htm"));
    QTest::mouseClick(d->mnuNapoveda, Qt::LeftButton);
    EXPECT_EQ(launches.size(), 1u);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].second, "Ke spuštění programů pro Windows je potřeba Wine (balíček wine).");
}

namespace {

// Where Tab goes from first, until it comes back.
QList<QWidget*> tabRound(QWidget* first) {
    first->setFocus();
    QList<QWidget*> visited{first};
    for (int i = 0; i < 60; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        if (QApplication::focusWidget() == first)
            break;
        visited << QApplication::focusWidget();
    }
    return visited;
}

}  // namespace

TEST_F(DesktopFormTest, TabGoesDownTheMenuThroughTheContentWindowThenToTheWindowButtons) {
    auto* d = start({1024, 768});
    d->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(d));
    auto* p = main->forms().ProgramyForm;
    // Buttons disabled when the order was made keep their places once enabled.
    p->Edit1->setText("x");
    for (katalog::TEzRgnBtn* b : {p->Spustit, p->Instalovat, p->Kopirovat, p->Popis, p->btnZalozky, p->Internet})
        b->setButtonEnabled(true);
    p->Nahled->setEnabled(true);
    // The catalogue is shown and its menu button, being disabled, is passed over.
    const QList<QWidget*> catalogue{
        d->mnuONas,    d->mnuDalsiTituly, d->mnuNastaveni,   d->mnuNapoveda,   p->SeznamSekci,
        p->TypTrideni, p->SeznamProgramu, p->Edit1,          p->Filtr,         p->PopisProgramu,
        p->Nahled,     p->TovanaLogo,     p->Spustit,        p->Kopirovat,     p->Popis,
        p->Instalovat, p->btnZalozky,     p->Internet,       d->Minimalizace,  d->Quit};
    EXPECT_EQ(tabRound(d->mnuONas), catalogue);

    // Settings: the menu, the songs but the one playing, the switches, the font, OK.
    QTest::keyClick(d->mnuNastaveni, Qt::Key_Space);
    auto* n = main->forms().NastaveniForm;
    ASSERT_EQ(main->CurrentWindow(), n);
    QList<QWidget*> settings{d->mnuProgramy, d->mnuONas, d->mnuDalsiTituly, d->mnuNapoveda};
    for (katalog::TEzRgnBtn* song : n->Song)
        if (song->buttonEnabled())
            settings << song;
    settings << n->Hudba << n->Animace << n->Pismo << n->OK << d->Minimalizace << d->Quit;
    EXPECT_EQ(tabRound(d->mnuProgramy), settings);
}

TEST_F(DesktopFormTest, CtrlTabSwitchesTheContentWindowsInTheMenusOrder) {
    auto* d = start({1024, 768});
    d->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(d));
    const auto& f = main->forms();
    const QList<QWidget*> forward{f.ONas, f.DalsiNaseCDForm, f.NastaveniForm, f.ProgramyForm};
    for (QWidget* next : forward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_EQ(main->CurrentWindow(), next);
        EXPECT_TRUE(next->isVisible());
        // The keyboard goes on in the window shown.
        EXPECT_TRUE(next->isAncestorOf(QApplication::focusWidget()));
    }
    EXPECT_EQ(QApplication::focusWidget(), f.ProgramyForm->SeznamSekci);
    // Shift+Tab arrives as Backtab.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(main->CurrentWindow(), f.NastaveniForm);
    EXPECT_FALSE(d->mnuNastaveni->buttonEnabled());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(main->CurrentWindow(), f.DalsiNaseCDForm);
}

TEST_F(DesktopFormTest, F1OpensTheHelpAndEscapeEndsNothing) {
    testing_support::FakeWine wine(testing_support::FakeWine::Wine::Missing);
    auto* d = start({1024, 768});
    testing_support::writeFile(cdFile("SYSTEM/cdhelp.htm"), "<html></html>");
    std::vector<platform::Launch> launches;
    platform::setLaunchHook([&](const platform::Launch& l) { launches.push_back(l); });
    d->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(d));
    main->forms().ProgramyForm->SeznamProgramu->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].program, cdFile("SYSTEM/cdhelp.htm"));

    for (QWidget* w : QList<QWidget*>{main->forms().ProgramyForm->SeznamProgramu, d->mnuONas, d}) {
        w->setFocus();
        QTest::keyClick(w, Qt::Key_Escape);
    }
    QCoreApplication::processEvents();
    EXPECT_TRUE(d->isVisible());
    EXPECT_FALSE(main->terminationRequested());
}

TEST_F(DesktopFormTest, EveryRegionButtonHasANameForAssistiveTechnology) {
    auto* d = start({1024, 768});
    main->CreateSearchResultForm();
    const auto buttons = d->findChildren<katalog::TEzRgnBtn*>();
    EXPECT_GE(buttons.size(), 40);
    for (katalog::TEzRgnBtn* b : buttons) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(b);
        ASSERT_TRUE(a);
        EXPECT_FALSE(a->text(QAccessible::Name).isEmpty()) << b->objectName().toStdString();
        const QAccessible::Role role = b == main->forms().DalsiNaseCDForm->ObjednavkaChk ||
                                               b == main->forms().NastaveniForm->Hudba ||
                                               b == main->forms().NastaveniForm->Animace
                                           ? QAccessible::CheckBox
                                           : QAccessible::PushButton;
        EXPECT_EQ(a->role(), role) << b->objectName().toStdString();
        EXPECT_EQ(a->state().disabled, !b->buttonEnabled()) << b->objectName().toStdString();
    }
    // The menu button of the window shown is disabled, and says so.
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(d->mnuProgramy)->state().disabled);
    // The settings' switches carry their state.
    auto* hudba = QAccessible::queryAccessibleInterface(main->forms().NastaveniForm->Hudba);
    EXPECT_EQ(bool(hudba->state().checked), katalog::shell().MusicOn);
}

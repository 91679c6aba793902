#include "settings/NastaveniUnit1.h"

#include "about/ONasUnit1.h"
#include "app/MainFormUnit1.h"
#include "app/Shell.h"
#include "catalogue/ProgramyFormUnit1.h"
#include "menu/DesktopUnit1.h"
#include "orders/DalsiNaseCDUnit1.h"
#include "orders/TiskUnit1.h"
#include "platform/ProfileFile.h"
#include "settings/FontDialog.h"
#include "tests/support/TestCd.h"
#include "widgets/EzRgnBtn.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>

using katalog::shell;

class NastaveniTest : public testing_support::TestCd {
protected:
    // Options written to kat.INI before the program starts.
    void setting(const QString& section, const QString& key, const QString& value) {
        platform::ProfileFile(windowsDir() + "kat.INI").writeString(section, key, value);
    }
    void start(QSize screen = {1024, 768}) {
        if (!skins_)
            installSkins();
        skins_ = true;
        katalog::TMain::setScreenSizeForTests(screen);
        main = std::make_unique<katalog::TMain>(nullptr, cdRoot());
        main->FormCreate();
        form = main->forms().NastaveniForm;
        ASSERT_TRUE(form);
        ASSERT_TRUE(messages.empty());
    }
    katalog::TEzRgnBtn* song(int n) const { return form->Song[n - 1]; }
    std::vector<int> disabledSongs() const {
        std::vector<int> d;
        for (int n = 1; n <= 6; ++n)
            if (song(n)->disabled())
                d.push_back(n);
        return d;
    }
    QString playing() const {
        auto& player = main->MediaPlayer2();
        return player.mode() == platform::PlayerMode::Playing ? player.fileName().section('/', -1)
                                                              : QString();
    }
    // Runs inside the modal font dialog opened by Pismo.
    void inFontDialog(std::function<void(katalog::TFontDialog*)> body) {
        auto* dlg = form->FontDialog1;
        bool ran = false;
        QTimer::singleShot(0, dlg, [&] {
            ran = true;
            body(dlg);
            if (dlg->isVisible())
                dlg->reject();
        });
        form->PismoClick();
        EXPECT_TRUE(ran);
    }
    static void choose(katalog::TFontDialog* dlg, const QFont& font, const char* colour) {
        dlg->setCurrentFont(font);
        dlg->colorBox()->setCurrentIndex(dlg->colorBox()->findText(QString::fromUtf8(colour)));
    }

    std::unique_ptr<katalog::TMain> main;
    katalog::TNastaveniForm* form = nullptr;

private:
    bool skins_ = false;
};

TEST_F(NastaveniTest, StartsFromTheOptions) {
    setting("Options", "File", "3");
    setting("Music", "Music", "Off");
    setting("ANIM", "ANIM", "On");
    start();
    EXPECT_EQ(disabledSongs(), std::vector<int>{3});
    EXPECT_EQ(form->Hudba->imageList(), &form->HudbaNonChkList);
    EXPECT_EQ(form->Animace->imageList(), &form->AnimaceChkList);
    EXPECT_EQ(form->OK->hint(),
              "Po uložení se změny provedené\r\nv nastavení projeví i při příštím\r\n"
              "spuštění ovládacího programu.\r\nJinak jsou platné pouze do\r\nukončení ovládacího "
              "programu.");
    EXPECT_FALSE(form->CzFlag->isVisibleTo(form));
    EXPECT_FALSE(form->SkFlag->isVisibleTo(form));
}

TEST_F(NastaveniTest, TheSavedFontReachesTheWindowsAtStartUp) {
    setting("Font", "name", "DejaVu Serif");
    setting("Font", "size", "13");
    setting("Font", "fsbold", "True");
    setting("Font", "color", "255");
    start();
    katalog::Forms& f = main->forms();
    for (QWidget* w : std::initializer_list<QWidget*>{f.ProgramyForm->SeznamProgramu, f.ProgramyForm->PopisProgramu,
                                                     f.DalsiNaseCDForm->SeznamTitulu}) {
        EXPECT_EQ(w->font().family(), "DejaVu Serif") << w->objectName().toStdString();
        EXPECT_EQ(w->font().pointSize(), 13);
        EXPECT_TRUE(w->font().bold());
        EXPECT_EQ(w->palette().color(QPalette::Text), QColor(255, 0, 0));
    }
    EXPECT_EQ(f.ONas->TextClanku->document()->defaultFont().family(), "DejaVu Serif");
}

// What changes without OK lasts until the program ends: leaving the window keeps it.
TEST_F(NastaveniTest, ChangesWithoutOKStayInForceAfterLeavingTheWindow) {
    start();
    katalog::Forms& f = main->forms();
    main->ZobrazOkno(form, f.DesktopForm->mnuNastaveni);
    const bool anim = shell().AnimOn;
    form->Animace->Click();
    form->Hudba->Click();
    main->ZobrazOkno(f.ProgramyForm, f.DesktopForm->mnuProgramy);
    main->ZobrazOkno(form, f.DesktopForm->mnuNastaveni);
    EXPECT_EQ(shell().AnimOn, !anim);
    EXPECT_FALSE(shell().MusicOn);
    EXPECT_EQ(form->Hudba->imageList(), &form->HudbaNonChkList);
    EXPECT_EQ(form->Animace->imageList(), anim ? &form->AnimaceNonChkList : &form->AnimaceChkList);
}

TEST_F(NastaveniTest, AnInvalidSongDisablesNoButton) {
    setting("Options", "File", "9");
    setting("Music", "Music", "Off");
    start();
    EXPECT_TRUE(disabledSongs().empty());
}

TEST_F(NastaveniTest, PlacesItsControlsForEitherLayout) {
    struct Case {
        QSize screen;
        QPoint song4, ok, ramecek, nadpis;
    };
    for (const Case& c : {Case{{1024, 768}, {401, 142}, {624, 488}, {178, 86}, {-1, 4}},
                          Case{{800, 600}, {352, 125}, {547, 428}, {153, 71}, {-1, 2}}}) {
        start(c.screen);
        EXPECT_EQ(song(4)->pos(), c.song4);
        EXPECT_EQ(form->OK->pos(), c.ok);
        EXPECT_EQ(form->Ramecek->pos(), c.ramecek);
        EXPECT_EQ(form->Nadpis->pos(), c.nadpis);
        EXPECT_FALSE(form->Pozadi->pixmap().isNull());
        EXPECT_EQ(form->Pismo->size(), form->PismoList.size());
        main.reset();
    }
}

// The synthesizer loads slowly: the start-up song begins once the main menu window is on
// screen, and never replaces a song the user chose before that.
TEST_F(NastaveniTest, TheStartupSongFollowsTheMenuWindowAndYieldsToTheUser) {
    setting("Options", "File", "2");
    start();
    EXPECT_EQ(playing(), "");
    main->forms().DesktopForm->show();
    QElapsedTimer clock;
    clock.start();
    while (playing().isEmpty() && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(playing(), "Melody2.MID");
    main.reset();

    start();
    song(4)->Click();
    clock.restart();
    while (clock.elapsed() < 1500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(playing(), "Melody4.MID");
    EXPECT_TRUE(messages.empty());
}

TEST_F(NastaveniTest, WithMusicOffASongButtonOnlyMarksTheChoice) {
    setting("Options", "File", "2");
    setting("Music", "Music", "Off");
    start();
    song(3)->Click();
    EXPECT_EQ(disabledSongs(), std::vector<int>{3});
    EXPECT_EQ(shell().SongNumber, 2);
    EXPECT_EQ(playing(), "");
    // Music on: the current song plays, while Song3 still looks chosen.
    form->Hudba->Click();
    EXPECT_TRUE(shell().MusicOn);
    EXPECT_EQ(form->Hudba->imageList(), &form->HudbaChkList);
    EXPECT_EQ(playing(), "Melody2.MID");
    EXPECT_EQ(disabledSongs(), std::vector<int>{3});
}

TEST_F(NastaveniTest, WithMusicOnASongPlaysAtOnceAndOKSavesIt) {
    setting("Options", "File", "1");
    start();
    song(4)->Click();
    EXPECT_EQ(playing(), "Melody4.MID");
    EXPECT_EQ(shell().SongNumber, 4);
    EXPECT_EQ(disabledSongs(), std::vector<int>{4});
    form->OK->Click();
    const platform::ProfileFile ini(windowsDir() + "kat.INI");
    EXPECT_EQ(ini.readInteger("Options", "File", -1), 4);
    EXPECT_EQ(ini.readString("Music", "Music"), "On");
    EXPECT_EQ(ini.readInteger("Options", "Sk", -1), -1);
    EXPECT_TRUE(messages.empty());
}

TEST_F(NastaveniTest, TheChosenSongsButtonDoesNothing) {
    setting("Options", "File", "5");
    start();
    main->PlayMusic(-1);
    QSignalSpy clicks(song(5), &katalog::TEzRgnBtn::clicked);
    QTest::mouseClick(song(5), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(playing(), "");
    QTest::mouseClick(song(6), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(playing(), "Melody6.MID");
}

TEST_F(NastaveniTest, MusicAndAnimationCheckBoxesToggle) {
    start();
    ASSERT_TRUE(shell().MusicOn);
    form->Hudba->Click();
    EXPECT_FALSE(shell().MusicOn);
    EXPECT_EQ(form->Hudba->imageList(), &form->HudbaNonChkList);
    EXPECT_EQ(playing(), "");
    EXPECT_FALSE(main->MediaPlayer2().isOpen());

    const bool anim = shell().AnimOn;
    form->Animace->Click();
    EXPECT_EQ(shell().AnimOn, !anim);
    EXPECT_EQ(form->Animace->imageList(), anim ? &form->AnimaceNonChkList : &form->AnimaceChkList);
    form->Animace->Click();
    EXPECT_EQ(shell().AnimOn, anim);
    // Nothing of this is saved without OK.
    const platform::ProfileFile ini(windowsDir() + "kat.INI");
    EXPECT_EQ(ini.readString("Music", "Music"), "On");
}

TEST_F(NastaveniTest, TheFontDialogFirstShowsItsOwnFontNotTheSavedOne) {
    setting("Font", "name", "Verdana");
    setting("Font", "size", "12");
    start();
    inFontDialog([](katalog::TFontDialog* dlg) {
        EXPECT_TRUE(dlg->isVisible());
        EXPECT_EQ(dlg->shownFont().family(), "MS Sans Serif");
        EXPECT_EQ(dlg->shownFont().pointSize(), 8);
        // The name stays in view although a substitute draws it.
        const auto edits = dlg->findChildren<QLineEdit*>();
        EXPECT_TRUE(std::any_of(edits.begin(), edits.end(),
                                [](auto* e) { return e->text() == "MS Sans Serif"; }));
        ASSERT_TRUE(dlg->applyButton());
        EXPECT_TRUE(dlg->applyButton()->isVisibleTo(dlg));
    });
    EXPECT_EQ(shell().AppFont.name, "Verdana");
    EXPECT_EQ(shell().AppFont.size, 12);
}

TEST_F(NastaveniTest, ApplyChangesTheFontsAtOnceAndCancelKeepsIt) {
    start();
    QWidget* text = main->forms().ONas->findChild<QWidget*>("TextClanku");
    ASSERT_TRUE(text);
    QFont serif(QStringLiteral("DejaVu Serif"), 14);
    serif.setBold(true);
    inFontDialog([&](katalog::TFontDialog* dlg) {
        choose(dlg, serif, "Červená");
        dlg->applyButton()->click();
        // Still open, already applied.
        EXPECT_TRUE(dlg->isVisible());
        EXPECT_EQ(text->font().family(), "DejaVu Serif");
        EXPECT_EQ(text->font().pointSize(), 14);
        EXPECT_TRUE(text->font().bold());
        EXPECT_EQ(text->palette().color(QPalette::Text), QColor(Qt::red));
        EXPECT_EQ(main->forms().ProgramyForm->font().family(), "DejaVu Serif");
        EXPECT_EQ(main->forms().TiskForm->font().family(), "DejaVu Serif");
        // Browsing on after Apply, then Cancel.
        choose(dlg, QFont(QStringLiteral("DejaVu Sans Mono"), 20), "Modrá");
        dlg->reject();
    });
    const katalog::AppFontSpec& f = shell().AppFont;
    EXPECT_EQ(f.name, "DejaVu Serif");
    EXPECT_EQ(f.size, 14);
    EXPECT_TRUE(f.bold);
    EXPECT_EQ(f.color, 0x0000FF);  // red as 0x00BBGGRR
    EXPECT_EQ(text->font().family(), "DejaVu Serif");

    // The dialog opens with the font last applied; browsing alone applies nothing.
    inFontDialog([&](katalog::TFontDialog* dlg) {
        EXPECT_EQ(dlg->shownFont().family(), "DejaVu Serif");
        EXPECT_EQ(dlg->shownFont().pointSize(), 14);
        EXPECT_EQ(dlg->shownColor(), QColor(Qt::red));
        choose(dlg, QFont(QStringLiteral("DejaVu Sans Mono"), 20), "Modrá");
    });
    EXPECT_EQ(shell().AppFont.name, "DejaVu Serif");
    EXPECT_EQ(text->font().family(), "DejaVu Serif");

    // OK takes the font shown; OK in the settings window saves it.
    inFontDialog([&](katalog::TFontDialog* dlg) {
        choose(dlg, QFont(QStringLiteral("DejaVu Sans Mono"), 20), "Modrá");
        dlg->accept();
    });
    EXPECT_EQ(shell().AppFont.name, "DejaVu Sans Mono");
    EXPECT_EQ(shell().AppFont.size, 20);
    EXPECT_EQ(text->font().family(), "DejaVu Sans Mono");
    EXPECT_EQ(text->palette().color(QPalette::Text), QColor(Qt::blue));
    form->OK->Click();
    const platform::ProfileFile ini(windowsDir() + "kat.INI");
    EXPECT_EQ(ini.readString("Font", "name"), "DejaVu Sans Mono");
    EXPECT_EQ(ini.readInteger("Font", "size", -1), 20);
    EXPECT_EQ(ini.readInteger("Font", "color", -1), 0xFF0000);
}

TEST_F(NastaveniTest, AnUnchangedSystemColourKeepsItsNumber) {
    setting("Font", "color", QString::number(int(0x80000008u)));
    start();
    inFontDialog([&](katalog::TFontDialog* dlg) {
        dlg->setCurrentFont(QFont(QStringLiteral("DejaVu Serif"), 11));
        dlg->accept();
    });
    EXPECT_EQ(shell().AppFont.color, int(0x80000008u));
}

TEST_F(NastaveniTest, SetFontReachesTheTextControlsOfTheOtherWindowsByName) {
    start();
    katalog::Forms& f = main->forms();
    std::vector<QWidget*> targets;
    for (auto [window, name] : {std::pair<QWidget*, const char*>{f.DalsiNaseCDForm, "PocetKusu"},
                                {f.DalsiNaseCDForm, "PopisTitulu"},
                                {f.DalsiNaseCDForm, "SeznamTitulu"},
                                {f.ProgramyForm, "SeznamSekci"},
                                {f.ProgramyForm, "PopisProgramu"},
                                {f.ProgramyForm, "SeznamProgramu"},
                                {f.ONas, "TextClanku"}}) {
        QWidget* w = window->findChild<QWidget*>(name);
        ASSERT_TRUE(w) << name;
        targets.push_back(w);
    }
    QWidget* elsewhere = new QLabel(f.DalsiNaseCDForm);
    QFont font(QStringLiteral("DejaVu Sans Mono"), 17);
    font.setItalic(true);
    const QColor green(0, 128, 0);
    form->SetFont(font, green);
    for (QWidget* w : targets) {
        const std::string name = w->objectName().toStdString();
        EXPECT_EQ(w->font().family(), "DejaVu Sans Mono") << name;
        EXPECT_EQ(w->font().pointSize(), 17) << name;
        EXPECT_TRUE(w->font().italic()) << name;
        // The colour each kind of control draws its text with.
        if (auto* box = qobject_cast<QComboBox*>(w)) {
            EXPECT_EQ(box->palette().color(QPalette::ButtonText), green) << name;
            EXPECT_EQ(box->view()->palette().color(QPalette::Text), green) << name;
            EXPECT_EQ(box->view()->font().family(), "DejaVu Sans Mono") << name;
        } else if (qobject_cast<QLabel*>(w)) {
            EXPECT_EQ(w->palette().color(QPalette::WindowText), green) << name;
        } else {
            EXPECT_EQ(w->palette().color(QPalette::Text), green) << name;
        }
    }
    EXPECT_EQ(f.TiskForm->font().family(), "DejaVu Sans Mono");
    EXPECT_EQ(f.ProgramyForm->font().family(), "DejaVu Sans Mono");
    EXPECT_NE(elsewhere->font().family(), "DejaVu Sans Mono");
}

#include "catalogue/ProgramyFormUnit1.h"

#include "about/ONasUnit1.h"
#include "app/MainFormUnit1.h"
#include "app/Shell.h"
#include "catalogue/VysledkyHledaniUnit1.h"
#include "menu/DesktopUnit1.h"
#include "platform/Codec.h"
#include "platform/ProfileFile.h"
#include "platform/ShellOpen.h"
#include "tests/support/FakeWine.h"
#include "tests/support/TestCatalogue.h"
#include "tests/support/TestCd.h"
#include "tools/democd/CdWriter.h"
#include "widgets/EzRgnBtn.h"
#include "widgets/PictureBox.h"

#include <QAbstractItemModel>
#include <QAccessible>
#include <QApplication>
#include <QHelpEvent>
#include <QScrollBar>
#include <QToolTip>
#include <QFile>
#include <QTest>
#include <QTimer>

#include <utility>

using testing_support::writeFile;

namespace {

const char* Catalogue = R"([Title]
Name=Testovací CD
[sections]
Hry=
Grafika=
Utility=
[Hry]
Šachy=
čtverce=
Cesta=
[Grafika]
Cesta=
Malíř=
[Utility]
Zip=
[Šachy]
run=sachy.sh
source=hry\sachy\
win95=1
winnt=1
Licence=FREEWARE
Hodnoceni=5
Velikost=0
Seek={sachy}
WWW=http://sachy.example.com/
obr=obr.bmp
PocetObr=3
obr1=a.bmp
obr2=b.jpg
obr3=c.bmp
[čtverce]
setup=setup.sh
source=hry\ctverce
linux=1
Licence=Shareware
Hodnoceni=0
Velikost=7
Seek={ctverce}
obr=anim.gif
PocetObr=1
obr1=a.bmp
[Cesta]
run=cesta.sh
setup=install.sh
doc=readme.txt
source=cesta
winnt=1
Licence=freeware
Hodnoceni=6
Velikost=3
Seek={cesta}
[Malíř]
DOS=1
win31=2
Licence=Demoverze
Hodnoceni=1
Velikost=6
Seek={malir}
[Zip]
Licence=Public Domain
Hodnoceni=3
)";

QMap<QString, QString> descriptions() {
    return {{"sachy", "Šachový program.\r\nHraje silně."},
            {"ctverce", "Logická hra se ČTVERCI."},
            {"cesta", "Cestovní plánovač, cesta po mapě."},
            {"malir", "Kreslení čar a křivek."}};
}

void closeModalSoon() {
    QTimer::singleShot(0, [] {
        if (QWidget* w = QApplication::activeModalWidget())
            w->close();
    });
}

}  // namespace

class ProgramyFormTest : public testing_support::TestCd {
protected:
    katalog::TProgramyForm* start(const char* catalogue = Catalogue) {
        installSkins();
        testing_support::writeCatalogue(cdRoot(), QString::fromUtf8(catalogue), descriptions());
        main = std::make_unique<katalog::TMain>(nullptr, cdRoot());
        main->FormCreate();
        main->CreateSearchResultForm();
        return main->forms().ProgramyForm;
    }
    void picture(const QString& rel, const char* format = "BMP") {
        QImage img(40, 30, QImage::Format_RGB888);
        img.fill(Qt::red);
        ASSERT_TRUE(democd::saveBmp(img, cdFile(rel)));
        if (QByteArray(format) != "BMP") {
            ASSERT_TRUE(img.save(cdFile(rel), format));
        }
    }
    void select(katalog::TProgramyForm* f, const QString& program) {
        const auto items = f->SeznamProgramu->findItems(program, Qt::MatchExactly);
        ASSERT_FALSE(items.isEmpty()) << program.toStdString();
        f->SeznamProgramu->setCurrentItem(items[0]);
    }
    void chooseSection(katalog::TProgramyForm* f, const QString& section) {
        const int i = f->SeznamSekci->findText(section);
        ASSERT_GE(i, 0);
        // As the user chooses: the box reports the entry, even the one already shown.
        f->SeznamSekci->setCurrentIndex(i);
        Q_EMIT f->SeznamSekci->activated(i);
    }
    QStringList search(katalog::TProgramyForm* f, const QString& text) {
        f->Edit1->setText(text);
        closeModalSoon();
        f->FiltrClick();
        return f->programRows();
    }
    std::unique_ptr<katalog::TMain> main;
};

TEST_F(ProgramyFormTest, StartsWithEverythingAlphabeticalAndTheFirstShown) {
    auto* f = start();
    EXPECT_TRUE(messages.empty());
    QStringList sections;
    for (int i = 0; i < f->SeznamSekci->count(); ++i)
        sections << f->SeznamSekci->itemText(i);
    EXPECT_EQ(sections, QStringList({"Grafika", "Hry", "Utility", "Oblíbené", "[Všechno]"}));
    EXPECT_EQ(f->SeznamSekci->currentText(), "[Všechno]");
    EXPECT_EQ(f->TypTrideni->currentText(), "Řadit abecedně");
    // Czech collation: c < č; a program in two sections is listed twice.
    EXPECT_EQ(f->programRows(), QStringList({"Cesta", "Cesta", "čtverce", "Malíř", "Šachy", "Zip"}));
    EXPECT_EQ(f->selectedProgram(), "Cesta");
    EXPECT_EQ(f->PopisProgramu->toPlainText(), "Cestovní plánovač, cesta po mapě.");
    EXPECT_EQ(main->forms().DesktopForm->Titulek->text(), "Testovací CD");
    EXPECT_EQ(main->forms().DesktopForm->Titulek->x(), 57);
}

TEST_F(ProgramyFormTest, ButtonsAndIconsFollowTheRecord) {
    auto* f = start();
    struct Row {
        const char* program;
        bool run, install, doc, www, os, rating, licence, size;
    };
    const Row rows[] = {
        {"Šachy", true, false, false, true, true, true, true, true},
        {"čtverce", false, true, false, false, false, false, true, false},
        {"Cesta", true, true, true, false, true, false, true, true},
        {"Zip", false, false, false, false, false, true, true, false},
    };
    for (const Row& r : rows) {
        select(f, QString::fromUtf8(r.program));
        SCOPED_TRACE(r.program);
        EXPECT_EQ(f->Spustit->buttonEnabled(), r.run);
        EXPECT_EQ(f->Instalovat->buttonEnabled(), r.install);
        EXPECT_EQ(f->Popis->buttonEnabled(), r.doc);
        EXPECT_EQ(f->Internet->buttonEnabled(), r.www);
        EXPECT_TRUE(f->Kopirovat->buttonEnabled());
        EXPECT_EQ(f->OSpic->isEnabled(), r.os);
        EXPECT_EQ(f->HodnoceniPic->isEnabled(), r.rating);
        EXPECT_EQ(f->KonceptPic->isEnabled(), r.licence);
        EXPECT_EQ(f->VelikostPic->isEnabled(), r.size);
        EXPECT_TRUE(f->btnZalozky->isVisible());
    }
    // win95 comes before winnt; a licence in capitals still finds its icon; Velikost 0 is
    // picture 0; the home page shows in the hint.
    select(f, "Šachy");
    EXPECT_EQ(f->OSpic->pixmap().toImage(), f->OSList.image(0).convertToFormat(f->OSpic->pixmap().toImage().format()));
    EXPECT_EQ(f->KonceptPic->pixmap().toImage(), f->KonceptList.image(0).convertToFormat(f->KonceptPic->pixmap().toImage().format()));
    EXPECT_EQ(f->VelikostPic->pixmap().toImage(), f->VelikostList.image(0).convertToFormat(f->VelikostPic->pixmap().toImage().format()));
    EXPECT_EQ(f->Internet->hint(), "Domovská stránka autora: http://sachy.example.com/");
    EXPECT_EQ(katalog::shell().AuthorHomePage, "http://sachy.example.com/");
    select(f, "Malíř");
    EXPECT_EQ(f->OSpic->pixmap().toImage(), f->OSList.image(1).convertToFormat(f->OSpic->pixmap().toImage().format()));
}

TEST_F(ProgramyFormTest, PreviewAndFurtherPictures) {
    picture("hry/sachy/obr.bmp");
    picture("hry/sachy/b.jpg", "JPEG");
    picture("hry/ctverce/a.bmp");
    writeFile(cdFile("hry/ctverce/anim.gif"), "GIF89a");
    auto* f = start();
    select(f, "Šachy");
    // Only the second of three further pictures exists.
    EXPECT_TRUE(f->Nahled->isEnabled());
    EXPECT_EQ(katalog::shell().ViewerPictures, QStringList({cdFile("hry/sachy/obr.bmp"), cdFile("hry/sachy/b.jpg")}));
    EXPECT_EQ(katalog::shell().ViewerIndex, 0);
    // A GIF preview is not shown, but the further pictures are still collected.
    select(f, "čtverce");
    EXPECT_FALSE(f->Nahled->isEnabled());
    EXPECT_EQ(katalog::shell().ViewerPictures, QStringList({cdFile("hry/ctverce/a.bmp")}));
}

TEST_F(ProgramyFormTest, AnUndecodablePreviewCountsAsUnsupported) {
    writeFile(cdFile("hry/sachy/obr.bmp"), "BM this is not a bitmap");
    picture("hry/sachy/b.jpg", "JPEG");
    auto* f = start();
    select(f, "Šachy");
    EXPECT_FALSE(f->Nahled->isEnabled());
    EXPECT_EQ(katalog::shell().ViewerPictures, QStringList({cdFile("hry/sachy/b.jpg")}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(ProgramyFormTest, ChoosingTheShownSectionAgainDoesNothingUntilASearch) {
    auto* f = start();
    chooseSection(f, "Hry");
    EXPECT_EQ(f->programRows(), QStringList({"Cesta", "čtverce", "Šachy"}));
    select(f, "Šachy");
    chooseSection(f, "Hry");
    EXPECT_EQ(f->selectedProgram(), "Šachy");
    EXPECT_EQ(search(f, "hra"), QStringList({"čtverce", "Šachy"}));
    EXPECT_EQ(f->sectionTag(), -5);
    chooseSection(f, "Hry");
    EXPECT_EQ(f->programRows(), QStringList({"Cesta", "čtverce", "Šachy"}));
    EXPECT_EQ(f->selectedProgram(), "Cesta");
    // The program setting the box is no choice of the user's.
    f->SeznamSekci->setCurrentIndex(f->SeznamSekci->findText("Utility"));
    EXPECT_EQ(f->programRows(), QStringList({"Cesta", "čtverce", "Šachy"}));
}

TEST_F(ProgramyFormTest, EveryOrderGroupsAndLeavesTheRestAlphabetical) {
    auto* f = start();
    chooseSection(f, "[Všechno]");
    const QStringList expected[] = {
        {"Cesta", "Cesta", "čtverce", "Malíř", "Šachy", "Zip"},
        {"čtverce", "Zip", "Malíř", "Cesta", "Cesta", "Šachy"},   // exact-case licences only
        {"Šachy", "Zip", "Malíř", "Cesta", "Cesta", "čtverce"},   // 5, 3, 1, then 6 and 0
        {"Šachy", "Malíř", "Cesta", "Cesta", "čtverce", "Zip"},   // win95, win31, winnt, linux
        {"Cesta", "Cesta", "Šachy", "čtverce", "Malíř", "Zip"},   // run, then setup
        {"Šachy", "Cesta", "Cesta", "Malíř", "čtverce", "Zip"},   // 0, 3, 6, then 7 and none
    };
    for (int order : {1, 2, 3, 4, 5, 0}) {
        f->TypTrideni->setCurrentIndex(order);
        f->TypTrideniChange(order);
        EXPECT_EQ(f->programRows(), expected[order]) << order;
        EXPECT_TRUE(f->selectedProgram().isEmpty());
        EXPECT_EQ(f->orderTag(), order);
    }
    // The applied order again changes nothing, not even the selection.
    select(f, "Zip");
    f->TypTrideniChange(0);
    EXPECT_EQ(f->selectedProgram(), "Zip");
}

// The mouse and the keyboard reach the list the way a user does: a press makes a row
// current before it selects it.
// A list emptied and filled again shows its first rows, wherever it was scrolled to.
TEST_F(ProgramyFormTest, AListFilledAnewShowsItsFirstRow) {
    QString catalogue = QStringLiteral("[Title]\nName=Dlouhé CD\n[sections]\nHry=\nDalší=\n");
    QString sections[2] = {QStringLiteral("[Hry]\n"), QStringLiteral("[Další]\n")};
    QString records;
    for (int i = 0; i < 80; ++i) {
        const QString name = QStringLiteral("Hra %1").arg(i, 2, 10, QLatin1Char('0'));
        sections[i / 40] += name + QStringLiteral("=\n");
        records += QStringLiteral("[%1]\nHodnoceni=%2\nSeek={cesta}\n").arg(name).arg(i % 7);
    }
    auto* f = start((catalogue + sections[0] + sections[1] + records).toUtf8().constData());
    QListWidget* list = f->SeznamProgramu;
    main->forms().DesktopForm->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main->forms().DesktopForm));
    ASSERT_TRUE(list->isVisible());
    const struct {
        const char* change;
        std::function<void()> run;
    } changes[] = {
        {"an order", [&] { f->TypTrideni->setCurrentIndex(2); f->TypTrideniChange(2); }},
        {"a search with hits", [&] { EXPECT_EQ(search(f, "cesta").size(), 80); }},
        {"a section", [&] { chooseSection(f, "Hry"); }},
        {"the other order", [&] { f->TypTrideni->setCurrentIndex(0); f->TypTrideniChange(0); }},
    };
    chooseSection(f, "[Všechno]");
    for (const auto& c : changes) {
        SCOPED_TRACE(c.change);
        list->scrollToBottom();
        ASSERT_GT(list->verticalScrollBar()->value(), 0);
        c.run();
        EXPECT_EQ(list->verticalScrollBar()->value(), 0);
        EXPECT_EQ(list->itemAt(5, 5), list->item(0));
    }
}

TEST_F(ProgramyFormTest, ClicksAndArrowKeysShowTheRow) {
    auto* f = start();
    QListWidget* list = f->SeznamProgramu;
    const auto clickRow = [&](const QString& program) {
        const auto items = list->findItems(program, Qt::MatchExactly);
        ASSERT_FALSE(items.isEmpty());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(items[0]).center());
    };
    clickRow("Malíř");
    EXPECT_EQ(f->selectedProgram(), "Malíř");
    EXPECT_EQ(f->PopisProgramu->toPlainText(), "Kreslení čar a křivek.");
    // After a new order the detail view is neutral and nothing is current.
    f->TypTrideni->setCurrentIndex(2);
    f->TypTrideniChange(2);
    ASSERT_TRUE(f->PopisProgramu->toPlainText().isEmpty());
    clickRow("Šachy");
    EXPECT_EQ(f->selectedProgram(), "Šachy");
    EXPECT_EQ(f->PopisProgramu->toPlainText(), "Šachový program.\nHraje silně.");
    EXPECT_TRUE(f->Spustit->buttonEnabled());
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(f->selectedProgram(), "Zip");
    EXPECT_EQ(f->PopisProgramu->toPlainText(), "Bez popisu.");
}

TEST_F(ProgramyFormTest, SearchFoldsOnlyAsciiLetters) {
    auto* f = start();
    struct Case { const char* text; QStringList hits; };
    const Case cases[] = {
        {"ŠACHOVÝ", {}},                       // Ý is not ý
        {"šachový", {}},                       // š is not Š
        {"Šachový", {"Šachy"}},
        {"PROGRAM", {"Šachy"}},
        {"silně", {"Šachy"}},
        {"čtverci", {}},                        // č does not find Č
        {"ČTVERCI", {"čtverce"}},
        {"cary", {}},                            // c does not find č
        {"Malíř", {}},                          // only in the name
        {"popisu", {"Zip"}},                    // "Bez popisu."
        {"cesta", {"Cesta", "Cesta"}},           // listed twice, found twice
    };
    for (const Case& c : cases) {
        chooseSection(f, "[Všechno]");
        f->SeznamSekci->setCurrentIndex(f->SeznamSekci->count() - 1);
        const QStringList before = f->programRows();
        const QStringList rows = search(f, QString::fromUtf8(c.text));
        EXPECT_EQ(rows, c.hits.isEmpty() ? before : c.hits) << c.text;
    }
}

TEST_F(ProgramyFormTest, SearchMessagesCountTheHits) {
    auto* f = start();
    auto* result = main->forms().VysledkyHledaniForm;
    search(f, "xyz");
    EXPECT_EQ(result->message(), "\n\rV aktuální sekci nebyl zadaný text nalezen!");
    search(f, "Cesta");
    EXPECT_EQ(result->message(),
              "V aktuální sekci byl zadaný text nalezen u 2 záznamů.\n\rPokud se budete chtít vrátit k "
              "původně zvolené sekci, vyberte ji z rozbalovacího seznamu v levém horním rohu.");
    EXPECT_TRUE(f->selectedProgram().isEmpty());
    EXPECT_EQ(f->listTag(), -1);
    chooseSection(f, "Utility");
    search(f, "popisu");
    EXPECT_TRUE(result->message().startsWith("V aktuální sekci byl zadaný text nalezen u 1 záznamu.\n\r"));
    // An empty text does nothing; the button follows the text.
    f->Edit1->clear();
    EXPECT_FALSE(f->Filtr->buttonEnabled());
    f->FiltrClick();
    EXPECT_EQ(f->programRows(), QStringList({"Zip"}));
}

TEST_F(ProgramyFormTest, SearchResultShowsTheWholeMessageAndClosesByKey) {
    start();
    auto* result = main->forms().VysledkyHledaniForm;
    const struct {
        QString text;
        Qt::Alignment alignment;
    } messages[] = {{katalog::VysledkyHledaniMessages::Found(12), Qt::AlignLeft},
                    {katalog::VysledkyHledaniMessages::NotFound, Qt::AlignHCenter}};
    for (const auto& m : messages) {
        result->SetMessage(m.text, m.alignment);
        const QLabel* label = result->Label1;
        const QRect needed = QFontMetrics(label->font()).boundingRect(
            QRect(0, 0, label->width(), 10000), int(label->alignment()) | Qt::TextWordWrap, label->text());
        EXPECT_LE(needed.height(), label->height()) << label->font().pixelSize();
        EXPECT_GE(label->font().pixelSize(), 10);
    }
    // The short message keeps the full size.
    EXPECT_EQ(result->Label1->font().pixelSize(), 15);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        QTimer::singleShot(0, [result, key] { QTest::keyClick(result, key); });
        EXPECT_EQ(result->exec(), key == Qt::Key_Return ? QDialog::Accepted : QDialog::Rejected);
    }
}

TEST_F(ProgramyFormTest, ARejectedContainerLeavesAnEmptyNeutralCatalogue) {
    installSkins();
    writeFile(cdFile("SYSTEM/MAP.PIC"), "NOTBRPIC");
    main = std::make_unique<katalog::TMain>(nullptr, cdRoot());
    main->FormCreate();
    auto* f = main->forms().ProgramyForm;
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].second, "Datový soubor byl narušen, aplikace bude ukončena!");
    EXPECT_TRUE(main->terminationRequested());
    EXPECT_EQ(f->SeznamSekci->count(), 2);
    EXPECT_EQ(f->programRows(), QStringList());
    EXPECT_FALSE(f->Kopirovat->buttonEnabled());
    EXPECT_FALSE(f->btnZalozky->isVisible());
}

TEST_F(ProgramyFormTest, FavouritesAreKeptPerTitle) {
    auto* f = start();
    select(f, "Zip");
    EXPECT_EQ(f->btnZalozky->hint(), "Přidat k oblíbeným");
    f->btnZalozky->Click();
    EXPECT_EQ(f->btnZalozky->hint(), "Odebrat z oblíbených");
    select(f, "Malíř");
    select(f, "Zip");
    EXPECT_EQ(f->btnZalozky->tag(), 1);
    chooseSection(f, "Oblíbené");
    EXPECT_EQ(f->programRows(), QStringList({"Zip"}));
    // Removing the last favourite while they are shown empties the list.
    f->btnZalozky->Click();
    EXPECT_EQ(f->programRows(), QStringList());
    EXPECT_FALSE(f->btnZalozky->isVisible());
    // A mark that is not a number is listed, but offered for adding.
    writeFile(windowsDir() + "kat.INI",
              platform::toCp1250(u"[Oblibene-Testovací CD]\r\nMalíř=ano\r\n[Oblibene-Jiné CD]\r\nZip=1\r\n"));
    chooseSection(f, "Grafika");
    chooseSection(f, "Oblíbené");
    EXPECT_EQ(f->programRows(), QStringList({"Malíř"}));
    EXPECT_EQ(f->btnZalozky->tag(), 0);
}

namespace {

const char* InstallCatalogue = R"([Title]
Name=Instalační CD
[sections]
Nástroje=
[Nástroje]
Sklad=
Můj program=
[Sklad]
setup=setup.sh
source=sklad\
AppName=sklad.sh
UnInstallReg=Sklad 1.0
[Můj program]
run=my prog; rm -rf $(id).sh
doc=návod.txt
source=muj
)";

}  // namespace

class ProgramActionsTest : public ProgramyFormTest {
protected:
    void SetUp() override {
        ProgramyFormTest::SetUp();
        platform::setLaunchHook([this](const platform::Launch& l) { launches.push_back(l); });
    }
    QString script(const QString& path) {
        writeFile(path, "#!/bin/sh\nexit 0\n");
        return path;
    }
    std::vector<platform::Launch> launches;
};

TEST_F(ProgramActionsTest, InstallDetectRunInstalledAndUninstall) {
    script(cdFile("sklad/setup.sh"));
    auto* f = start(InstallCatalogue);
    select(f, "Sklad");
    EXPECT_FALSE(f->Spustit->buttonEnabled());
    EXPECT_EQ(f->Instalovat->hint(), "Nainstaluje Vámi zvolený program");
    f->Instalovat->Click();
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].arguments.value(0), cdFile("sklad/setup.sh"));
    EXPECT_EQ(platform::ProfileFile(windowsDir() + "kat.INI").readString("Installing-Instalační CD", "Sklad"), "1");

    // The setup recorded the program; coming back to the catalogue finds it.
    const QString installed = script(configHome() + "/apps/sklad.sh");
    const QString uninstall = script(configHome() + "/apps/odinstaluj.sh");
    writeFile(windowsDir() + "registry.reg",
              ("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\sklad.sh]\r\n"
               "@=\"" + installed + "\"\r\n\r\n"
               "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sklad 1.0]\r\n"
               "\"UnInstallString\"=\"" + uninstall + "\"\r\n").toUtf8());
    f->FormActivate();
    EXPECT_EQ(f->Instalovat->tag(), 1);
    EXPECT_EQ(f->Instalovat->hint(), "Odinstaluje Vámi zvolený program");
    EXPECT_TRUE(f->Spustit->buttonEnabled());  // installed: runs without a run file
    platform::ProfileFile ini(windowsDir() + "kat.INI");
    EXPECT_EQ(ini.readString("Installed-Instalační CD", "Sklad"), "1");
    EXPECT_EQ(ini.readString("Installing-Instalační CD", "Sklad", "gone"), "gone");

    launches.clear();
    f->Spustit->Click();
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].arguments.value(0), installed);

    // Uninstall flips the button at once, before the uninstaller has done anything.
    launches.clear();
    f->Instalovat->Click();
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].arguments.value(0), uninstall);
    EXPECT_EQ(f->Instalovat->tag(), 0);
    EXPECT_EQ(f->Instalovat->imageList(), &f->Instalace);
}

// A setup script that shows no window brings no activation: the end of the process that was
// started refreshes the buttons, after an install and after an uninstaller that removed nothing.
TEST_F(ProgramActionsTest, TheButtonsFollowASetupThatEndsWithoutAWindow) {
    platform::setLaunchHook({});
    const QString installed = script(configHome() + "/apps/sklad.sh");
    const QString uninstall = script(configHome() + "/apps/odinstaluj.sh");
    const QString registry = windowsDir() + "registry.reg";
    const QString record =
        "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\sklad.sh]\r\n"
        "@=\"" + installed + "\"\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sklad 1.0]\r\n"
        "\"UnInstallString\"=\"" + uninstall + "\"\r\n";
    writeFile(configHome() + "/record.reg", record.toUtf8());
    // Ends a moment after the click, as a real setup does.
    writeFile(cdFile("sklad/setup.sh"),
              ("#!/bin/sh\nsleep 0.2\ncp '" + configHome() + "/record.reg' '" + registry + "'\n").toUtf8());
    auto* f = start(InstallCatalogue);
    select(f, "Sklad");
    // Settled first: becoming the active application refreshes the buttons too.
    ASSERT_TRUE(QTest::qWaitFor([] { return qApp->applicationState() == Qt::ApplicationActive; }));
    f->Instalovat->Click();
    EXPECT_EQ(f->Instalovat->tag(), 0);
    EXPECT_TRUE(QTest::qWaitFor([f] { return f->Instalovat->tag() == 1; }, 10000));
    EXPECT_TRUE(f->Spustit->buttonEnabled());

    // The uninstaller ends having removed nothing: the program reads as installed again.
    f->Instalovat->Click();
    EXPECT_EQ(f->Instalovat->tag(), 0);
    EXPECT_TRUE(QTest::qWaitFor([f] { return f->Instalovat->tag() == 1; }, 10000));
}

TEST_F(ProgramActionsTest, AMissingSetupFileStillMarksTheProgram) {
    auto* f = start(InstallCatalogue);
    select(f, "Sklad");
    f->Instalovat->Click();
    EXPECT_TRUE(launches.empty());
    EXPECT_EQ(platform::ProfileFile(windowsDir() + "kat.INI").readInteger("Installing-Instalační CD", "Sklad", -1), 1);
}

TEST_F(ProgramActionsTest, RunStartsExactlyTheNamedFileWhateverItsCharacters) {
    const QString run = script(cdFile("muj/my prog; rm -rf $(id).sh"));
    writeFile(cdFile("muj/Návod.TXT"), "text");
    auto* f = start(InstallCatalogue);
    select(f, "Můj program");
    f->Spustit->Click();
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].kind, platform::Launch::Kind::Process);
    EXPECT_EQ(launches[0].program, "/bin/sh");
    EXPECT_EQ(launches[0].arguments, QStringList({run}));
    EXPECT_EQ(launches[0].workDir, cdFile("muj"));
    // The documentation is found whatever the letter case of its name.
    f->Popis->Click();
    ASSERT_EQ(launches.size(), 2u);
    EXPECT_EQ(launches[1].program, cdFile("muj/Návod.TXT"));
}

TEST_F(ProgramActionsTest, OnlyWebAddressesAreOpenedAsHomePages) {
    auto* f = start();
    for (const char* address : {"file:///etc/passwd", "/etc/passwd", "javascript:alert(1)", "x.desktop"}) {
        katalog::shell().AuthorHomePage = address;
        messages.clear();
        f->InternetClick();
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].second, QString("Nepodařilo se otevřít „%1“.").arg(address));
    }
    EXPECT_TRUE(launches.empty());
    katalog::shell().AuthorHomePage = "https://sachy.example.com/";
    f->InternetClick();
    ASSERT_EQ(launches.size(), 1u);
    EXPECT_EQ(launches[0].kind, platform::Launch::Kind::Url);
}

const char* WindowsCatalogue = R"([Title]
Name=Windows CD
[sections]
Hry=
[Hry]
Hra=
Skript=
[Hra]
run=hra.exe
setup=setup.exe
doc=navod.hlp
source=hra\
AppName=hra.exe
UnInstallReg=Hra
[Skript]
run=spust.sh
doc=navod.desktop
source=skript
)";

TEST_F(ProgramActionsTest, StartsThatNeedWineOrFailSayItOnceInTheProgramsLanguage) {
    testing_support::FakeWine wine(testing_support::FakeWine::Wine::Missing);
    for (const char* file : {"hra/HRA.EXE", "hra/setup.exe", "hra/navod.hlp"})
        writeFile(cdFile(file), "MZ");
    writeFile(cdFile("skript/spust.sh"), "echo no interpreter line\n");
    writeFile(cdFile("skript/navod.desktop"), "[Desktop Entry]\nExec=sh -c id\n");
    writeFile(wine.driveC("Hra/hra.exe"), "MZ");
    writeFile(windowsDir() + "registry.reg",
              "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\hra.exe]\r\n"
              "@=\"C:\\\\Hra\\\\hra.exe\"\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Hra]\r\n"
              "\"UninstallString\"=\"C:\\\\Hra\\\\hra.exe /uninstall\"\r\n");
    auto* f = start(WindowsCatalogue);
    struct Language { bool slovak; QString needsWine, cannotRun, cannotOpen; };
    const Language languages[] = {
        {false, "Ke spuštění programů pro Windows je potřeba Wine (balíček wine).",
         "Nepodařilo se spustit „spust.sh“.", "Nepodařilo se spustit „navod.desktop“."},
        {true, "Na spustenie programov pre Windows je potrebné Wine (balík wine).",
         "Nepodarilo sa spustiť „spust.sh“.", "Nepodarilo sa spustiť „navod.desktop“."},
    };
    for (const Language& l : languages) {
        SCOPED_TRACE(l.slovak ? "Slovak" : "Czech");
        katalog::shell().SlovakLang = l.slovak;
        auto clicked = [&](katalog::TEzRgnBtn* button, const QString& text) {
            messages.clear();
            button->Click();
            ASSERT_EQ(messages.size(), 1u) << button->objectName().toStdString();
            EXPECT_EQ(messages[0].second, text);
        };
        // Run, install, the WinHelp documentation, then the installed copy and its uninstaller.
        writeFile(windowsDir() + "kat.INI", "");
        select(f, "Hra");
        clicked(f->Spustit, l.needsWine);
        clicked(f->Instalovat, l.needsWine);
        clicked(f->Popis, l.needsWine);
        f->FormActivate();
        ASSERT_EQ(f->Instalovat->tag(), 1);
        clicked(f->Spustit, l.needsWine);
        clicked(f->Instalovat, l.needsWine);
        // The buttons keep their states.
        EXPECT_TRUE(f->Spustit->buttonEnabled());
        EXPECT_TRUE(f->Instalovat->buttonEnabled());
        EXPECT_TRUE(f->Popis->buttonEnabled());
        // A script without its interpreter line, documentation the desktop would run.
        select(f, "Skript");
        clicked(f->Spustit, l.cannotRun);
        clicked(f->Popis, l.cannotOpen);
    }
    EXPECT_TRUE(launches.empty());
    katalog::shell().SlovakLang = false;
}

TEST_F(ProgramActionsTest, TheLogoLeadsToTheAboutPages) {
    auto* f = start();
    f->TovanaLogo->Click();
    EXPECT_EQ(main->CurrentWindow(), static_cast<QWidget*>(main->forms().ONas));
    EXPECT_TRUE(main->forms().DesktopForm->mnuONas->disabled());
}

TEST_F(ProgramyFormTest, AMouseClickOnAProgramShowsIt) {
    auto* f = start();
    const auto clickRow = [f](int row) {
        QListWidget* list = f->SeznamProgramu;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
    };
    ASSERT_EQ(f->programRows(), QStringList({"Cesta", "Cesta", "čtverce", "Malíř", "Šachy", "Zip"}));
    clickRow(4);
    EXPECT_EQ(f->selectedProgram(), "Šachy");
    EXPECT_EQ(f->PopisProgramu->toPlainText(), "Šachový program.\nHraje silně.");
    EXPECT_TRUE(f->Internet->buttonEnabled());
    clickRow(5);
    EXPECT_EQ(f->selectedProgram(), "Zip");
    EXPECT_FALSE(f->Internet->buttonEnabled());
    // A click on the row already shown shows it again: the description comes back.
    f->PopisProgramu->clear();
    clickRow(5);
    EXPECT_EQ(f->PopisProgramu->toPlainText(), "Bez popisu.");
}

// As a Windows list box: the right button only opens the menu, Ctrl cannot empty the
// selection (the view would go on showing a program that nothing selects), and the list's
// hint shows over its rows.
TEST_F(ProgramyFormTest, TheListKeepsItsSelectionAndShowsItsHintOverTheRows) {
    auto* f = start();
    QListWidget* list = f->SeznamProgramu;
    const auto at = [list](int row) { return list->visualItemRect(list->item(row)).center(); };
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at(4));
    ASSERT_EQ(f->selectedProgram(), "Šachy");

    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, at(5));
    EXPECT_EQ(f->selectedProgram(), "Šachy");
    EXPECT_EQ(list->currentRow(), 4);

    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, at(4));
    EXPECT_EQ(f->selectedProgram(), "Šachy");
    EXPECT_TRUE(list->item(4)->isSelected());
    QTest::keyClick(list, Qt::Key_Space, Qt::ControlModifier);
    EXPECT_TRUE(list->item(4)->isSelected());
    EXPECT_TRUE(f->Spustit->buttonEnabled() || f->Kopirovat->buttonEnabled());

    QHelpEvent help(QEvent::ToolTip, at(2), list->viewport()->mapToGlobal(at(2)));
    QCoreApplication::sendEvent(list->viewport(), &help);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text(), "Šachy");
    QToolTip::hideText();
}

TEST_F(ProgramActionsTest, ARegistryErrorIsReportedAndTheViewStillShowsTheNewProgram) {
    writeFile(cdFile("muj/Návod.TXT"), "text");
    auto* f = start(InstallCatalogue);
    writeFile(windowsDir() + "kat.INI", platform::toCp1250(u"[Installing-Instalační CD]\r\nSklad=1\r\n"));
    writeFile(windowsDir() + "registry.reg",
              "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\sklad.sh]\r\n"
              "@=dword:00000001\r\n");
    select(f, "Můj program");
    EXPECT_TRUE(f->Popis->buttonEnabled());
    messages.clear();
    select(f, "Sklad");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].first, platform::MessageKind::ErrorReport);
    EXPECT_FALSE(f->Popis->buttonEnabled());
    EXPECT_FALSE(f->Spustit->buttonEnabled());
    EXPECT_EQ(f->Instalovat->tag(), 0);
}

TEST_F(ProgramyFormTest, AnErrorDuringASearchLeavesNoHourglass) {
    auto* f = start();
    // Something fails while the hits are listed.
    bool thrown = false;
    QObject::connect(f->SeznamProgramu->model(), &QAbstractItemModel::rowsInserted, f, [&thrown] {
        if (!std::exchange(thrown, true))
            throw platform::KatalogError("selhání");
    });
    f->Edit1->setText("Cesta");
    EXPECT_THROW(f->FiltrClick(), platform::KatalogError);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(search(f, "Cesta").size(), 2);
}

TEST_F(ProgramActionsTest, EnterInTheListDoesTheFirstActionOnOffer) {
    script(cdFile("cesta/cesta.sh"));
    script(cdFile("cesta/install.sh"));
    script(cdFile("hry/ctverce/setup.sh"));
    auto* f = start();
    QWidget* window = f->window();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    f->SeznamProgramu->setFocus();
    const struct {
        const char* program;
        const char* started;  // nothing when empty
    } cases[] = {
        {"Cesta", "cesta/cesta.sh"},         // run and setup: run
        {"čtverce", "hry/ctverce/setup.sh"},  // setup only: install
        {"Zip", ""},                          // neither
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.program);
        select(f, QString::fromUtf8(c.program));
        launches.clear();
        QTest::keyClick(f->SeznamProgramu, Qt::Key_Return);
        if (*c.started) {
            ASSERT_EQ(launches.size(), 1u);
            EXPECT_TRUE(launches[0].arguments.contains(cdFile(c.started)) || launches[0].program == cdFile(c.started))
                << launches[0].program.toStdString();
        } else {
            EXPECT_TRUE(launches.empty());
        }
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(ProgramyFormTest, TheListsMenuOpensFromTheKeyboardBelowTheCurrentRow) {
    auto* f = start();
    QWidget* window = f->window();
    select(f, "Cesta");
    for (const QKeyCombination key : {QKeyCombination(Qt::Key_Menu), QKeyCombination(Qt::ShiftModifier, Qt::Key_F10)}) {
        // The offscreen platform leaves the closed menu the active window.
        QApplication::setActiveWindow(window);
        f->SeznamProgramu->setFocus();
        QWidget* opened = nullptr;
        QPoint at;
        QObject waiting;
        QTimer::singleShot(0, &waiting, [&] {
            opened = QApplication::activePopupWidget();
            if (opened) {
                at = opened->pos();
                opened->close();
            }
        });
        SCOPED_TRACE(key.key());
        QTest::keyClick(f->SeznamProgramu, key.key(), key.keyboardModifiers());
        EXPECT_EQ(opened, f->PopupMenu1);
        const QRect row = f->SeznamProgramu->visualItemRect(f->SeznamProgramu->currentItem());
        EXPECT_EQ(at, f->SeznamProgramu->viewport()->mapToGlobal(row.bottomLeft()));
    }
}

TEST_F(ProgramyFormTest, SpaceShowsTheOneRowASearchLeft) {
    auto* f = start();
    QWidget* window = f->window();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    ASSERT_EQ(search(f, "silně"), QStringList{"Šachy"});
    EXPECT_TRUE(f->PopisProgramu->toPlainText().isEmpty());
    // The offscreen platform leaves the closed result window the active one.
    QApplication::setActiveWindow(window);
    f->SeznamProgramu->setFocus();
    QTest::keyClick(f->SeznamProgramu, Qt::Key_Space);
    EXPECT_TRUE(f->PopisProgramu->toPlainText().contains("Hraje silně.")) << f->PopisProgramu->toPlainText().toStdString();
    EXPECT_TRUE(f->Spustit->buttonEnabled());
}

TEST_F(ProgramyFormTest, TheListAndTheDescriptionAreReadByAssistiveTechnology) {
    auto* f = start();
    select(f, "Šachy");
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(f->SeznamProgramu);
    ASSERT_TRUE(list);
    EXPECT_EQ(list->role(), QAccessible::List);
    EXPECT_EQ(list->text(QAccessible::Name), "Programy");
    const QStringList rows = f->programRows();
    ASSERT_EQ(list->childCount(), rows.size());
    for (int i = 0; i < rows.size(); ++i)
        EXPECT_EQ(list->child(i)->text(QAccessible::Name), rows[i]);

    QAccessibleInterface* text = QAccessible::queryAccessibleInterface(f->PopisProgramu);
    ASSERT_TRUE(text);
    EXPECT_EQ(text->text(QAccessible::Name), "Popis programu");
    ASSERT_TRUE(text->textInterface());
    const QString read = text->textInterface()->text(0, text->textInterface()->characterCount());
    EXPECT_TRUE(read.contains("Šachový program.")) << read.toStdString();
    EXPECT_EQ(read, f->PopisProgramu->toPlainText());
}

// A scratched or half-copied CD: every file the program reads, in turn empty, cut short or
// garbage, and a CD taken out while the program runs. The whole program starts on it and every
// window is walked through; what breaks is reported or skipped, nothing crashes or hangs.
#include "about/ONasUnit1.h"
#include "app/ErrorDialogUnit1.h"
#include "app/IntroFormUnit1.h"
#include "app/Layouts.h"
#include "app/MainFormUnit1.h"
#include "app/Shell.h"
#include "app/SkinSizes.h"
#include "catalogue/ProgramyFormUnit1.h"
#include "catalogue/VysledkyHledaniUnit1.h"
#include "copy/KopirovaniFormUnit1.h"
#include "menu/DesktopUnit1.h"
#include "orders/DalsiNaseCDUnit1.h"
#include "platform/Codec.h"
#include "platform/Paths.h"
#include "platform/ShellOpen.h"
#include "settings/NastaveniUnit1.h"
#include "tests/support/TestCatalogue.h"
#include "tests/support/TestCd.h"
#include "tools/democd/CdWriter.h"
#include "viewer/PicFormUnit1.h"
#include "widgets/EzRgnBtn.h"
#include "widgets/PictureBox.h"

#include <QDir>
#include <QTemporaryDir>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>

#include <algorithm>
#include <cctype>
#include <functional>

using platform::MessageKind;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

const char* const Catalogue = R"([Title]
Name=Poškozené CD
[sections]
Hry=
[Hry]
Pexeso=
Šachy=
[Pexeso]
run=pexeso.sh
doc=navod.txt
source=hry\pexeso
Seek={pexeso}
obr=obr.bmp
PocetObr=2
obr1=obr.bmp
obr2=shot.jpg
[Šachy]
source=hry\sachy
Seek={sachy}
obr=sachy.jpg
)";

const char* const Titles = R"([section]
Atlas=
Hry=
[Atlas]
obr=Obaly\atlas.bmp
file=atlas.rtf
filev=atlasv.rtf
cena=349
Pozadavky=1
[Hry]
obr=Obaly\hry.jpg
file=hry.rtf
cena=299
)";

const QString ContainerDamaged = QStringLiteral("Datový soubor byl narušen, aplikace bude ukončena!");
const QString SkinDamaged = QStringLiteral("Chyba při načítání grafiky, aplikace bude ukončena.");

QImage solid(QColor c, int w = 40, int h = 30) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

QByteArray rtf(const char* text) { return QByteArray("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\b ") + text + "\\b0\\par}"; }

// The CD tree and the settings folder of one test.
struct Tree {
    QString cd;
    QString windows;
    // Files of the skin are links shared by every test: replaced, never written into.
    void replace(const char* rel, const QByteArray& bytes) const {
        const QString path = cd + QLatin1Char('/') + QString::fromUtf8(rel);
        QFile::remove(path);
        writeFile(path, bytes);
    }
    // rel becomes a link to a good copy of itself outside the CD, which must not be read.
    void leave(const char* rel) const {
        const QString path = cd + QLatin1Char('/') + QString::fromUtf8(rel);
        const QString outside = windows + QString::fromUtf8(rel).replace(QLatin1Char('/'), QLatin1Char('_'));
        QDir().mkpath(windows);
        writeFile(outside, readFile(path));
        QFile::remove(path);
        ASSERT_TRUE(QFile::link(outside, path));
    }
    void cut(const char* rel) const {
        const QByteArray whole = readFile(cd + QLatin1Char('/') + QString::fromUtf8(rel));
        ASSERT_GT(whole.size(), 1) << rel;
        replace(rel, whole.left(whole.size() / 2));
    }
};

struct Expected {
    MessageKind kind;
    QString text;  // empty: any text
};
const Expected Report{MessageKind::ErrorReport, QString()};

struct Damage {
    const char* name;
    std::function<void(const Tree&)> damage;
    std::vector<Expected> messages;
    bool ends;  // the program asks to end after its message
};
void PrintTo(const Damage& d, std::ostream* os) { *os << d.name; }

}  // namespace

class DamagedCdTest : public testing_support::TestCd {
protected:
    void SetUp() override {
        TestCd::SetUp();
        platform::setLaunchHook([this](const platform::Launch& l) { launches.push_back(l); });
        installSkins();
        testing_support::writeCatalogue(cdRoot(), QString::fromUtf8(Catalogue),
                                        {{"pexeso", "Hledání dvojic."}, {"sachy", "Šachy."}});
        writeFile(cdFile("hry/pexeso/pexeso.sh"), "#!/bin/sh\nexit 0\n");
        writeFile(cdFile("hry/pexeso/navod.txt"), "Návod.");
        ASSERT_TRUE(democd::saveBmp(solid(Qt::red), cdFile("hry/pexeso/obr.bmp")));
        QDir().mkpath(cdFile("hry/sachy"));
        QDir().mkpath(cdFile("SYSTEM/Obaly"));
        ASSERT_TRUE(solid(Qt::blue).save(cdFile("hry/pexeso/shot.jpg"), "JPG"));
        ASSERT_TRUE(solid(Qt::green).save(cdFile("hry/sachy/sachy.jpg"), "JPG"));
        QString titles = QString::fromUtf8(Titles);
        titles.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        writeFile(cdFile("SYSTEM/dalsicd.INI"), platform::toCp1250(titles));
        ASSERT_TRUE(democd::saveBmp(solid(Qt::darkBlue, 120, 170), cdFile("SYSTEM/Obaly/atlas.bmp")));
        ASSERT_TRUE(solid(Qt::darkRed, 120, 170).save(cdFile("SYSTEM/Obaly/hry.jpg"), "JPG"));
        writeFile(cdFile("SYSTEM/Cz/atlas.rtf"), rtf("Atlas"));
        writeFile(cdFile("SYSTEM/Cz/atlasv.rtf"), rtf("Atlas podrobně"));
        writeFile(cdFile("SYSTEM/Cz/hry.rtf"), rtf("Hry"));
        for (const char* page : {"oprog.rtf", "autor.rtf", "volsirsw.rtf", "zaruka.rtf"})
            writeFile(cdFile(QStringLiteral("SYSTEM/ONas/Cz/") + QString::fromLatin1(page)), rtf(page));
    }
    void TearDown() override {
        main.reset();
        katalog::TKopirovaniForm::setDrivesForTests(nullptr);
        TestCd::TearDown();
    }

    void start() {
        main = std::make_unique<katalog::TMain>(new katalog::TIntroForm, cdRoot());
        main->FormCreate();
        main->CreateSearchResultForm();
        // The start-up song begins once the main menu window has painted, however long that
        // takes on a busy machine; some damage leaves no song and nothing to say of it.
        static_cast<void>(QTest::qWaitFor(
            [this] {
                return main->terminationRequested() || !messages.empty() ||
                       !main->MediaPlayer2().fileName().isEmpty();
            },
            5000));
    }

    // Every program with its documentation, run file and pictures; every title in both
    // detail modes; every about page; the settings saved.
    void walk() {
        katalog::Forms& f = main->forms();
        auto* programs = f.ProgramyForm;
        for (int row = 0; row < programs->SeznamProgramu->count(); ++row) {
            programs->SeznamProgramu->setCurrentRow(row);
            programs->Popis->Click();
            programs->Spustit->Click();
            if (!katalog::shell().ViewerPictures.isEmpty()) {
                f.PicForm->show();
                for (int i = 0; i < 10 && f.PicForm->isVisible(); ++i)
                    f.PicForm->DesktopClick();
                EXPECT_FALSE(f.PicForm->isVisible());
            }
        }
        auto* titles = f.DalsiNaseCDForm;
        main->ZobrazOkno(titles, f.DesktopForm->mnuDalsiTituly);
        for (int row = 0; row < titles->SeznamTitulu->count(); ++row) {
            titles->SeznamTitulu->setCurrentRow(row);
            titles->UpdateAll();
            titles->ViceInfoClick();
            titles->ViceInfoClick();
        }
        auto* about = f.ONas;
        main->ZobrazOkno(about, f.DesktopForm->mnuONas);
        about->AutorClick();
        about->VolneSiritSoftClick();
        about->ZarukaClick();
        about->OProgClick();
        main->ZobrazOkno(f.NastaveniForm, f.DesktopForm->mnuNastaveni);
        f.NastaveniForm->OKClick();
        main->ZobrazOkno(programs, f.DesktopForm->mnuProgramy);
    }

    std::unique_ptr<katalog::TMain> main;
    std::vector<platform::Launch> launches;
};

TEST_F(DamagedCdTest, AnUndamagedCdWalksWithoutAWord) {
    start();
    walk();
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(main->terminationRequested());
    EXPECT_EQ(main->forms().DalsiNaseCDForm->SeznamTitulu->count(), 2);
    EXPECT_EQ(launches.size(), 2u);
}

class DamagedFileTest : public DamagedCdTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedFileTest, IsReportedOrSkippedAndTheProgramGoesOnOrEndsCleanly) {
    const Damage& d = GetParam();
    d.damage(Tree{cdRoot(), windowsDir()});
    start();
    if (!main->terminationRequested())
        walk();
    EXPECT_EQ(main->terminationRequested(), d.ends);
    // A song is opened off the user-interface thread; its report comes as a notice, later on a
    // busy machine.
    for (int i = 0; i < 200 && messages.size() < d.messages.size(); ++i)
        QTest::qWait(25);
    ASSERT_EQ(messages.size(), d.messages.size());
    for (size_t i = 0; i < messages.size(); ++i) {
        EXPECT_EQ(messages[i].first, d.messages[i].kind);
        if (!d.messages[i].text.isEmpty())
            EXPECT_EQ(messages[i].second, d.messages[i].text);
        else
            EXPECT_FALSE(messages[i].second.isEmpty());
    }
    // Whatever was started lies on the CD.
    for (const platform::Launch& l : launches)
        EXPECT_TRUE((l.kind == platform::Launch::Kind::Process ? l.arguments.value(0) : l.program)
                        .startsWith(cdRoot() + "/"));
}

INSTANTIATE_TEST_SUITE_P(
    EveryFile, DamagedFileTest,
    ::testing::Values(
        Damage{"ContainerEmpty", [](const Tree& t) { t.replace("SYSTEM/MAP.PIC", ""); },
               {{MessageKind::Plain, ContainerDamaged}}, true},
        // What decodes of a cut block is shown.
        Damage{"ContainerCutInHalf", [](const Tree& t) { t.cut("SYSTEM/MAP.PIC"); }, {}, false},
        Damage{"ContainerGarbage", [](const Tree& t) { t.replace("SYSTEM/MAP.PIC", QByteArray(5000, '\xa5')); },
               {{MessageKind::Plain, ContainerDamaged}}, true},
        // Without its key the catalogue decodes to nothing readable.
        Damage{"KeyFileEmpty", [](const Tree& t) { t.replace("CTIMNE.TXT", ""); },
               {{MessageKind::Plain, ContainerDamaged}}, true},
        Damage{"KeyFileMissing", [](const Tree& t) { QFile::remove(t.cd + "/CTIMNE.TXT"); },
               {{MessageKind::Plain, ContainerDamaged}}, true},
        Damage{"OtherTitlesEmpty", [](const Tree& t) { t.replace("SYSTEM/dalsicd.INI", ""); }, {}, false},
        Damage{"OtherTitlesCutInALine", [](const Tree& t) { t.cut("SYSTEM/dalsicd.INI"); }, {}, false},
        Damage{"OtherTitlesGarbage",
               [](const Tree& t) { t.replace("SYSTEM/dalsicd.INI", QByteArray(3000, '\0') + "[\xff\xfe]=\r\n=["); },
               {}, false},
        Damage{"CoversCutShort",
               [](const Tree& t) {
                   t.cut("SYSTEM/Obaly/atlas.bmp");
                   t.cut("SYSTEM/Obaly/hry.jpg");
               },
               {}, false},
        Damage{"RichTextPagesEmpty",
               [](const Tree& t) {
                   for (const char* p : {"SYSTEM/ONas/Cz/oprog.rtf", "SYSTEM/ONas/Cz/autor.rtf", "SYSTEM/Cz/atlas.rtf",
                                         "SYSTEM/Cz/atlasv.rtf"})
                       t.replace(p, "");
               },
               {}, false},
        Damage{"RichTextPagesCutShort",
               [](const Tree& t) {
                   for (const char* p : {"SYSTEM/ONas/Cz/oprog.rtf", "SYSTEM/ONas/Cz/zaruka.rtf", "SYSTEM/Cz/hry.rtf",
                                         "SYSTEM/Cz/atlasv.rtf"})
                       t.cut(p);
               },
               {}, false},
        Damage{"RichTextPagesGarbage",
               [](const Tree& t) {
                   t.replace("SYSTEM/ONas/Cz/autor.rtf", QByteArray(20000, '{'));
                   t.replace("SYSTEM/Cz/atlas.rtf", "{\\rtf1\\bin99999999 \\'zz\\u-99999999?\\fonttbl{{{{");
               },
               {}, false},
        // The preview leaves a damaged picture out quietly; the viewer reports each.
        Damage{"ProgramPicturesCutShort",
               [](const Tree& t) {
                   t.cut("hry/pexeso/obr.bmp");
                   t.cut("hry/pexeso/shot.jpg");
                   t.replace("hry/sachy/sachy.jpg", "");
               },
               {Report, Report}, false},
        Damage{"IntroPictureEmpty", [](const Tree& t) { t.replace("SYSTEM/intro.BMP", ""); }, {Report, Report}, false},
        Damage{"IntroPictureLeavesTheCd", [](const Tree& t) { t.leave("SYSTEM/intro.BMP"); }, {Report, Report}, false},
        Damage{"SkinPictureLeavesTheCd", [](const Tree& t) { t.leave("SYSTEM/Cz/1024x768/menu/program1.bmp"); },
               {{MessageKind::Plain, SkinDamaged}}, true},
        Damage{"SongLeavesTheCd", [](const Tree& t) { t.leave("SYSTEM/Melody1.MID"); }, {Report}, false},
        Damage{"OtherTitlesLeaveTheCd", [](const Tree& t) { t.leave("SYSTEM/dalsicd.INI"); }, {}, false},
        Damage{"SkinPictureCutShort", [](const Tree& t) { t.cut("SYSTEM/Cz/1024x768/menu/program1.bmp"); },
               {{MessageKind::Plain, SkinDamaged}}, true},
        Damage{"ClickSoundEmpty", [](const Tree& t) { t.replace("SYSTEM/1xclick.WAV", ""); }, {Report}, false},
        Damage{"ClickSoundGarbage",
               [](const Tree& t) { t.replace("SYSTEM/1xclick.WAV", "RIFF\xff\xff\xff\xffWAVEfmt \xff\xff\xff\xff"); },
               {Report}, false},
        Damage{"SongCutShort", [](const Tree& t) { t.cut("SYSTEM/Melody1.MID"); }, {Report}, false},
        Damage{"SettingsFileGarbage",
               [](const Tree& t) { writeFile(t.windows + "kat.INI", QByteArray(4000, '\x9c') + "\r\n[\r\n=\r\n"); },
               {}, false}),
    [](const ::testing::TestParamInfo<Damage>& info) { return std::string(info.param.name); });

namespace katalog::skin {
void PrintTo(const Picture& p, std::ostream* os) { *os << fileOf(p); }
}  // namespace katalog::skin

class MissingPictureTest : public DamagedCdTest, public ::testing::WithParamInterface<katalog::skin::Picture> {};

// However a single picture fails, every window and button that exists stands where the layout
// tables put it, and the picture is reported once. The other-titles window ends the program
// over any of its pictures, the shared background included.
TEST_P(MissingPictureTest, IsReportedOnceAndNothingMovesFromItsPlace) {
    namespace skin = katalog::skin;
    const skin::Picture picture = GetParam();
    const QString skinDir = cdRoot() + "/SYSTEM/Cz/1024x768";
    const auto file = platform::resolvePath(skinDir, QString::fromStdString(skin::fileOf(picture)));
    ASSERT_TRUE(file && QFile::remove(*file));
    start();
    if (!main->terminationRequested())
        walk();
    const bool shared = picture.folder.empty();
    const bool ofTitles = shared || picture.folder == "dalsicd";
    EXPECT_EQ(main->terminationRequested(), ofTitles);
    std::vector<std::pair<MessageKind, QString>> expected;
    if (!ofTitles || shared)
        expected.push_back({MessageKind::ErrorReport, {}});
    if (ofTitles)
        expected.push_back({MessageKind::Plain, SkinDamaged});
    ASSERT_EQ(messages.size(), expected.size());
    for (size_t i = 0; i < messages.size(); ++i) {
        EXPECT_EQ(messages[i].first, expected[i].first);
        if (!expected[i].second.isEmpty()) {
            EXPECT_EQ(messages[i].second, expected[i].second);
        }
    }

    katalog::Forms& f = main->forms();
    ASSERT_TRUE(katalog::shell().HighRes);
    const auto& g = katalog::layout::MenuLarge;
    ASSERT_TRUE(f.DesktopForm);
    EXPECT_EQ(f.DesktopForm->size(), QSize(g.width, g.height));
    for (const katalog::layout::Row& row : katalog::layout::Menu) {
        const auto* button = f.DesktopForm->findChild<QWidget*>(QString::fromLatin1(row.control));
        ASSERT_TRUE(button);
        EXPECT_EQ(button->pos(), QPoint(row.large.left, row.large.top)) << row.control;
        EXPECT_TRUE(f.DesktopForm->mask().contains(button->geometry().center())) << row.control;
    }
    const QRect content(g.contentDx, g.contentDy, g.contentWidth, g.contentHeight);
    for (QWidget* window : std::initializer_list<QWidget*>{f.ONas, f.DalsiNaseCDForm, f.ProgramyForm, f.NastaveniForm}) {
        if (window) {
            EXPECT_EQ(window->geometry(), content) << window->objectName().toStdString();
        }
    }
    // The dialogs take their background's size, which the layout gives when it is missing.
    const std::pair<QWidget*, skin::Picture> dialogs[] = {{f.ErrorDialog, skin::ErrorPlocha},
                                                          {f.KopirovaniForm, skin::KopirPlocha},
                                                          {f.VysledkyHledaniForm, skin::HledaniPlocha}};
    for (const auto& [dialog, background] : dialogs) {
        if (!dialog)
            continue;
        const auto size = skin::sizeOf(background, true);
        EXPECT_EQ(dialog->size(), QSize(size->width, size->height)) << dialog->objectName().toStdString();
    }
    if (f.ProgramyForm) {
        EXPECT_EQ(f.ProgramyForm->bmpLupa->pos(), QPoint(6, 492));
        EXPECT_EQ(f.ProgramyForm->Spustit->pos(), QPoint(316, 437));
    }
}

INSTANTIATE_TEST_SUITE_P(EverySinglePicture, MissingPictureTest, ::testing::ValuesIn(katalog::skin::AllPictures),
                         [](const ::testing::TestParamInfo<katalog::skin::Picture>& info) {
                             std::string name = std::string(info.param.folder) + "_" + std::string(info.param.file);
                             std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(uchar(c)); }, '_');
                             return name;
                         });

TEST_F(DamagedCdTest, ACdTakenOutWhileTheProgramRunsFailsQuietlyOrWithAMessage) {
    writeFile(windowsDir() + "kat.INI", "[Music]\r\nMusic=Off\r\n");
    QTemporaryDir disk;
    katalog::TKopirovaniForm::setDrivesForTests([&] { return QList<platform::Drive>{{disk.path(), "Disk"}}; });
    start();
    katalog::Forms& f = main->forms();
    ASSERT_EQ(f.ProgramyForm->selectedProgram(), "Pexeso");
    ASSERT_EQ(katalog::shell().ViewerPictures.size(), 3);
    f.DalsiNaseCDForm->SeznamTitulu->setCurrentRow(0);
    f.DalsiNaseCDForm->UpdateAll();
    const QString away = cdRoot() + "-venku";
    ASSERT_TRUE(QDir().rename(cdRoot(), away));

    // The viewer reports each picture it cannot read and closes after the last.
    f.PicForm->show();
    for (int i = 0; i < 10 && f.PicForm->isVisible(); ++i)
        f.PicForm->DesktopClick();
    EXPECT_FALSE(f.PicForm->isVisible());
    EXPECT_EQ(messages.size(), 3u);

    // Another program, its documentation and run file, another title, the about pages, the
    // settings: quietly without what is gone.
    f.ProgramyForm->SeznamProgramu->setCurrentRow(1);
    EXPECT_EQ(f.ProgramyForm->selectedProgram(), "Šachy");
    EXPECT_FALSE(f.ProgramyForm->Nahled->isEnabled());
    EXPECT_EQ(f.ProgramyForm->PopisProgramu->toPlainText(), "Šachy.");
    f.ProgramyForm->SeznamProgramu->setCurrentRow(0);
    f.ProgramyForm->Popis->Click();
    f.ProgramyForm->Spustit->Click();
    EXPECT_TRUE(launches.empty());
    f.DalsiNaseCDForm->SeznamTitulu->setCurrentRow(1);
    f.DalsiNaseCDForm->UpdateAll();
    f.DalsiNaseCDForm->ViceInfoClick();
    const QString aboutText = f.ONas->TextClanku->toPlainText();
    f.ONas->ZarukaClick();
    EXPECT_EQ(f.ONas->TextClanku->toPlainText(), aboutText);
    f.NastaveniForm->OKClick();
    EXPECT_EQ(messages.size(), 3u);

    // The copy says the folder is missing; a song cannot be opened.
    katalog::shell().CopySource = "hry\\pexeso";
    f.KopirovaniForm->show();
    f.KopirovaniForm->KopirujClick();
    EXPECT_TRUE(QDir(disk.path()).isEmpty());
    platform::guarded([&] { main->PlayMusic(2); });

    ASSERT_EQ(messages.size(), 5u);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(messages[i].first, MessageKind::ErrorReport);
    EXPECT_EQ(messages[3], std::make_pair(MessageKind::Plain, QStringLiteral("Složka programu „hry\\pexeso“ na CD chybí.")));
    EXPECT_EQ(messages[4].first, MessageKind::ErrorReport);
    EXPECT_TRUE(messages[4].second.contains("Melody2.MID"));
    EXPECT_FALSE(main->terminationRequested());
    ASSERT_TRUE(QDir().rename(away, cdRoot()));
}

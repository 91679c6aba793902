// A catalogue made by someone hostile: every value that names a file or an address tries to
// reach outside the CD, to run something the user did not choose, or to exhaust the program.
// The whole program runs on it; the launch hook records what would start.
#include "app/MainFormUnit1.h"
#include "app/Shell.h"
#include "catalogue/ProgramyFormUnit1.h"
#include "platform/Codec.h"
#include "platform/ProfileFile.h"
#include "platform/ShellOpen.h"
#include "tests/support/TestCatalogue.h"
#include "tests/support/TestCd.h"
#include "tools/democd/CdWriter.h"
#include "viewer/PicFormUnit1.h"
#include "widgets/EzRgnBtn.h"
#include "widgets/PictureBox.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTimer>

using testing_support::writeFile;

namespace {

const QByteArray Script = "#!/bin/sh\nexit 0\n";
const QByteArray DesktopEntry = "[Desktop Entry]\nType=Application\nName=Hra\nExec=sh -c 'touch pwned'\n";
// A program name of three thousand characters.
const QString LongName = QString(3000, QLatin1Char('N'));
const QString ShellDoc = QStringLiteral("návod $(touch pwned) `id`; rm -rf ~.txt");

QImage solid(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::darkGreen);
    return img;
}

// A JPEG whose header promises 30000 x 30000 pixels.
QByteArray giantJpeg() {
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    QImageWriter(&buf, "jpeg").write(solid(16, 16));
    for (qsizetype i = 0; i + 9 < bytes.size(); ++i) {
        if (uchar(bytes[i]) == 0xFF && uchar(bytes[i + 1]) == 0xC0) {
            bytes[i + 5] = char(30000 >> 8);
            bytes[i + 6] = char(30000 & 0xFF);
            bytes[i + 7] = char(30000 >> 8);
            bytes[i + 8] = char(30000 & 0xFF);
            return bytes;
        }
    }
    ADD_FAILURE() << "no frame header";
    return bytes;
}

// A bitmap header that promises 30000 x 30000 pixels of 24 bits and holds a few bytes.
QByteArray giantBmp() {
    QByteArray b("BM");
    auto le = [&b](quint32 v, int n) {
        for (int i = 0; i < n; ++i)
            b.append(char(v >> (8 * i)));
    };
    le(54 + 64, 4);
    le(0, 4);
    le(54, 4);
    le(40, 4);
    le(30000, 4);
    le(30000, 4);
    le(1, 2);
    le(24, 2);
    le(0, 4);
    le(0, 4);
    le(2835, 4);
    le(2835, 4);
    le(0, 4);
    le(0, 4);
    return b + QByteArray(64, '\x7f');
}

}  // namespace

class HostileCatalogueTest : public testing_support::TestCd {
protected:
    void SetUp() override {
        TestCd::SetUp();
        platform::setLaunchHook([this](const platform::Launch& l) { launches.push_back(l); });
        installSkins();

        // Things outside the CD that the catalogue names.
        outside = configHome() + QStringLiteral("/venku");
        writeFile(outside + "/venku.sh", Script);
        writeFile(outside + "/venku.txt", "text");
        ASSERT_TRUE(democd::saveBmp(solid(20, 10), outside + "/venku.bmp"));
        ASSERT_TRUE(QFile::link(outside, cdFile("odkaz")));

        writeFile(cdFile("hra/hra.sh"), Script);
        writeFile(cdFile("hra/spust.desktop"), DesktopEntry);
        writeFile(cdFile("hra/instaluj.desktop"), DesktopEntry);
        writeFile(cdFile("hra/navod.desktop"), DesktopEntry);
        writeFile(cdFile("hra/navod.sh"), Script);
        writeFile(cdFile("hra/") + ShellDoc, "text");
        for (const char* name : {"hra.bmp", "a.bmp", "b.bmp", "c.bmp", "x.bmp", "obr ';|&$(id).bmp"})
            ASSERT_TRUE(democd::saveBmp(solid(30, 20), cdFile("hra/") + QString::fromUtf8(name)));
        writeFile(cdFile("hra/obri.jpg"), giantJpeg());
        writeFile(cdFile("hra/obri.bmp"), giantBmp());
    }

    katalog::TProgramyForm* start() {
        const QString up = QStringLiteral("..\\..\\") + QFileInfo(configHome()).fileName() + QStringLiteral("\\venku\\");
        QString text = QStringLiteral(R"([Title]
Name=Zlé CD
[sections]
Zlé=
[Zlé]
Ven z CD=
Absolutní cesty=
Odkaz ven=
Dlouhá jména=
%LONGNAME%=
Plocha a skripty=
Znaky shellu=
Milion obrázků=
Obří obrázky=
[Ven z CD]
source=hra
run=%UP%venku.sh
setup=%UP%venku.sh
doc=%UP%venku.txt
obr=%UP%venku.bmp
PocetObr=2
obr1=%UP%venku.bmp
obr2=..\..\..\..\..\..\..\..\..\etc\passwd
WWW=file:///etc/passwd
[Absolutní cesty]
source=%ABS%
run=venku.sh
setup=venku.sh
doc=venku.txt
obr=venku.bmp
PocetObr=1
obr1=%ABS%/venku.bmp
WWW=%ABS%/venku.txt
[Odkaz ven]
source=odkaz
run=venku.sh
setup=venku.sh
doc=venku.txt
obr=venku.bmp
WWW=javascript:alert(1)
[Dlouhá jména]
source=%A%
run=%B%.sh
setup=%B%.sh
doc=%B%.txt
obr=%B%.bmp
PocetObr=1
obr1=%B%.bmp
WWW=%B%
[%LONGNAME%]
source=hra
run=hra.sh
[Plocha a skripty]
source=hra
run=spust.desktop
setup=instaluj.desktop
doc=navod.sh
WWW=navod.desktop
[Znaky shellu]
source=hra
doc=%SHELLDOC%
obr=obr ';|&$(id).bmp
[Milion obrázků]
source=hra
obr=hra.bmp
PocetObr=2147483647
obr1=a.bmp
obr7=b.bmp
OBR9=c.bmp
obr03=x.bmp
[Obří obrázky]
source=hra
obr=obri.jpg
PocetObr=2
obr1=obri.jpg
obr2=obri.bmp
)");
        text.replace(QStringLiteral("%UP%"), up)
            .replace(QStringLiteral("%ABS%"), outside)
            .replace(QStringLiteral("%A%"), QString(3000, QLatin1Char('a')))
            .replace(QStringLiteral("%B%"), QString(5000, QLatin1Char('b')))
            .replace(QStringLiteral("%LONGNAME%"), LongName)
            .replace(QStringLiteral("%SHELLDOC%"), ShellDoc);
        testing_support::writeCatalogue(cdRoot(), text);
        main = std::make_unique<katalog::TMain>(nullptr, cdRoot());
        main->FormCreate();
        main->CreateSearchResultForm();
        return main->forms().ProgramyForm;
    }

    void select(katalog::TProgramyForm* f, const QString& program) {
        const auto items = f->SeznamProgramu->findItems(program, Qt::MatchExactly);
        ASSERT_FALSE(items.isEmpty()) << program.left(40).toStdString();
        f->SeznamProgramu->setCurrentItem(items[0]);
        ASSERT_EQ(f->selectedProgram(), program);
    }

    bool onCd(const QString& path) const { return path.startsWith(cdRoot() + QLatin1Char('/')); }

    std::unique_ptr<katalog::TMain> main;
    std::vector<platform::Launch> launches;
    QString outside;
};

TEST_F(HostileCatalogueTest, NothingOutsideTheCdIsShownOpenedOrStarted) {
    auto* f = start();
    ASSERT_EQ(f->SeznamProgramu->count(), 9);
    for (int row = 0; row < f->SeznamProgramu->count(); ++row) {
        const QString name = f->SeznamProgramu->item(row)->text();
        SCOPED_TRACE(name.left(40).toStdString());
        select(f, name);
        for (const QString& picture : katalog::shell().ViewerPictures)
            EXPECT_TRUE(onCd(picture)) << picture.toStdString();
        for (katalog::TEzRgnBtn* b : {f->Spustit, f->Instalovat, f->Popis, f->Internet})
            b->Click();
    }
    // Of all the buttons pressed, two start anything: a program's own run file and a
    // documentation file with shell characters in its name, each as exactly that file.
    ASSERT_EQ(launches.size(), 2u);
    EXPECT_EQ(launches[0].kind, platform::Launch::Kind::Process);
    EXPECT_EQ(launches[0].program, "/bin/sh");
    EXPECT_EQ(launches[0].arguments, QStringList({cdFile("hra/hra.sh")}));
    EXPECT_EQ(launches[1].kind, platform::Launch::Kind::Document);
    EXPECT_EQ(launches[1].program, cdFile("hra/") + ShellDoc);
    // What was refused is said, each in one short line.
    ASSERT_EQ(messages.size(), 8u);
    for (const auto& m : messages) {
        EXPECT_TRUE(m.second.startsWith("Nepodařilo se ")) << m.second.toStdString();
        EXPECT_LE(m.second.size(), 110);
    }
    EXPECT_FALSE(QFileInfo::exists(cdFile("hra/pwned")));
    EXPECT_FALSE(QFileInfo::exists(QDir::current().filePath("pwned")));
}

TEST_F(HostileCatalogueTest, PicturesOutsideTheCdAreNeitherPreviewedNorListed) {
    auto* f = start();
    for (const char* program : {"Ven z CD", "Absolutní cesty", "Odkaz ven", "Dlouhá jména"}) {
        SCOPED_TRACE(program);
        select(f, QString::fromUtf8(program));
        EXPECT_FALSE(f->Nahled->isEnabled());
        EXPECT_TRUE(katalog::shell().ViewerPictures.isEmpty());
    }
    // Shell characters in a picture's name are just characters.
    select(f, "Znaky shellu");
    EXPECT_TRUE(f->Nahled->isEnabled());
    EXPECT_EQ(katalog::shell().ViewerPictures, QStringList({cdFile("hra/obr ';|&$(id).bmp")}));
}

TEST_F(HostileCatalogueTest, ACountOfMillionsOfPicturesLooksOnlyAtTheKeysThereAre) {
    auto* f = start();
    select(f, "Milion obrázků");
    // obr03 is not obr3: only the numbers as the count spells them.
    EXPECT_EQ(katalog::shell().ViewerPictures,
              QStringList({cdFile("hra/hra.bmp"), cdFile("hra/a.bmp"), cdFile("hra/b.bmp"), cdFile("hra/c.bmp")}));
}

TEST_F(HostileCatalogueTest, GiantPicturesAreRefusedBeforeTheirMemoryIsTaken) {
    auto* f = start();
    select(f, "Obří obrázky");
    EXPECT_FALSE(f->Nahled->isEnabled());
    EXPECT_TRUE(messages.empty());
    ASSERT_EQ(katalog::shell().ViewerPictures, QStringList({cdFile("hra/obri.jpg"), cdFile("hra/obri.bmp")}));

    // In the viewer each is reported and the viewer goes on to the next and closes.
    katalog::TPicForm* viewer = main->forms().PicForm;
    viewer->show();
    ASSERT_EQ(messages.size(), 1u);
    viewer->DesktopClick();
    ASSERT_EQ(messages.size(), 2u);
    for (const auto& [kind, text] : messages) {
        EXPECT_EQ(kind, platform::MessageKind::ErrorReport);
        EXPECT_FALSE(text.isEmpty());
    }
    viewer->DesktopClick();
    EXPECT_FALSE(viewer->isVisible());
}

TEST_F(HostileCatalogueTest, AProgramNameOfThousandsOfCharactersBecomesAFavouriteAndStaysOne) {
    auto* f = start();
    select(f, LongName);
    f->btnZalozky->Click();
    EXPECT_EQ(f->btnZalozky->tag(), 1);
    const int favourites = f->SeznamSekci->findText(QStringLiteral("Oblíbené"));
    f->SeznamSekci->setCurrentIndex(favourites);
    f->SeznamSekciChange(favourites);
    EXPECT_EQ(f->programRows(), QStringList({LongName}));
    // The settings around it are intact.
    const platform::ProfileFile ini(windowsDir() + "kat.INI");
    EXPECT_EQ(ini.readString("Music", "Music"), "On");
    EXPECT_EQ(ini.readInteger("Oblibene-Zlé CD", LongName, -1), 1);
    EXPECT_TRUE(messages.empty());
}

TEST_F(HostileCatalogueTest, LinkLoopsInTheStartMenuEndTheSearchForAnInstalledProgram) {
    const QString menu = configHome() + "/Start Menu";
    writeFile(menu + "/Programs/Zz/hra.exe", "MZ");
    writeFile(menu + "/Programs/Zz/odinstaluj.exe", "MZ");
    // Loops come first in name order: to the folder itself, to its parent, and round two links.
    ASSERT_TRUE(QFile::link(".", menu + "/Programs/A"));
    ASSERT_TRUE(QFile::link("..", menu + "/Programs/B"));
    ASSERT_TRUE(QFile::link(menu + "/C2", menu + "/C1"));
    ASSERT_TRUE(QFile::link(menu + "/C1", menu + "/C2"));
    writeFile(windowsDir() + "registry.reg",
              ("REGEDIT4\r\n\r\n[HKEY_USERS\\.Default\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
               "Shell Folders]\r\n\"Start Menu\"=\"" + menu + "\"\r\n").toUtf8());
    writeFile(windowsDir() + "kat.INI", platform::toCp1250(u"[Installing-Zlé CD]\r\nInstalovaná=1\r\n"));
    writeFile(cdFile("hra/setup.sh"), Script);
    const QString text = QStringLiteral("[Title]\nName=Zlé CD\n[sections]\nZlé=\n[Zlé]\nInstalovaná=\n"
                                        "[Instalovaná]\nsource=hra\nsetup=setup.sh\nAppName=hra.exe\n"
                                        "UnInstallReg=odinstaluj.exe\n");
    testing_support::writeCatalogue(cdRoot(), text);
    main = std::make_unique<katalog::TMain>(nullptr, cdRoot());
    main->FormCreate();
    auto* f = main->forms().ProgramyForm;
    select(f, "Instalovaná");
    EXPECT_EQ(f->Instalovat->tag(), 1);
    EXPECT_EQ(katalog::shell().InstalledPath, menu + "/Programs/Zz/hra.exe");
    EXPECT_EQ(katalog::shell().UninstallCommand, menu + "/Programs/Zz/odinstaluj.exe");
    EXPECT_TRUE(messages.empty());
}

TEST_F(HostileCatalogueTest, AnIndexFromTheCdNamesNoSlotBeyondTheDescriptions) {
    // Favourites in no section keep the Index that the CD gives them.
    writeFile(windowsDir() + "kat.INI", platform::toCp1250(u"[Oblibene-Zlé CD]\r\nDaleko=1\r\nDál=1\r\n"));
    // A catalogue section named like the favourites entry lists nothing under everything.
    testing_support::writeCatalogue(cdRoot(), QStringLiteral(
        "[Title]\nName=Zlé CD\n[sections]\nZlé=\n[Zlé]\nHra=\n"
        "[Daleko]\nIndex=2147483647\n[Dál]\nIndex=2000000000\n[Oblíbené]\nDaleko=\n"));
    main = std::make_unique<katalog::TMain>(nullptr, cdRoot());
    main->FormCreate();
    main->CreateSearchResultForm();
    auto* f = main->forms().ProgramyForm;
    EXPECT_EQ(f->programRows(), QStringList({"Hra"}));
    const int favourites = f->SeznamSekci->findText(QStringLiteral("Oblíbené"));
    f->SeznamSekci->setCurrentIndex(favourites);
    f->SeznamSekciChange(favourites);
    ASSERT_EQ(f->SeznamProgramu->count(), 2);
    for (const char* program : {"Daleko", "Dál"}) {
        select(f, QString::fromUtf8(program));
        EXPECT_EQ(f->PopisProgramu->toPlainText(), "Bez popisu.");
    }
    f->Edit1->setText("popisu");
    QTimer::singleShot(0, [] {
        if (QWidget* w = QApplication::activeModalWidget())
            w->close();
    });
    f->FiltrClick();
    EXPECT_EQ(f->SeznamProgramu->count(), 2);
    EXPECT_TRUE(messages.empty());
}

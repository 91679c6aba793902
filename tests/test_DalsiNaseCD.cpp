#include "orders/DalsiNaseCDUnit1.h"

#include "app/Layouts.h"
#include "app/MainFormUnit1.h"
#include "app/Shell.h"
#include "menu/DesktopUnit1.h"
#include "orders/TiskUnit1.h"
#include "platform/Codec.h"
#include "tests/support/TestCd.h"
#include "tools/democd/CdWriter.h"
#include "widgets/EzRgnBtn.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <climits>

using katalog::TDalsiNaseCDForm;
using testing_support::writeFile;

namespace {

const char* const TitlesIni = R"([section]
Titul A=
Titul B=
Zdarma=
Bez ceny=
Rozbitý obal=
Mimo CD=

[Titul A]
obr=Obaly\a.BMP
file=a.rtf
filev=av.rtf
cena=199
Pozadavky=1
CD=2
Data=3

[Titul B]
obr=obaly\B.jpg
file=b.rtf
cena=250
Pozadavky=-1
Data=4

[Zdarma]
cena=0

[Bez ceny]
cena=abc
file=chybi.rtf

[Rozbitý obal]
obr=obaly\broken.jpg
cena=10

[Mimo CD]
obr=..\..\outside.bmp
cena=20
)";

enum Row { TitulA, TitulB, Zdarma, BezCeny, Rozbity, MimoCd };

QString plain(QTextEdit* edit) { return edit->toPlainText(); }

class DalsiNaseCDTest : public testing_support::TestCd {
protected:
    void SetUp() override {
        TestCd::SetUp();
        installSkins();
        QString ini = QString::fromUtf8(TitlesIni);
        ini.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        writeFile(cdFile("SYSTEM/dalsicd.INI"), platform::toCp1250(ini));
        QImage a(120, 170, QImage::Format_RGB32);
        a.fill(Qt::darkBlue);
        ASSERT_TRUE(democd::saveBmp(a, cdFile("SYSTEM/obaly/a.bmp")));
        QImage b(250, 180, QImage::Format_RGB32);
        b.fill(Qt::darkRed);
        ASSERT_TRUE(b.save(cdFile("SYSTEM/obaly/b.jpg"), "JPG"));
        writeFile(cdFile("SYSTEM/obaly/broken.jpg"),
                  QByteArray::fromHex("ffd8ffe0") + "not a picture");
        writeFile(cdFile("outside.bmp"), readBack(cdFile("SYSTEM/obaly/a.bmp")));
        writeFile(cdFile("SYSTEM/Cz/a.rtf"), "{\\rtf1\\ansi Popis A}");
        writeFile(cdFile("SYSTEM/Cz/av.rtf"), "{\\rtf1\\ansi Podrobnosti A}");
        writeFile(cdFile("SYSTEM/Cz/b.rtf"), "{\\rtf1\\ansi Popis B}");
        writeFile(cdFile("SYSTEM/Sk/a.rtf"), "{\\rtf1\\ansi Opis A}");
    }

    static QByteArray readBack(const QString& path) { return testing_support::readFile(path); }

    void start(QSize screen = {1024, 768}) {
        katalog::TMain::setScreenSizeForTests(screen);
        main = std::make_unique<katalog::TMain>(nullptr, cdRoot());
        main->FormCreate();
        form = main->forms().DalsiNaseCDForm;
        ASSERT_NE(form, nullptr);
        main->ZobrazOkno(form, main->forms().DesktopForm->mnuDalsiTituly);
        messages.clear();
    }

    void select(int row) { form->SeznamTitulu->setCurrentRow(row); }

    // A click on a title in the list, as the user makes it.
    void clickTitle(int row) {
        QListWidget* list = form->SeznamTitulu;
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    }

    std::unique_ptr<katalog::TMain> main;
    TDalsiNaseCDForm* form = nullptr;
};

}  // namespace

TEST_F(DalsiNaseCDTest, CreatedWithItsControlsInPlaceAndNothingSelected) {
    start();
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(main->terminationRequested());
    // The settings window finds these by name.
    for (const char* name : {"SeznamTitulu", "PopisTitulu", "PocetKusu"})
        EXPECT_NE(form->findChild<QWidget*>(name), nullptr) << name;
    for (const auto& row : katalog::layout::DalsiNaseCD) {
        const QString name = QString::fromLatin1(row.control.data(), qsizetype(row.control.size()));
        const QWidget* w = form->findChild<QWidget*>(name);
        ASSERT_NE(w, nullptr) << row.control;
        const QPoint expected(row.large.left, row.large.top);
        // The cover's left follows the picture; nothing is shown yet.
        if (name != "BookletCD") {
            EXPECT_EQ(w->pos(), expected) << row.control;
        }
        if (row.large.width >= 0) {
            EXPECT_EQ(w->size(), QSize(row.large.width, row.large.height)) << row.control;
        }
    }
    EXPECT_EQ(form->geometry(), QRect(59, 27, 788, 536));
    EXPECT_FALSE(form->Nadpis->pixmap().isNull());
    EXPECT_FALSE(form->ObjRamecek->pixmap().isNull());

    QStringList names;
    for (int i = 0; i < form->SeznamTitulu->count(); ++i)
        names << form->SeznamTitulu->item(i)->text();
    EXPECT_EQ(names,
              QStringList({"Titul A", "Titul B", "Zdarma", "Bez ceny", "Rozbitý obal", "Mimo CD"}));
    EXPECT_EQ(form->SeznamTitulu->currentRow(), -1);
    EXPECT_EQ(form->SeznamTitulu->toolTip(), "Vyberte si");
    EXPECT_EQ(form->ShownTitle(), -1);
    for (katalog::TEzRgnBtn* b :
         {form->KusuInc, form->KusuDec, form->ObjednavkaChk, form->Tisk, form->ViceInfo})
        EXPECT_TRUE(b->disabled()) << b->objectName().toStdString();
    EXPECT_TRUE(form->KusuInc->autoRepeat());
    EXPECT_TRUE(form->KusuDec->autoRepeat());
    EXPECT_EQ(form->ObjednavkaChk->imageList(), &form->Nezaskrtnuto);
    EXPECT_TRUE(form->PopisTitulu->isReadOnly());
    EXPECT_EQ(form->PopisTitulu->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(form->PopisTitulu->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_TRUE(plain(form->PopisTitulu).isEmpty());
}

TEST_F(DalsiNaseCDTest, CoversAreCentredInTheirSlot) {
    struct Case {
        QSize screen;
        Row title;
        QPoint pos;
    };
    for (const Case& c :
         {Case{{1024, 768}, TitulA, {606, 23}}, Case{{1024, 768}, TitulB, {566, 23}},
          Case{{800, 600}, TitulA, {524, 8}}, Case{{800, 600}, TitulB, {484, 8}}}) {
        start(c.screen);
        select(c.title);
        SCOPED_TRACE(c.title);
        EXPECT_EQ(form->BookletCD->pos(), c.pos);
        EXPECT_TRUE(form->BookletCD->isVisible());
        EXPECT_EQ(form->BookletCD->width(), c.title == TitulA ? 120 : 250);
        EXPECT_FALSE(form->BookletCD->pixmap().isNull());
        EXPECT_EQ(form->SeznamTitulu->toolTip(), form->SeznamTitulu->item(c.title)->text());
        main.reset();
    }
}

TEST_F(DalsiNaseCDTest, BrokenMissingOrOutsideCoversAreClearedQuietly) {
    start();
    for (Row r : {Rozbity, Zdarma, MimoCd}) {
        select(TitulA);
        select(r);
        EXPECT_TRUE(form->BookletCD->pixmap().isNull()) << r;
        EXPECT_TRUE(plain(form->PopisTitulu).isEmpty()) << r;
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(DalsiNaseCDTest, TickCountUpAndDownToRemoval) {
    start();
    select(TitulA);
    EXPECT_FALSE(form->ObjednavkaChk->disabled());
    EXPECT_TRUE(form->PocetKusu->text().isEmpty());
    form->ObjednavkaChk->Click();
    EXPECT_EQ(form->PocetKusu->text(), "1");
    EXPECT_TRUE(form->InOrderShown());
    EXPECT_EQ(form->ObjednavkaChk->imageList(), &form->Zaskrtnuto);
    EXPECT_FALSE(form->KusuInc->disabled());
    EXPECT_FALSE(form->KusuDec->disabled());
    ASSERT_NE(form->Objednavka.FindItem(TitulA), nullptr);
    EXPECT_EQ(form->Objednavka.FindItem(TitulA)->price, 199);

    for (int i = 0; i < 3; ++i)
        form->KusuInc->Click();
    EXPECT_EQ(form->PocetKusu->text(), "4");
    EXPECT_EQ(form->Objednavka.FindItem(TitulA)->quantity, 4);

    for (int i = 0; i < 3; ++i)
        form->KusuDec->Click();
    EXPECT_EQ(form->PocetKusu->text(), "1");
    EXPECT_EQ(form->Objednavka.FindItem(TitulA)->quantity, 1);
    form->KusuDec->Click();
    EXPECT_TRUE(form->PocetKusu->text().isEmpty());
    EXPECT_EQ(form->Objednavka.FindItem(TitulA), nullptr);
    EXPECT_FALSE(form->InOrderShown());
    EXPECT_EQ(form->ObjednavkaChk->imageList(), &form->Nezaskrtnuto);
    EXPECT_TRUE(form->KusuInc->disabled());
    EXPECT_TRUE(form->KusuDec->disabled());
    EXPECT_TRUE(form->Tisk->disabled());
}

TEST_F(DalsiNaseCDTest, TheCountStopsAtItsLargestValue) {
    start();
    select(TitulB);
    form->ObjednavkaChk->Click();
    form->Objednavka.FindItem(TitulB)->quantity = INT_MAX - 1;
    form->KusuInc->Click();
    form->KusuInc->Click();
    EXPECT_EQ(form->Objednavka.FindItem(TitulB)->quantity, INT_MAX);
    EXPECT_EQ(form->PocetKusu->text(), "2147483647");
    form->KusuDec->Click();
    EXPECT_EQ(form->PocetKusu->text(), "2147483646");
}

TEST_F(DalsiNaseCDTest, TheOrderButtonFollowsTheOrder) {
    start();
    select(TitulA);
    EXPECT_TRUE(form->Tisk->disabled());
    form->ObjednavkaChk->Click();
    EXPECT_FALSE(form->Tisk->disabled());
    select(TitulB);
    form->ObjednavkaChk->Click();
    select(TitulA);
    form->ObjednavkaChk->Click();  // untick A: B is still ordered
    EXPECT_FALSE(form->Tisk->disabled());
    select(TitulB);
    EXPECT_FALSE(form->Tisk->disabled());
    form->ObjednavkaChk->Click();
    EXPECT_TRUE(form->Tisk->disabled());
    EXPECT_TRUE(form->Objednavka.IsEmpty());
}

TEST_F(DalsiNaseCDTest, QuantitiesAreKeptWhenSwitchingTitles) {
    start();
    select(TitulA);
    form->ObjednavkaChk->Click();
    form->KusuInc->Click();
    form->KusuInc->Click();
    select(TitulB);
    EXPECT_TRUE(form->PocetKusu->text().isEmpty());
    EXPECT_FALSE(form->InOrderShown());
    EXPECT_TRUE(form->KusuInc->disabled());
    EXPECT_FALSE(form->Tisk->disabled());
    select(TitulA);
    EXPECT_EQ(form->PocetKusu->text(), "3");
    EXPECT_TRUE(form->InOrderShown());
    EXPECT_FALSE(form->KusuDec->disabled());
}

TEST_F(DalsiNaseCDTest, TitlesWithoutAPositivePriceCannotBeOrdered) {
    start();
    for (Row r : {Zdarma, BezCeny}) {
        select(r);
        EXPECT_FALSE(form->ObjednavkaChk->disabled());
        form->ObjednavkaChk->Click();
        EXPECT_FALSE(form->InOrderShown()) << r;
        EXPECT_TRUE(form->PocetKusu->text().isEmpty()) << r;
        EXPECT_TRUE(form->Objednavka.IsEmpty()) << r;
        EXPECT_TRUE(form->Tisk->disabled()) << r;
    }
}

TEST_F(DalsiNaseCDTest, ExtendedModeShowsTheLongTextInTheWideBox) {
    start();
    select(TitulA);
    EXPECT_TRUE(plain(form->PopisTitulu).contains("Popis A"));
    EXPECT_FALSE(form->ViceInfo->disabled());
    EXPECT_EQ(form->ViceInfo->imageList(), &form->ViceInfoList);

    form->ViceInfo->Click();
    EXPECT_EQ(form->detailMode(), TDalsiNaseCDForm::DetailMode::Extended);
    EXPECT_TRUE(plain(form->PopisTitulu).contains("Podrobnosti A"));
    EXPECT_EQ(form->PopisTitulu->geometry(), QRect(310, 9, 471, 452));
    EXPECT_FALSE(form->BookletCD->isVisible());
    EXPECT_EQ(form->ViceInfo->imageList(), &form->ZobrObalList);

    form->ViceInfo->Click();
    EXPECT_TRUE(plain(form->PopisTitulu).contains("Popis A"));
    EXPECT_EQ(form->PopisTitulu->geometry(), QRect(310, 9, 234, 452));
    EXPECT_TRUE(form->BookletCD->isVisible());
    EXPECT_EQ(form->ViceInfo->imageList(), &form->ViceInfoList);

    // Without filev the short text fills the wide box.
    select(TitulB);
    form->ViceInfo->Click();
    EXPECT_TRUE(plain(form->PopisTitulu).contains("Popis B"));
    EXPECT_EQ(form->PopisTitulu->width(), 471);
    EXPECT_FALSE(form->BookletCD->isVisible());
    // A new title starts in the normal mode again.
    select(TitulA);
    EXPECT_EQ(form->detailMode(), TDalsiNaseCDForm::DetailMode::Normal);
    EXPECT_EQ(form->PopisTitulu->width(), 234);
    EXPECT_TRUE(form->BookletCD->isVisible());
}

TEST_F(DalsiNaseCDTest, ClickingTheShownTitleChangesNothing) {
    start();
    clickTitle(TitulA);
    EXPECT_EQ(form->ShownTitle(), TitulA);
    form->ViceInfo->Click();
    form->PopisTitulu->verticalScrollBar()->setValue(0);
    clickTitle(TitulA);
    EXPECT_EQ(form->detailMode(), TDalsiNaseCDForm::DetailMode::Extended);
    EXPECT_EQ(form->PopisTitulu->width(), 471);
    EXPECT_FALSE(form->BookletCD->isVisible());
    EXPECT_TRUE(plain(form->PopisTitulu).contains("Podrobnosti A"));
    // Another title by mouse resets the mode.
    clickTitle(TitulB);
    EXPECT_EQ(form->ShownTitle(), TitulB);
    EXPECT_EQ(form->detailMode(), TDalsiNaseCDForm::DetailMode::Normal);
}

// Keyboard focus (Tab, or coming back to the program) makes the first title current without
// selecting it: nothing is shown and nothing can be ordered until a title is chosen.
TEST_F(DalsiNaseCDTest, DetailsFollowTheSelectionNotTheCurrentRow) {
    start();
    QListWidget* list = form->SeznamTitulu;
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(list, &focus);
    ASSERT_EQ(list->currentRow(), TitulA);
    ASSERT_FALSE(list->currentItem()->isSelected());
    EXPECT_EQ(form->ShownTitle(), -1);
    EXPECT_TRUE(plain(form->PopisTitulu).isEmpty());
    EXPECT_TRUE(form->BookletCD->pixmap().isNull());
    EXPECT_TRUE(form->ObjednavkaChk->disabled());
    form->ObjednavkaChk->Click();
    form->ObjednavkaChkClick();
    EXPECT_TRUE(form->Objednavka.IsEmpty());

    // The space bar selects the current title.
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(form->ShownTitle(), TitulA);
    EXPECT_TRUE(plain(form->PopisTitulu).contains("Popis A"));
    EXPECT_FALSE(form->ObjednavkaChk->disabled());
    form->ObjednavkaChk->Click();
    EXPECT_NE(form->Objednavka.FindItem(TitulA), nullptr);
}

TEST_F(DalsiNaseCDTest, PictogramsComeFromTheirStripsOrAreCleared) {
    start();
    const auto shows = [](const QLabel* label, const QImage& picture) {
        const QImage shown = label->pixmap().toImage();
        return !shown.isNull() && shown == picture.convertToFormat(shown.format());
    };
    select(TitulA);
    EXPECT_TRUE(shows(form->Pozadavky, form->PozadavkyList.image(1)));
    EXPECT_TRUE(shows(form->PocetCD, form->PocetCDList.image(2)));
    EXPECT_TRUE(shows(form->Data, form->DataList.image(3)));
    select(TitulB);  // Pozadavky=-1, CD missing (0), Data=4 beyond its four pictures
    EXPECT_TRUE(form->Pozadavky->pixmap().isNull());
    EXPECT_TRUE(shows(form->PocetCD, form->PocetCDList.image(0)));
    EXPECT_TRUE(form->Data->pixmap().isNull());
}

TEST_F(DalsiNaseCDTest, SlovakModeReadsTheSlovakFolder) {
    start();
    katalog::shell().SlovakLang = true;
    select(TitulA);
    EXPECT_TRUE(plain(form->PopisTitulu).contains("Opis A"));
    select(TitulB);  // no Slovak text: the box stays empty
    EXPECT_TRUE(plain(form->PopisTitulu).isEmpty());
    EXPECT_TRUE(messages.empty());
}

TEST_F(DalsiNaseCDTest, WithoutTheIniTheListIsEmpty) {
    QFile::remove(cdFile("SYSTEM/dalsicd.INI"));
    start();
    EXPECT_EQ(form->SeznamTitulu->count(), 0);
    form->ObjednavkaChk->Click();
    form->ViceInfo->Click();
    EXPECT_TRUE(form->Objednavka.IsEmpty());
    EXPECT_TRUE(messages.empty());
}

TEST_F(DalsiNaseCDTest, AMissingSkinPictureEndsTheProgram) {
    QFile::remove(cdFile("SYSTEM/Cz/1024x768/dalsicd/objram.bmp"));
    katalog::TMain m(nullptr, cdRoot());
    m.FormCreate();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].second, "Chyba při načítání grafiky, aplikace bude ukončena.");
    EXPECT_TRUE(m.terminationRequested());
}

TEST_F(DalsiNaseCDTest, TheOrderButtonOpensTheOrderFormModally) {
    start();
    select(TitulA);
    form->ObjednavkaChk->Click();
    katalog::TTiskForm* tisk = main->forms().TiskForm;
    bool shown = false;
    QTimer::singleShot(0, tisk, [&] {
        shown = QApplication::activeModalWidget() == tisk;
        tisk->Zrusit->click();
    });
    form->Tisk->Click();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(tisk->isVisible());
    // The order is untouched by the form.
    EXPECT_EQ(form->Objednavka.FindItem(TitulA)->quantity, 1);
}

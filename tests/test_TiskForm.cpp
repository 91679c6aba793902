#include "orders/TiskUnit1.h"

#include "app/MainFormUnit1.h"
#include "app/Shell.h"
#include "orders/DalsiNaseCDUnit1.h"
#include "platform/Codec.h"
#include "settings/NastaveniUnit1.h"
#include "tests/support/TestCd.h"
#include "widgets/EzRgnBtn.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>

using namespace Qt::StringLiterals;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

const char* const TitlesIni = R"([section]
Titul A=
Titul B=

[Titul A]
cena=199

[Titul B]
cena=250

[adresa]
ico=87654321
dic=CZ87654321
Firma=Vydavatel a.s.
jmeno=Petr Malý
ulice=Krátká 2
PSC=602 00
mesto=Brno
telef=541 000 000
fax=541 000 001
mail=info@vydavatel.example.com
postovne=50
)";

const QString NoPrinter = QStringLiteral(
    "Není nainstalována žádná tiskárna - objednávku bude možno pouze uložit do textového souboru!");

class TiskFormTest : public testing_support::TestCd {
protected:
    void SetUp() override {
        TestCd::SetUp();
        installSkins();
        writeIni(QString::fromUtf8(TitlesIni));
        main = std::make_unique<katalog::TMain>(nullptr, cdRoot());
        main->FormCreate();
        form = main->forms().TiskForm;
        titles = main->forms().DalsiNaseCDForm;
        ASSERT_TRUE(form && titles);
        messages.clear();
        useSaveDialog(std::nullopt);
    }

    void writeIni(const QString& text) {
        QString crlf = text;
        crlf.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        const QString path = cdFile("SYSTEM/dalsicd.INI");
        QFile::remove(path);
        writeFile(path, platform::toCp1250(crlf));
    }

    // No printer; the save dialog answers with name (nullopt: cancelled).
    void useSaveDialog(std::optional<QString> name) {
        katalog::TTiskForm::PlatformDialogs d;
        d.printerNames = [] { return QStringList(); };
        d.printDialog = [this](QPrinter&, QWidget*) {
            ++printDialogs;
            return false;
        };
        d.saveFileName = [this, name](QWidget* parent) {
            ++saveDialogs;
            EXPECT_EQ(parent, form);
            return name;
        };
        form->setPlatformDialogs(d);
    }

    // Runs the form modally; during it, action (typing, keys) runs once the loop is up.
    int runForm(const std::function<void()>& action) {
        QTimer::singleShot(0, form, [this, action] {
            EXPECT_TRUE(form->isVisible());
            EXPECT_TRUE(form->isModal());
            action();
            if (form->isVisible()) {
                ADD_FAILURE() << "the form stayed open";
                form->reject();
            }
        });
        return form->exec();
    }

    void tick(int row) {
        titles->SeznamTitulu->setCurrentRow(row);
        titles->ObjednavkaChk->Click();
    }

    QStringList savedLines(const QString& path) {
        QStringList lines = platform::fromCp1250(readFile(path)).split(QStringLiteral("\r\n"));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

    std::unique_ptr<katalog::TMain> main;
    katalog::TTiskForm* form = nullptr;
    katalog::TDalsiNaseCDForm* titles = nullptr;
    int saveDialogs = 0;
    int printDialogs = 0;
};

}  // namespace

TEST_F(TiskFormTest, FieldsButtonsAndTabOrder) {
    EXPECT_EQ(form->windowTitle(), "Tisk");
    EXPECT_EQ(form->size(), QSize(683, 438));
    EXPECT_FALSE(form->windowFlags() & Qt::FramelessWindowHint);
    struct Row {
        QLineEdit* edit;
        QRect geometry;
        const char* label;
    };
    const Row rows[] = {
        {form->ICOEdit, {112, 40, 121, 24}, "IČO:"},
        {form->DICEdit, {448, 40, 121, 24}, "DIČ:"},
        {form->FirmaEdit, {112, 72, 489, 24}, "Firma:"},
        {form->JmenoEdit, {112, 104, 489, 24}, "Jméno:"},
        {form->AdresaEdit, {112, 136, 489, 24}, "Ulice, čp:"},
        {form->MestoEdit, {112, 168, 209, 24}, "Město:"},
        {form->EmailEdit, {112, 232, 121, 24}, "E-mail:"},
        {form->FaxEdit, {480, 232, 121, 24}, "Fax:"},
        {form->TelefonEdit, {480, 200, 121, 24}, "Telefon:"},
        {form->PSCEdit, {112, 200, 121, 24}, "PSČ:"},
    };
    const auto labels = form->findChildren<QLabel*>();
    for (const Row& r : rows) {
        EXPECT_EQ(r.edit->geometry(), r.geometry) << r.label;
        // Each caption stands bold, 20 pixels high, just left of its edit.
        const auto it = std::find_if(labels.begin(), labels.end(),
                                     [&](QLabel* l) { return l->buddy() == r.edit; });
        ASSERT_NE(it, labels.end()) << r.label;
        EXPECT_EQ((*it)->text(), QString::fromUtf8(r.label));
        EXPECT_TRUE((*it)->font().bold());
        EXPECT_EQ((*it)->height(), 20);
        EXPECT_LE((*it)->geometry().right(), r.geometry.left());
        EXPECT_GE((*it)->geometry().left(), r.geometry.left() - 110);
    }
    EXPECT_EQ(form->Tisk->geometry(), QRect(115, 330, 102, 25));
    EXPECT_EQ(form->Tisk->text(), "Tisk");
    EXPECT_TRUE(form->Tisk->isDefault());
    EXPECT_EQ(form->Zrusit->geometry(), QRect(451, 330, 110, 25));
    EXPECT_EQ(form->Zrusit->text(), "Zrušit");

    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    // Centred on the desktop.
    EXPECT_EQ(form->frameGeometry().center(), QRect(0, 0, 1024, 768).center());
    form->ICOEdit->setFocus();
    QList<QWidget*> order{QApplication::focusWidget()};
    for (int i = 0; i < 12; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order << QApplication::focusWidget();
    }
    // The fields in their own order, the postcode before the buttons.
    const QList<QWidget*> expected{
        form->ICOEdit,   form->DICEdit,   form->FirmaEdit, form->JmenoEdit,   form->AdresaEdit,
        form->MestoEdit, form->EmailEdit, form->FaxEdit,   form->TelefonEdit, form->PSCEdit,
        form->Zrusit,    form->Tisk,      form->ICOEdit};
    EXPECT_EQ(order, expected);
    form->hide();
}

TEST_F(TiskFormTest, TheUsersFontReachesTheEditsButNotTheLabels) {
    const auto labels = form->findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 10);
    std::vector<QFont> before;
    const QColor text = labels[0]->palette().color(QPalette::WindowText);
    for (QLabel* l : labels)
        before.push_back(l->font());
    // A pale colour, which the grey form would swallow.
    const QColor pale(230, 230, 230);
    main->forms().NastaveniForm->SetFont(QFont(QStringLiteral("DejaVu Serif"), 20), pale);
    EXPECT_EQ(form->ICOEdit->font().family(), "DejaVu Serif");
    EXPECT_EQ(form->ICOEdit->palette().color(QPalette::Text), pale);
    for (qsizetype i = 0; i < labels.size(); ++i) {
        SCOPED_TRACE(labels[i]->text().toStdString());
        EXPECT_EQ(labels[i]->font(), before[size_t(i)]);
        EXPECT_TRUE(labels[i]->font().bold());
        EXPECT_EQ(labels[i]->palette().color(QPalette::WindowText), text);
        // What is drawn: the caption's darkest pixel is the label's own colour.
        const QImage drawn = labels[i]->grab().toImage();
        int darkest = 255;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x)
                darkest = std::min(darkest, qGray(drawn.pixel(x, y)));
        EXPECT_LT(darkest, 100);
    }
}

TEST_F(TiskFormTest, PostalCodeKeepsFiveCharactersAsShown) {
    struct Case {
        const char* typed;
        const char* shown;
    };
    for (const Case c : {Case{"", "     "}, Case{"60200", "60200"}, Case{"12 3", "12 3 "},
                         Case{"1a2b", "12   "}, Case{"1234567", "12345"}}) {
        form->PSCEdit->clear();
        form->PSCEdit->setCursorPosition(0);
        QTest::keyClicks(form->PSCEdit, QString::fromLatin1(c.typed));
        EXPECT_EQ(form->DocumentInputs().psc.toStdString(), c.shown) << c.typed;
    }
    // An untouched field gives five blanks before the town.
    form->PSCEdit->clear();
    form->MestoEdit->setText("Praha");
    const QString path = cdRoot() + "/obj";
    useSaveDialog(path);
    tick(0);
    form->TiskClick();
    const QString line = savedLines(path + ".txt").value(7);
    EXPECT_EQ(line, "      Praha" + QString(33, ' ') + "602 00 Brno");
}

TEST_F(TiskFormTest, EnterAnywhereSavesWithoutAPrinter) {
    tick(0);
    tick(1);
    const QString path = cdRoot() + "/objednavka";
    useSaveDialog(path);
    const int result = runForm([this] {
        QTest::keyClicks(form->ICOEdit, "123456789012");
        form->JmenoEdit->insert("Jan Novák");
        QTest::keyClick(form->JmenoEdit, Qt::Key_Return);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].second, NoPrinter);
    EXPECT_EQ(saveDialogs, 1);
    EXPECT_EQ(printDialogs, 0);
    // The default extension was added.
    EXPECT_FALSE(QFile::exists(path));
    const QStringList lines = savedLines(path + ".txt");
    ASSERT_EQ(lines.size(), 55);
    EXPECT_EQ(lines[2], "IČO:123456789012" + QString(28, ' ') + "IČO:87654321");
    EXPECT_EQ(lines[5], "Jan Novák" + QString(35, ' ') + "Petr Malý");
    EXPECT_EQ(lines[15], "Titul B" + QString(29, ' ') + " 250           1              250");
    EXPECT_EQ(lines[16], "Titul A" + QString(29, ' ') + " 199           1              199");
    EXPECT_EQ(lines[19].trimmed(), "499.00");
    // Windows-1250 on the disk.
    EXPECT_TRUE(readFile(path + ".txt").contains("Jan Nov\xE1k"));
}

TEST_F(TiskFormTest, PastedLineBreaksAndTabsBecomeSpaces) {
    tick(0);
    const QString path = cdRoot() + "/obj.txt";
    useSaveDialog(path);
    runForm([this] {
        QApplication::clipboard()->setText(u"Dlouhá 5\r\nbyt 3\tvlevo\n"_s);
        form->AdresaEdit->setFocus();
        form->AdresaEdit->paste();
        form->FirmaEdit->insert("Firma\rs.r.o.\u2029");
        form->Tisk->click();
    });
    EXPECT_EQ(form->AdresaEdit->text(), u"Dlouhá 5 byt 3 vlevo "_s);
    EXPECT_EQ(form->FirmaEdit->text(), "Firma s.r.o. ");
    const QStringList lines = savedLines(path);
    ASSERT_EQ(lines.size(), 55);
    for (const QString& line : lines)
        EXPECT_LE(line.size(), 70) << line.toStdString();
    EXPECT_TRUE(lines[6].startsWith(u"Dlouhá 5 byt 3 vlevo"_s)) << lines[6].toStdString();
}

TEST_F(TiskFormTest, AnExistingFileIsReplacedWithoutAQuestion) {
    tick(0);
    const QString path = cdRoot() + "/obj.txt";
    writeFile(path, "old order");
    useSaveDialog(path);
    EXPECT_EQ(runForm([this] { form->Tisk->click(); }), QDialog::Accepted);
    EXPECT_EQ(savedLines(path).size(), 55);
    EXPECT_FALSE(QFile::exists(path + ".txt"));
    ASSERT_EQ(messages.size(), 1u);  // only the no-printer notice
}

TEST_F(TiskFormTest, CancellingTheSaveDialogProducesNothingAndStillCloses) {
    tick(0);
    useSaveDialog(std::nullopt);
    EXPECT_EQ(runForm([this] { form->Tisk->click(); }), QDialog::Accepted);
    EXPECT_EQ(saveDialogs, 1);
    EXPECT_EQ(QDir(cdRoot()).entryList({"*.txt"}, QDir::Files), QStringList({"CTIMNE.TXT"}));
}

TEST_F(TiskFormTest, AFullDiskIsReportedAndKeepsTheOldFile) {
    tick(0);
    const QString path = cdRoot() + "/obj.txt";
    writeFile(path, "old order");
    useSaveDialog(path);
    // Root ignores file modes: a file-size limit makes the disk "full".
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 200;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int result = runForm([this] { form->Tisk->click(); });
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(readFile(path), "old order");
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].first, platform::MessageKind::ErrorReport);
    EXPECT_EQ(messages[1].second, "Disk full.");
    EXPECT_EQ(QDir(cdRoot()).entryList({"obj.txt*"}, QDir::Files), QStringList({"obj.txt"}));
}

TEST_F(TiskFormTest, AFolderThatCannotBeWrittenIsReportedAndNothingIsWritten) {
    tick(0);
    // Not even root writes into a folder whose place a file has taken.
    const QString notAFolder = configHome() + "/objednavky";
    writeFile(notAFolder, "a file");
    useSaveDialog(notAFolder + "/obj.txt");
    EXPECT_EQ(runForm([this] { form->Tisk->click(); }), QDialog::Accepted);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1], std::make_pair(platform::MessageKind::ErrorReport, QStringLiteral("Path not found.")));
    EXPECT_EQ(readFile(notAFolder), "a file");
    // The order is still there to be saved elsewhere.
    const QString elsewhere = configHome() + "/obj.txt";
    useSaveDialog(elsewhere);
    EXPECT_EQ(runForm([this] { form->Tisk->click(); }), QDialog::Accepted);
    EXPECT_TRUE(QFile::exists(elsewhere));
}

TEST_F(TiskFormTest, EscapeCancelsAndTheDetailsStay) {
    const int first = runForm([this] {
        form->FirmaEdit->insert("Zákazník s.r.o.");
        QTest::keyClicks(form->PSCEdit, "11000");
        QTest::keyClick(form->FirmaEdit, Qt::Key_Escape);
    });
    EXPECT_EQ(first, QDialog::Rejected);
    EXPECT_EQ(saveDialogs + printDialogs, 0);
    EXPECT_TRUE(messages.empty());

    const int second = runForm([this] {
        EXPECT_EQ(form->FirmaEdit->text(), "Zákazník s.r.o.");
        EXPECT_EQ(form->PSCEdit->displayText(), "11000");
        form->Zrusit->click();
    });
    EXPECT_EQ(second, QDialog::Rejected);
}

TEST_F(TiskFormTest, PrintsToThePrinterTheUserChose) {
    tick(1);
    const QString pdf = cdRoot() + "/order.pdf";
    katalog::TTiskForm::PlatformDialogs d;
    d.printerNames = [] { return QStringList{"Tiskárna"}; };
    d.printDialog = [&](QPrinter& printer, QWidget*) {
        ++printDialogs;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    };
    d.saveFileName = [this](QWidget*) {
        ++saveDialogs;
        return std::optional<QString>();
    };
    form->setPlatformDialogs(d);
    form->ICOEdit->setText("11223344");
    EXPECT_EQ(runForm([this] { form->Tisk->click(); }), QDialog::Accepted);
    EXPECT_EQ(printDialogs, 1);
    EXPECT_EQ(saveDialogs, 0);
    EXPECT_TRUE(messages.empty());

    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_TRUE(text.contains("OBJEDNÁVKA"));
    EXPECT_TRUE(text.contains("IČO:11223344"));
    EXPECT_TRUE(text.contains("Titul B"));
    EXPECT_TRUE(text.contains("300.00"));

    // A cancelled print dialog prints nothing; the form closes all the same.
    QFile::remove(pdf);
    d.printDialog = [&](QPrinter&, QWidget*) { return false; };
    form->setPlatformDialogs(d);
    EXPECT_EQ(runForm([this] { form->Tisk->click(); }), QDialog::Accepted);
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(TiskFormTest, PublisherDetailsAreReadAfreshEachTime) {
    EXPECT_EQ(form->CtiCastAdresy("ico"), "87654321");
    EXPECT_EQ(form->CtiCastAdresy("MESTO"), "Brno");
    EXPECT_EQ(form->CtiCastAdresy("www"), "");
    writeIni("[adresa]\nico=11111111\n");
    EXPECT_EQ(form->CtiCastAdresy("ico"), "11111111");
    EXPECT_EQ(form->CtiCastAdresy("mesto"), "");
    QFile::remove(cdFile("SYSTEM/dalsicd.INI"));
    EXPECT_EQ(form->CtiCastAdresy("ico"), "");

    EXPECT_EQ(form->MakePrintLine("IČO:", "1", "2"), "IČO:1" + QString(39, ' ') + "IČO:2");
}

#include "platform/PrintChannel.h"

#include "orders/ObjednavkaClassUnit1.h"
#include "platform/Codec.h"
#include "platform/Errors.h"
#include "tests/support/TestCd.h"
#include "tests/support/Unprivileged.h"

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using testing_support::readFile;
using testing_support::writeFile;

namespace {

// Lines as std::string, so that a failure shows text rather than bytes.
std::vector<std::string> text(const QStringList& lines) {
    std::vector<std::string> out;
    for (const QString& l : lines)
        out.push_back(l.toStdString());
    return out;
}

// A PDF "printer": A4 with 10 mm margins, printed at 1200 dpi.
struct PdfPrinter {
    explicit PdfPrinter(const QString& path) : printer(QPrinter::HighResolution) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    }
    QPrinter printer;
};

QString runPdfToText(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), args);
    EXPECT_TRUE(p.waitForFinished(30000));
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The text of each page, lines with trailing blanks removed.
QList<QStringList> pagesOf(const QString& pdf) {
    QStringList pages = runPdfToText({"-layout", pdf, "-"}).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    QList<QStringList> out;
    for (const QString& page : pages) {
        QStringList lines;
        for (const QString& l : page.split(QLatin1Char('\n'))) {
            QString t = l;
            while (t.endsWith(QLatin1Char(' ')))
                t.chop(1);
            lines << t;
        }
        while (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        out << lines;
    }
    return out;
}

// Each word's page, left and top edges in points.
struct Word {
    int page;
    double x, y;
    QString text;
};
QList<Word> wordsOf(const QString& pdf) {
    const QString html = runPdfToText({"-bbox", pdf, "-"});
    QList<Word> words;
    int page = -1;
    static const QRegularExpression token(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="[\d.]+">([^<]*)</word>)re");
    for (auto it = token.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(0).startsWith(QLatin1String("<page")))
            ++page;
        else
            words.append({page, m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3)});
    }
    // Reading order: page, line, left to right.
    std::sort(words.begin(), words.end(), [](const Word& a, const Word& b) {
        if (a.page != b.page)
            return a.page < b.page;
        if (std::abs(a.y - b.y) > 0.5)
            return a.y < b.y;
        return a.x < b.x;
    });
    return words;
}

class PrinterChannelTest : public ::testing::Test {
protected:
    void print(const QByteArray& text) {
        PdfPrinter pdf(path());
        platform::PrinterChannel channel(pdf.printer, platform::documentPrinterFont());
        channel.write(text);
    }
    QString path() const { return dir.filePath(QStringLiteral("out.pdf")); }
    // The font's metrics on the printer, in device pixels (1200 per inch).
    QFontMetricsF metrics() {
        PdfPrinter pdf(dir.filePath(QStringLiteral("unused.pdf")));
        return QFontMetricsF(platform::documentPrinterFont(), &pdf.printer);
    }
    int printableHeight() {
        PdfPrinter pdf(dir.filePath(QStringLiteral("unused.pdf")));
        return pdf.printer.height();
    }
    int printableWidth() {
        PdfPrinter pdf(dir.filePath(QStringLiteral("unused.pdf")));
        return pdf.printer.width();
    }
    QTemporaryDir dir;
};

constexpr double PointsPerPixel = 72.0 / 1200.0;

}  // namespace

TEST_F(PrinterChannelTest, LinesFillAPageUntilTwoLineHeightsAreLeft) {
    QByteArray text;
    for (int i = 1; i <= 150; ++i)
        text += QByteArray("Radek ") + QByteArray::number(i).rightJustified(3, '0') + "\r\n";
    print(text);

    // A page takes lines while the next line's top stays within height - 2 * line height.
    const double h = metrics().height() + 2;
    const int perPage = int((printableHeight() - 2 * h) / h) + 1;
    ASSERT_GT(perPage, 40);
    const auto pages = pagesOf(path());
    ASSERT_EQ(pages.size(), (150 + perPage - 1) / perPage);  // no empty sheet at the end
    int next = 1;
    for (qsizetype p = 0; p < pages.size(); ++p) {
        const QStringList lines = pages[p];
        if (p + 1 < pages.size()) {
            EXPECT_EQ(lines.size(), perPage) << "page " << p + 1;
        }
        for (const QString& line : lines)
            EXPECT_EQ(line, QStringLiteral("Radek %1").arg(next++, 3, 10, QLatin1Char('0')));
    }
    EXPECT_EQ(next, 151);
}

TEST_F(PrinterChannelTest, LineHeightsStartAndEmptyLines) {
    print("A\r\nB\r\n\r\nC\r\n");
    const QList<Word> words = wordsOf(path());
    ASSERT_EQ(words.size(), 3);
    const QFontMetricsF fm = metrics();
    // The first line at the top-left corner of the printable area (10 mm = 28.35 pt).
    EXPECT_NEAR(words[0].x, 28.35, 1.0);
    // A line moves down by its height + 2 device pixels, an empty one by the bare height.
    const double full = (fm.height() + 2) * PointsPerPixel;
    const double empty = fm.height() * PointsPerPixel;
    EXPECT_NEAR(words[1].y - words[0].y, full, 0.05);
    EXPECT_NEAR(words[2].y - words[1].y, full + empty, 0.05);
}

TEST_F(PrinterChannelTest, ControlCharacters) {
    // CR alone stays, TAB goes to the next multiple of eight average widths, FF starts a page.
    print("abc\rdef\r\nab\tcd\r\n\tx\r\nnext\fthird\r\n");
    const QList<Word> words = wordsOf(path());
    QStringList texts;
    for (const Word& w : words)
        texts << w.text;
    ASSERT_EQ(text(texts), text({"abcdef", "ab", "cd", "x", "next", "third"}));
    const double left = words[0].x;
    const double tab = 8 * metrics().averageCharWidth() * PointsPerPixel;
    EXPECT_NEAR(words[2].x - left, tab, 0.05);
    EXPECT_NEAR(words[3].x - left, tab, 0.05);
    EXPECT_EQ(words[4].page, 0);
    EXPECT_EQ(words[5].page, 1);
    EXPECT_NEAR(words[5].y, words[0].y, 0.05);  // the top of the new page

    // A form feed on a fresh page gives the empty page it asks for.
    print("one\f\ftwo");
    const QList<Word> two = wordsOf(path());
    ASSERT_EQ(two.size(), 2);
    EXPECT_EQ(two[0].page, 0);
    EXPECT_EQ(two[1].page, 2);
}

TEST_F(PrinterChannelTest, ALineWiderThanThePageContinuesOnTheNext) {
    const int perLine = int(printableWidth() / metrics().horizontalAdvance(QLatin1Char('x')));
    ASSERT_GT(perLine, 70);  // the order document's lines fit
    print(QByteArray(perLine * 2 + 5, 'x') + "\r\nend\r\n");
    const auto pages = pagesOf(path());
    ASSERT_EQ(pages.size(), 1);
    EXPECT_EQ(text(pages[0]), text({QString(perLine, 'x'), QString(perLine, 'x'), "xxxxx", "end"}));
}

TEST_F(PrinterChannelTest, TheOrderDocumentKeepsItsColumns) {
    katalog::TObjednavkaClass order;
    order.AddItem(0, 3, 199);
    katalog::OrderDocumentInputs in;
    in.ico = "123456789012";
    in.psc = "     ";
    in.publisher = [](const QString& key) {
        return key == "ico"        ? QStringLiteral("87654321")
               : key == "postovne" ? QStringLiteral("50")
                                   : QString();
    };
    in.titleName = [](int) { return QStringLiteral("Žluťoučký kůň"); };
    const QByteArray doc = order.Document(in);
    print(doc);

    // The text, line by line (pdftotext guesses the width of gaps, so they are compared as
    // single spaces and the columns by the words' places below).
    QStringList printed;
    for (const QStringList& page : pagesOf(path()))
        for (const QString& line : page)
            if (!line.isEmpty())
                printed << line.simplified();
    QStringList expected;
    for (const QString& line : platform::fromCp1250(doc).split(QStringLiteral("\r\n")))
        if (!line.trimmed().isEmpty())
            expected << line.simplified();
    EXPECT_EQ(text(printed), text(expected));

    const double column = metrics().horizontalAdvance(QLatin1Char('x')) * PointsPerPixel;
    const QList<Word> words = wordsOf(path());
    const auto columnOf = [&](const QString& word) {
        for (const Word& w : words)
            if (w.text == word)
                return (w.x - words[0].x) / column + 1;
        ADD_FAILURE() << word.toStdString();
        return 0.0;
    };
    EXPECT_NEAR(columnOf("I\u010cO:87654321"), 45, 0.05);
    EXPECT_NEAR(columnOf("199"), 38, 0.05);
    EXPECT_NEAR(columnOf("597"), 67, 0.05);
    EXPECT_NEAR(columnOf("647.00"), 64, 0.05);  // ends at 69
    EXPECT_NEAR(columnOf("celkem"), 65, 0.05);
}

TEST(PrinterFont, FixedsysIsDrawnByAFixedPitchFont) {
    const QFont font = platform::documentPrinterFont();
    const QFontInfo info(font);
    EXPECT_EQ(info.family(), "DejaVu Sans Mono");
    EXPECT_TRUE(info.fixedPitch());
    EXPECT_TRUE(info.bold());
    EXPECT_EQ(font.pointSize(), 12);
    const QFontMetricsF fm(font);
    EXPECT_EQ(fm.horizontalAdvance(QStringLiteral("iiii")),
              fm.horizontalAdvance(QStringLiteral("WWWW")));
}

TEST(FileChannel, WritesTheBytesAndReplacesAnOldFile) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("obj.txt"));
    writeFile(file, "old content that is longer than the new one");
    const QByteArray text("OBJEDN\xC1VKA\r\n\x8A\r\n", 14);
    platform::FileChannel(file).write(text);
    EXPECT_EQ(readFile(file), text);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"obj.txt"}));
}

TEST(FileChannel, AMissingFolderIsAnErrorAndCreatesNothing) {
    QTemporaryDir dir;
    try {
        platform::FileChannel(dir.filePath(QStringLiteral("none/obj.txt"))).write("x");
        FAIL() << "no error";
    } catch (const platform::KatalogError& e) {
        EXPECT_EQ(e.text(), "Path not found");
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

TEST(FileChannel, AFullDiskKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("obj.txt"));
    writeFile(file, "old");
    // The file-size limit stands in for a full disk (and root ignores file modes).
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 100;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QString error;
    try {
        platform::FileChannel(file).write(QByteArray(1000, 'x'));
    } catch (const platform::KatalogError& e) {
        error = e.text();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(error, "Disk full");
    EXPECT_EQ(readFile(file), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"obj.txt"}));
}

TEST(FileChannel, AFolderThatCannotBeWrittenKeepsTheOldFile) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("ro"));
    const QString file = folder + QStringLiteral("/obj.txt");
    writeFile(file, "old");
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    ::chmod(QFile::encodeName(folder).constData(), 0555);
    ::chmod(QFile::encodeName(file).constData(), 0644);
    const bool denied = testing_support::runUnprivileged([&] {
        try {
            platform::FileChannel(file).write("new");
        } catch (const platform::KatalogError& e) {
            return e.text() == "File access denied";
        }
        return false;
    });
    EXPECT_TRUE(denied);
    EXPECT_EQ(readFile(file), "old");
    ::chmod(QFile::encodeName(folder).constData(), 0755);
}

TEST(FileChannel, DefaultExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"/home/u/objednavka", "/home/u/objednavka.txt"},
        {"/home/u/objednavka.txt", "/home/u/objednavka.txt"},
        {"/home/u/objednavka.doc", "/home/u/objednavka.doc"},
        {"/home/u/objednavka.", "/home/u/objednavka.txt"},
        {"/home/u.d/objednavka", "/home/u.d/objednavka.txt"},
        {"/home/u/.objednavka", "/home/u/.objednavka.txt"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(platform::withDefaultExtension(QString::fromUtf8(in), QStringLiteral("txt")), out)
            << in;
}

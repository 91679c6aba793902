#include "platform/Rtf.h"
#include "tests/support/TestCd.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextFragment>

#include <gtest/gtest.h>

namespace {

// Paragraphs joined by "\n"; line breaks stay U+2028. The boxes that draw borders are
// tables, whose ends end paragraphs too.
QString text(const QTextDocument& doc) {
    QString t = doc.toRawText();
    for (const QChar end : {QChar(0x2029), QChar(0xFDD0), QChar(0xFDD1)})
        t.replace(end, QLatin1Char('\n'));
    return t;
}

// The paragraphs that hold text, in order.
QStringList paragraphs(const QTextDocument& doc) {
    QStringList all;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        if (!b.text().isEmpty())
            all << b.text();
    return all;
}

QString read(QByteArrayView rtf) {
    QTextDocument doc;
    platform::readRtf(rtf, doc);
    return text(doc);
}

// The format of the fragment holding word.
QTextCharFormat formatOf(const QTextDocument& doc, const QString& word) {
    for (QTextBlock b = doc.begin(); b != doc.end(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it)
            if (it.fragment().text().contains(word))
                return it.fragment().charFormat();
    ADD_FAILURE() << "no fragment with " << word.toStdString();
    return {};
}

struct TextCase {
    const char* name;
    const char* rtf;
    const char16_t* expected;
};

class RtfText : public ::testing::TestWithParam<TextCase> {};

TEST_P(RtfText, ReadsAsExpected) {
    EXPECT_EQ(read(GetParam().rtf), QString::fromUtf16(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RtfText,
    ::testing::Values(
        TextCase{"Paragraphs", R"({\rtf1\ansi Hello\par World})", u"Hello\nWorld"},
        TextCase{"TrailingParagraphMark", R"({\rtf1 a\par })", u"a\n"},
        TextCase{"LineAndTab", R"({\rtf1 a\line b\tab c})", u"a\u2028b\tc"},
        TextCase{"NewlinesInTheFileAreNotText", "{\\rtf1 a\r\nb\nc}", u"abc"},
        TextCase{"EscapedSpecials", R"({\rtf1 \{x\}\\})", u"{x}\\"},
        TextCase{"DelimitingSpaceBelongsToTheWord", R"({\rtf1\b  two\b0 x})", u" twox"},
        TextCase{"Cp1250WhenNothingIsSaid", R"({\rtf1\ansi \'e8\'f8\'9a\'9e\'ec\'f9})", u"čřšžěů"},
        TextCase{"AnsiCodePage", R"({\rtf1\ansi\ansicpg1252 \'e8})", u"è"},
        TextCase{
            "FontCharsetBeatsAnsiCodePage",
            R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0\fcharset0 Arial;}{\f1\fcharset238 Arial CE;}}\f1\'e8\f0\'e8})",
            u"čè"},
        TextCase{
            "DefaultFontsCharset",
            R"({\rtf1\ansi\deff1{\fonttbl{\f0\fcharset0 Arial;}{\f1\fcharset204 Arial Cyr;}}\'c0\f0\'c0})",
            u"АÀ"},
        TextCase{"FontCodePage", R"({\rtf1{\fonttbl{\f0\cpg1253 Greek;}}\f0\'e1})", u"α"},
        TextCase{"DoubleByteCodePage",
                 R"({\rtf1{\fonttbl{\f0\fcharset128 MS Mincho;}}\f0\'93\'fa\'96\'7b})", u"日本"},
        TextCase{"UnicodeWithFallback", R"({\rtf1 a\u269?b})", u"ačb"},
        TextCase{"UnicodeFallbackOfTwo", R"({\rtf1\uc2 \u269\'e8?b})", u"čb"},
        TextCase{"UnicodeWithoutFallback", R"({\rtf1\uc0\u269 b})", u"čb"},
        TextCase{"NegativeUnicode", R"({\rtf1 \u-28672?})", u"\u9000"},
        TextCase{"FallbackCountIsScoped", R"({\rtf1{\uc2 \u269??}\u345?})", u"čř"},
        TextCase{"GroupEndsTheFallback", R"({\rtf1\uc3 \u269?{x}y})", u"čxy"},
        TextCase{
            "SkippedDestinations",
            R"({\rtf1{\*\generator Foo;}{\info{\title T}}{\stylesheet{\s0 Normal;}}{\pict\wmetafile8 0123abcd}{\*\unknown zzz}{\header H}Text})",
            u"Text"},
        TextCase{"BinaryDataIsSkipped", "{\\rtf1{\\pict\\bin5 ab}}{}Ok}", u"Ok"},
        TextCase{"HiddenText", R"({\rtf1 a{\v hidden}b})", u"ab"},
        TextCase{"FieldResult", R"({\rtf1{\field{\*\fldinst HYPERLINK "x"}{\fldrslt link}}})",
                 u"link"},
        TextCase{"SpecialCharacters",
                 R"({\rtf1\emdash\endash\bullet\lquote\rquote\ldblquote\rdblquote\~})",
                 u"—–•‘’“”\u00A0"},
        TextCase{"TableCells", R"({\rtf1\trowd a\cell b\cell\row c})", u"a\tb\t\nc"},
        // Nested tables are read, so their copy for readers without them is not.
        TextCase{"NestedTableWithoutItsFallback",
                 R"({\rtf1 x\cell a\nestcell b\nestcell{\*\nesttableprops\nestrow}{\nonesttables a\tab b\par}\cell\row})",
                 u"x\ta\tb\t\t\n"},
        // A tab or a paragraph mark right after \uN is layout, never the character's stand-in.
        TextCase{"TabAfterAUnicodeBullet", R"({\rtf1\uc1{\u8226\tab}First\par\u8226\'95\tab Second})",
                 u"\u2022\tFirst\n\u2022\tSecond"},
        TextCase{"ParagraphMarkEndsAFallback", R"({\rtf1\uc2 \u269\par x})", u"\u010d\nx"},
        TextCase{"AfterTheOutermostGroup", R"({\rtf1 a}b{\b c})", u"a"},
        TextCase{"UnknownWordsAreIgnored", R"({\rtf1\foo\bar12 a\baz-3 b})", u"ab"},
        TextCase{"NotRtfIsWindows1250Text", "Ahoj\r\n\xe8\x61u\rx", u"Ahoj\nčau\nx"},
        TextCase{"NotRtfLosesControlCharacters", "a\x01\x1b b\tc\x7f", u"a b\tc\x7f"},
        // Word's bullets and ticks: the symbol fonts' bytes become what those fonts show.
        TextCase{"SymbolAndWingdingsFonts",
                 R"({\rtf1{\fonttbl{\f0 Arial;}{\f1\fcharset2 Symbol;}{\f2\fcharset2 Wingdings;}})"
                 R"({\f1\'b7 a\'a3 3}{\f2\'a7\'fc\'41}{\f0\'b7})",
                 u"• α≤ 3▪✓A·"}),
    [](const auto& info) { return std::string(info.param.name); });

class RtfDamaged : public ::testing::TestWithParam<TextCase> {};

// Whatever could be read is shown; nothing throws or crashes.
TEST_P(RtfDamaged, ShowsWhatCouldBeRead) {
    EXPECT_EQ(read(GetParam().rtf), QString::fromUtf16(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RtfDamaged,
    ::testing::Values(
        TextCase{"EndsInAControlWord", R"({\rtf1 abc\par de\b)", u"abc\nde"},
        TextCase{"UnclosedGroups", R"({\rtf1 a{\b b{c)", u"abc"},
        TextCase{"EndsInAHexByte", R"({\rtf1 a\')", u"a"},
        TextCase{"EndsInHalfAHexByte", R"({\rtf1 a\'4)", u"a"},
        TextCase{"BadHexDigits", R"({\rtf1 a\'zzb})", u"azzb"},
        TextCase{"EndsInUnicode", R"({\rtf1 a\u)", u"a"},
        TextCase{"EndsInANegativeSign", R"({\rtf1 a\u-)", u"a"},
        TextCase{"EndsInTheFontTable", R"({\rtf1{\fonttbl{\f0 Arial)", u""},
        TextCase{"BinaryLongerThanTheFile", R"({\rtf1 a\bin999999 xyz)", u"a"},
        TextCase{"HugeNumbers",
                 R"({\rtf1\fs99999999999999999999\uc99999999\ansicpg77777 a\u99999999 b})", u"a"},
        TextCase{"NegativeSizes", R"({\rtf1\fs-5\li-99999\f-3\cf-2 a})", u"a"},
        TextCase{"FontOutsideTheTable", R"({\rtf1\f99\cf99\highlight99 a})", u"a"},
        TextCase{"LongControlWord",
                 R"({\rtf1\abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz a})", u"a"},
        TextCase{"TooManyClosingBraces", R"({\rtf1 a}}}}b)", u"a"}, TextCase{"Empty", "", u""},
        TextCase{"JustTheHeader", R"({\rtf)", u""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Rtf, NulBytesInsideAreDropped) {
    const char data[] = "{\\rtf1 a\0b}";
    EXPECT_EQ(read(QByteArrayView(data, sizeof data - 1)), "ab");
}

TEST(Rtf, DeepNestingNeitherOverflowsNorLeaks) {
    const int depth = 200000;
    QByteArray rtf = "{\\rtf1 ";
    rtf += QByteArray(depth, '{') + "\\b deep" + QByteArray(depth, '}') + " after}";
    QTextDocument doc;
    platform::readRtf(rtf, doc);
    EXPECT_EQ(text(doc), "deep after");
    EXPECT_EQ(formatOf(doc, "deep").fontWeight(), QFont::Bold);
    EXPECT_NE(formatOf(doc, "after").fontWeight(), QFont::Bold);
}

TEST(Rtf, CharacterFormats) {
    QTextDocument doc;
    platform::readRtf(
        R"({\rtf1\ansi\deff0{\fonttbl{\f0\fswiss Arial;}{\f1\froman Times New Roman;}})"
        R"({\colortbl;\red255\green0\blue0;\red0\green0\blue255;})"
        R"(\f0\fs20 plain {\b bold}{\i italic}{\ul under}{\ulnone none}{\strike strike})"
        R"({\f1 times}{\f1\plain reset}{\cf1 red}{\cf0 auto}{\fs40 big}{\super up}{\highlight2 marked})"
        R"({\b\b0 unbold}{\caps capitals}{\scaps smallcaps}{\scaps\caps bothon}{\caps\scaps\caps0 smallleft}\par})",
        doc);
    const QTextCharFormat plain = formatOf(doc, "plain");
    EXPECT_FALSE(plain.hasProperty(QTextFormat::FontFamilies));
    EXPECT_EQ(plain.fontPointSize(), 10);
    EXPECT_FALSE(plain.fontItalic());
    EXPECT_FALSE(plain.hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(formatOf(doc, "bold").fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatOf(doc, "italic").fontItalic());
    EXPECT_TRUE(formatOf(doc, "under").fontUnderline());
    EXPECT_FALSE(formatOf(doc, "none").fontUnderline());
    EXPECT_TRUE(formatOf(doc, "strike").fontStrikeOut());
    EXPECT_EQ(formatOf(doc, "times").fontFamilies().toStringList(), QStringList{"Times New Roman"});
    EXPECT_FALSE(formatOf(doc, "reset").hasProperty(QTextFormat::FontFamilies));
    EXPECT_FALSE(formatOf(doc, "reset").hasProperty(QTextFormat::FontPointSize));
    EXPECT_EQ(formatOf(doc, "red").foreground().color(), QColor(255, 0, 0));
    EXPECT_FALSE(formatOf(doc, "auto").hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(formatOf(doc, "big").fontPointSize(), 20);
    EXPECT_EQ(formatOf(doc, "up").verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(formatOf(doc, "marked").background().color(), QColor(0, 0, 255));
    EXPECT_NE(formatOf(doc, "unbold").fontWeight(), QFont::Bold);
    EXPECT_EQ(formatOf(doc, "capitals").fontCapitalization(), QFont::AllUppercase);
    EXPECT_EQ(formatOf(doc, "smallcaps").fontCapitalization(), QFont::SmallCaps);
    EXPECT_EQ(formatOf(doc, "bothon").fontCapitalization(), QFont::AllUppercase);
    EXPECT_EQ(formatOf(doc, "smallleft").fontCapitalization(), QFont::SmallCaps);
    EXPECT_EQ(formatOf(doc, "plain").fontCapitalization(), QFont::MixedCase);
}

TEST(Rtf, TextWithoutAFontOfItsOwnKeepsTheDocumentsDefaultFont) {
    QTextDocument doc;
    const QFont user(QStringLiteral("DejaVu Serif"), 13);
    doc.setDefaultFont(user);
    // Font 1 is the default here; font 0 is a font of its own.
    platform::readRtf(
        R"({\rtf1\deff1{\fonttbl{\f0 Courier New;}{\f1 Arial;}}unnamed \f1 deff \f0 courier})",
        doc);
    EXPECT_EQ(doc.defaultFont(), user);
    EXPECT_FALSE(formatOf(doc, "unnamed").hasProperty(QTextFormat::FontFamilies));
    EXPECT_FALSE(formatOf(doc, "deff").hasProperty(QTextFormat::FontFamilies));
    EXPECT_EQ(formatOf(doc, "courier").fontFamilies().toStringList(), QStringList{"Courier New"});
}

TEST(Rtf, FontNamesInTheirCodePage) {
    QTextDocument doc;
    platform::readRtf(
        R"({\rtf1\deff0{\fonttbl{\f0 A;}{\f1\fcharset238 P\'eckn\'e9 p\'edsmo;}}\f1 x})", doc);
    EXPECT_EQ(formatOf(doc, "x").fontFamilies().toStringList(),
              QStringList{QString::fromUtf8("Pěkné písmo")});
}

TEST(Rtf, ParagraphFormatsAreScopedAndResetByPard) {
    QTextDocument doc;
    platform::readRtf(
        R"({\rtf1\pard\qc centre\par\pard\qr right\par\pard\qj\li720\fi-360\sb300 just\par)"
        R"(\pard{\qc grouped\par}left})",
        doc);
    ASSERT_EQ(doc.blockCount(), 5);
    const auto block = [&](int i) { return doc.findBlockByNumber(i); };
    EXPECT_EQ(block(0).text(), "centre");
    EXPECT_EQ(block(0).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(block(1).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(block(2).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignJustify);
    EXPECT_EQ(block(2).blockFormat().leftMargin(), 48);
    EXPECT_EQ(block(2).blockFormat().textIndent(), -24);
    EXPECT_EQ(block(2).blockFormat().topMargin(), 20);
    EXPECT_EQ(block(3).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(block(4).text(), "left");
    EXPECT_EQ(block(4).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
}

TEST(Rtf, TheTabAfterAHangingBulletReachesTheLeftIndent) {
    QTextDocument doc;
    platform::readRtf(R"({\rtf1\pard\li360\fi-240 {\'95}\tab jedna dva tri ctyri pet sest sedm osm devet deset\par})",
                      doc);
    doc.setTextWidth(160);
    doc.documentLayout();
    const QTextBlock block = doc.firstBlock();
    const QTextLayout* layout = block.layout();
    ASSERT_GE(layout->lineCount(), 2);
    const int afterTab = int(block.text().indexOf(QLatin1Char('j')));
    // The first line's text and the wrapped lines start at the same place.
    EXPECT_NEAR(layout->lineAt(0).cursorToX(afterTab), layout->lineAt(1).x(), 1.0);
}

TEST(Rtf, FootnotesStandBelowThePageNumberedAsInTheText) {
    QTextDocument doc;
    platform::readRtf(
        R"({\rtf1 Houby{\super\chftn{\footnote\pard\plain{\super\chftn} Jen jedl\'e9.}} a lesy)"
        R"({\super\chftn{\footnote\pard\plain{\super\chftn} Druh\'e1.\par Dva odstavce.}}.\par )"
        R"(Konec{\v skryt\'e9{\footnote neukazuje se}}{\footnote{\footnote vno\'f8en\'e1}vn\'ecj\'9a\'ed}})",
        doc);
    EXPECT_EQ(paragraphs(doc),
              (QStringList{"Houby1 a lesy2.", QString::fromUtf8("Konec"), QString::fromUtf8("1 Jen jedlé."),
                           QString::fromUtf8("2 Druhá."), "Dva odstavce.", QString::fromUtf8("vnější")}));
    // The marks keep the formats of their own, the page's text goes on without them.
    EXPECT_EQ(formatOf(doc, " Jen").verticalAlignment(), QTextCharFormat::AlignNormal);
    QTextBlock page = doc.firstBlock();
    while (page.text().isEmpty())
        page = page.next();
    for (auto it = page.begin(); !it.atEnd(); ++it)
        EXPECT_EQ(it.fragment().charFormat().verticalAlignment(),
                  it.fragment().text().front().isDigit() ? QTextCharFormat::AlignSuperScript
                                                        : QTextCharFormat::AlignNormal)
            << it.fragment().text().toStdString();

    // A file cut off inside a note still shows it.
    platform::readRtf(R"({\rtf1 a{\footnote b)", doc);
    EXPECT_EQ(paragraphs(doc), (QStringList{"a", "b"}));
}

// What a paragraph takes on the page, in pixels.
double height(const QTextDocument& doc, const QTextBlock& block) {
    return doc.documentLayout()->blockBoundingRect(block).height();
}

TEST(Rtf, AnEmptyParagraphIsAsHighAsItsMark) {
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 8));
    platform::readRtf(R"({\rtf1\fs40 Big\par\fs4\par\fs40\par\plain small\par})", doc);
    ASSERT_GE(doc.blockCount(), 4);
    const double big = height(doc, doc.findBlockByNumber(0));
    EXPECT_LT(height(doc, doc.findBlockByNumber(1)), 6);
    EXPECT_EQ(height(doc, doc.findBlockByNumber(2)), big);
    EXPECT_LT(height(doc, doc.findBlockByNumber(3)), big);
}

// The rows of a page drawn at 200 pixels that are a line of the colour across the middle.
std::vector<int> rowsOf(QTextDocument& doc, QColor colour) {
    doc.setTextWidth(200);
    QImage page(doc.size().toSize(), QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    doc.drawContents(&painter);
    painter.end();
    std::vector<int> rows;
    for (int y = 0; y < page.height(); ++y)
        if (page.pixelColor(40, y) == colour && page.pixelColor(160, y) == colour)
            rows.push_back(y);
    return rows;
}

QRectF placeOf(const QTextDocument& doc, const QString& text) {
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        if (b.text() == text)
            return doc.documentLayout()->blockBoundingRect(b);
    ADD_FAILURE() << "no paragraph " << text.toStdString();
    return {};
}

TEST(Rtf, ParagraphBordersAreLinesOfTheirWidthAndColour) {
    QTextDocument doc;
    doc.setDefaultFont(QFont(QStringLiteral("DejaVu Sans"), 8));
    platform::readRtf(
        R"({\rtf1{\colortbl;\red255\green0\blue0;\red0\green0\blue255;})"
        // One box round two paragraphs: a line above the first, one below the last.
        R"(\pard\brdrt\brdrs\brdrw30\brdrcf2\brdrb\brdrs\brdrw30\brdrcf1\sa200 one\par two\par)"
        // Table and page borders, and a side without a style, draw nothing here.
        R"(\pard\trowd\trbrdrb\brdrs\brdrw30\brdrcf1\pgbrdrb\brdrs\brdrcf1 table\par)"
        R"(\pard\brdrb\brdrw30\brdrcf1 nostyle\par)"
        // The demo CD's heading: a rule on a tiny empty paragraph just below it.
        R"(\pard\sa120\fs32 Heading\par\pard\brdrb\brdrs\brdrw15\brdrcf1\sa120\fs4\par\pard\fs16 Text\par})",
        doc);
    const std::vector<int> blue = rowsOf(doc, Qt::blue);
    const std::vector<int> red = rowsOf(doc, Qt::red);
    ASSERT_EQ(blue.size(), 2u);
    EXPECT_EQ(blue[1], blue[0] + 1);
    EXPECT_LE(blue[1], placeOf(doc, "one").top());
    // Two pixels below "two", and the space after it below the line.
    ASSERT_EQ(red.size(), 3u);
    EXPECT_EQ(red[1], red[0] + 1);
    const QRectF two = placeOf(doc, "two");
    EXPECT_GE(red[0], two.bottom() - 1);
    EXPECT_LT(red[0], two.bottom() + 4);
    EXPECT_GE(placeOf(doc, "table").top() - red[1], 200 / 15 - 1);
    // The heading's space after, then the rule's paragraph, two points high.
    const QRectF heading = placeOf(doc, "Heading");
    EXPECT_GT(red[2], heading.bottom() + 120 / 15);
    EXPECT_LT(red[2], heading.bottom() + 120 / 15 + 6);
    EXPECT_GE(placeOf(doc, "Text").top() - red[2], 120 / 15 - 1);
}

TEST(Rtf, SymbolFontTextIsDrawnWithTheDocumentsFont) {
    // The symbol fonts' bytes are already Unicode characters: the fonts would not draw them.
    QTextDocument doc;
    platform::readRtf(
        R"({\rtf1{\fonttbl{\f0 Arial;}{\f1\fcharset2 Symbol;}{\f2\fcharset2 Wingdings;}})"
        R"({\f1\'b7}\tab x{\f2\'fc}\par})",
        doc);
    EXPECT_FALSE(formatOf(doc, QString(QChar(0x2022))).hasProperty(QTextFormat::FontFamilies));
    EXPECT_FALSE(formatOf(doc, QString(QChar(0x2713))).hasProperty(QTextFormat::FontFamilies));
}

struct FileCase {
    const char* file;
    const char16_t* paragraphs;  // joined by "\n"
};

class RtfWordProcessors : public ::testing::TestWithParam<FileCase> {};

// Pages as WordPad and Word wrote them (the fuzzer's seeds), in Czech, Windows-1250.
TEST_P(RtfWordProcessors, ReadAsTheyShowThere) {
    QTextDocument doc;
    ASSERT_TRUE(platform::loadRtf(
        QStringLiteral(KATALOG_SOURCE_DIR "/tests/fuzz/corpus/rtf/") + QString::fromLatin1(GetParam().file),
        doc));
    EXPECT_EQ(paragraphs(doc).join(QLatin1Char('\n')), QString::fromUtf16(GetParam().paragraphs));
}

INSTANTIATE_TEST_SUITE_P(
    Files, RtfWordProcessors,
    ::testing::Values(
        FileCase{"wordpad95.rtf",
                 u"Kalkulačka pro školy\n"
                 u"Jednoduchá kalkulačka, která počítá zlomky a ukáže postup krok za krokem. Žáci si mohou výpočet vytisknout.\n"
                 u"Umí:\n•\tsčítání a odčítání zlomků,\n•\tnásobení a dělení se zkrácením,\n•\tpřevod na desetinné číslo.\n"
                 u"Požadavky: Windows 95, 4 MB RAM.\n© Modrá vlna 1996"},
        FileCase{"wordpadxp.rtf",
                 u"Poznámkový blok s kalendářem\n"
                 u"Poznámky si zapíšete k jednotlivým dnům a program vás na ně včas upozorní. Upozornění přijde ½ hodiny předem.\n"
                 u"Novinky ve verzi 2.1:\n•\topakované události (každý týden, měsíc, rok),\n•\ttisk přehledu na jednu stránku,\n"
                 u"•\topravena chyba s přestupným rokem.\n„Konečně nezapomenu na žádné narozeniny.“\n"
                 u"Autor: Petr Vlnka, e-mail: petr@example.com"},
        FileCase{"word97.rtf",
                 u"Atlas hub a lišejníků\n"
                 u"Obrazový atlas 240 druhů hub rostoucích v Česku1 s popisem, mapkou výskytu a dobou sběru. U každé houby najdete, zda je jedlá2, a záměny, které hrozí.\n"
                 u"•\thledání podle barvy klobouku,\n•\tkalendář sběru,\n•\ttisk karet do kapsy.\nCena 299 Kč\n"
                 u"1 Včetně Slovenska a Moravy.\n2 Nikdy nejezte houbu, kterou bezpečně neznáte."},
        FileCase{"word2000.rtf",
                 u"Ceník titulů\nAtlas hub\tCD\t299 Kč\t\t\n•\tDodání do týdne."}),
    [](const auto& info) {
        std::string name = info.param.file;
        return name.substr(0, name.find('.'));
    });

TEST(Rtf, ReadingReplacesTheTextWithoutUndoHistory) {
    QTextDocument doc;
    platform::readRtf(R"({\rtf1 first})", doc);
    platform::readRtf(R"({\rtf1 second})", doc);
    EXPECT_EQ(text(doc), "second");
    EXPECT_FALSE(doc.isUndoAvailable());
    EXPECT_TRUE(doc.isUndoRedoEnabled());
}

class RtfFiles : public testing_support::TestCd {};

TEST_F(RtfFiles, AMissingFileLeavesTheDocumentAlone) {
    QTextDocument doc;
    platform::readRtf(R"({\rtf1 kept})", doc);
    EXPECT_FALSE(platform::loadRtf(cdFile("missing.rtf"), doc));
    EXPECT_EQ(text(doc), "kept");
    testing_support::writeFile(cdFile("page.rtf"), R"({\rtf1 page})");
    EXPECT_TRUE(platform::loadRtf(cdFile("page.rtf"), doc));
    EXPECT_EQ(text(doc), "page");
}

}  // namespace

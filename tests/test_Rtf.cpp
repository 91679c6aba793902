#include "platform/Rtf.h"
#include "tests/support/TestCd.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextFragment>

#include <gtest/gtest.h>

namespace {

// Paragraphs joined by "\n"; line breaks stay U+2028.
QString text(const QTextDocument& doc) {
    QString t = doc.toRawText();
    t.replace(QChar(0x2029), QLatin1Char('\n'));
    return t;
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
        R"({\b\b0 unbold}\par})",
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

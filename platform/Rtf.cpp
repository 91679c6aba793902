#include "platform/Rtf.h"

#include "platform/Codec.h"

#include <QFile>
#include <QHash>
#include <QStringDecoder>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextTable>

#include <algorithm>
#include <array>
#include <climits>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace platform {
namespace {

// Deeper groups share one saved state: the reader's memory stays bounded whatever the input.
constexpr int MaxGroupDepth = 1024;
constexpr int DefaultCodePage = 1250;
constexpr int MaxUnicodeSkip = 64;
constexpr int MaxBorderTwips = 600;
constexpr double TwipsPerPixel = 15;  // at 96 dpi
constexpr double NoteGap = 8;         // pixels between the page's text and its footnotes

// Twips to pixels, within what a page of this width can show.
double pixels(int twips, int lowPixels = 0) {
    return std::clamp(twips, lowPixels * 15, 2000 * 15) / TwipsPerPixel;
}

enum class Dest { Text, FontTable, ColorTable, Skip };

struct CharState {
    int font = -1;        // RTF font number; -1: none named (the default font)
    int halfPoints = 0;   // 0: no size given
    int color = -1;       // colour table index; -1: none
    int background = -1;  // colour table index; -1: none
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool caps = false;
    bool smallCaps = false;
    bool hidden = false;
    int vertical = 0;  // 1 superscript, -1 subscript
};

// One side of a paragraph's border; a side without a style is not drawn.
struct Border {
    bool drawn = false;
    int widthTwips = 0;
    int color = -1;  // colour table index; -1: auto
    int spaceTwips = 0;
    bool operator==(const Border&) const = default;
};

enum Side { Top, Left, Bottom, Right, SideCount };

using Borders = std::array<Border, SideCount>;

struct ParaState {
    Qt::Alignment align = Qt::AlignLeft;
    int leftTwips = 0;
    int rightTwips = 0;
    int firstTwips = 0;
    int beforeTwips = 0;
    int afterTwips = 0;
    Borders borders;
    // The sides that the border words which follow describe: one, all four (\box) or none
    // (the border of a table, a cell or the page, which are not drawn here).
    int borderFrom = 0;
    int borderTo = 0;
};

struct State {
    Dest dest = Dest::Text;
    CharState chr;
    ParaState para;
    int uc = 1;  // bytes of fallback after \uN
    bool note = false;  // inside a footnote
};

struct FontEntry {
    QString name;
    int codePage = 0;  // 0: the document's
};

// clang-format off
enum class Word {
    // destinations
    FontTable, ColorTable, SkipDest,
    // document
    Ansi, Mac, Pc, Pca, AnsiCpg, Deff, Uc, U, Bin,
    // font table entries
    Font, FCharset, Cpg,
    // colour table entries
    Red, Green, Blue,
    // characters
    Plain, Bold, Italic, Underline, UnderlineNone, Strike, FontSize, Color, Background,
    Hidden, Super, Sub, NoSuperSub,
    Caps, SmallCaps,
    // paragraphs
    Pard, Par, Line, Tab, Left, Right, Center, Justify, LeftIndent, RightIndent, FirstIndent,
    SpaceBefore, SpaceAfter, Cell, Row,
    // paragraph borders
    BorderSide, OtherBorder, BorderStyle, BorderNone, BorderWidth, BorderColor, BorderSpace,
    // footnotes
    Footnote, FootnoteMark,
    // special characters
    Char,
};

struct WordInfo {
    Word word;
    char16_t ch = 0;  // for Word::Char; the side for Word::BorderSide (SideCount: all)
};

const std::unordered_map<std::string_view, WordInfo>& words() {
    static const std::unordered_map<std::string_view, WordInfo> table = {
        {"fonttbl", {Word::FontTable}}, {"colortbl", {Word::ColorTable}},
        // Destinations whose text is not page text.
        {"stylesheet", {Word::SkipDest}}, {"info", {Word::SkipDest}}, {"pict", {Word::SkipDest}},
        {"object", {Word::SkipDest}}, {"objdata", {Word::SkipDest}}, {"header", {Word::SkipDest}},
        {"headerl", {Word::SkipDest}}, {"headerr", {Word::SkipDest}}, {"headerf", {Word::SkipDest}},
        {"footer", {Word::SkipDest}}, {"footerl", {Word::SkipDest}}, {"footerr", {Word::SkipDest}},
        {"footerf", {Word::SkipDest}}, {"annotation", {Word::SkipDest}},
        {"ftnsep", {Word::SkipDest}}, {"ftnsepc", {Word::SkipDest}}, {"ftncn", {Word::SkipDest}},
        {"aftnsep", {Word::SkipDest}}, {"aftnsepc", {Word::SkipDest}},
        {"aftncn", {Word::SkipDest}},
        // A copy of nested tables for readers that cannot show them; this one can.
        {"nonesttables", {Word::SkipDest}},
        {"fldinst", {Word::SkipDest}}, {"xe", {Word::SkipDest}}, {"tc", {Word::SkipDest}},
        {"txe", {Word::SkipDest}}, {"bkmkstart", {Word::SkipDest}}, {"bkmkend", {Word::SkipDest}},
        {"pn", {Word::SkipDest}}, {"listtable", {Word::SkipDest}},
        {"listoverridetable", {Word::SkipDest}},
        {"revtbl", {Word::SkipDest}}, {"rsidtbl", {Word::SkipDest}}, {"filetbl", {Word::SkipDest}},
        {"generator", {Word::SkipDest}}, {"template", {Word::SkipDest}},
        {"userprops", {Word::SkipDest}},
        {"themedata", {Word::SkipDest}}, {"colorschememapping", {Word::SkipDest}},
        {"latentstyles", {Word::SkipDest}}, {"datastore", {Word::SkipDest}},
        {"private", {Word::SkipDest}},
        {"ansi", {Word::Ansi}}, {"mac", {Word::Mac}}, {"pc", {Word::Pc}}, {"pca", {Word::Pca}},
        {"ansicpg", {Word::AnsiCpg}}, {"deff", {Word::Deff}}, {"uc", {Word::Uc}}, {"u", {Word::U}},
        {"bin", {Word::Bin}},
        {"f", {Word::Font}}, {"fcharset", {Word::FCharset}}, {"cpg", {Word::Cpg}},
        {"red", {Word::Red}}, {"green", {Word::Green}}, {"blue", {Word::Blue}},
        {"plain", {Word::Plain}}, {"b", {Word::Bold}}, {"i", {Word::Italic}},
        {"ul", {Word::Underline}}, {"uld", {Word::Underline}}, {"uldb", {Word::Underline}},
        {"uldash", {Word::Underline}}, {"uldashd", {Word::Underline}},
        {"uldashdd", {Word::Underline}},
        {"ulth", {Word::Underline}}, {"ulw", {Word::Underline}}, {"ulwave", {Word::Underline}},
        {"ulnone", {Word::UnderlineNone}}, {"strike", {Word::Strike}}, {"striked", {Word::Strike}},
        {"fs", {Word::FontSize}}, {"cf", {Word::Color}}, {"cb", {Word::Background}},
        {"highlight", {Word::Background}}, {"v", {Word::Hidden}}, {"super", {Word::Super}},
        {"sub", {Word::Sub}}, {"nosupersub", {Word::NoSuperSub}},
        {"caps", {Word::Caps}}, {"scaps", {Word::SmallCaps}},
        {"pard", {Word::Pard}}, {"par", {Word::Par}}, {"page", {Word::Par}}, {"sect", {Word::Par}},
        {"line", {Word::Line}}, {"tab", {Word::Tab}}, {"ql", {Word::Left}}, {"qr", {Word::Right}},
        {"qc", {Word::Center}}, {"qj", {Word::Justify}}, {"li", {Word::LeftIndent}},
        {"ri", {Word::RightIndent}}, {"fi", {Word::FirstIndent}}, {"sb", {Word::SpaceBefore}},
        {"sa", {Word::SpaceAfter}}, {"cell", {Word::Cell}}, {"nestcell", {Word::Cell}},
        {"row", {Word::Row}}, {"nestrow", {Word::Row}},
        {"brdrt", {Word::BorderSide, Top}}, {"brdrl", {Word::BorderSide, Left}},
        {"brdrb", {Word::BorderSide, Bottom}}, {"brdrr", {Word::BorderSide, Right}},
        {"box", {Word::BorderSide, SideCount}},
        {"brdrbtw", {Word::OtherBorder}}, {"brdrbar", {Word::OtherBorder}},
        {"trbrdrt", {Word::OtherBorder}}, {"trbrdrl", {Word::OtherBorder}},
        {"trbrdrb", {Word::OtherBorder}}, {"trbrdrr", {Word::OtherBorder}},
        {"trbrdrh", {Word::OtherBorder}}, {"trbrdrv", {Word::OtherBorder}},
        {"clbrdrt", {Word::OtherBorder}}, {"clbrdrl", {Word::OtherBorder}},
        {"clbrdrb", {Word::OtherBorder}}, {"clbrdrr", {Word::OtherBorder}},
        {"pgbrdrt", {Word::OtherBorder}}, {"pgbrdrl", {Word::OtherBorder}},
        {"pgbrdrb", {Word::OtherBorder}}, {"pgbrdrr", {Word::OtherBorder}},
        {"chbrdr", {Word::OtherBorder}},
        // Every style is drawn as a plain line.
        {"brdrs", {Word::BorderStyle}}, {"brdrth", {Word::BorderStyle}},
        {"brdrsh", {Word::BorderStyle}}, {"brdrdb", {Word::BorderStyle}},
        {"brdrdot", {Word::BorderStyle}}, {"brdrdash", {Word::BorderStyle}},
        {"brdrdashsm", {Word::BorderStyle}}, {"brdrhair", {Word::BorderStyle}},
        {"brdrtriple", {Word::BorderStyle}}, {"brdrwavy", {Word::BorderStyle}},
        {"brdrnone", {Word::BorderNone}}, {"brdrw", {Word::BorderWidth}},
        {"brdrcf", {Word::BorderColor}}, {"brsp", {Word::BorderSpace}},
        {"footnote", {Word::Footnote}}, {"chftn", {Word::FootnoteMark}},
        {"emdash", {Word::Char, u'\u2014'}}, {"endash", {Word::Char, u'\u2013'}},
        {"bullet", {Word::Char, u'\u2022'}}, {"lquote", {Word::Char, u'\u2018'}},
        {"rquote", {Word::Char, u'\u2019'}}, {"ldblquote", {Word::Char, u'\u201C'}},
        {"rdblquote", {Word::Char, u'\u201D'}}, {"emspace", {Word::Char, u'\u2003'}},
        {"enspace", {Word::Char, u'\u2002'}}, {"qmspace", {Word::Char, u'\u2005'}},
        {"zwj", {Word::Char, u'\u200D'}}, {"zwnj", {Word::Char, u'\u200C'}},
    };
    return table;
}
// clang-format on

// The symbol character set: Windows' own number for it, and one of ours for Wingdings, which
// puts other pictures at the same bytes. Both are drawn here with ordinary fonts, so their
// bytes become the Unicode characters they look like.
constexpr int SymbolCodePage = 42;
constexpr int WingdingsCodePage = 43;

// What the Symbol font shows at a byte; 0 where it shows the Western letter.
char16_t symbolChar(uchar b) {
    static const std::array<char16_t, 256> table = [] {
        std::array<char16_t, 256> t{};
        const char16_t* upper = u"ΑΒΧΔΕΦΓΗΙϑΚΛΜΝΟΠΘΡΣΤΥςΩΞΨΖ";
        const char16_t* lower = u"αβχδεφγηιϕκλμνοπθρστυϖωξψζ";
        for (int i = 0; i < 26; ++i) {
            t[size_t(0x41 + i)] = upper[i];
            t[size_t(0x61 + i)] = lower[i];
        }
        const std::pair<uchar, char16_t> others[] = {
            {0x22, u'∀'}, {0x24, u'∃'}, {0x27, u'∋'}, {0x2A, u'∗'}, {0x2D, u'−'}, {0x40, u'≅'},
            {0x5E, u'⊥'}, {0xA3, u'≤'}, {0xA5, u'∞'}, {0xA7, u'♣'}, {0xA8, u'♦'}, {0xA9, u'♥'},
            {0xAA, u'♠'}, {0xAB, u'↔'}, {0xAC, u'←'}, {0xAD, u'↑'}, {0xAE, u'→'}, {0xAF, u'↓'},
            {0xB0, u'°'}, {0xB1, u'±'}, {0xB3, u'≥'}, {0xB4, u'×'}, {0xB7, u'•'}, {0xB8, u'÷'},
            {0xB9, u'≠'}, {0xBA, u'≡'}, {0xBB, u'≈'}, {0xBC, u'…'}, {0xD6, u'√'}, {0xD7, u'⋅'},
            {0xE5, u'∑'}, {0xF2, u'∫'}};
        for (const auto& [byte, ch] : others)
            t[byte] = ch;
        return t;
    }();
    return table[b];
}

// The Wingdings pictures that word processors use for bullets and ticks.
char16_t wingdingsChar(uchar b) {
    switch (b) {
    case 0x6C: return u'●';
    case 0x6E: return u'■';
    case 0x71: return u'❑';
    case 0x75: return u'◆';
    case 0x76: return u'❖';
    case 0x9F: return u'•';
    case 0xA7: return u'▪';
    case 0xD8: return u'➢';
    case 0xE8: return u'➔';
    case 0xFB: return u'✗';
    case 0xFC: return u'✓';
    default: return 0;
    }
}

int codePageOfCharset(int charset, int documentCodePage) {
    switch (charset) {
    case 0: return 1252;    // ANSI (Western)
    case 2: return SymbolCodePage;
    case 77: return 10000;  // Macintosh
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 254: return 437;
    case 255: return 850;
    default: return documentCodePage;  // 1 (default) and anything unknown
    }
}

QByteArray codecName(int codePage) {
    switch (codePage) {
    case 437: return "IBM437";
    case 850: return "IBM850";
    case 852: return "IBM852";
    case 866: return "IBM866";
    case 932: return "Shift_JIS";
    case 936: return "GBK";
    case 949: return "windows-949";
    case 950: return "Big5";
    case 10000: return "macintosh";
    default: return "windows-" + QByteArray::number(codePage);
    }
}

// Where text goes: the page, or the footnotes gathered for its end.
struct Output {
    explicit Output(QTextDocument* doc) : cursor(doc) {}
    QTextCursor cursor;
    // A paragraph is opened by its first text or its mark, so that where it goes (into a box
    // of borders or not) follows its own formats.
    bool paragraphOpen = false;
    bool first = true;          // nothing written yet
    QTextTable* box = nullptr;  // the bordered box being filled
    Borders boxBorders;
    double lastAfter = 0;  // the space after the box's last paragraph, kept below its border
};

class RtfReader {
public:
    RtfReader(QByteArrayView in, QTextDocument& doc)
        : p_(in.data()), end_(in.data() + in.size()), out_(&doc), notesOut_(&notes_) {
        notes_.setDefaultFont(doc.defaultFont());
    }

    void run();

private:
    // input
    void controlWord();
    void controlSymbol();
    void openGroup();
    bool closeGroup();  // false at the end of the outermost group
    void word(std::string_view name, bool hasParam, int param);
    static bool endsFallback(std::string_view name);

    // output
    void addByte(char byte);
    void addChar(char16_t ch);
    void addText(const QString& text);
    void openParagraph();
    void finishParagraph();
    void endParagraph();
    void ensureFormat();
    void decodePending();
    void flushRun();
    bool takesText() const { return st_.dest == Dest::Text && !st_.chr.hidden; }
    int currentCodePage() const;
    QString decode(const QByteArray& bytes, int codePage);
    QTextCharFormat makeFormat() const;
    QTextBlockFormat makeBlockFormat() const;
    void openBox(const Borders& borders, double spaceAbove);

    // footnotes
    void startNote();
    void endNote();
    void appendNotes();

    // font and colour tables
    void commitFont();
    void commitColor();

    const char* p_;
    const char* end_;
    Output out_;
    QTextDocument notes_;
    Output notesOut_;  // swapped with out_ inside a footnote
    int noteCount_ = 0;

    State st_;
    std::vector<State> stack_;
    int overflow_ = 0;  // groups opened past MaxGroupDepth
    State overflowState_;

    int documentCodePage_ = DefaultCodePage;
    int defaultFont_ = 0;
    int skip_ = 0;  // fallback bytes of \uN still to skip

    QHash<int, FontEntry> fonts_;
    int entryFont_ = -1;
    int entryCodePage_ = 0;
    QByteArray entryName_;

    std::vector<std::optional<QColor>> colors_;
    int red_ = 0, green_ = 0, blue_ = 0;
    bool colorGiven_ = false;

    QByteArray pendingBytes_;
    int pendingCodePage_ = DefaultCodePage;
    QString runText_;
    QTextCharFormat runFormat_;
    bool formatDirty_ = true;

    std::map<int, std::unique_ptr<QStringDecoder>> decoders_;
};

void RtfReader::run() {
    while (p_ < end_ && *p_ != '{')
        ++p_;
    while (p_ < end_) {
        const char c = *p_++;
        switch (c) {
        case '{': openGroup(); break;
        case '}':
            if (!closeGroup()) {
                p_ = end_;  // whatever follows the outermost group is not part of the page
            }
            break;
        case '\\':
            if (p_ >= end_)
                break;
            if ((*p_ >= 'a' && *p_ <= 'z') || (*p_ >= 'A' && *p_ <= 'Z'))
                controlWord();
            else
                controlSymbol();
            break;
        case '\r':
        case '\n': break;
        default:
            if (skip_ > 0) {
                --skip_;
                break;
            }
            addByte(c);
            break;
        }
    }
    // A truncated file: keep what was read.
    if (st_.note)
        endNote();
    ensureFormat();
    openParagraph();
    flushRun();
    finishParagraph();
    appendNotes();
}

void RtfReader::openGroup() {
    skip_ = 0;
    if (overflow_ > 0 || stack_.size() >= std::size_t(MaxGroupDepth)) {
        if (overflow_++ == 0)
            overflowState_ = st_;
        return;
    }
    stack_.push_back(st_);
}

bool RtfReader::closeGroup() {
    skip_ = 0;
    if (st_.dest == Dest::FontTable)
        commitFont();
    // The state this group's end returns to: groups past MaxGroupDepth share the current one.
    const State* outer = overflow_ > 1    ? &st_
                         : overflow_ == 1 ? &overflowState_
                         : stack_.size() > 1 ? &stack_.back()
                                             : nullptr;
    if (st_.note && !(outer && outer->note))
        endNote();
    if (overflow_ > 0) {
        if (--overflow_ == 0) {
            st_ = overflowState_;
            formatDirty_ = true;
        }
        return true;
    }
    if (stack_.size() <= 1) {
        stack_.clear();
        return false;
    }
    st_ = stack_.back();
    stack_.pop_back();
    formatDirty_ = true;
    return true;
}

void RtfReader::controlWord() {
    const char* start = p_;
    while (p_ < end_ && p_ - start < 32 &&
           ((*p_ >= 'a' && *p_ <= 'z') || (*p_ >= 'A' && *p_ <= 'Z')))
        ++p_;
    const std::string_view name(start, std::size_t(p_ - start));
    // Letters past 32 belong to no known word; drop them.
    while (p_ < end_ && ((*p_ >= 'a' && *p_ <= 'z') || (*p_ >= 'A' && *p_ <= 'Z')))
        ++p_;
    bool negative = false;
    bool hasParam = false;
    long long value = 0;
    if (p_ < end_ && *p_ == '-' && p_ + 1 < end_ && *(p_ + 1) >= '0' && *(p_ + 1) <= '9') {
        negative = true;
        ++p_;
    }
    while (p_ < end_ && *p_ >= '0' && *p_ <= '9') {
        hasParam = true;
        if (value < INT_MAX)
            value = value * 10 + (*p_ - '0');
        ++p_;
    }
    value = std::min<long long>(value, INT_MAX);
    if (p_ < end_ && *p_ == ' ')
        ++p_;  // the delimiting space belongs to the word
    const int param = int(negative ? -value : value);
    if (skip_ > 0 && name != "u") {
        if (!endsFallback(name)) {
            --skip_;  // a word in the fallback of \uN stands for one byte
            if (name == "bin" && hasParam && param > 0)
                p_ += std::min<long long>(param, end_ - p_);
            return;
        }
        // A tab or a paragraph mark is layout, never a stand-in for the character: a list's
        // "\u8226\tab" keeps its tab.
        skip_ = 0;
    }
    word(name, hasParam, param);
}

bool RtfReader::endsFallback(std::string_view name) {
    const auto it = words().find(name);
    if (it == words().end())
        return false;
    switch (it->second.word) {
    case Word::Par:
    case Word::Row:
    case Word::Line:
    case Word::Tab:
    case Word::Cell: return true;
    default: return false;
    }
}

void RtfReader::controlSymbol() {
    const char c = *p_++;
    if (c == '\'') {
        int value = 0;
        int digits = 0;
        while (digits < 2 && p_ < end_) {
            const char h = *p_;
            int d;
            if (h >= '0' && h <= '9')
                d = h - '0';
            else if (h >= 'a' && h <= 'f')
                d = h - 'a' + 10;
            else if (h >= 'A' && h <= 'F')
                d = h - 'A' + 10;
            else
                break;
            value = value * 16 + d;
            ++digits;
            ++p_;
        }
        if (digits == 0)
            return;
        if (skip_ > 0) {
            --skip_;
            return;
        }
        addByte(char(value));
        return;
    }
    if (skip_ > 0) {
        --skip_;
        return;
    }
    switch (c) {
    case '\\':
    case '{':
    case '}': addByte(c); break;
    case '~': addChar(u'\u00A0'); break;
    case '-': addChar(u'\u00AD'); break;
    case '_': addChar(u'\u2011'); break;
    case '*':
        // An ignorable destination: none of those is page text.
        st_.dest = Dest::Skip;
        break;
    case '\r':
    case '\n':
        if (takesText())
            endParagraph();
        break;
    case '\t': addChar(u'\t'); break;
    default: break;
    }
}

void RtfReader::word(std::string_view name, bool hasParam, int param) {
    const auto it = words().find(name);
    if (it == words().end())
        return;
    const WordInfo& info = it->second;
    const int on = hasParam ? param : 1;
    CharState& chr = st_.chr;
    ParaState& para = st_.para;

    switch (info.word) {
    case Word::FontTable:
        st_.dest = st_.dest == Dest::Skip ? Dest::Skip : Dest::FontTable;
        entryFont_ = -1;
        entryName_.clear();
        return;
    case Word::ColorTable:
        st_.dest = st_.dest == Dest::Skip ? Dest::Skip : Dest::ColorTable;
        colorGiven_ = false;
        red_ = green_ = blue_ = 0;
        return;
    case Word::SkipDest: st_.dest = Dest::Skip; return;
    case Word::Bin:
        // Binary data is never text.
        if (hasParam && param > 0)
            p_ += std::min<long long>(param, end_ - p_);
        return;
    default: break;
    }
    if (st_.dest == Dest::Skip)
        return;

    if (st_.dest == Dest::FontTable) {
        switch (info.word) {
        case Word::Font:
            commitFont();
            entryFont_ = param;
            entryCodePage_ = 0;
            entryName_.clear();
            break;
        case Word::FCharset: entryCodePage_ = codePageOfCharset(param, 0); break;
        case Word::Cpg:
            if (param > 0)
                entryCodePage_ = param;
            break;
        default: break;
        }
        return;
    }
    if (st_.dest == Dest::ColorTable) {
        const int component = std::clamp(param, 0, 255);
        switch (info.word) {
        case Word::Red:
            red_ = component;
            colorGiven_ = true;
            break;
        case Word::Green:
            green_ = component;
            colorGiven_ = true;
            break;
        case Word::Blue:
            blue_ = component;
            colorGiven_ = true;
            break;
        default: break;
        }
        return;
    }

    switch (info.word) {
    case Word::Ansi: break;  // no code page of its own: the CD's (or \ansicpg)
    case Word::Mac: documentCodePage_ = 10000; break;
    case Word::Pc: documentCodePage_ = 437; break;
    case Word::Pca: documentCodePage_ = 850; break;
    case Word::AnsiCpg:
        if (param > 0)
            documentCodePage_ = param;
        break;
    case Word::Deff:
        defaultFont_ = param;
        formatDirty_ = true;
        break;
    case Word::Uc: st_.uc = std::clamp(param, 0, MaxUnicodeSkip); break;
    case Word::U: {
        // A signed 16-bit number; anything else is no character, but its fallback still goes.
        if (param >= -32768 && param <= 65535) {
            const char16_t ch = char16_t(param < 0 ? param + 65536 : param);
            if (ch >= 0x20 || ch == u'\t')
                addChar(ch);
        }
        skip_ = st_.uc;
        break;
    }
    case Word::Font:
        chr.font = param;
        formatDirty_ = true;
        break;
    case Word::Plain:
        chr = CharState();
        formatDirty_ = true;
        break;
    case Word::Bold:
        chr.bold = on != 0;
        formatDirty_ = true;
        break;
    case Word::Italic:
        chr.italic = on != 0;
        formatDirty_ = true;
        break;
    case Word::Underline:
        chr.underline = on != 0;
        formatDirty_ = true;
        break;
    case Word::UnderlineNone:
        chr.underline = false;
        formatDirty_ = true;
        break;
    case Word::Strike:
        chr.strike = on != 0;
        formatDirty_ = true;
        break;
    case Word::FontSize:
        chr.halfPoints = hasParam ? std::clamp(param, 0, 3276) : 0;
        formatDirty_ = true;
        break;
    case Word::Color:
        chr.color = hasParam ? param : -1;
        formatDirty_ = true;
        break;
    case Word::Background:
        chr.background = hasParam ? param : -1;
        formatDirty_ = true;
        break;
    case Word::Hidden: chr.hidden = on != 0; break;
    case Word::Super:
        chr.vertical = 1;
        formatDirty_ = true;
        break;
    case Word::Sub:
        chr.vertical = -1;
        formatDirty_ = true;
        break;
    case Word::NoSuperSub:
        chr.vertical = 0;
        formatDirty_ = true;
        break;
    case Word::Caps:
        chr.caps = on != 0;
        formatDirty_ = true;
        break;
    case Word::SmallCaps:
        chr.smallCaps = on != 0;
        formatDirty_ = true;
        break;
    case Word::Pard: para = ParaState(); break;
    case Word::Par:
    case Word::Row:
        if (takesText())
            endParagraph();
        break;
    case Word::Line: addChar(u'\u2028'); break;
    case Word::Tab:
    case Word::Cell: addChar(u'\t'); break;
    case Word::Left: para.align = Qt::AlignLeft; break;
    case Word::Right: para.align = Qt::AlignRight; break;
    case Word::Center: para.align = Qt::AlignHCenter; break;
    case Word::Justify: para.align = Qt::AlignJustify; break;
    case Word::LeftIndent: para.leftTwips = param; break;
    case Word::RightIndent: para.rightTwips = param; break;
    case Word::FirstIndent: para.firstTwips = param; break;
    case Word::SpaceBefore: para.beforeTwips = param; break;
    case Word::SpaceAfter: para.afterTwips = param; break;
    case Word::Char: addChar(info.ch); break;
    case Word::BorderSide:
        para.borderFrom = info.ch == SideCount ? 0 : info.ch;
        para.borderTo = info.ch == SideCount ? SideCount : info.ch + 1;
        break;
    case Word::OtherBorder: para.borderFrom = para.borderTo = 0; break;
    case Word::BorderStyle:
    case Word::BorderNone:
    case Word::BorderWidth:
    case Word::BorderColor:
    case Word::BorderSpace:
        for (int side = para.borderFrom; side < para.borderTo; ++side) {
            Border& b = para.borders[std::size_t(side)];
            if (info.word == Word::BorderStyle || info.word == Word::BorderNone)
                b.drawn = info.word == Word::BorderStyle;
            else if (info.word == Word::BorderWidth)
                b.widthTwips = std::clamp(param, 0, MaxBorderTwips);
            else if (info.word == Word::BorderColor)
                b.color = param;
            else
                b.spaceTwips = std::clamp(param, 0, MaxBorderTwips);
        }
        break;
    case Word::Footnote:
        // A note inside a note, or in hidden text, is not shown.
        if (!takesText() || st_.note)
            st_.dest = Dest::Skip;
        else
            startNote();
        break;
    case Word::FootnoteMark:
        // The mark in the text comes before its note, the one in the note inside it.
        addText(QString::number(st_.note ? noteCount_ : noteCount_ + 1));
        break;
    default: break;
    }
}

void RtfReader::addByte(char byte) {
    const auto b = static_cast<unsigned char>(byte);
    if (st_.dest == Dest::FontTable) {
        if (byte == ';')
            commitFont();
        else if (b >= 0x20)
            entryName_.append(byte);
        return;
    }
    if (st_.dest == Dest::ColorTable) {
        if (byte == ';')
            commitColor();
        return;
    }
    if (!takesText())
        return;
    if (byte == '\t') {
        addChar(u'\t');
        return;
    }
    if (b < 0x20)
        return;
    ensureFormat();
    const int codePage = currentCodePage();
    if (codePage != pendingCodePage_) {
        decodePending();
        pendingCodePage_ = codePage;
    }
    pendingBytes_.append(byte);
}

void RtfReader::addChar(char16_t ch) { addText(QString(QChar(ch))); }

void RtfReader::addText(const QString& text) {
    if (!takesText())
        return;
    ensureFormat();
    decodePending();
    runText_.append(text);
}

// Starts the paragraph that text or a paragraph mark is about to go into: in the box of its
// borders, after the previous one's box, or just after the previous paragraph.
void RtfReader::openParagraph() {
    if (out_.paragraphOpen)
        return;
    out_.paragraphOpen = true;
    const Borders& borders = st_.para.borders;
    const bool boxed = std::any_of(borders.begin(), borders.end(), [](const Border& b) { return b.drawn; });
    if (out_.box && boxed && borders == out_.boxBorders) {
        // The box's last paragraph so far gets back its space below.
        QTextBlockFormat previous = out_.cursor.blockFormat();
        previous.setBottomMargin(out_.lastAfter);
        out_.cursor.setBlockFormat(previous);
        out_.cursor.insertBlock(makeBlockFormat(), runFormat_);
        return;
    }
    if (out_.box) {
        // Qt keeps a paragraph after every table: it is this one.
        out_.cursor.movePosition(QTextCursor::End);
        out_.box = nullptr;
    } else if (!out_.first) {
        out_.cursor.insertBlock(makeBlockFormat(), runFormat_);
    }
    out_.first = false;
    // The first paragraph's space above stands above the border, the last one's below it.
    if (boxed)
        openBox(borders, pixels(st_.para.beforeTwips));
}

// A box of one table cell draws the borders; the empty paragraph Qt keeps before a table
// takes no room.
void RtfReader::openBox(const Borders& borders, double spaceAbove) {
    QTextTableFormat table;
    table.setBorderCollapse(true);
    table.setBorder(0);
    table.setCellSpacing(0);
    table.setCellPadding(0);
    table.setMargin(0);
    table.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    table.setTopMargin(spaceAbove);
    out_.box = out_.cursor.insertTable(1, 1, table);
    out_.boxBorders = borders;

    struct Setters {
        void (QTextTableCellFormat::*width)(qreal);
        void (QTextTableCellFormat::*brush)(const QBrush&);
        void (QTextTableCellFormat::*style)(QTextFrameFormat::BorderStyle);
        void (QTextTableCellFormat::*padding)(qreal);
    };
    static constexpr Setters sides[SideCount] = {
        {&QTextTableCellFormat::setTopBorder, &QTextTableCellFormat::setTopBorderBrush,
         &QTextTableCellFormat::setTopBorderStyle, &QTextTableCellFormat::setTopPadding},
        {&QTextTableCellFormat::setLeftBorder, &QTextTableCellFormat::setLeftBorderBrush,
         &QTextTableCellFormat::setLeftBorderStyle, &QTextTableCellFormat::setLeftPadding},
        {&QTextTableCellFormat::setBottomBorder, &QTextTableCellFormat::setBottomBorderBrush,
         &QTextTableCellFormat::setBottomBorderStyle, &QTextTableCellFormat::setBottomPadding},
        {&QTextTableCellFormat::setRightBorder, &QTextTableCellFormat::setRightBorderBrush,
         &QTextTableCellFormat::setRightBorderStyle, &QTextTableCellFormat::setRightPadding},
    };
    QTextTableCellFormat cell;
    for (int side = 0; side < SideCount; ++side) {
        const Border& b = borders[std::size_t(side)];
        const Setters& set = sides[side];
        // A side set to no width would keep Qt from drawing the others.
        if (!b.drawn)
            continue;
        // A line is at least a pixel wide, whatever its width in twips.
        (cell.*set.width)(std::max(1.0, std::round(b.widthTwips / TwipsPerPixel)));
        (cell.*set.style)(QTextFrameFormat::BorderStyle_Solid);
        (cell.*set.brush)(b.color >= 0 && std::size_t(b.color) < colors_.size() && colors_[b.color]
                              ? QBrush(*colors_[b.color])
                              : QBrush(Qt::black));
        (cell.*set.padding)(b.spaceTwips / TwipsPerPixel);
    }
    out_.box->cellAt(0, 0).setFormat(cell);
}

// The paragraph that ends here gets its formats; its mark's character format sizes it when
// it holds no text.
void RtfReader::finishParagraph() {
    QTextBlockFormat block = makeBlockFormat();
    bool firstInBox = false;
    if (out_.box) {
        firstInBox = out_.cursor.block() == out_.box->cellAt(0, 0).firstCursorPosition().block();
        if (firstInBox)
            block.setTopMargin(0);
        out_.lastAfter = block.bottomMargin();
        block.setBottomMargin(0);
        QTextTableFormat table = out_.box->format();
        table.setBottomMargin(out_.lastAfter);
        out_.box->setFormat(table);
    }
    out_.cursor.setBlockFormat(block);
    // The first paragraph's mark in a cell carries the cell's own format: its borders.
    if (firstInBox)
        out_.cursor.mergeBlockCharFormat(runFormat_);
    else
        out_.cursor.setBlockCharFormat(runFormat_);
}

void RtfReader::endParagraph() {
    ensureFormat();
    openParagraph();
    flushRun();
    finishParagraph();
    out_.paragraphOpen = false;
}

void RtfReader::ensureFormat() {
    if (!formatDirty_)
        return;
    formatDirty_ = false;
    QTextCharFormat format = makeFormat();
    if (format == runFormat_)
        return;
    flushRun();
    runFormat_ = format;
}

void RtfReader::decodePending() {
    if (pendingBytes_.isEmpty())
        return;
    runText_ += decode(pendingBytes_, pendingCodePage_);
    pendingBytes_.clear();
}

void RtfReader::flushRun() {
    decodePending();
    if (runText_.isEmpty())
        return;
    openParagraph();
    out_.cursor.insertText(runText_, runFormat_);
    runText_.clear();
}

// Each note becomes a paragraph of its own, gathered apart and shown at the end of the page.
void RtfReader::startNote() {
    flushRun();
    std::swap(out_, notesOut_);
    out_.paragraphOpen = false;
    ++noteCount_;
    st_.note = true;
}

void RtfReader::endNote() {
    ensureFormat();
    flushRun();
    if (out_.paragraphOpen) {
        finishParagraph();
        out_.paragraphOpen = false;
    }
    std::swap(out_, notesOut_);
}

// Below the page's text, under a rule as word processors set them off.
void RtfReader::appendNotes() {
    if (notes_.isEmpty())
        return;
    if (out_.box)
        out_.cursor.movePosition(QTextCursor::End);
    Borders rule;
    rule[Top] = {true, int(TwipsPerPixel), -1, int(NoteGap / 2 * TwipsPerPixel)};
    openBox(rule, NoteGap);
    out_.cursor.insertFragment(QTextDocumentFragment(&notes_));
}

int RtfReader::currentCodePage() const {
    const int font = st_.chr.font >= 0 ? st_.chr.font : defaultFont_;
    const auto it = fonts_.constFind(font);
    if (it != fonts_.constEnd() && it->codePage > 0)
        return it->codePage;
    return documentCodePage_;
}

QString RtfReader::decode(const QByteArray& bytes, int codePage) {
    if (codePage == 1250)
        return fromCp1250(bytes);
    if (codePage == SymbolCodePage || codePage == WingdingsCodePage) {
        QString text = decode(bytes, 1252);
        for (qsizetype i = 0; i < bytes.size() && i < text.size(); ++i) {
            const uchar b = uchar(bytes[i]);
            const char16_t ch = codePage == SymbolCodePage ? symbolChar(b) : wingdingsChar(b);
            if (ch)
                text[i] = QChar(ch);
        }
        return text;
    }
    auto& decoder = decoders_[codePage];
    if (!decoder)
        decoder = std::make_unique<QStringDecoder>(codecName(codePage).constData(),
                                                   QStringConverter::Flag::Stateless);
    if (!decoder->isValid())
        return fromCp1250(bytes);
    return decoder->decode(bytes);
}

QTextCharFormat RtfReader::makeFormat() const {
    const CharState& chr = st_.chr;
    QTextCharFormat f;
    if (chr.font >= 0 && chr.font != defaultFont_) {
        const auto it = fonts_.constFind(chr.font);
        // A symbol font's bytes are already the characters it shows; the font itself would
        // draw its own pictures for them, or nothing.
        if (it != fonts_.constEnd() && !it->name.isEmpty() && it->codePage != SymbolCodePage &&
            it->codePage != WingdingsCodePage)
            f.setFontFamilies(QStringList{it->name});
    }
    // Word shows text in capitals when both are on.
    if (chr.caps)
        f.setFontCapitalization(QFont::AllUppercase);
    else if (chr.smallCaps)
        f.setFontCapitalization(QFont::SmallCaps);
    // Qt draws superscripts at two thirds of the size, and nothing below a point.
    if (chr.halfPoints > 0)
        f.setFontPointSize(std::max(2.0, chr.halfPoints / 2.0));
    if (chr.bold)
        f.setFontWeight(QFont::Bold);
    if (chr.italic)
        f.setFontItalic(true);
    if (chr.underline)
        f.setFontUnderline(true);
    if (chr.strike)
        f.setFontStrikeOut(true);
    if (chr.color >= 0 && std::size_t(chr.color) < colors_.size() && colors_[chr.color])
        f.setForeground(*colors_[chr.color]);
    if (chr.background > 0 && std::size_t(chr.background) < colors_.size() &&
        colors_[chr.background])
        f.setBackground(*colors_[chr.background]);
    if (chr.vertical > 0)
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (chr.vertical < 0)
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    return f;
}

QTextBlockFormat RtfReader::makeBlockFormat() const {
    const ParaState& para = st_.para;
    QTextBlockFormat f;
    f.setAlignment(para.align);
    f.setLeftMargin(pixels(para.leftTwips));
    f.setRightMargin(pixels(para.rightTwips));
    f.setTextIndent(pixels(para.firstTwips, -2000));
    f.setTopMargin(pixels(para.beforeTwips));
    f.setBottomMargin(pixels(para.afterTwips));
    // A hanging first line (a bullet, a number) reaches its text with a tab: word processors
    // stop that tab at the left indent even where no tab stop is set.
    // Qt measures tab stops from where the first line starts.
    if (para.firstTwips < 0 && para.leftTwips > 0)
        f.setTabPositions({QTextOption::Tab(-f.textIndent(), QTextOption::LeftTab)});
    return f;
}

void RtfReader::commitFont() {
    if (entryFont_ >= 0) {
        const int codePage = entryCodePage_ > 0 ? entryCodePage_ : documentCodePage_;
        FontEntry entry;
        // A symbol font's name is spelled in ordinary letters.
        entry.name = decode(entryName_, codePage == SymbolCodePage ? 1252 : codePage).trimmed();
        entry.codePage = entryCodePage_;
        if (entry.codePage == SymbolCodePage && entry.name.startsWith(QLatin1String("Wingdings"), Qt::CaseInsensitive))
            entry.codePage = WingdingsCodePage;
        fonts_.insert(entryFont_, entry);
        formatDirty_ = true;
    }
    entryFont_ = -1;
    entryCodePage_ = 0;
    entryName_.clear();
}

void RtfReader::commitColor() {
    colors_.push_back(colorGiven_ ? std::optional<QColor>(QColor(red_, green_, blue_))
                                  : std::nullopt);
    colorGiven_ = false;
    red_ = green_ = blue_ = 0;
    formatDirty_ = true;
}

bool isRtf(QByteArrayView data) {
    qsizetype i = 0;
    while (i < data.size() &&
           (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n'))
        ++i;
    return data.sliced(i).startsWith("{\\rtf");
}

}  // namespace

void readRtf(QByteArrayView rtf, QTextDocument& doc) {
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear();
    if (isRtf(rtf)) {
        // One edit: Qt would otherwise look through all tables again after each new one.
        QTextCursor edit(&doc);
        edit.beginEditBlock();
        RtfReader(rtf, doc).run();
        edit.endEditBlock();
    } else {
        QString text = fromCp1250(rtf);
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        // Control characters other than tabs and line ends would show as boxes.
        text.removeIf([](QChar c) { return c.unicode() < 0x20 && c != u'\t' && c != u'\n'; });
        QTextCursor(&doc).insertText(text);
    }
    doc.setUndoRedoEnabled(undo);
}

bool loadRtf(const QString& path, QTextDocument& doc) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return false;
    readRtf(bytes, doc);
    return true;
}

}  // namespace platform

#include "platform/ProfileFile.h"

#include "platform/AtomicFile.h"
#include "platform/Codec.h"
#include "platform/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>

namespace platform {
namespace {

constexpr qsizetype MaxValueLength = 2047;
constexpr char16_t DosEndOfFile = 0x1a;

// Windows trims blanks, tabs and the DOS end-of-file mark, not every Unicode space: a
// no-break space belongs to the name or value.
bool isBlank(QChar c) {
    const char16_t u = c.unicode();
    return u == u' ' || (u >= u'\t' && u <= u'\r') || u == DosEndOfFile;
}

QStringView trimBlanks(QStringView s) {
    while (!s.isEmpty() && isBlank(s.front()))
        s = s.sliced(1);
    while (!s.isEmpty() && isBlank(s.back()))
        s.chop(1);
    return s;
}

bool sameName(QStringView a, QStringView b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// A line as Windows reads it. A section's name ends at its first "]", or at the line's end
// when there is none.
struct Line {
    enum class Kind { Blank, Comment, Section, Entry } kind = Kind::Blank;
    QStringView name;                  // of a section or entry
    std::optional<QStringView> value;  // after "=", when there is one
};

Line parse(const QString& text) {
    const QStringView t = trimBlanks(text);
    if (t.isEmpty())
        return {};
    if (t.front() == u';')
        return {Line::Kind::Comment, {}, {}};
    if (t.front() == u'[') {
        const qsizetype close = t.indexOf(u']');
        return {Line::Kind::Section, trimBlanks(t.sliced(1, (close < 0 ? t.size() : close) - 1)), {}};
    }
    const qsizetype eq = t.indexOf(u'=');
    if (eq < 0)
        return {Line::Kind::Entry, t, {}};
    return {Line::Kind::Entry, trimBlanks(t.first(eq)), trimBlanks(t.sliced(eq + 1))};
}
Line parse(QString&&) = delete;  // the views would outlive the text

QString unquoted(QStringView v) {
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        v = v.sliced(1, v.size() - 2);
    return v.left(MaxValueLength).toString();
}

// A section from its header to its last entry; the comments and blank lines after that
// belong as much to the next section.
struct SectionRange {
    qsizetype header = -1;
    qsizetype lastEntry = -1;  // the header when the section has no entries
};

SectionRange findSection(const QStringList& lines, const QString& section) {
    const QStringView name = trimBlanks(section);
    SectionRange r;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Line line = parse(lines[i]);
        if (line.kind == Line::Kind::Section) {
            if (r.header >= 0)
                break;
            if (sameName(line.name, name))
                r.header = r.lastEntry = i;
        } else if (r.header >= 0 && line.kind == Line::Kind::Entry) {
            r.lastEntry = i;
        }
    }
    return r;
}

// The line of a "key=value" entry.
qsizetype findKey(const QStringList& lines, const SectionRange& r, const QString& key) {
    const QStringView name = trimBlanks(key);
    for (qsizetype i = r.header + 1; i <= r.lastEntry; ++i) {
        const Line line = parse(lines[i]);
        if (line.kind == Line::Kind::Entry && line.value && sameName(line.name, name))
            return i;
    }
    return -1;
}

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// A file saved as Unicode says so by its first bytes; one without a mark is Windows-1250.
struct ByteOrderMark {
    QStringConverter::Encoding encoding;
    QByteArrayView bytes;
};
constexpr ByteOrderMark Marks[] = {
    {QStringConverter::Utf8, "\xef\xbb\xbf"},
    {QStringConverter::Utf16LE, "\xff\xfe"},
    {QStringConverter::Utf16BE, "\xfe\xff"},
};

const ByteOrderMark* markOf(QByteArrayView bytes) {
    for (const ByteOrderMark& m : Marks)
        if (bytes.startsWith(m.bytes))
            return &m;
    return nullptr;
}

QByteArrayView markBytes(std::optional<QStringConverter::Encoding> unicode) {
    for (const ByteOrderMark& m : Marks)
        if (m.encoding == unicode)
            return m.bytes;
    return {};
}

// Lines end in CR LF, LF or CR alike.
QStringList splitLines(QStringView text) {
    QStringList lines;
    qsizetype pos = 0;
    while (pos < text.size()) {
        qsizetype end = pos;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        lines.append(text.sliced(pos, end - pos).toString());
        pos = end;
        if (pos < text.size())
            pos += text.sliced(pos).startsWith(u"\r\n") ? 2 : 1;
    }
    return lines;
}

}  // namespace

bool ProfileFile::exists() const { return QFileInfo(path_).isFile(); }

std::optional<ProfileFile::Contents> ProfileFile::load() const {
    QFile f(path_);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return std::nullopt;
    Contents contents;
    QString text;
    if (const ByteOrderMark* mark = markOf(bytes)) {
        contents.unicode = mark->encoding;
        QStringDecoder decode(mark->encoding, QStringConverter::Flag::Stateless |
                                                  QStringConverter::Flag::ConvertInitialBom);
        text = decode(QByteArrayView(bytes).sliced(mark->bytes.size()));
    } else {
        text = fromCp1250(bytes);
    }
    // A DOS tool's end-of-file mark must not stay in the middle once lines follow it.
    while (text.endsWith(QChar(DosEndOfFile)))
        text.chop(1);
    contents.lines = splitLines(text);
    return contents;
}

ProfileFile::Contents ProfileFile::readLines() const { return load().value_or(Contents()); }

KatalogError ProfileFile::writeError() const {
    return KatalogError(QStringLiteral("Unable to write to %1").arg(QDir::toNativeSeparators(path_)));
}

ProfileFile::Contents ProfileFile::readLinesForWrite() const {
    auto contents = load();
    if (!contents && QFileInfo::exists(path_))
        throw writeError();
    return contents.value_or(Contents());
}

void ProfileFile::save(const Contents& contents) const {
    QDir().mkpath(QFileInfo(path_).absolutePath());
    const QString text = contents.lines.isEmpty() ? QString()
                                                  : contents.lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    QByteArray bytes;
    if (contents.unicode)
        bytes = markBytes(contents.unicode).toByteArray() + QStringEncoder(*contents.unicode).encode(text);
    else
        bytes = toCp1250(text);
    if (!writeFileAtomically(path_, bytes))
        throw writeError();
}

QString ProfileFile::readString(const QString& section, const QString& key, const QString& def) const {
    const QStringList lines = readLines().lines;
    const SectionRange r = findSection(lines, section);
    const qsizetype i = r.header < 0 ? -1 : findKey(lines, r, key);
    if (i >= 0)
        return unquoted(*parse(lines[i]).value);
    QStringView d = def;
    while (d.endsWith(u' '))
        d.chop(1);
    return d.toString();
}

int ProfileFile::readInteger(const QString& section, const QString& key, int def) const {
    return parseInteger(readString(section, key)).value_or(def);
}

QStringList ProfileFile::readSection(const QString& section) const {
    const QStringList lines = readLines().lines;
    const SectionRange r = findSection(lines, section);
    QStringList keys;
    for (qsizetype i = r.header + 1; r.header >= 0 && i <= r.lastEntry; ++i)
        if (const Line line = parse(lines[i]); line.kind == Line::Kind::Entry && line.value)
            keys.append(line.name.toString());
    return keys;
}

void ProfileFile::writeString(const QString& section, const QString& key, const QString& value) {
    Contents contents = readLinesForWrite();
    QStringList& lines = contents.lines;
    const SectionRange r = findSection(lines, section);
    if (r.header < 0) {
        lines.append(QLatin1Char('[') + trimBlanks(section).toString() + QLatin1Char(']'));
        lines.append(trimBlanks(key).toString() + QLatin1Char('=') + value);
    } else if (const qsizetype i = findKey(lines, r, key); i >= 0) {
        // The key keeps the spelling the file gives it.
        const Line line = parse(lines[i]);
        if (*line.value == value)
            return;
        lines[i] = line.name.toString() + QLatin1Char('=') + value;
    } else {
        // After the last key: a comment or blank line there closes the section or opens the
        // next one.
        lines.insert(r.lastEntry + 1, trimBlanks(key).toString() + QLatin1Char('=') + value);
    }
    save(contents);
}

void ProfileFile::writeInteger(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

void ProfileFile::deleteKey(const QString& section, const QString& key) {
    Contents contents = readLinesForWrite();
    const SectionRange r = findSection(contents.lines, section);
    if (r.header < 0)
        return;
    const qsizetype i = findKey(contents.lines, r, key);
    if (i < 0)
        return;
    contents.lines.removeAt(i);
    save(contents);
}

void ProfileFile::deleteSection(const QString& section) {
    Contents contents = readLinesForWrite();
    QStringList& lines = contents.lines;
    const SectionRange r = findSection(lines, section);
    if (r.header < 0)
        return;
    // The comments after the last key stay: they most often speak of the next section.
    const qsizetype at = r.header;
    lines.remove(at, r.lastEntry + 1 - at);
    // One blank line between what was before and what follows is enough.
    while (at < lines.size() && parse(lines[at]).kind == Line::Kind::Blank &&
           (at == 0 || parse(lines[at - 1]).kind == Line::Kind::Blank))
        lines.removeAt(at);
    save(contents);
}

std::optional<int> parseInteger(QStringView text, bool allowDollar) {
    QStringView t = trimBlanks(text);
    int hexStart = -1;
    if (t.size() > 2 && (t.startsWith(u"0x") || t.startsWith(u"0X")))
        hexStart = 2;
    else if (allowDollar && t.size() > 1 && t.startsWith(u'$'))
        hexStart = 1;
    if (hexStart > 0) {
        const QStringView digits = t.mid(hexStart);
        if (digits.size() > 8)
            return std::nullopt;
        uint v = 0;
        for (QChar c : digits) {
            const int d = hexDigit(c);
            if (d < 0)
                return std::nullopt;
            v = v * 16 + uint(d);
        }
        return int(v);
    }
    if (t.isEmpty())
        return std::nullopt;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        const bool sign = i == 0 && (c == u'+' || c == u'-') && t.size() > 1;
        if (!sign && (c < u'0' || c > u'9'))
            return std::nullopt;
    }
    bool ok = false;
    const int v = t.toInt(&ok, 10);
    return ok ? std::optional<int>(v) : std::nullopt;
}

}  // namespace platform

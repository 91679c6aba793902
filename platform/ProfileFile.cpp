#include "platform/ProfileFile.h"

#include "platform/AtomicFile.h"
#include "platform/Codec.h"
#include "platform/Errors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <optional>

namespace platform {
namespace {

constexpr qsizetype MaxValueLength = 2047;

bool isSectionLine(const QString& trimmed) {
    return trimmed.startsWith(QLatin1Char('[')) && trimmed.contains(QLatin1Char(']'));
}

QString sectionName(const QString& trimmed) {
    return trimmed.mid(1, trimmed.indexOf(QLatin1Char(']')) - 1).trimmed();
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Key of a "key=value" line, or nullopt for lines without "=" and comments.
std::optional<QString> keyOf(const QString& trimmed) {
    if (trimmed.startsWith(QLatin1Char(';')))
        return std::nullopt;
    const qsizetype eq = trimmed.indexOf(QLatin1Char('='));
    if (eq < 0)
        return std::nullopt;
    return trimmed.left(eq).trimmed();
}

QString valueOf(const QString& trimmed) {
    QString v = trimmed.mid(trimmed.indexOf(QLatin1Char('=')) + 1).trimmed();
    if (v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')) &&
        v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return v.left(MaxValueLength);
}

// [begin, end) line range of a section's body, begin pointing at the header line.
struct SectionRange {
    qsizetype header = -1;
    qsizetype end = -1;
};

SectionRange findSection(const QStringList& lines, const QString& section) {
    SectionRange r;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString t = lines[i].trimmed();
        if (!isSectionLine(t))
            continue;
        if (r.header >= 0) {
            r.end = i;
            return r;
        }
        if (sameName(sectionName(t), section.trimmed()))
            r.header = i;
    }
    if (r.header >= 0)
        r.end = lines.size();
    return r;
}

qsizetype findKey(const QStringList& lines, const SectionRange& r, const QString& key) {
    for (qsizetype i = r.header + 1; i < r.end; ++i) {
        auto k = keyOf(lines[i].trimmed());
        if (k && sameName(*k, key.trimmed()))
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

}  // namespace

bool ProfileFile::exists() const { return QFileInfo(path_).isFile(); }

namespace {

std::optional<QStringList> linesOf(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return std::nullopt;
    const QString text = fromCp1250(bytes);
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& l : lines)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

}  // namespace

QStringList ProfileFile::readLines() const { return linesOf(path_).value_or(QStringList()); }

KatalogError ProfileFile::writeError() const {
    return KatalogError(QStringLiteral("Unable to write to %1").arg(QDir::toNativeSeparators(path_)));
}

QStringList ProfileFile::readLinesForWrite() const {
    auto lines = linesOf(path_);
    if (!lines && QFileInfo::exists(path_))
        throw writeError();
    return lines.value_or(QStringList());
}

void ProfileFile::save(const QStringList& lines) const {
    QDir().mkpath(QFileInfo(path_).absolutePath());
    QByteArray bytes;
    for (const QString& l : lines) {
        bytes += toCp1250(l);
        bytes += "\r\n";
    }
    if (!writeFileAtomically(path_, bytes))
        throw writeError();
}

QString ProfileFile::readString(const QString& section, const QString& key, const QString& def) const {
    const QStringList lines = readLines();
    const SectionRange r = findSection(lines, section);
    if (r.header < 0)
        return def;
    const qsizetype i = findKey(lines, r, key);
    return i < 0 ? def : valueOf(lines[i].trimmed());
}

int ProfileFile::readInteger(const QString& section, const QString& key, int def) const {
    return parseInteger(readString(section, key)).value_or(def);
}

QStringList ProfileFile::readSection(const QString& section) const {
    const QStringList lines = readLines();
    const SectionRange r = findSection(lines, section);
    QStringList keys;
    for (qsizetype i = r.header + 1; r.header >= 0 && i < r.end; ++i)
        if (auto k = keyOf(lines[i].trimmed()))
            keys.append(*k);
    return keys;
}

void ProfileFile::writeString(const QString& section, const QString& key, const QString& value) {
    QStringList lines = readLinesForWrite();
    const QString line = key.trimmed() + QLatin1Char('=') + value;
    const SectionRange r = findSection(lines, section);
    if (r.header < 0) {
        lines.append(QLatin1Char('[') + section.trimmed() + QLatin1Char(']'));
        lines.append(line);
    } else if (const qsizetype i = findKey(lines, r, key); i >= 0) {
        if (lines[i] == line)
            return;
        lines[i] = line;
    } else {
        // After the section's last non-empty line, so blank separators stay between sections.
        qsizetype at = r.end;
        while (at > r.header + 1 && lines[at - 1].trimmed().isEmpty())
            --at;
        lines.insert(at, line);
    }
    save(lines);
}

void ProfileFile::writeInteger(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

void ProfileFile::deleteKey(const QString& section, const QString& key) {
    QStringList lines = readLinesForWrite();
    const SectionRange r = findSection(lines, section);
    if (r.header < 0)
        return;
    const qsizetype i = findKey(lines, r, key);
    if (i < 0)
        return;
    lines.removeAt(i);
    save(lines);
}

void ProfileFile::deleteSection(const QString& section) {
    QStringList lines = readLinesForWrite();
    const SectionRange r = findSection(lines, section);
    if (r.header < 0)
        return;
    lines.remove(r.header, r.end - r.header);
    save(lines);
}

std::optional<int> parseInteger(QStringView text, bool allowDollar) {
    QStringView t = text.trimmed();
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

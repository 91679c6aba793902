#include "catalogue/CatalogueStore.h"

#include "platform/Codec.h"
#include "platform/ProfileFile.h"

#include <cstring>

namespace katalog {
namespace {

bool isBlank(char c) { return uchar(c) <= 32; }

QByteArrayView trimmed(QByteArrayView s) {
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.sliced(b, e - b);
}

}  // namespace

QByteArrayView beforeZero(QByteArrayView text) {
    if (text.isEmpty())
        return text;
    const void* zero = std::memchr(text.data(), 0, size_t(text.size()));
    return zero ? text.first(static_cast<const char*>(zero) - text.data()) : text;
}

size_t qHash(const FoldedName& name, size_t seed) noexcept {
    size_t h = 0;
    const QStringView s = name.text;
    for (qsizetype i = 0; i < s.size(); ++i) {
        char32_t c = s[i].unicode();
        if (c < 0x80) {
            if (c >= 'A' && c <= 'Z')
                c += 'a' - 'A';
        } else {
            if (QChar::isHighSurrogate(c) && i + 1 < s.size() && s[i + 1].isLowSurrogate())
                c = QChar::surrogateToUcs4(char16_t(c), s[++i].unicode());
            c = QChar::toCaseFolded(c);
        }
        h = h * 31 + c;
    }
    return ::qHash(h, seed);
}

// The dialect: lines end at CR LF, lone CR or lone LF and the text at a zero byte; lines
// are trimmed of codes 0-32; empty lines, ";" comments and lines before the first section
// are skipped; "[name]" opens a section; "name=value" is a key, and any other line stays in
// its section with an empty name.
void CatalogueStore::load(QByteArrayView text) {
    clear();
    text = beforeZero(text);

    qsizetype current = -1;
    qsizetype pos = 0;
    const qsizetype size = text.size();
    while (pos < size) {
        qsizetype end = pos;
        while (end < size && text[end] != '\r' && text[end] != '\n')
            ++end;
        const QByteArrayView line = trimmed(text.sliced(pos, end - pos));
        pos = end;
        if (pos < size)
            pos += (text[pos] == '\r' && pos + 1 < size && text[pos + 1] == '\n') ? 2 : 1;

        if (line.isEmpty() || line.front() == ';')
            continue;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            appendSection(platform::fromCp1250(trimmed(line.sliced(1, line.size() - 2))));
            current = sections_.size() - 1;
            continue;
        }
        if (current < 0)
            continue;
        const qsizetype eq = line.indexOf('=');
        if (eq < 0)
            appendLine(current, QString(), QString());
        else
            appendLine(current, platform::fromCp1250(trimmed(line.first(eq))),
                       platform::fromCp1250(trimmed(line.sliced(eq + 1))));
    }
}

void CatalogueStore::clear() {
    sections_.clear();
    index_.clear();
    sectionIndex_.clear();
}

void CatalogueStore::appendSection(QString name) {
    FoldedName folded{name};
    if (!sectionIndex_.contains(folded))
        sectionIndex_.insert(folded, sections_.size());
    sections_.append(Section{std::move(name), {}});
    index_.append(Index{});
}

void CatalogueStore::appendLine(qsizetype section, QString name, QString value) {
    QList<Line>& lines = sections_[section].lines;
    QHash<FoldedName, qsizetype>& keys = index_[section].keys;
    FoldedName folded{name};
    if (!keys.contains(folded))
        keys.insert(folded, lines.size());
    lines.append(Line{std::move(name), std::move(value)});
}

const CatalogueStore::Line* CatalogueStore::findLine(const QString& section,
                                                     const QString& key) const {
    const auto s = sectionIndex_.constFind(FoldedName{section});
    if (s == sectionIndex_.constEnd())
        return nullptr;
    const auto& keys = index_[*s].keys;
    const auto k = keys.constFind(FoldedName{key});
    if (k == keys.constEnd())
        return nullptr;
    return &sections_[*s].lines[*k];
}

QString CatalogueStore::ReadString(const QString& section, const QString& key,
                                   const QString& def) const {
    const Line* line = findLine(section, key);
    return line ? line->value : def;
}

int CatalogueStore::ReadInteger(const QString& section, const QString& key, int def) const {
    const Line* line = findLine(section, key);
    if (!line || line->value.isEmpty())
        return def;
    // Names and values are trimmed of codes 0-32 only; a no-break space left at either end
    // makes the value no number, while the profile parser would skip it.
    const QString& v = line->value;
    if (v.front().isSpace() || v.back().isSpace())
        return def;
    return platform::parseInteger(v, true).value_or(def);
}

QStringList CatalogueStore::ReadSection(const QString& section) const {
    QStringList names;
    const auto s = sectionIndex_.constFind(FoldedName{section});
    if (s == sectionIndex_.constEnd())
        return names;
    const QList<Line>& lines = sections_[*s].lines;
    names.reserve(lines.size());
    for (const Line& line : lines)
        names.append(line.name);
    return names;
}

void CatalogueStore::WriteInteger(const QString& section, const QString& key, int value) {
    auto s = sectionIndex_.constFind(FoldedName{section});
    if (s == sectionIndex_.constEnd()) {
        appendSection(section);
        s = sectionIndex_.constFind(FoldedName{section});
    }
    const auto k = index_[*s].keys.constFind(FoldedName{key});
    if (k != index_[*s].keys.constEnd())
        sections_[*s].lines[*k].value = QString::number(value);
    else
        appendLine(*s, key, QString::number(value));
}

}  // namespace katalog

#include "catalogue/CatalogueStore.h"

#include "platform/Codec.h"
#include "platform/ProfileFile.h"

#include <cstring>
#include <string_view>
#include <unordered_map>

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

    // Key names repeat in every program and program names come twice (listed, then as their
    // own section): decoding each distinct name once shares one string among them.
    std::unordered_map<std::string_view, QString> names;
    const auto name = [&names](QByteArrayView bytes) -> const QString& {
        const std::string_view key(bytes.data(), size_t(bytes.size()));
        auto it = names.find(key);
        if (it == names.end())
            it = names.emplace(key, platform::fromCp1250(bytes)).first;
        return it->second;
    };

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
            appendSection(name(trimmed(line.sliced(1, line.size() - 2))));
            current = sections_.size() - 1;
            continue;
        }
        if (current < 0)
            continue;
        const qsizetype eq = line.indexOf('=');
        if (eq < 0)
            appendLine(current, QString(), QString());
        else
            appendLine(current, name(trimmed(line.first(eq))),
                       platform::fromCp1250(trimmed(line.sliced(eq + 1))));
    }
}

void CatalogueStore::clear() {
    sections_.clear();
    index_.clear();
    sectionIndex_.clear();
}

void CatalogueStore::appendSection(const QString& name) {
    qsizetype& first = sectionIndex_[FoldedName{name}];  // one hash for test and insert
    if (first == 0)
        first = sections_.size() + 1;
    sections_.append(Section{name, {}});
    index_.append(Index{});
}

void CatalogueStore::appendLine(qsizetype section, const QString& name, QString value) {
    QList<Line>& lines = sections_[section].lines;
    qsizetype& first = index_[section].keys[FoldedName{name}];
    if (first == 0)
        first = lines.size() + 1;
    lines.append(Line{name, std::move(value)});
}

const CatalogueStore::Line* CatalogueStore::findLine(const QString& section,
                                                     const QString& key) const {
    const auto s = sectionIndex_.constFind(FoldedName{section});
    if (s == sectionIndex_.constEnd())
        return nullptr;
    const auto& keys = index_[*s - 1].keys;
    const auto k = keys.constFind(FoldedName{key});
    if (k == keys.constEnd())
        return nullptr;
    return &sections_[*s - 1].lines[*k - 1];
}

QString CatalogueStore::ReadString(const QString& section, const QString& key,
                                   const QString& def) const {
    const Line* line = findLine(section, key);
    return line ? line->value : def;
}

int CatalogueStore::ReadInteger(const QString& section, const QString& key, int def) const {
    const Line* line = findLine(section, key);
    // A no-break space left at either end makes the value no number, as in a profile file.
    return line ? platform::parseInteger(line->value, true).value_or(def) : def;
}

QStringList CatalogueStore::ReadSection(const QString& section) const {
    QStringList names;
    const auto s = sectionIndex_.constFind(FoldedName{section});
    if (s == sectionIndex_.constEnd())
        return names;
    const QList<Line>& lines = sections_[*s - 1].lines;
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
    const qsizetype at = *s - 1;
    const auto k = index_[at].keys.constFind(FoldedName{key});
    if (k != index_[at].keys.constEnd())
        sections_[at].lines[*k - 1].value = QString::number(value);
    else
        appendLine(at, key, QString::number(value));
}

}  // namespace katalog

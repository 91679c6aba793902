#include "catalogue/ContainerBuilder.h"

#include "catalogue/Decrypt.h"
#include "platform/Codec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <QtEndian>

#include <limits>

namespace katalog {
namespace {

QByteArray int32Bytes(qint32 value) {
    QByteArray bytes(4, Qt::Uninitialized);
    qToLittleEndian(value, bytes.data());
    return bytes;
}

bool isBlank(QChar c) { return c.unicode() <= 32; }

QStringView trimmed(QStringView s) {
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.sliced(b, e - b);
}

std::optional<QString> decodeUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// Windows-1250 bytes, or nullopt when a character has no place in the code page.
std::optional<QByteArray> toCp1250Exactly(const QString& text) {
    QByteArray bytes = platform::toCp1250(text);
    if (platform::fromCp1250(bytes) != text)
        return std::nullopt;
    return bytes;
}

struct SourceLine {
    QString text;
    QString ending;
};

QList<SourceLine> splitKeepingEndings(const QString& text) {
    QList<SourceLine> lines;
    qsizetype pos = 0;
    while (pos < text.size()) {
        qsizetype end = pos;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        qsizetype next = end;
        if (next < text.size())
            next += (text[next] == u'\r' && next + 1 < text.size() && text[next + 1] == u'\n')
                        ? 2 : 1;
        lines.append(SourceLine{text.sliced(pos, end - pos), text.sliced(end, next - end)});
        pos = next;
    }
    return lines;
}

// The section a trimmed line opens, as the reader sees it.
std::optional<QString> sectionOf(QStringView line) {
    if (line.size() >= 2 && line.front() == u'[' && line.back() == u']')
        return trimmed(line.sliced(1, line.size() - 2)).toString();
    return std::nullopt;
}

QString fold(QStringView s) { return s.toString().toCaseFolded(); }

}  // namespace

QByteArray EncodeHexXor(QByteArrayView key, QByteArrayView plain) {
    static constexpr char digits[] = "0123456789ABCDEF";
    QByteArray out(plain.size() * 2, Qt::Uninitialized);
    char* d = out.data();
    for (qsizetype i = 0; i < plain.size(); ++i) {
        uchar b = uchar(plain[i]);
        if (!key.isEmpty())
            b ^= uchar(key[i % key.size()]);
        *d++ = digits[b >> 4];
        *d++ = digits[b & 15];
    }
    return out;
}

QByteArray BlockBytes(QByteArrayView encoded) {
    return int32Bytes(qint32(encoded.size())) + encoded.toByteArray();
}

QByteArray HeaderBytes(qint32 keyOffset, qint32 keyLength) {
    return QByteArray(ContainerMagic, ContainerMagicSize) +
           int32Bytes(qint32(quint32(keyOffset) ^ HeaderMask)) +
           int32Bytes(qint32(quint32(keyLength) ^ HeaderMask));
}

ContainerBuilder::ContainerBuilder(qint32 keyOffset, QByteArray key)
    : keyOffset_(keyOffset), key_(std::move(key)) {}

std::optional<ContainerBuilder> ContainerBuilder::fromKeyFile(QByteArrayView keyFile,
                                                              qint64 keyOffset,
                                                              qint64 keyLength) {
    if (keyOffset < 0 || keyLength < 0 || keyLength > MaxKeyLength ||
        keyOffset > std::numeric_limits<qint32>::max() || keyOffset + keyLength > keyFile.size())
        return std::nullopt;
    return ContainerBuilder(qint32(keyOffset), keyFile.sliced(keyOffset, keyLength).toByteArray());
}

qint32 ContainerBuilder::addDescription(QByteArrayView text) {
    const auto offset = qint32(descriptions_.size());
    descriptions_ += BlockBytes(EncodeHexXor(key_, text));
    return offset;
}

QByteArray ContainerBuilder::build(QByteArrayView catalogue) const {
    QByteArray out = HeaderBytes(keyOffset_, qint32(key_.size()));
    out += BlockBytes(EncodeHexXor(key_, catalogue));
    out += descriptions_;
    return out;
}

SourceBuildResult buildFromSource(const QString& sourcePath, ContainerBuilder builder) {
    const auto fail = [&](const QString& what) {
        return SourceBuildResult{{}, sourcePath + QStringLiteral(": ") + what};
    };
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read the file"));
    const auto text = decodeUtf8(source.readAll());
    if (!text)
        return fail(QStringLiteral("not UTF-8 text"));
    QList<SourceLine> lines = splitKeepingEndings(*text);

    // Categories are the names listed in [sections]; every other section below them may
    // carry description files.
    const QString sectionsName = QStringLiteral("sections");
    QSet<QString> categories;
    std::optional<QString> current;
    for (const SourceLine& line : lines) {
        const QStringView t = trimmed(line.text);
        if (t.isEmpty() || t.front() == u';')
            continue;
        if (auto s = sectionOf(t)) {
            current = fold(*s);
            continue;
        }
        if (current && *current == sectionsName) {
            const qsizetype eq = t.indexOf(u'=');
            categories.insert(eq < 0 ? QString() : fold(trimmed(t.first(eq))));
        }
    }

    const QDir base = QFileInfo(sourcePath).absoluteDir();
    QHash<QString, qint32> encoded;  // one block per description file
    current.reset();
    for (qsizetype n = 0; n < lines.size(); ++n) {
        SourceLine& line = lines[n];
        const QStringView t = trimmed(line.text);
        if (t.isEmpty() || t.front() == u';')
            continue;
        if (auto s = sectionOf(t)) {
            current = fold(*s);
            continue;
        }
        const qsizetype eq = t.indexOf(u'=');
        if (!current || *current == sectionsName || categories.contains(*current) || eq < 0)
            continue;
        const QString name = fold(trimmed(t.first(eq)));
        const bool czech = name == QStringLiteral("popis");
        if (!czech && name != QStringLiteral("popissk"))
            continue;
        const QString where = QStringLiteral("line %1: ").arg(n + 1);
        QString file = trimmed(t.sliced(eq + 1)).toString();
        file.replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (file.isEmpty())
            return fail(where + QStringLiteral("no description file named"));
        const QString path = QFileInfo(base.filePath(file)).absoluteFilePath();
        if (!encoded.contains(path)) {
            QFile description(path);
            if (!description.open(QIODevice::ReadOnly))
                return fail(where + QStringLiteral("cannot read ") + path);
            const auto descriptionText = decodeUtf8(description.readAll());
            if (!descriptionText)
                return fail(path + QStringLiteral(": not UTF-8 text"));
            const auto bytes = toCp1250Exactly(*descriptionText);
            if (!bytes)
                return fail(path + QStringLiteral(": a character that Windows-1250 cannot hold"));
            if (builder.descriptionAreaSize() > std::numeric_limits<qint32>::max() ||
                bytes->size() > std::numeric_limits<qint32>::max() / 2)
                return fail(QStringLiteral("descriptions too large for the container"));
            encoded.insert(path, builder.addDescription(*bytes));
        }
        line.text = (czech ? QStringLiteral("Seek=") : QStringLiteral("SeekSK=")) +
                    QString::number(encoded.value(path));
    }

    QByteArray catalogue;
    for (qsizetype n = 0; n < lines.size(); ++n) {
        const auto bytes = toCp1250Exactly(lines[n].text + lines[n].ending);
        if (!bytes)
            return fail(QStringLiteral("line %1: a character that Windows-1250 cannot hold")
                            .arg(n + 1));
        catalogue += *bytes;
    }
    return SourceBuildResult{builder.build(catalogue), {}};
}

}  // namespace katalog

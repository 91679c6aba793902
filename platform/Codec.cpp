#include "platform/Codec.h"

#include <QHash>
#include <QStringDecoder>

#include <algorithm>
#include <array>

namespace platform {
namespace {

struct Cp1250Table {
    std::array<char16_t, 256> toUnicode{};
    QHash<char16_t, char> fromUnicode;
    bool valid = false;

    Cp1250Table() {
        QStringDecoder decoder("windows-1250");
        valid = decoder.isValid();
        for (int b = 0; b < 256; ++b) {
            char16_t u = char16_t(b);
            if (valid) {
                const char byte = char(b);
                QString s = decoder.decode(QByteArrayView(&byte, 1));
                if (s.size() == 1 && s[0] != QChar::ReplacementCharacter)
                    u = s[0].unicode();
            }
            toUnicode[b] = u;
            if (!fromUnicode.contains(u))
                fromUnicode.insert(u, char(b));
        }
    }
};

const Cp1250Table& table() {
    static const Cp1250Table t;
    return t;
}

}  // namespace

QString fromCp1250(QByteArrayView bytes) {
    const auto& t = table();
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        d[i] = QChar(t.toUnicode[uchar(bytes[i])]);
    return out;
}

namespace {

QByteArray encode(QStringView text) {
    const auto& t = table();
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;  // one character, one "?"
        if (c.unicode() < 0x80) {
            out.append(char(c.unicode()));
            continue;
        }
        auto it = t.fromUnicode.constFind(c.unicode());
        out.append(it == t.fromUnicode.constEnd() ? '?' : *it);
    }
    return out;
}

}  // namespace

QByteArray toCp1250(QStringView text) {
    // A letter typed as a base and a combining mark (c + caron) is one Windows-1250 letter.
    const bool ascii = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (ascii)
        return encode(text);
    return encode(text.toString().normalized(QString::NormalizationForm_C));
}

bool cp1250Available() { return table().valid; }

}  // namespace platform

#include "catalogue/Decrypt.h"

#include <QtEndian>

#include <algorithm>
#include <array>

namespace katalog {
namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Every possible character pair mapped to its byte: one lookup per decoded byte keeps the
// start-up decoding of a few megabytes in the low milliseconds.
const std::array<uchar, 65536>& pairTable() {
    static const auto table = [] {
        std::array<uchar, 65536> t{};
        for (int hi = 0; hi < 256; ++hi) {
            for (int lo = 0; lo < 256; ++lo) {
                const int h = hexValue(char(hi));
                const int l = hexValue(char(lo));
                t[size_t(hi << 8 | lo)] = (h < 0 || l < 0) ? uchar(' ') : uchar(h << 4 | l);
            }
        }
        return t;
    }();
    return table;
}

// Decodes n pairs; keyIndex is the key position of the first output byte and is left at
// the position after the last.
void decodePairs(uchar* dst, const uchar* in, qsizetype n, QByteArrayView key,
                 qsizetype& keyIndex) {
    const auto& table = pairTable();
    if (key.isEmpty()) {
        for (qsizetype i = 0; i < n; ++i)
            dst[i] = table[size_t(in[2 * i]) << 8 | in[2 * i + 1]];
        return;
    }
    const auto* k = reinterpret_cast<const uchar*>(key.data());
    const qsizetype keyLength = key.size();
    qsizetype ki = keyIndex;
    for (qsizetype i = 0; i < n; ++i) {
        dst[i] = table[size_t(in[2 * i]) << 8 | in[2 * i + 1]] ^ k[ki];
        if (++ki == keyLength)
            ki = 0;
    }
    keyIndex = ki;
}

std::optional<qint32> readInt32(QIODevice& file) {
    char raw[4];
    if (file.read(raw, 4) != 4)
        return std::nullopt;
    return qFromLittleEndian<qint32>(raw);
}

}  // namespace

bool CheckMagic(QIODevice& file) {
    char magic[ContainerMagicSize];
    return file.seek(0) && file.read(magic, ContainerMagicSize) == ContainerMagicSize &&
           std::equal(magic, magic + ContainerMagicSize, ContainerMagic);
}

std::optional<ContainerHeader> ReadHeader(QIODevice& file) {
    if (!file.seek(ContainerMagicSize))
        return std::nullopt;
    const auto keyOffset = readInt32(file);
    const auto keyLength = readInt32(file);
    if (!keyOffset || !keyLength)
        return std::nullopt;
    return ContainerHeader{qint32(quint32(*keyOffset) ^ HeaderMask),
                           qint32(quint32(*keyLength) ^ HeaderMask)};
}

QByteArray ReadBlock(QIODevice& file, qint64 offset, QByteArrayView key, qint64* next) {
    qint64 length = 0;
    const bool lengthInFile = file.isSequential() || offset + 4 <= file.size();
    if (offset >= 0 && lengthInFile && file.seek(offset))
        length = readInt32(file).value_or(0);
    const qint64 end = offset + 4 + std::max<qint64>(length, 0);
    if (next)
        *next = end;

    // Each chunk is decoded as it arrives; a pair split between two reads waits in carry.
    // The key position runs on over the whole block.
    QByteArray out;
    if (length > 0) {
        // A damaged length must not make us allocate gigabytes for a small file.
        const qint64 available =
            file.isSequential() ? BlockChunkSize : std::max<qint64>(0, file.size() - file.pos());
        out.reserve(std::min(length, available) / 2);
        char chunk[BlockChunkSize + 1];
        qint64 carry = 0;
        qint64 taken = 0;
        qsizetype keyIndex = 0;
        while (taken < length) {
            const qint64 want = std::min(BlockChunkSize, length - taken);
            const qint64 got = file.read(chunk + carry, want);
            if (got <= 0)
                break;
            taken += got;
            const qint64 pairs = (carry + got) / 2;
            const qsizetype at = out.size();
            out.resize(at + pairs);
            decodePairs(reinterpret_cast<uchar*>(out.data()) + at,
                        reinterpret_cast<const uchar*>(chunk), pairs, key, keyIndex);
            carry = (carry + got) % 2;
            if (carry)
                chunk[0] = chunk[2 * pairs];
        }
    }
    if (!file.isSequential() && end <= file.size())
        file.seek(end);
    return out;
}

qint64 EncodedBlockSize(QIODevice& file, qint64 offset) {
    if (offset < 0 || file.isSequential() || offset + 4 > file.size() || !file.seek(offset))
        return 0;
    const qint64 length = readInt32(file).value_or(0);
    return std::clamp<qint64>(length, 0, file.size() - offset - 4);
}

QByteArray DecodeHexXor(QByteArrayView key, QByteArrayView text) {
    const qsizetype n = text.size() / 2;
    QByteArray out(n, Qt::Uninitialized);
    qsizetype keyIndex = 0;
    decodePairs(reinterpret_cast<uchar*>(out.data()), reinterpret_cast<const uchar*>(text.data()),
                n, key, keyIndex);
    return out;
}

}  // namespace katalog

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

    QByteArray encoded;
    if (length > 0) {
        // A damaged length must not make us allocate gigabytes for a small file.
        const qint64 available =
            file.isSequential() ? BlockChunkSize : std::max<qint64>(0, file.size() - file.pos());
        encoded.resize(std::min(length, available));
        qint64 taken = 0;
        while (taken < length) {
            const qint64 want = std::min(BlockChunkSize, length - taken);
            if (encoded.size() < taken + want)
                encoded.resize(taken + want);
            const qint64 got = file.read(encoded.data() + taken, want);
            if (got <= 0)
                break;
            taken += got;
        }
        encoded.resize(taken);
    }
    if (!file.isSequential() && end <= file.size())
        file.seek(end);
    return DecodeHexXor(key, encoded);
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
    const auto& table = pairTable();
    const auto* in = reinterpret_cast<const uchar*>(text.data());
    auto* dst = reinterpret_cast<uchar*>(out.data());
    if (key.isEmpty()) {
        for (qsizetype i = 0; i < n; ++i)
            dst[i] = table[size_t(in[2 * i]) << 8 | in[2 * i + 1]];
        return out;
    }
    const auto* k = reinterpret_cast<const uchar*>(key.data());
    const qsizetype keyLength = key.size();
    qsizetype ki = 0;
    for (qsizetype i = 0; i < n; ++i) {
        dst[i] = table[size_t(in[2 * i]) << 8 | in[2 * i + 1]] ^ k[ki];
        if (++ki == keyLength)
            ki = 0;
    }
    return out;
}

}  // namespace katalog

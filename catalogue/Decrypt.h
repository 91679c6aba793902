#pragma once
// The scrambled catalogue container MAP.PIC: magic, masked header, hex-and-XOR blocks.
#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>

#include <cstdint>
#include <optional>

namespace katalog {

inline constexpr char ContainerMagic[] = "BRPIC";
inline constexpr qint64 ContainerMagicSize = 5;
inline constexpr quint32 HeaderMask = 0x5D3E91C6u;
inline constexpr qint64 HeaderEnd = 13;          // where the catalogue block starts
inline constexpr int MaxKeyLength = 101;         // longer keys are outside the format
inline constexpr qint64 BlockChunkSize = 1024;

struct ContainerHeader {
    qint32 KeyOffset = 0;
    qint32 KeyLength = 0;
};

// True when the file starts with "BRPIC".
bool CheckMagic(QIODevice& file);

// The unmasked header values; nullopt when the file ends inside the header. Leaves the file
// at HeaderEnd.
std::optional<ContainerHeader> ReadHeader(QIODevice& file);

// Decodes the block whose 32-bit length sits at offset. Only the bytes the file really has
// are decoded, so a length that runs past the end costs no more than the file's size.
// next (optional) gets the position right after the block as its length field says:
// offset + 4 + N, or offset + 4 for a length of 0 or less.
QByteArray ReadBlock(QIODevice& file, qint64 offset, QByteArrayView key, qint64* next = nullptr);

// The number of encoded bytes the block at offset really has in the file: its length field,
// cut at the end of the file (0 for a length of 0 or less, or no length field).
qint64 EncodedBlockSize(QIODevice& file, qint64 offset);

// Hex digit pairs to bytes, each XOR-ed with the key byte of its output position (the key
// restarts with every block). A pair that is not hexadecimal stands for a space; a trailing
// odd character is dropped.
QByteArray DecodeHexXor(QByteArrayView key, QByteArrayView text);

}  // namespace katalog

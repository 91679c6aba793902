#include "catalogue/Decrypt.h"

#include "catalogue/ContainerBuilder.h"

#include <QBuffer>
#include <QtEndian>

#include <gtest/gtest.h>

#include <vector>

using namespace katalog;

namespace {

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

// Hands out at most `limit` bytes per read and records what was asked for, as a slow or
// unusual device might.
class TricklingDevice : public QIODevice {
public:
    TricklingDevice(QByteArray data, qint64 limit) : data_(std::move(data)), limit_(limit) {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    qint64 size() const override { return data_.size(); }
    std::vector<qint64> requests;

protected:
    qint64 readData(char* out, qint64 max) override {
        requests.push_back(max);
        const qint64 n = std::min({max, limit_, qint64(data_.size()) - pos()});
        if (n <= 0)
            return 0;
        std::copy_n(data_.constData() + pos(), n, out);
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray data_;
    qint64 limit_;
};

}  // namespace

TEST(DecodeHexXor, DecodesPairsByTheTable) {
    struct Case {
        QByteArray key;
        QByteArray text;
        QByteArray expected;
    };
    const Case cases[] = {
        {"", "616263", "abc"},                    // empty key: plain hex
        {"", "4a4A6b6B", "JJkk"},                 // either case of the digits
        {"", "61626", "ab"},                      // trailing odd character dropped
        {"", "6", ""},
        {"", "", ""},
        {"", "G1", " "},                          // not a hex digit: a space
        {"", "4 ", " "},
        {"", "1G41", " A"},
        {"", "0x41", " A"},
        {"", "00ff", bytes({0, 255})},
        {bytes({1}), "616263", bytes({0x60, 0x63, 0x62})},
        {bytes({1, 2}), "61626364", bytes({0x60, 0x60, 0x62, 0x66})},
        {bytes({1}), "G1", "!"},                  // the space is XOR-ed like any byte
        {bytes({0x0f, 0xf0}), "4 4 ", bytes({0x2f, 0xd0})},
        // The key runs over decoded bytes: "AB" over three zero bytes is A, B, A (stepping
        // per character would give A, A, A).
        {"AB", "000000", "ABA"},
        {"longer key than text", "0000", "lo"},
        {bytes({0, 0, 7}), "000000000000", bytes({0, 0, 7, 0, 0, 7})},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeHexXor(c.key, c.text), c.expected) << c.text.constData();
}

TEST(DecodeHexXor, EveryByteSurvivesEncodingWithEveryKeyPosition) {
    QByteArray plain;
    for (int i = 0; i < 256 * 3; ++i)
        plain.append(char(i * 7 + 3));
    for (const QByteArray& key : {QByteArray(), QByteArray("k"), QByteArray(101, '\xA5'),
                                  QByteArray("\x00\xff\x10", 3)})
        EXPECT_EQ(DecodeHexXor(key, EncodeHexXor(key, plain)), plain) << key.size();
    // Lower-case input decodes as upper case does.
    EXPECT_EQ(DecodeHexXor("xy", EncodeHexXor("xy", plain).toLower()), plain);
}

TEST(ContainerHeader, MagicAndMaskedValues) {
    QByteArray file = HeaderBytes(1234, 17) + BlockBytes("41");
    QBuffer buffer(&file);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    buffer.seek(9);
    EXPECT_TRUE(CheckMagic(buffer));
    const auto header = ReadHeader(buffer);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->KeyOffset, 1234);
    EXPECT_EQ(header->KeyLength, 17);
    EXPECT_EQ(buffer.pos(), HeaderEnd);
    // Masked independently with the same constant.
    EXPECT_EQ(file.mid(5, 4), QByteArray::fromHex("14 95 3e 5d"));
    EXPECT_EQ(file.mid(9, 4), QByteArray::fromHex("d7 91 3e 5d"));

    for (const QByteArray& foreign : {QByteArray(), QByteArray("BRPI"), QByteArray("brpic...."),
                                      QByteArray("XBRPIC")}) {
        QByteArray copy = foreign;
        QBuffer b(&copy);
        ASSERT_TRUE(b.open(QIODevice::ReadOnly));
        EXPECT_FALSE(CheckMagic(b)) << foreign.constData();
    }

    QByteArray shortHeader = HeaderBytes(1, 2).left(12);
    QBuffer b(&shortHeader);
    ASSERT_TRUE(b.open(QIODevice::ReadOnly));
    EXPECT_TRUE(CheckMagic(b));
    EXPECT_FALSE(ReadHeader(b));
}

TEST(ReadBlock, LongBlocksDecodeInFullAcrossChunks) {
    for (const int encodedSize : {0, 2, 1022, 1024, 1026, 2048, 2050, 5000, 5001}) {
        QByteArray plain;
        for (int i = 0; i < encodedSize / 2; ++i)
            plain.append(char(i * 31));
        QByteArray encoded = EncodeHexXor("key", plain);
        if (encodedSize % 2)
            encoded.append('F');
        const QByteArray file = "pad" + BlockBytes(encoded) + "tail";

        QByteArray copy = file;
        QBuffer buffer(&copy);
        ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
        qint64 next = -1;
        EXPECT_EQ(ReadBlock(buffer, 3, "key", &next), plain) << encodedSize;
        EXPECT_EQ(next, 3 + 4 + encoded.size());
        EXPECT_EQ(buffer.pos(), next);

        // A device that hands out 7 bytes at a time, splitting pairs, changes nothing; no read
        // asks for more than 1024 bytes.
        TricklingDevice slow(file, 7);
        EXPECT_EQ(ReadBlock(slow, 3, "key"), plain) << encodedSize;
        for (qint64 r : slow.requests)
            EXPECT_LE(r, BlockChunkSize);
    }
}

TEST(ReadBlock, TheKeyRestartsWithEveryBlock) {
    const QByteArray key = "secret";
    QByteArray file = BlockBytes(EncodeHexXor(key, "first block")) +
                      BlockBytes(EncodeHexXor(key, "second"));
    QBuffer buffer(&file);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    qint64 next = 0;
    EXPECT_EQ(ReadBlock(buffer, 0, key, &next), "first block");
    EXPECT_EQ(ReadBlock(buffer, next, key), "second");
}

TEST(ReadBlock, DamagedLengthsDecodeWhatExists) {
    struct Case {
        QByteArray file;
        qint64 offset;
        QByteArray expected;
        qint64 next;
    };
    auto withLength = [](qint32 n, const QByteArray& body) {
        QByteArray b = BlockBytes(body);
        qToLittleEndian(n, b.data());
        return b;
    };
    const Case cases[] = {
        {withLength(0, "4142"), 0, "", 4},
        {withLength(-5, "4142"), 0, "", 4},                   // never backwards
        {withLength(100, "41424"), 0, "AB", 104},             // runs past the end
        {withLength(0x7fffffff, "4142"), 0, "AB", 4 + qint64(0x7fffffff)},
        {withLength(2, "4142"), 50, "", 54},                  // block beyond the file
        {QByteArray("\x02\x00", 2), 0, "", 4},               // length cut short
    };
    for (const Case& c : cases) {
        QByteArray copy = c.file;
        QBuffer buffer(&copy);
        ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
        qint64 next = -1;
        EXPECT_EQ(ReadBlock(buffer, c.offset, {}, &next), c.expected) << c.file.toHex().constData();
        EXPECT_EQ(next, c.next);
    }
}

#include "platform/Errors.h"
#include "platform/Jpeg.h"
#include "platform/Pictures.h"
#include "tests/support/TestCd.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>

#include <gtest/gtest.h>

using testing_support::readFile;
using testing_support::writeFile;

namespace {

// Left half red, right half blue.
QImage twoColours(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, x < w / 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    return img;
}

QByteArray encode(const QImage& img, bool progressive = false) {
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    QImageWriter w(&buf, "jpeg");
    w.setQuality(95);
    w.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(w.write(img)) << w.errorString().toStdString();
    return bytes;
}

bool near(QRgb a, QRgb b, int tolerance = 40) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

// Offset of the SOF0/SOF2 marker's height field.
qsizetype sofDimensions(const QByteArray& jpeg) {
    for (qsizetype i = 0; i + 9 < jpeg.size(); ++i)
        if (uchar(jpeg[i]) == 0xFF && (uchar(jpeg[i + 1]) == 0xC0 || uchar(jpeg[i + 1]) == 0xC2))
            return i + 5;
    return -1;
}

QByteArray withSize(QByteArray jpeg, int width, int height) {
    const qsizetype at = sofDimensions(jpeg);
    EXPECT_GT(at, 0);
    jpeg[at] = char(height >> 8);
    jpeg[at + 1] = char(height & 0xFF);
    jpeg[at + 2] = char(width >> 8);
    jpeg[at + 3] = char(width & 0xFF);
    return jpeg;
}

}  // namespace

struct ColourCase {
    const char* name;
    QByteArray (*make)();
};

class JpegColours : public ::testing::TestWithParam<ColourCase> {};

TEST_P(JpegColours, DecodeToTheirOwnColoursAndSize) {
    const QByteArray bytes = GetParam().make();
    QString error;
    const auto image = platform::decodeJpeg(bytes, &error);
    ASSERT_TRUE(image) << error.toStdString();
    EXPECT_EQ(image->format(), QImage::Format_RGB32);
    ASSERT_EQ(image->size(), QSize(16, 8));
    EXPECT_TRUE(near(image->pixel(2, 4), qRgb(255, 0, 0))) << std::hex << image->pixel(2, 4);
    EXPECT_TRUE(near(image->pixel(13, 4), qRgb(0, 0, 255))) << std::hex << image->pixel(13, 4);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, JpegColours,
    ::testing::Values(ColourCase{"Baseline", [] { return encode(twoColours(16, 8)); }},
                      ColourCase{"Progressive", [] { return encode(twoColours(16, 8), true); }},
                      // Adobe's inverted CMYK, as written by prepress tools.
                      ColourCase{"AdobeCmyk",
                                 [] {
                                     return readFile(KATALOG_SOURCE_DIR
                                                     "/tests/data/cmyk_adobe.jpg");
                                 }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Jpeg, GreyscaleBecomesEqualChannels) {
    QImage grey(8, 8, QImage::Format_Grayscale8);
    grey.fill(100);
    const auto image = platform::decodeJpeg(encode(grey));
    ASSERT_TRUE(image);
    const QRgb p = image->pixel(4, 4);
    EXPECT_EQ(qRed(p), qGreen(p));
    EXPECT_EQ(qGreen(p), qBlue(p));
    EXPECT_NEAR(qRed(p), 100, 3);
}

TEST(Jpeg, DamagedDataIsRefusedWithAReason) {
    const QByteArray good = encode(twoColours(64, 48));
    ASSERT_TRUE(platform::decodeJpeg(good));
    QByteArray extraneous = good;
    extraneous.insert(extraneous.size() - 2, "garbage");  // before the end marker: only a warning
    const std::vector<std::pair<const char*, QByteArray>> cases = {
        {"empty", QByteArray()},
        {"not a JPEG", QByteArray("GIF89a this is something else")},
        {"start marker only", good.left(2)},
        {"header only", good.left(sofDimensions(good) + 20)},
        {"half", good.left(good.size() / 2)},
        {"last byte missing", good.left(good.size() - 1)},
        {"bytes before the end marker", extraneous},
        {"zero width", withSize(good, 0, 48)},
    };
    for (const auto& [name, bytes] : cases) {
        QString error;
        EXPECT_FALSE(platform::decodeJpeg(bytes, &error)) << name;
        EXPECT_FALSE(error.isEmpty()) << name;
    }
}

TEST(Jpeg, PicturesAboveTheLimitAreRefusedBeforeDecoding) {
    const QByteArray good = encode(twoColours(64, 48));
    for (auto [w, h] : {std::pair{platform::JpegMaxSide + 1, 8},
                        std::pair{8, platform::JpegMaxSide + 1}, std::pair{12000, 12000}}) {
        QString error;
        EXPECT_FALSE(platform::decodeJpeg(withSize(good, w, h), &error)) << w << "x" << h;
        EXPECT_TRUE(error.contains("too large")) << error.toStdString();
    }
    // At the limit the size is accepted; this file then ends early.
    QString error;
    EXPECT_FALSE(platform::decodeJpeg(withSize(good, platform::JpegMaxSide, 64), &error));
    EXPECT_FALSE(error.contains("too large")) << error.toStdString();
}

class PictureFiles : public testing_support::TestCd {};

TEST_F(PictureFiles, JpegByExtensionIgnoringCase) {
    writeFile(cdFile("a.JPG"), encode(twoColours(16, 8)));
    writeFile(cdFile("b.jpeg"), encode(twoColours(16, 8)));
    EXPECT_EQ(platform::loadPicture(cdFile("a.JPG")).size(), QSize(16, 8));
    EXPECT_EQ(platform::loadPicture(cdFile("b.jpeg")).size(), QSize(16, 8));
}

TEST_F(PictureFiles, DamagedFilesThrowTheLoadersError) {
    const QByteArray jpeg = encode(twoColours(64, 48));
    QByteArray bmp;
    {
        QBuffer buf(&bmp);
        buf.open(QIODevice::WriteOnly);
        twoColours(64, 48).save(&buf, "BMP");
    }
    writeFile(cdFile("good.bmp"), bmp);
    EXPECT_EQ(platform::loadPicture(cdFile("good.bmp")).size(), QSize(64, 48));

    const std::vector<std::pair<QString, QByteArray>> cases = {
        {"cut.jpg", jpeg.left(jpeg.size() / 2)},
        {"bmp.jpg", bmp},
        {"cut.bmp", bmp.left(bmp.size() - 1)},
        {"header.bmp", bmp.left(54)},
        {"jpeg.bmp", jpeg},
        {"empty.bmp", QByteArray()},
    };
    for (const auto& [name, bytes] : cases) {
        writeFile(cdFile(name), bytes);
        try {
            platform::loadPicture(cdFile(name));
            ADD_FAILURE() << name.toStdString() << " loaded";
        } catch (const platform::KatalogError& e) {
            EXPECT_FALSE(e.text().isEmpty()) << name.toStdString();
        }
    }
    EXPECT_THROW(platform::loadPicture(cdFile("missing.jpg")), platform::KatalogError);
}

#include "platform/Pictures.h"

#include "platform/Errors.h"
#include "platform/Jpeg.h"
#include "platform/Paths.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cstdlib>

namespace platform {
namespace {

// Qt's bitmap reader fills a truncated file's missing rows with whatever memory held: a
// bitmap shorter than its header promises is refused instead. Compressed bitmaps have no
// size to check and are left to the reader.
bool bitmapComplete(const QByteArray& bytes) {
    constexpr int FileHeader = 14;
    if (bytes.size() < FileHeader + 16 || bytes[0] != 'B' || bytes[1] != 'M')
        return true;  // not ours to judge: the reader refuses it
    const auto* d = reinterpret_cast<const uchar*>(bytes.constData());
    const quint32 offBits = qFromLittleEndian<quint32>(d + 10);
    const quint32 headerSize = qFromLittleEndian<quint32>(d + FileHeader);
    qint64 width = 0, height = 0, bitCount = 0, compression = 0;
    if (headerSize == 12) {  // OS/2 core header
        width = qFromLittleEndian<quint16>(d + FileHeader + 4);
        height = qFromLittleEndian<quint16>(d + FileHeader + 6);
        bitCount = qFromLittleEndian<quint16>(d + FileHeader + 10);
    } else if (headerSize >= 40 && bytes.size() >= FileHeader + 20) {
        width = qFromLittleEndian<qint32>(d + FileHeader + 4);
        height = std::llabs(qFromLittleEndian<qint32>(d + FileHeader + 8));
        bitCount = qFromLittleEndian<quint16>(d + FileHeader + 14);
        compression = qFromLittleEndian<quint32>(d + FileHeader + 16);
    } else {
        return true;
    }
    constexpr qint64 BI_RGB = 0, BI_BITFIELDS = 3;
    if (compression != BI_RGB && compression != BI_BITFIELDS)
        return true;
    // Sizes no reader accepts are refused by the reader itself (its allocation limit).
    if (width <= 0 || height <= 0 || width > 65536 || height > 65536 || bitCount > 64)
        return true;
    const qint64 stride = ((width * bitCount + 31) / 32) * 4;
    return qint64(offBits) + stride * height <= bytes.size();
}

}  // namespace

QImage loadPicture(const QString& path) {
    if (!QFileInfo(path).isFile())
        throw KatalogError(QStringLiteral("Cannot open file \"%1\"").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw KatalogError(QStringLiteral("Cannot open file \"%1\"").arg(path));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw KatalogError(QStringLiteral("Cannot read file \"%1\"").arg(path));

    const QString ext = lowerExtension(path);
    if (ext == QLatin1String(".jpg") || ext == QLatin1String(".jpeg")) {
        QString error;
        std::optional<QImage> image = decodeJpeg(bytes, &error);
        if (!image)
            throw KatalogError(error);
        return *image;
    }
    QImage image;
    if (bitmapComplete(bytes))
        image.loadFromData(bytes, "BMP");
    if (image.isNull())
        throw KatalogError(QStringLiteral("Bitmap image is not valid"));
    return image;
}

}  // namespace platform

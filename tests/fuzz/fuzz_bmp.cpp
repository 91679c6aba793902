// Bitmaps from the CD (skins, screenshots, the intro picture): any bytes give a picture or a
// reason, never a crash, a hang or a picture larger than the reader's allocation limit.
#include "platform/Errors.h"
#include "platform/Pictures.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    static const QString path = dir.path() + QStringLiteral("/obr.BMP");
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    try {
        const QImage image = platform::loadPicture(path);
        // Qt's reader allocates at most 128 MB for one picture.
        if (image.isNull() || image.sizeInBytes() > qsizetype(256) * 1024 * 1024)
            std::abort();
        (void)image.pixel(image.width() - 1, image.height() - 1);
    } catch (const platform::KatalogError& e) {
        if (e.text().isEmpty())
            std::abort();  // a refusal always says why
    }
    return 0;
}

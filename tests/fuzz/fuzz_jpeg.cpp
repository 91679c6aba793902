// JPEG pictures from the CD: any bytes give a picture or a reason, never a crash or a hang.
#include "platform/Jpeg.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QString error;
    const auto image = platform::decodeJpeg(
        QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)), &error);
    if (image) {
        if (image->width() > platform::JpegMaxSide || image->height() > platform::JpegMaxSide ||
            image->format() != QImage::Format_RGB32)
            std::abort();
    } else if (error.isEmpty()) {
        std::abort();  // a refusal always says why
    }
    return 0;
}

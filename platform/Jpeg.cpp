#include "platform/Jpeg.h"

namespace platform {

std::optional<QImage> decodeJpeg(QByteArrayView data, QString* error) {
    QImage image;
    if (!image.loadFromData(data, "JPEG")) {
        if (error)
            *error = QStringLiteral("JPEG error");
        return std::nullopt;
    }
    return image;
}

}  // namespace platform

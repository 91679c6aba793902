#include "platform/Pictures.h"

#include "platform/Errors.h"
#include "platform/Paths.h"

#include <QFileInfo>
#include <QImageReader>

namespace platform {

QImage loadPicture(const QString& path) {
    if (!QFileInfo(path).isFile())
        throw KatalogError(QStringLiteral("Cannot open file \"%1\"").arg(path));
    QImageReader reader(path);
    const QString ext = lowerExtension(path);
    if (ext == QLatin1String(".jpg") || ext == QLatin1String(".jpeg"))
        reader.setFormat("jpeg");
    else
        reader.setFormat("bmp");
    QImage image = reader.read();
    if (image.isNull())
        throw KatalogError(QStringLiteral("Bitmap image is not valid"));
    return image;
}

}  // namespace platform

#pragma once
// Pictures from the CD: bitmaps through Qt, JPEG through libjpeg.
#include <QImage>
#include <QString>

namespace platform {

// Loads a picture by its extension (".bmp", ".jpg", ".jpeg"; any other extension is tried
// as a bitmap). Throws KatalogError with the loader's text when the file is missing or
// cannot be decoded.
QImage loadPicture(const QString& path);

}  // namespace platform

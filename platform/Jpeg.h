#pragma once
// JPEG pictures through libjpeg.
#include <QByteArrayView>
#include <QImage>
#include <QString>

#include <optional>

namespace platform {

// The largest picture decoded: no side above MaxSide pixels and no more than MaxPixels in
// all (an RGB32 picture of 256 MB). A CD's screenshots and covers are far below both.
inline constexpr int JpegMaxSide = 16384;
inline constexpr long long JpegMaxPixels = 64LL * 1024 * 1024;

// Decodes a whole JPEG picture into an RGB32 image (greyscale and CMYK converted). nullopt,
// with the reason in error, for damaged or truncated data (libjpeg's warnings count as
// errors) and for pictures above the pixel limit (refused before anything is allocated).
std::optional<QImage> decodeJpeg(QByteArrayView data, QString* error = nullptr);

}  // namespace platform

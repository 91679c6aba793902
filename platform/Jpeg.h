#pragma once
// JPEG pictures through libjpeg.
#include <QByteArrayView>
#include <QImage>
#include <QString>

#include <optional>

namespace platform {

// Decodes a whole JPEG picture. nullopt, with the reason in error, for damaged or truncated
// data and for pictures above the pixel limit (refused before anything is allocated).
std::optional<QImage> decodeJpeg(QByteArrayView data, QString* error = nullptr);

}  // namespace platform

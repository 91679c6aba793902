#pragma once
// A CD image named by the user becomes the data root: extracted once into the cache, with a
// progress window, then found there at every later start.
#include <QString>

#include <optional>

namespace katalog {

// The folder that holds the image's CD, ending with "/"; nothing when the user cancelled or
// was told why it cannot be used (not an image, damaged, refused, no CD in it, no room).
std::optional<QString> openCdImage(const QString& imageFile, bool slovak);

// How many extracted images the cache keeps.
inline constexpr int KeptImages = 3;

}  // namespace katalog

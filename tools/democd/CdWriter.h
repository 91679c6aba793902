#pragma once
// Writes CD trees: the demo CD of the build, and the small trees that tests make.
#include <QImage>
#include <QSize>
#include <QString>

#include <string_view>

namespace democd {

enum class Variant { CzLarge, CzSmall, SkLarge, SkSmall };
inline constexpr Variant AllVariants[] = {Variant::CzLarge, Variant::CzSmall, Variant::SkLarge,
                                          Variant::SkSmall};

// "Cz/1024x768" and so on, below SYSTEM.
QString variantFolder(Variant v);
bool isLarge(Variant v);
bool isSlovak(Variant v);

// The size a skin list's pictures get in a layout (from the skin size table).
QSize listSize(std::string_view folder, std::string_view base, bool large);
// The size a single skin picture gets in a layout.
QSize pictureSize(std::string_view folder, std::string_view file, bool large);

// Saves a 24-bit BMP, creating folders. Returns false on failure.
bool saveBmp(const QImage& image, const QString& path);

// Every file of the skin table below root/SYSTEM/<variant>/, in plain colours. Tests use it
// for a complete skin that draws fast.
void writePlainSkins(const QString& root, Variant v);
void writePlainSkins(const QString& root);  // all four variants
void writePlainIntro(const QString& root);

// The demo CD's themed skin of one variant below root/SYSTEM/<variant>/. False when a file
// could not be written.
bool writeSkins(const QString& root, Variant v);

}  // namespace democd

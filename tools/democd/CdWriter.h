#pragma once
// Writes CD trees: the demo CD of the build, and the small trees that tests make.
#include <QImage>
#include <QSize>
#include <QString>

namespace democd {

enum class Variant { CzLarge, CzSmall, SkLarge, SkSmall };

// "Cz/1024x768" and so on, below SYSTEM.
QString variantFolder(Variant v);
bool isLarge(Variant v);

// The size a skin list's pictures get in a layout.
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

}  // namespace democd

#include "tools/democd/CdWriter.h"

#include "app/SkinSizes.h"
#include "tools/democd/Skins.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>

namespace democd {
namespace {

QSize toQSize(std::optional<katalog::skin::Size> s) { return s ? QSize(s->width, s->height) : QSize(); }

QString skinRoot(const QString& root, Variant v) {
    return root + QStringLiteral("/SYSTEM/") + variantFolder(v) + QLatin1Char('/');
}

QString slashes(QString rel) { return rel.replace(QLatin1Char('\\'), QLatin1Char('/')); }

}  // namespace

QString variantFolder(Variant v) {
    switch (v) {
    case Variant::CzLarge: return QStringLiteral("Cz/1024x768");
    case Variant::CzSmall: return QStringLiteral("Cz/800x600");
    case Variant::SkLarge: return QStringLiteral("Sk/1024x768");
    case Variant::SkSmall: return QStringLiteral("Sk/800x600");
    }
    return {};
}

bool isLarge(Variant v) { return v == Variant::CzLarge || v == Variant::SkLarge; }
bool isSlovak(Variant v) { return v == Variant::SkLarge || v == Variant::SkSmall; }

QSize listSize(std::string_view folder, std::string_view base, bool large) {
    return toQSize(katalog::skin::sizeOf(katalog::skin::List{folder, base, 0}, large));
}

QSize pictureSize(std::string_view folder, std::string_view file, bool large) {
    return toQSize(katalog::skin::sizeOf(katalog::skin::Picture{folder, file}, large));
}

bool saveBmp(const QImage& image, const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    return image.convertToFormat(QImage::Format_RGB888).save(path, "BMP");
}

void writePlainSkins(const QString& root, Variant v) {
    const QString dir = skinRoot(root, v);
    const bool large = isLarge(v);
    for (const auto& l : katalog::skin::AllLists) {
        const QSize size = listSize(l.folder, l.base, large);
        for (int i = 0; i < l.count; ++i) {
            QImage img(size, QImage::Format_RGB888);
            img.fill(QColor::fromHsv((i * 80) % 360, 160, 220));
            saveBmp(img, dir + slashes(QString::fromStdString(katalog::skin::fileOf(l, i))));
        }
    }
    for (const auto& p : katalog::skin::AllPictures) {
        QImage img(pictureSize(p.folder, p.file, large), QImage::Format_RGB888);
        img.fill(QColor(235, 240, 250));
        saveBmp(img, dir + slashes(QString::fromStdString(katalog::skin::fileOf(p))));
    }
}

void writePlainSkins(const QString& root) {
    for (Variant v : AllVariants)
        writePlainSkins(root, v);
}

void writePlainIntro(const QString& root) {
    QImage img(400, 300, QImage::Format_RGB888);
    img.fill(QColor(20, 40, 90));
    saveBmp(img, root + QStringLiteral("/SYSTEM/intro.BMP"));
}

bool writeSkins(const QString& root, Variant v) {
    const SkinSet skins(v);
    const QString dir = skinRoot(root, v);
    bool ok = true;
    for (auto it = skins.files().cbegin(); it != skins.files().cend(); ++it)
        ok = saveBmp(it.value(), dir + slashes(it.key())) && ok;
    return ok;
}

}  // namespace democd

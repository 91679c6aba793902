#include "tools/democd/CdWriter.h"

#include "app/SkinTable.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>

namespace democd {
namespace {

bool is(std::string_view a, const char* b) { return a == b; }

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

QSize listSize(std::string_view folder, std::string_view base, bool large) {
    const auto s = [large](int lw, int lh, int sw, int sh) { return large ? QSize(lw, lh) : QSize(sw, sh); };
    if (is(folder, "menu"))
        return (is(base, "_") || is(base, "x")) ? s(25, 25, 21, 21) : s(52, 42, 45, 38);
    return s(120, 36, 105, 32);
}

QSize pictureSize(std::string_view folder, std::string_view file, bool large) {
    const auto s = [large](int lw, int lh, int sw, int sh) { return large ? QSize(lw, lh) : QSize(sw, sh); };
    if (is(folder, "menu"))
        return s(855, 570, 750, 500);
    if (folder.empty())
        return s(788, 536, 690, 470);
    if (is(folder, "error"))
        return s(400, 150, 400, 150);
    if (is(folder, "kopir"))
        return s(430, 350, 380, 300);
    if (is(folder, "hledani"))
        return s(420, 170, 420, 170);
    if (is(file, "nadpis.bmp"))
        return s(540, 40, 470, 35);
    return s(60, 40, 50, 35);
}

bool saveBmp(const QImage& image, const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    return image.convertToFormat(QImage::Format_RGB888).save(path, "BMP");
}

void writePlainSkins(const QString& root, Variant v) {
    const QString dir = root + QStringLiteral("/SYSTEM/") + variantFolder(v) + QLatin1Char('/');
    const bool large = isLarge(v);
    for (const auto& l : katalog::skin::AllLists) {
        const QSize size = listSize(l.folder, l.base, large);
        for (int i = 0; i < l.count; ++i) {
            QImage img(size, QImage::Format_RGB888);
            img.fill(QColor::fromHsv((i * 80) % 360, 160, 220));
            QString rel = QString::fromStdString(katalog::skin::fileOf(l, i));
            rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
            saveBmp(img, dir + rel);
        }
    }
    for (const auto& p : katalog::skin::AllPictures) {
        QImage img(pictureSize(p.folder, p.file, large), QImage::Format_RGB888);
        img.fill(QColor(235, 240, 250));
        QString rel = QString::fromStdString(katalog::skin::fileOf(p));
        rel.replace(QLatin1Char('\\'), QLatin1Char('/'));
        saveBmp(img, dir + rel);
    }
}

void writePlainSkins(const QString& root) {
    for (Variant v : {Variant::CzLarge, Variant::CzSmall, Variant::SkLarge, Variant::SkSmall})
        writePlainSkins(root, v);
}

void writePlainIntro(const QString& root) {
    QImage img(400, 300, QImage::Format_RGB888);
    img.fill(QColor(20, 40, 90));
    saveBmp(img, root + QStringLiteral("/SYSTEM/intro.BMP"));
}

}  // namespace democd

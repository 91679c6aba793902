#include "catalogue/FavouriteMarks.h"

namespace katalog::favourites {

QString section(const QString& cdTitle) { return QStringLiteral("Oblibene-") + cdTitle; }

bool isFavourite(const platform::ProfileFile& settings, const QString& cdTitle, const QString& program) {
    return settings.readInteger(section(cdTitle), program, -1) >= 0;
}

QStringList programs(const platform::ProfileFile& settings, const QString& cdTitle) {
    return settings.readSection(section(cdTitle));
}

void add(platform::ProfileFile& settings, const QString& cdTitle, const QString& program) {
    settings.writeInteger(section(cdTitle), program, 1);
}

void remove(platform::ProfileFile& settings, const QString& cdTitle, const QString& program) {
    settings.deleteKey(section(cdTitle), program);
}

}  // namespace katalog::favourites

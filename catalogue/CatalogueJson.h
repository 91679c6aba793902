#pragma once
// The loaded catalogue as one JSON document (UTF-8), in stored order, for the mapic tool:
// {"title", "slovak", "sections", "store": [{"section", "keys": [[name, value]...]}...],
//  "entries": [{"section", "program", "description": [lines]}...]}
#include "catalogue/CatalogueLoader.h"

#include <QByteArray>

namespace katalog {

QByteArray catalogueJson(const CatalogueStore& store, const QList<ProgramEntry>& entries,
                         const DescriptionTable& descriptions, bool slovakLang);

}  // namespace katalog

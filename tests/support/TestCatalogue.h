#pragma once
// Catalogue containers for tests.
#include <QMap>
#include <QString>

namespace testing_support {

// Writes root/CTIMNE.TXT and root/SYSTEM/MAP.PIC. In text (the catalogue as it decodes), a
// value "{name}" of a Seek or SeekSK key is replaced by the offset of descriptions[name].
void writeCatalogue(const QString& root, const QString& text, const QMap<QString, QString>& descriptions = {});

}  // namespace testing_support

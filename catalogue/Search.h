#pragma once
// The search rule: a plain substring test after only the ASCII letters a-z have been turned
// into capitals. Letters with diacritics must match exactly, case included.
#include <QString>
#include <QStringList>

namespace katalog {

QString foldAscii(QString text);
bool matchesSearch(const QString& foldedText, const QString& foldedNeedle);

}  // namespace katalog

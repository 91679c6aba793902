#pragma once
// Favourite marks in the settings file: section "Oblibene-" + CD title, one key per program.
#include "platform/ProfileFile.h"

#include <QString>
#include <QStringList>

namespace katalog::favourites {

QString section(const QString& cdTitle);

// The toggle's view: the key reads as an integer of 0 or more (a missing key or a value
// that is no number reads as -1).
bool isFavourite(const platform::ProfileFile& settings, const QString& cdTitle, const QString& program);

// The favourites section's view: every key present, whatever its value, in file order.
QStringList programs(const platform::ProfileFile& settings, const QString& cdTitle);

// Writes 1; goes to the disk at once.
void add(platform::ProfileFile& settings, const QString& cdTitle, const QString& program);
// Deletes the key; a program that is no favourite writes nothing.
void remove(platform::ProfileFile& settings, const QString& cdTitle, const QString& program);

}  // namespace katalog::favourites

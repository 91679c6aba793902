#pragma once
// CD images for tests, made at test time by xorriso from a tree.
#include <QByteArray>
#include <QString>
#include <QStringList>

namespace testing_support {

// xorriso in mkisofs' terms ("-R", "-J", "--norock", "-iso-level 1" ...): the image of tree.
void makeIso(const QString& tree, const QString& iso, const QStringList& options);

// An ISO's 2048-byte sectors wrapped into raw 2352-byte Mode 1 or Mode 2 Form 1 sectors, as
// a .bin dump holds them; error-correction bytes are zeros.
QByteArray rawSectors(const QByteArray& iso, int mode);

}  // namespace testing_support

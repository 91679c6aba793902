#pragma once
// Replaces a file as a whole: the bytes go to a temporary file beside it, which is renamed
// over the old one only when every byte is on the disk. A full disk or a crash leaves the
// old file as it was.
#include <QByteArray>
#include <QString>

namespace platform {

// False when anything failed; the old file is then untouched, no temporary remains and
// errno tells the first cause.
bool writeFileAtomically(const QString& path, const QByteArray& bytes);

}  // namespace platform

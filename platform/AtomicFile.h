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

// For the whole process: a write past the file-size limit (ulimit -f) fails with EFBIG,
// which every writer reports as a full disk, instead of killing the program mid-copy.
void ignoreFileSizeSignal();

}  // namespace platform

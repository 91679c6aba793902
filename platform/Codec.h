#pragma once
// Windows-1250 at the file boundary: the catalogue, the INI files and the order document.
#include <QByteArray>
#include <QString>

namespace platform {

QString fromCp1250(QByteArrayView bytes);
// A character that Windows-1250 cannot hold becomes "?".
QByteArray toCp1250(QStringView text);
// True when the system's converter knows the code page (ICU-backed in Qt).
bool cp1250Available();

}  // namespace platform

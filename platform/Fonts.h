#pragma once
// The CD names Windows fonts and framework colour integers; here they become Qt's.
#include <QColor>
#include <QFont>
#include <QString>

namespace platform {

// "MS Sans Serif", "Verdana", "Fixedsys" and "system" are drawn by DejaVu families.
void installFontSubstitutions();

// The framework's colour integer: 0x00BBGGRR when zero or more; a negative value is the
// system colour whose index is the low byte (undefined indices are black).
QColor colorFromInt(int value);

}  // namespace platform

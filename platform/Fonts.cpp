#include "platform/Fonts.h"

#include <QApplication>
#include <QPalette>

namespace platform {

void installFontSubstitutions() {
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitution(QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitution(QStringLiteral("system"), QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitution(QStringLiteral("Fixedsys"), QStringLiteral("DejaVu Sans Mono"));
}

QColor colorFromInt(int value) {
    if (value >= 0)
        return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
    // The few Windows system colours a CD's settings can name; the rest are undefined.
    const QPalette pal = QApplication::palette();
    switch (value & 0xFF) {
    case 5: return pal.color(QPalette::Base);            // window
    case 8: return pal.color(QPalette::Text);            // window text
    case 13: return pal.color(QPalette::Highlight);      // highlight
    case 14: return pal.color(QPalette::HighlightedText);
    case 15: return pal.color(QPalette::Button);         // button face
    case 18: return pal.color(QPalette::ButtonText);
    default: return Qt::black;
    }
}

}  // namespace platform

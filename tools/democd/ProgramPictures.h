#pragma once
// The pictures of the demo CD's own programs, each showing what its description promises.
#include <QColor>
#include <QPainter>
#include <QRect>
#include <QString>

#include <cstdint>

namespace democd {

// A small deterministic generator for the pictures' details.
class Rng {
public:
    explicit Rng(std::uint32_t seed) : s_(seed ? seed : 1) {}
    std::uint32_t next() {
        s_ ^= s_ << 13;
        s_ ^= s_ >> 17;
        s_ ^= s_ << 5;
        return s_;
    }
    int below(int n) { return int(next() % std::uint32_t(n)); }
    double unit() { return (next() % 10000) / 10000.0; }

private:
    std::uint32_t s_;
};

inline const QColor Accents[] = {QColor(0x2a, 0x5d, 0x9f), QColor(0x2e, 0x8b, 0x57), QColor(0x8e, 0x44, 0xad),
                                 QColor(0xc0, 0x39, 0x2b), QColor(0xd3, 0x84, 0x00), QColor(0x16, 0xa0, 0x85)};

// Draws a program's window content into area; variant picks one of its pictures.
using ProgramDrawing = void (*)(QPainter& p, const QRect& area, Rng& rng, const QColor& accent, int variant);
// The drawing of a program of the demo CD by its name; null for any other program.
ProgramDrawing programDrawing(const QString& program);

}  // namespace democd

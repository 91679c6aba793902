#pragma once
// Pictures of the catalogue's programs and the covers of the other titles.
#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>

namespace democd {

// A stable hash (the same on every run, unlike qHash) to vary pictures by name.
std::uint32_t stableHash(const QString& s);

// A screenshot of a program: a window titled with its name whose content suits its section
// (a game board, a document, a terminal ...); variant picks one of several looks.
QImage drawScreenshot(const QString& program, const QString& section, int variant, QSize size);
// A CD cover for the other titles; style picks the colour scheme.
QImage drawCover(const QString& title, int style, QSize size);

}  // namespace democd

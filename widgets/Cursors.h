#pragma once
// The program's own cursors, drawn at first use.
#include <QCursor>

namespace katalog {

// "lupa": a magnifying glass, for the catalogue's preview picture.
const QCursor& lupaCursor();

}  // namespace katalog

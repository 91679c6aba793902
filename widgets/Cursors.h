#pragma once
// The program's own cursors, drawn at first use.
#include <QCursor>
#include <QGuiApplication>

namespace katalog {

// "lupa": a magnifying glass, for the catalogue's preview picture.
const QCursor& lupaCursor();

// An application-wide cursor for as long as the guard lives, however the scope is left: an
// exception must not leave the hourglass behind. With when false it does nothing.
class OverrideCursor {
public:
    explicit OverrideCursor(Qt::CursorShape shape, bool when = true) : pushed_(when) {
        if (pushed_)
            QGuiApplication::setOverrideCursor(shape);
    }
    ~OverrideCursor() {
        if (pushed_)
            QGuiApplication::restoreOverrideCursor();
    }
    OverrideCursor(const OverrideCursor&) = delete;
    OverrideCursor& operator=(const OverrideCursor&) = delete;

private:
    bool pushed_;
};

}  // namespace katalog

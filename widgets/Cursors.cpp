#include "widgets/Cursors.h"

#include <QBitmap>
#include <QPainter>

#include <functional>

namespace katalog {
namespace {

// Two-colour cursor from a drawing: what is drawn in black is the cursor's black, the rest
// of the outline is white, everything else transparent.
QCursor twoColourCursor(const std::function<void(QPainter&, const QPen&)>& draw, QPoint hotSpot) {
    QBitmap shape(32, 32), mask(32, 32);
    shape.fill(Qt::color0);
    mask.fill(Qt::color0);
    {
        QPainter p(&mask);
        draw(p, QPen(Qt::color1, 5, Qt::SolidLine, Qt::RoundCap));
    }
    {
        QPainter p(&shape);
        draw(p, QPen(Qt::color1, 2, Qt::SolidLine, Qt::RoundCap));
    }
    return QCursor(shape, mask, hotSpot.x(), hotSpot.y());
}

}  // namespace

const QCursor& lupaCursor() {
    static const QCursor cursor = twoColourCursor(
        [](QPainter& p, const QPen& pen) {
            p.setPen(pen);
            p.drawEllipse(QRect(3, 3, 16, 16));
            QPen handle = pen;
            handle.setWidth(pen.width() + 2);
            p.setPen(handle);
            p.drawLine(18, 18, 28, 28);
        },
        QPoint(11, 11));
    return cursor;
}

}  // namespace katalog

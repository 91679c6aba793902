#include "app/Layouts.h"

#include <QWidget>

namespace katalog::layout {

void apply(QWidget* window, std::span<const Row> rows, bool highRes) {
    for (const Row& row : rows) {
        auto* w = window->findChild<QWidget*>(QString::fromLatin1(row.control.data(), row.control.size()));
        if (!w)
            continue;
        const Geometry& g = highRes ? row.large : row.small;
        w->move(g.left, g.top);
        if (g.width >= 0 && g.height >= 0)
            w->resize(g.width, g.height);
    }
}

}  // namespace katalog::layout

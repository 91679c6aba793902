#include "app/Layouts.h"

#include "widgets/EzRgnBtn.h"

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

QList<QWidget*> focusOrder(QWidget* window, std::span<const Focus> rows) {
    QList<QWidget*> order;
    for (const Focus& row : rows) {
        auto* w = window->findChild<QWidget*>(QString::fromLatin1(row.control.data(), row.control.size()),
                                              Qt::FindDirectChildrenOnly);
        if (!w)
            continue;
        const QString caption = QString::fromUtf8(row.caption.data(), qsizetype(row.caption.size()));
        if (auto* button = qobject_cast<TEzRgnBtn*>(w))
            button->setCaption(caption);
        else if (!caption.isEmpty())
            w->setAccessibleName(caption);
        order.append(w);
    }
    return order;
}

}  // namespace katalog::layout

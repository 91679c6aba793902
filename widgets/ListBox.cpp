#include "widgets/ListBox.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>

namespace katalog {

TListBox::TListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
}

QItemSelectionModel::SelectionFlags TListBox::selectionCommand(const QModelIndex& index,
                                                               const QEvent* event) const {
    const auto flags = QListWidget::selectionCommand(index, event);
    if (flags & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
        return QItemSelectionModel::NoUpdate;
    return flags;
}

bool TListBox::viewportEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        // Only the left button selects. The context menu comes from an event of its own,
        // which Qt sends whatever the press did.
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const Qt::MouseButtons used =
            event->type() == QEvent::MouseMove ? mouse->buttons() : Qt::MouseButtons(mouse->button());
        if (used & ~Qt::LeftButton) {
            event->accept();
            return true;
        }
        break;
    }
    case QEvent::ToolTip: {
        // The rows would ask the item delegate, which knows only per-row hints.
        const auto* help = static_cast<QHelpEvent*>(event);
        if (toolTip().isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), toolTip(), viewport());
        return true;
    }
    default:
        break;
    }
    return QListWidget::viewportEvent(event);
}

}  // namespace katalog

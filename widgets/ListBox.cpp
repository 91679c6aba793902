#include "widgets/ListBox.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>

namespace katalog {
namespace {

bool otherButton(const QMouseEvent* event) {
    return event->button() != Qt::LeftButton && event->button() != Qt::NoButton;
}

}  // namespace

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

// The context menu comes from its own event, which Qt sends whatever the press did.
void TListBox::mousePressEvent(QMouseEvent* event) {
    if (otherButton(event))
        event->accept();
    else
        QListWidget::mousePressEvent(event);
}

void TListBox::mouseReleaseEvent(QMouseEvent* event) {
    if (otherButton(event))
        event->accept();
    else
        QListWidget::mouseReleaseEvent(event);
}

void TListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (otherButton(event))
        event->accept();
    else
        QListWidget::mouseDoubleClickEvent(event);
}

void TListBox::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & ~Qt::LeftButton)
        event->accept();
    else
        QListWidget::mouseMoveEvent(event);
}

// The rows would ask the item delegate, which knows only per-row hints.
bool TListBox::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        if (toolTip().isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), toolTip(), viewport());
        return true;
    }
    return QListWidget::viewportEvent(event);
}

}  // namespace katalog

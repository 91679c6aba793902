#pragma once
// A list that behaves as a Windows single-selection list box: only the left button selects
// (a right click opens the context menu and leaves the selection alone), the selection
// cannot be emptied by Ctrl+click or Ctrl+Space, and the list's own hint shows wherever the
// pointer rests on it, rows included.
#include <QListWidget>

namespace katalog {

class TListBox : public QListWidget {
    Q_OBJECT
public:
    explicit TListBox(QWidget* parent = nullptr);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    bool viewportEvent(QEvent* event) override;
};

}  // namespace katalog

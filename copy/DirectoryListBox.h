#pragma once
// A directory list box: the path from the drive's root down to the current folder, each
// level indented one step more, then the current folder's subfolders. A double click (or
// Enter) makes the folder under the pointer current.
#include <QListWidget>

namespace katalog {

class TDirectoryListBox : public QListWidget {
    Q_OBJECT
public:
    enum Role { PathRole = Qt::UserRole, LevelRole };

    explicit TDirectoryListBox(QWidget* parent);

    const QString& Directory() const { return directory_; }
    const QString& Root() const { return root_; }
    // Makes dir (an existing folder) current, shown below root, the root of its drive
    // ("/" when dir does not lie below root). False, and nothing changes, when dir is
    // not a folder.
    bool SetDirectory(const QString& dir, const QString& root);
    bool SetDirectory(const QString& dir) { return SetDirectory(dir, root_); }
    // Reads the folders again.
    void Update();

Q_SIGNALS:
    void directoryChanged(const QString& dir);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Enter(QListWidgetItem* item);

    QString directory_;
    QString root_ = QStringLiteral("/");
};

}  // namespace katalog

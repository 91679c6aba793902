#include "copy/DirectoryListBox.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>

namespace katalog {
namespace {

constexpr int IndentStep = 10;

// Shifts each row right by its level, as the folder tree's indentation.
class IndentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem shifted(option);
        shifted.rect.adjust(indent(index), 0, 0, 0);
        QStyledItemDelegate::paint(painter, shifted, index);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        // Rows as tight as the old list box: an icon or a line of text, whichever is taller.
        const QSize natural = QStyledItemDelegate::sizeHint(option, index);
        return {natural.width() + indent(index), qMax(option.fontMetrics.height(), 16) + 2};
    }

private:
    static int indent(const QModelIndex& index) {
        return index.data(TDirectoryListBox::LevelRole).toInt() * IndentStep;
    }
};

bool isBelow(const QString& dir, const QString& root) {
    if (root == QLatin1String("/"))
        return dir.startsWith(QLatin1Char('/'));
    return dir == root || dir.startsWith(root + QLatin1Char('/'));
}

}  // namespace

TDirectoryListBox::TDirectoryListBox(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new IndentDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setUniformItemSizes(true);
    setIconSize(QSize(16, 16));
    connect(this, &QListWidget::itemDoubleClicked, this, &TDirectoryListBox::Enter);
}

bool TDirectoryListBox::SetDirectory(const QString& dir, const QString& root) {
    const QString clean = QDir::cleanPath(QDir(dir).absolutePath());
    if (!QFileInfo(clean).isDir())
        return false;
    const QString cleanRoot = QDir::cleanPath(root);
    root_ = isBelow(clean, cleanRoot) ? cleanRoot : QStringLiteral("/");
    const bool changed = clean != directory_;
    directory_ = clean;
    Update();
    if (changed)
        Q_EMIT directoryChanged(directory_);
    return true;
}

void TDirectoryListBox::Update() {
    clear();
    if (directory_.isEmpty())
        return;
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirIcon);

    // The path: the root, then every level down to the current folder.
    QStringList levels{root_};
    const QString below = directory_.mid(root_.size());
    for (const QString& part : below.split(QLatin1Char('/'), Qt::SkipEmptyParts))
        levels.append(part);
    QString path;
    for (int level = 0; level < levels.size(); ++level) {
        path = level == 0 ? root_
                          : (path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/')) +
                                levels[level];
        auto* item = new QListWidgetItem(open, levels[level], this);
        item->setData(PathRole, path);
        item->setData(LevelRole, level);
        item->setToolTip(path);
    }
    QListWidgetItem* current = item(count() - 1);

    QStringList subfolders = QDir(directory_).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCollator collator(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(subfolders.begin(), subfolders.end(), collator);
    const QString prefix =
        directory_.endsWith(QLatin1Char('/')) ? directory_ : directory_ + QLatin1Char('/');
    for (const QString& name : subfolders) {
        auto* item = new QListWidgetItem(closed, name, this);
        item->setData(PathRole, prefix + name);
        item->setData(LevelRole, int(levels.size()));
    }
    setCurrentItem(current);
    scrollToItem(current);
}

void TDirectoryListBox::Enter(QListWidgetItem* item) {
    if (!item)
        return;
    // A folder removed meanwhile: the list is read again and stays where it is.
    if (!SetDirectory(item->data(PathRole).toString()))
        Update();
}

void TDirectoryListBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        Enter(currentItem());
        return;
    }
    QListWidget::keyPressEvent(event);
}

}  // namespace katalog

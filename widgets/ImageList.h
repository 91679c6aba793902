#pragma once
// An ordered list of same-size pictures, filled once from the skin and never reloaded.
#include <QImage>
#include <QList>

namespace katalog {

class TImageList {
public:
    void reserve(int count) { images_.reserve(count); }
    void setSize(QSize size) { size_ = size; }
    QSize size() const { return size_; }
    int width() const { return size_.width(); }
    int height() const { return size_.height(); }

    // Takes the picture at the list's size; a null picture is refused.
    bool add(const QImage& image);
    int count() const { return int(images_.size()); }
    // Picture i at the list's size; a null image outside the list.
    QImage image(int i) const;
    void clear() { images_.clear(); }

private:
    QSize size_;
    QList<QImage> images_;
};

}  // namespace katalog

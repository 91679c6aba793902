#include "widgets/ImageList.h"

namespace katalog {

bool TImageList::add(const QImage& image) {
    if (image.isNull())
        return false;
    if (size_.isEmpty())
        size_ = image.size();
    // The list holds pictures of its own size: a larger one is cut, a smaller one padded.
    if (image.size() == size_) {
        images_.append(image);
    } else {
        QImage fitted = image.copy(0, 0, size_.width(), size_.height());
        images_.append(fitted);
    }
    return true;
}

QImage TImageList::image(int i) const {
    if (i < 0 || i >= images_.size())
        return {};
    return images_[i];
}

}  // namespace katalog

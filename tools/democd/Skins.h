#pragma once
// The themed skin of one variant: every bitmap of the skin table, drawn over the background
// it will stand on in its window, so that buttons and pictures blend into their windows.
#include "app/Layouts.h"
#include "app/SkinSizes.h"
#include "tools/democd/CdWriter.h"

#include <QImage>
#include <QMap>
#include <QString>

#include <span>

namespace democd {

// One skinned window: its size, its layout table, the skin items of its controls and the
// background that everything else is drawn over.
struct WindowSpec {
    QString name;  // file name of its preview
    QSize size;
    std::span<const katalog::layout::Row> rows;
    std::span<const katalog::skin::ControlSkin> controls;
    const katalog::skin::Picture* base;
};

// The windows of a layout, in the order the previews list them.
QList<WindowSpec> skinnedWindows(bool large);
// Where a control stands in a window (position from the layout table, size from the skin
// or the table); an empty rectangle when the window has no such control.
QRect controlRect(const WindowSpec& w, std::string_view control, bool large);
// Where the search result's OK button stands: it is centred, so it has no table row.
QRect searchOkRect(bool large);

class SkinSet {
public:
    explicit SkinSet(Variant v);

    // Relative path (backslashes, the table's spelling) -> picture.
    const QMap<QString, QImage>& files() const { return files_; }
    QImage picture(const katalog::skin::Picture& p) const;
    QImage listImage(const katalog::skin::List& l, int i) const;
    // A window's background with every picture of it placed (no buttons).
    QImage background(const QString& window) const { return backgrounds_.value(window); }

    Variant variant() const { return v_; }

private:
    void build();
    QImage drawPicture(const katalog::skin::Picture& p, const QImage& under) const;
    QImage drawListImage(const katalog::skin::List& l, int i, const QImage& under) const;

    Variant v_;
    bool large_;
    bool sk_;
    QMap<QString, QImage> files_;
    QMap<QString, QImage> backgrounds_;
};

// The intro picture (also the about window's cover, stretched).
QImage drawIntro(const QString& cdTitle);

}  // namespace democd

#include "viewer/PicFormUnit1.h"

#include "widgets/PictureBox.h"

#include "app/MainFormUnit1.h"
#include "app/Shell.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "platform/Pictures.h"
#include "widgets/Keyboard.h"

#include <QBitmap>
#include <QMouseEvent>

#include <array>
#include <cstdlib>

namespace katalog {
namespace {

const QString NextHint = QStringLiteral("Klikněte pro další obrázek");

// The letters of KONEC, 5 x 7 pixels each.
constexpr std::array<std::array<const char*, 7>, 5> KonecGlyphs{{
    {"X...X", "X..X.", "X.X..", "XX...", "X.X..", "X..X.", "X...X"},
    {".XXX.", "X...X", "X...X", "X...X", "X...X", "X...X", ".XXX."},
    {"X...X", "XX..X", "XX..X", "X.X.X", "X..XX", "X..XX", "X...X"},
    {"XXXXX", "X....", "X....", "XXXX.", "X....", "X....", "XXXXX"},
    {".XXXX", "X....", "X....", "X....", "X....", "X....", ".XXXX"},
}};

}  // namespace

TPicForm::TPicForm(TMain& main, QWidget* parent) : TSkinDialog(main, parent) {
    setObjectName(QStringLiteral("PicForm"));
    setWindowTitle(QStringLiteral("Obrázek"));
    centreOnScreenWhenShown(this);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);

    Desktop = new TPictureBox(this);
    Desktop->setObjectName(QStringLiteral("Desktop"));
    Desktop->setScaledContents(false);
    Desktop->move(1, 1);
    connect(Desktop, &TPictureBox::clicked, this, &TPicForm::DesktopClick);
    connect(Desktop, &TPictureBox::doubleClicked, this, &TPicForm::DesktopDblClick);
    connect(Desktop, &TPictureBox::mouseReleased, this, &TPicForm::DesktopMouseUp);
    // Escape closes as in every dialog.
    keys::bind(this, {QKeySequence(Qt::Key_Right), QKeySequence(Qt::Key_PageDown), QKeySequence(Qt::Key_Space)},
               [this] { DesktopClick(); });
    keys::bind(this, {QKeySequence(Qt::Key_Left), QKeySequence(Qt::Key_PageUp)}, [this] { PreviousPicture(); });
}

void TPicForm::FormCreate() {
    shell().ViewerPictures.clear();
    shell().ViewerIndex = 0;
    konec_ = KonecCursor();
}

QCursor TPicForm::KonecCursor() {
    constexpr int Size = 32;
    // ink: black pixels; shape: every pixel shown (black or white).
    std::array<std::array<bool, Size>, Size> ink{}, shape{};

    // The cross: two diagonals three pixels thick, crossing at the hot spot.
    for (int t = 0; t <= 20; ++t) {
        for (int d = -1; d <= 1; ++d) {
            for (const auto& [x, y] : {std::pair{6 + t + d, 3 + t}, std::pair{26 - t + d, 3 + t}})
                if (x >= 0 && x < Size)
                    ink[y][x] = true;
        }
    }
    // A white rim keeps the cross visible on dark pictures.
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x)
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int yy = y + dy, xx = x + dx;
                    if (yy >= 0 && yy < Size && xx >= 0 && xx < Size && ink[yy][xx])
                        shape[y][x] = true;
                }

    // The word on a white label below the cross.
    for (int y = 23; y < Size; ++y)
        for (int x = 0; x <= 30; ++x) {
            shape[y][x] = true;
            ink[y][x] = false;
        }
    for (int letter = 0; letter < int(KonecGlyphs.size()); ++letter)
        for (int row = 0; row < 7; ++row)
            for (int col = 0; col < 5; ++col)
                if (KonecGlyphs[letter][row][col] == 'X')
                    ink[24 + row][1 + letter * 6 + col] = true;

    QImage bitmap(Size, Size, QImage::Format_Mono), mask(Size, Size, QImage::Format_Mono);
    // QBitmap takes white as 0 and black as 1.
    bitmap.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    mask.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    bitmap.fill(0);
    mask.fill(0);
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x) {
            bitmap.setPixel(x, y, ink[y][x] ? 1 : 0);
            mask.setPixel(x, y, shape[y][x] || ink[y][x] ? 1 : 0);
        }
    return QCursor(QBitmap::fromImage(bitmap), QBitmap::fromImage(mask), 16, 13);
}

int TPicForm::exec() {
    if (shell().ViewerPictures.isEmpty())
        return QDialog::Rejected;
    return TSkinDialog::exec();
}

void TPicForm::setVisible(bool visible) {
    if (visible && !isVisible()) {
        if (shell().ViewerPictures.isEmpty())
            return;
        FormShow();
    }
    TSkinDialog::setVisible(visible);
}

void TPicForm::done(int result) {
    FormClose();
    TSkinDialog::done(result);
}

void TPicForm::FormShow() {
    shell().ViewerIndex = 0;
    Slideshow();
    if (shell().ViewerPictures.size() == 1)
        Desktop->setCursor(konec_);
}

void TPicForm::FormClose() {
    shell().ViewerIndex = 0;
    Desktop->unsetCursor();
}

bool TPicForm::atLastPicture() const {
    return shell().ViewerIndex == shell().ViewerPictures.size() - 1;
}

void TPicForm::Slideshow() {
    Shell& s = shell();
    if (!s.ViewerPictures.isEmpty()) {
        const int count = int(s.ViewerPictures.size());
        if (s.ViewerIndex >= count)
            s.ViewerIndex = 0;
        else if (s.ViewerIndex < 0)
            s.ViewerIndex = count - 1;

        const QString path = s.ViewerPictures.at(s.ViewerIndex);
        const QString ext = platform::lowerExtension(path);
        if (ext == QLatin1String(".bmp") || ext == QLatin1String(".jpg") ||
            ext == QLatin1String(".jpeg")) {
            // A picture that cannot be read is reported and this step ends; the viewer stays.
            const bool loaded = platform::guarded([&] {
                const QImage picture = platform::loadPicture(path);
                Desktop->setPixmap(QPixmap::fromImage(picture));
                Desktop->resize(picture.size());
            });
            if (!loaded)
                return;
        }

        // Never scaled: a picture larger than the screen reaches past its edges.
        Desktop->move(1, 1);
        const int w = Desktop->width() + 2;
        const int h = Desktop->height() + 2;
        setGeometry(QRect(centredOnScreen(QSize(w, h)), QSize(w, h)));
        update();
    }
    if (atLastPicture()) {
        Desktop->setCursor(konec_);
        Desktop->setToolTip(QString());
    } else {
        Desktop->setToolTip(NextHint);
    }
}

void TPicForm::DesktopClick() {
    // Closing leaves the last picture on show; the index goes back to 0 as the window closes.
    if (atLastPicture()) {
        reject();
        return;
    }
    ++shell().ViewerIndex;
    Slideshow();
}

// The first picture has none before it.
void TPicForm::PreviousPicture() {
    if (shell().ViewerIndex <= 0)
        return;
    --shell().ViewerIndex;
    Desktop->unsetCursor();
    Slideshow();
}

void TPicForm::DesktopDblClick() { reject(); }

void TPicForm::DesktopMouseUp(Qt::MouseButton button) {
    if (button == Qt::RightButton && isVisible())
        reject();
}

}  // namespace katalog

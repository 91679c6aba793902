#pragma once
// The demo CD's one look: palette, type, pictograms and button shapes, drawn with QPainter.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QRectF>
#include <QString>

class QPainter;

namespace democd::theme {

// Palette.
inline const QColor Navy{0x17, 0x36, 0x5d};
inline const QColor NavyDark{0x0d, 0x22, 0x3e};
inline const QColor Blue{0x2a, 0x5d, 0x9f};
inline const QColor Sky{0x5b, 0x9b, 0xd5};
inline const QColor Pale{0xf4, 0xf8, 0xfc};
inline const QColor Mist{0xdf, 0xe9, 0xf5};
inline const QColor Line{0xb3, 0xc6, 0xdc};
inline const QColor Gold{0xfc, 0xca, 0x2c};  // the section box's own colour
inline const QColor GoldDark{0xc9, 0x8f, 0x00};
inline const QColor Ink{0x1c, 0x2b, 0x3a};
inline const QColor Muted{0x5e, 0x6e, 0x80};
inline const QColor Red{0xd0, 0x45, 0x3c};
inline const QColor Green{0x2e, 0x8b, 0x57};
inline const QColor Orange{0xe6, 0x7e, 0x22};
inline const QColor Purple{0x7d, 0x4c, 0xb0};

// DejaVu Sans (or Serif), sized in pixels so that layouts do not depend on the screen.
QFont font(double pixelSize, bool bold = false, bool serif = false);
// The largest size not above maxPixel at which text fits width (single line).
QFont fitFont(const QString& text, double width, double maxPixel, bool bold = true);

enum class Icon {
    None, Play, Install, Uninstall, Copy, Document, Globe, Search, BookmarkAdd,
    BookmarkRemove, Folder, FolderNew, Close, Minimise, Retry, Check, Print, Info, Disc, Note,
    Font, Gear, Question, Grid, People, Discs, Plus, Minus, Star, StarOutline, HardDisk, Shield,
    Gift, Coins, Clock, Share, Chip, Warning, ArrowRight, Book, Windows95, Windows31, Dos,
    WindowsNt, Eye, Cover,
};
// Draws a pictogram into box (kept square and centred) in colour c.
void drawIcon(QPainter& p, Icon icon, const QRectF& box, const QColor& c);

enum class State { Idle, Hover, Pressed, Disabled };
inline constexpr State States[] = {State::Idle, State::Hover, State::Pressed, State::Disabled};

enum class Look {
    Action,     // blue pill: disabled means not available
    Current,    // blue pill: disabled means "this one is chosen"
    Tab,        // menu tab on the dark frame: disabled means "this window is shown"
    Window,     // the little minimise / close squares
    WindowDark, // close square on a dark title band
    Check,      // check box row, ticked
    Uncheck,    // check box row, not ticked
};

struct ButtonSpec {
    QString caption;
    Icon icon = Icon::None;
    Look look = Look::Action;
    bool danger = false;  // red hover, for close buttons
    double radius = -1;   // corner radius; -1: half the height, capped
    bool iconOnly = false;
};

// Draws a button into rect of an image that already holds the background under it.
void drawButton(QPainter& p, const QRectF& rect, State s, const ButtonSpec& button);

// A soft light panel with a rounded border and a drop shadow.
void drawPanel(QPainter& p, const QRectF& rect, double radius = 12);
// A heading band: dark gradient, title in white with an icon, gold rule below.
void drawTitleBand(QPainter& p, const QRectF& rect, const QString& title, Icon icon);
// A large heading for content windows: icon in a disc, title, gold underline.
void drawHeading(QPainter& p, const QRectF& rect, const QString& title, const QString& subtitle,
                 Icon icon);
// The content windows' background.
void drawContentBackground(QPainter& p, const QRectF& rect);
// The publisher's wave mark in rect.
void drawLogoMark(QPainter& p, const QRectF& rect, const QColor& wave, const QColor& disc);
// A compact disc seen from above, with its rainbow sheen.
void drawDisc(QPainter& p, const QPointF& centre, double radius);

// A transparent-background image of size w x h, antialiased painter helpers.
QImage blank(int w, int h, const QColor& fill = Qt::transparent);

}  // namespace democd::theme

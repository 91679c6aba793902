#include "tools/democd/Theme.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QConicalGradient>

#include <cmath>
#include <numbers>

namespace democd::theme {

QFont font(double pixelSize, bool bold, bool serif) {
    QFont f(serif ? QStringLiteral("DejaVu Serif") : QStringLiteral("DejaVu Sans"));
    f.setPixelSize(std::max(1, int(std::lround(pixelSize))));
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

QFont fitFont(const QString& text, double width, double maxPixel, bool bold) {
    double px = maxPixel;
    QFont f = font(px, bold);
    while (px > 7 && QFontMetricsF(f).horizontalAdvance(text) > width) {
        px -= 0.5;
        f = font(px, bold);
    }
    return f;
}

QImage blank(int w, int h, const QColor& fill) {
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(fill);
    return img;
}

namespace {

constexpr double Pi = std::numbers::pi;

QPen strokePen(const QColor& c, double w) {
    QPen pen(c, w);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

QPainterPath star(QPointF c, double outer, double inner) {
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const double r = (i % 2 == 0) ? outer : inner;
        const double a = -Pi / 2 + i * Pi / 5;
        const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

QPainterPath folderPath() {
    QPainterPath f;
    f.moveTo(3, 7);
    f.lineTo(3, 19);
    f.quadTo(3, 20, 4, 20);
    f.lineTo(20, 20);
    f.quadTo(21, 20, 21, 19);
    f.lineTo(21, 9);
    f.quadTo(21, 8, 20, 8);
    f.lineTo(11, 8);
    f.lineTo(9, 5);
    f.lineTo(4, 5);
    f.quadTo(3, 5, 3, 6);
    f.closeSubpath();
    return f;
}

void windowPanes(QPainter& p, const QRectF& r, bool wave) {
    const QColor colours[] = {QColor(0xe8, 0x4c, 0x3d), QColor(0x2e, 0xcc, 0x71),
                              QColor(0x34, 0x98, 0xdb), QColor(0xf1, 0xc4, 0x0f)};
    const double w = r.width() / 2 - 0.6, h = r.height() / 2 - 0.6;
    for (int i = 0; i < 4; ++i) {
        const double x = r.left() + (i % 2) * (w + 1.2);
        const double y = r.top() + (i / 2) * (h + 1.2);
        QPainterPath pane;
        if (wave) {
            const double d = h * 0.18;
            pane.moveTo(x, y + d);
            pane.cubicTo(x + w * 0.35, y - d, x + w * 0.65, y + d * 2, x + w, y);
            pane.lineTo(x + w, y + h);
            pane.cubicTo(x + w * 0.65, y + h + d * 2, x + w * 0.35, y + h - d, x, y + h + d);
            pane.closeSubpath();
        } else {
            pane.addRect(QRectF(x, y, w, h));
        }
        p.fillPath(pane, colours[i]);
    }
}

}  // namespace

void drawIcon(QPainter& p, Icon icon, const QRectF& box, const QColor& c) {
    if (icon == Icon::None)
        return;
    const double side = std::min(box.width(), box.height());
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(box.center().x() - side / 2, box.center().y() - side / 2);
    p.scale(side / 24.0, side / 24.0);
    const QPen pen = strokePen(c, 2.0);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    QColor soft = c;
    soft.setAlphaF(c.alphaF() * 0.3);

    switch (icon) {
    case Icon::None:
        break;
    case Icon::Play: {
        QPainterPath t;
        t.moveTo(7, 4.5);
        t.lineTo(19.5, 12);
        t.lineTo(7, 19.5);
        t.closeSubpath();
        p.setBrush(c);
        p.drawPath(t);
        break;
    }
    case Icon::Install:
        p.drawLine(QPointF(12, 3), QPointF(12, 14));
        p.drawPolyline(QPolygonF({QPointF(7, 9.5), QPointF(12, 14.5), QPointF(17, 9.5)}));
        p.drawPolyline(QPolygonF({QPointF(4, 15), QPointF(4, 20), QPointF(20, 20), QPointF(20, 15)}));
        break;
    case Icon::Uninstall:
        p.drawLine(QPointF(4.5, 6.5), QPointF(19.5, 6.5));
        p.drawPolyline(QPolygonF({QPointF(9.5, 6), QPointF(10, 3.5), QPointF(14, 3.5), QPointF(14.5, 6)}));
        p.drawPolyline(QPolygonF({QPointF(6.5, 7), QPointF(7.5, 20.5), QPointF(16.5, 20.5), QPointF(17.5, 7)}));
        p.drawLine(QPointF(10, 10), QPointF(10, 17.5));
        p.drawLine(QPointF(14, 10), QPointF(14, 17.5));
        break;
    case Icon::Copy:
        p.drawRoundedRect(QRectF(8.5, 3, 11.5, 13.5), 1.8, 1.8);
        p.setBrush(soft);
        p.drawRoundedRect(QRectF(4, 7.5, 11.5, 13.5), 1.8, 1.8);
        break;
    case Icon::Document: {
        QPainterPath d;
        d.moveTo(6, 3);
        d.lineTo(14.5, 3);
        d.lineTo(19, 7.5);
        d.lineTo(19, 21);
        d.lineTo(6, 21);
        d.closeSubpath();
        p.drawPath(d);
        p.drawPolyline(QPolygonF({QPointF(14.5, 3), QPointF(14.5, 7.5), QPointF(19, 7.5)}));
        p.setPen(strokePen(c, 1.6));
        p.drawLine(QPointF(9, 11.5), QPointF(16, 11.5));
        p.drawLine(QPointF(9, 14.5), QPointF(16, 14.5));
        p.drawLine(QPointF(9, 17.5), QPointF(13.5, 17.5));
        break;
    }
    case Icon::Globe:
        p.drawEllipse(QPointF(12, 12), 9, 9);
        p.setPen(strokePen(c, 1.5));
        p.drawEllipse(QPointF(12, 12), 4, 9);
        p.drawLine(QPointF(3, 12), QPointF(21, 12));
        p.drawLine(QPointF(4.5, 7.5), QPointF(19.5, 7.5));
        p.drawLine(QPointF(4.5, 16.5), QPointF(19.5, 16.5));
        break;
    case Icon::Search:
        p.drawEllipse(QPointF(10, 10), 6, 6);
        p.setPen(strokePen(c, 3.0));
        p.drawLine(QPointF(14.8, 14.8), QPointF(20, 20));
        break;
    case Icon::BookmarkAdd:
    case Icon::BookmarkRemove: {
        QPainterPath b;
        b.moveTo(6, 3);
        b.lineTo(18, 3);
        b.lineTo(18, 21);
        b.lineTo(12, 16.5);
        b.lineTo(6, 21);
        b.closeSubpath();
        p.setBrush(soft);
        p.drawPath(b);
        p.setPen(strokePen(c, 2.2));
        p.drawLine(QPointF(9, 9.5), QPointF(15, 9.5));
        if (icon == Icon::BookmarkAdd)
            p.drawLine(QPointF(12, 6.5), QPointF(12, 12.5));
        break;
    }
    case Icon::Folder:
        p.setBrush(soft);
        p.drawPath(folderPath());
        break;
    case Icon::FolderNew:
        p.setBrush(soft);
        p.drawPath(folderPath());
        p.setPen(strokePen(c, 2.2));
        p.drawLine(QPointF(12, 10.5), QPointF(12, 17.5));
        p.drawLine(QPointF(8.5, 14), QPointF(15.5, 14));
        break;
    case Icon::Close:
        p.setPen(strokePen(c, 2.6));
        p.drawLine(QPointF(6.5, 6.5), QPointF(17.5, 17.5));
        p.drawLine(QPointF(17.5, 6.5), QPointF(6.5, 17.5));
        break;
    case Icon::Minimise:
        p.setPen(strokePen(c, 2.6));
        p.drawLine(QPointF(6.5, 17), QPointF(17.5, 17));
        break;
    case Icon::Retry: {
        p.drawArc(QRectF(4.5, 4.5, 15, 15), 60 * 16, 280 * 16);
        QPainterPath head;
        head.moveTo(17.5, 2.5);
        head.lineTo(18.5, 9);
        head.lineTo(12, 8);
        head.closeSubpath();
        p.setBrush(c);
        p.drawPath(head);
        break;
    }
    case Icon::Check:
        p.setPen(strokePen(c, 2.8));
        p.drawPolyline(QPolygonF({QPointF(5, 12.5), QPointF(10, 17.5), QPointF(19.5, 6.5)}));
        break;
    case Icon::Print:
        p.drawRect(QRectF(7, 3, 10, 6));
        p.setBrush(soft);
        p.drawRoundedRect(QRectF(3, 9, 18, 8.5), 2, 2);
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(7, 14, 10, 7));
        p.setPen(strokePen(c, 1.4));
        p.drawLine(QPointF(9, 17), QPointF(15, 17));
        break;
    case Icon::Info:
        p.drawEllipse(QPointF(12, 12), 9, 9);
        p.setPen(strokePen(c, 2.6));
        p.drawLine(QPointF(12, 11), QPointF(12, 17));
        p.drawPoint(QPointF(12, 7.3));
        break;
    case Icon::Disc:
        p.setBrush(soft);
        p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(12, 12), 2.6, 2.6);
        p.setPen(strokePen(c, 1.3));
        p.drawArc(QRectF(5.5, 5.5, 13, 13), 100 * 16, 60 * 16);
        break;
    case Icon::Note: {
        p.setBrush(c);
        p.save();
        p.translate(7.5, 18);
        p.rotate(-20);
        p.drawEllipse(QPointF(0, 0), 3.2, 2.3);
        p.restore();
        p.save();
        p.translate(17, 16);
        p.rotate(-20);
        p.drawEllipse(QPointF(0, 0), 3.2, 2.3);
        p.restore();
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(10.3, 17.3), QPointF(10.3, 5));
        p.drawLine(QPointF(19.8, 15.3), QPointF(19.8, 3));
        p.setPen(strokePen(c, 3));
        p.drawLine(QPointF(10.3, 5.5), QPointF(19.8, 3.5));
        break;
    }
    case Icon::Font: {
        p.setPen(strokePen(c, 2.4));
        p.drawPolyline(QPolygonF({QPointF(4, 20), QPointF(11, 4), QPointF(18, 20)}));
        p.drawLine(QPointF(7, 14), QPointF(15, 14));
        p.setPen(strokePen(c, 1.8));
        p.drawLine(QPointF(17, 8), QPointF(22, 8));
        break;
    }
    case Icon::Gear: {
        QPainterPath g;
        const int teeth = 8;
        for (int i = 0; i < teeth * 2; ++i) {
            const double a0 = i * Pi / teeth - Pi / (teeth * 2.4);
            const double a1 = i * Pi / teeth + Pi / (teeth * 2.4);
            const double r = (i % 2 == 0) ? 10 : 7.6;
            const QPointF pt0(12 + r * std::cos(a0), 12 + r * std::sin(a0));
            const QPointF pt1(12 + r * std::cos(a1), 12 + r * std::sin(a1));
            if (i == 0)
                g.moveTo(pt0);
            else
                g.lineTo(pt0);
            g.lineTo(pt1);
        }
        g.closeSubpath();
        g.addEllipse(QPointF(12, 12), 3.2, 3.2);
        g.setFillRule(Qt::OddEvenFill);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawPath(g);
        break;
    }
    case Icon::Question: {
        p.setPen(strokePen(c, 2.6));
        QPainterPath q;
        q.moveTo(7.5, 8.5);
        q.cubicTo(7.5, 3, 16.5, 3, 16.5, 8.5);
        q.cubicTo(16.5, 12, 12, 11.5, 12, 15.5);
        p.drawPath(q);
        p.setPen(strokePen(c, 3.2));
        p.drawPoint(QPointF(12, 20));
        break;
    }
    case Icon::Grid:
        p.setBrush(c);
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(QRectF(3.5, 3.5, 7.5, 7.5), 2, 2);
        p.drawRoundedRect(QRectF(13, 3.5, 7.5, 7.5), 2, 2);
        p.drawRoundedRect(QRectF(3.5, 13, 7.5, 7.5), 2, 2);
        p.setBrush(soft);
        p.drawRoundedRect(QRectF(13, 13, 7.5, 7.5), 2, 2);
        break;
    case Icon::People:
        p.drawEllipse(QPointF(9, 8), 3.5, 3.5);
        p.drawArc(QRectF(2.5, 13, 13, 12), 0, 180 * 16);
        p.setPen(strokePen(c, 1.7));
        p.drawEllipse(QPointF(17, 9), 2.8, 2.8);
        p.drawArc(QRectF(14, 14, 8.5, 9), 0, 180 * 16);
        break;
    case Icon::Discs:
        p.setPen(strokePen(c, 1.7));
        p.setBrush(soft);
        p.drawEllipse(QPointF(15, 10), 7, 7);
        p.drawEllipse(QPointF(9, 14), 7, 7);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(9, 14), 1.8, 1.8);
        break;
    case Icon::Plus:
        p.setPen(strokePen(c, 3));
        p.drawLine(QPointF(12, 5), QPointF(12, 19));
        p.drawLine(QPointF(5, 12), QPointF(19, 12));
        break;
    case Icon::Minus:
        p.setPen(strokePen(c, 3));
        p.drawLine(QPointF(5, 12), QPointF(19, 12));
        break;
    case Icon::Star:
        p.setPen(strokePen(c.darker(125), 1.0));
        p.setBrush(c);
        p.drawPath(star(QPointF(12, 12.8), 10.5, 4.4));
        break;
    case Icon::StarOutline:
        p.setPen(strokePen(c, 1.4));
        p.drawPath(star(QPointF(12, 12.8), 10, 4.2));
        break;
    case Icon::HardDisk:
        p.setBrush(soft);
        p.drawRoundedRect(QRectF(3, 6, 18, 12), 2.5, 2.5);
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(3.5, 13.5), QPointF(20.5, 13.5));
        p.setPen(strokePen(c, 2.6));
        p.drawPoint(QPointF(17.5, 16));
        break;
    case Icon::Shield: {
        QPainterPath s;
        s.moveTo(12, 2.5);
        s.lineTo(20, 5.5);
        s.cubicTo(20, 13, 17, 18.5, 12, 21.5);
        s.cubicTo(7, 18.5, 4, 13, 4, 5.5);
        s.closeSubpath();
        p.setBrush(soft);
        p.drawPath(s);
        p.drawPolyline(QPolygonF({QPointF(8.5, 12), QPointF(11, 14.5), QPointF(15.5, 9)}));
        break;
    }
    case Icon::Gift:
        p.setBrush(soft);
        p.drawRect(QRectF(4, 10, 16, 10.5));
        p.drawRect(QRectF(3, 7, 18, 3.5));
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(12, 7), QPointF(12, 20.5));
        p.drawArc(QRectF(7, 3, 5, 5), 0, 270 * 16);
        p.drawArc(QRectF(12, 3, 5, 5), -90 * 16, 270 * 16);
        break;
    case Icon::Coins:
        p.setBrush(soft);
        p.drawEllipse(QPointF(12, 7), 7, 3);
        p.drawLine(QPointF(5, 7), QPointF(5, 17));
        p.drawLine(QPointF(19, 7), QPointF(19, 17));
        p.drawArc(QRectF(5, 9, 14, 6), 180 * 16, 180 * 16);
        p.drawArc(QRectF(5, 14, 14, 6), 180 * 16, 180 * 16);
        break;
    case Icon::Clock:
        p.drawEllipse(QPointF(12, 12), 9, 9);
        p.drawPolyline(QPolygonF({QPointF(12, 6.5), QPointF(12, 12), QPointF(16, 14.5)}));
        break;
    case Icon::Share:
        p.setBrush(c);
        p.drawEllipse(QPointF(6, 12), 2.8, 2.8);
        p.drawEllipse(QPointF(18, 5.5), 2.8, 2.8);
        p.drawEllipse(QPointF(18, 18.5), 2.8, 2.8);
        p.drawLine(QPointF(6, 12), QPointF(18, 5.5));
        p.drawLine(QPointF(6, 12), QPointF(18, 18.5));
        break;
    case Icon::Chip:
        p.setBrush(soft);
        p.drawRoundedRect(QRectF(6, 6, 12, 12), 1.5, 1.5);
        p.setPen(strokePen(c, 1.5));
        for (double t : {9.0, 12.0, 15.0}) {
            p.drawLine(QPointF(t, 2.5), QPointF(t, 5.5));
            p.drawLine(QPointF(t, 18.5), QPointF(t, 21.5));
            p.drawLine(QPointF(2.5, t), QPointF(5.5, t));
            p.drawLine(QPointF(18.5, t), QPointF(21.5, t));
        }
        break;
    case Icon::Warning: {
        QPainterPath t;
        t.moveTo(12, 2.5);
        t.lineTo(22, 20.5);
        t.lineTo(2, 20.5);
        t.closeSubpath();
        p.setPen(strokePen(c.darker(130), 1.5));
        p.setBrush(c);
        p.drawPath(t);
        p.setPen(strokePen(Qt::white, 2.6));
        p.drawLine(QPointF(12, 8.5), QPointF(12, 14));
        p.drawPoint(QPointF(12, 17.5));
        break;
    }
    case Icon::ArrowRight:
        p.setPen(strokePen(c, 2.6));
        p.drawLine(QPointF(3, 12), QPointF(19, 12));
        p.drawPolyline(QPolygonF({QPointF(13, 6), QPointF(19.5, 12), QPointF(13, 18)}));
        break;
    case Icon::Book:
        p.setBrush(soft);
        p.drawPolygon(QPolygonF({QPointF(12, 6), QPointF(3, 4), QPointF(3, 19), QPointF(12, 21)}));
        p.drawPolygon(QPolygonF({QPointF(12, 6), QPointF(21, 4), QPointF(21, 19), QPointF(12, 21)}));
        break;
    case Icon::Windows95:
        p.setPen(Qt::NoPen);
        windowPanes(p, QRectF(3, 4, 18, 16), true);
        break;
    case Icon::Windows31:
        p.setPen(strokePen(c, 1.4));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(2.5, 3, 19, 18));
        p.fillRect(QRectF(2.5, 3, 19, 3.5), QColor(0x1f, 0x3f, 0x9f));
        p.setPen(Qt::NoPen);
        windowPanes(p, QRectF(7, 9, 10, 9), false);
        break;
    case Icon::Dos: {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x14, 0x14, 0x14));
        p.drawRoundedRect(QRectF(2, 4, 20, 16), 2, 2);
        QFont f = font(7.5, true);
        f.setFamily(QStringLiteral("DejaVu Sans Mono"));
        p.setFont(f);
        p.setPen(QColor(0xd8, 0xd8, 0xd8));
        p.drawText(QRectF(2, 4, 20, 16), Qt::AlignCenter, QStringLiteral("C:\\>"));
        break;
    }
    case Icon::WindowsNt:
        p.setPen(Qt::NoPen);
        windowPanes(p, QRectF(2, 2.5, 14, 12.5), true);
        p.setPen(c);
        p.setFont(font(8.5, true));
        p.drawText(QRectF(8, 13, 16, 11), Qt::AlignCenter, QStringLiteral("NT"));
        break;
    case Icon::Eye:
        p.drawPath([] {
            QPainterPath e;
            e.moveTo(2, 12);
            e.quadTo(12, 2, 22, 12);
            e.quadTo(12, 22, 2, 12);
            return e;
        }());
        p.setBrush(c);
        p.drawEllipse(QPointF(12, 12), 3, 3);
        break;
    case Icon::Cover:
        p.setBrush(soft);
        p.drawRect(QRectF(3.5, 3.5, 17, 17));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(12, 12), 5, 5);
        p.drawEllipse(QPointF(12, 12), 1.2, 1.2);
        break;
    }
    p.restore();
}

namespace {

struct Colours {
    QColor top, bottom, border, text, icon;
    bool gloss = true;
    bool fill = true;
};

Colours coloursFor(Look look, State s, bool danger) {
    const bool current = s == State::Disabled && (look == Look::Current || look == Look::Tab);
    if (current)
        return {QColor(0xff, 0xe2, 0x7a), QColor(0xf2, 0xb3, 0x16), GoldDark, Navy, Navy};
    switch (look) {
    case Look::Action:
    case Look::Current:
        switch (s) {
        case State::Idle: return {QColor(0x44, 0x85, 0xcf), QColor(0x1e, 0x4e, 0x8c), NavyDark, Qt::white, Qt::white};
        case State::Hover: return {QColor(0x62, 0xa4, 0xe8), QColor(0x2b, 0x66, 0xb0), Gold, Qt::white, Gold};
        case State::Pressed: return {QColor(0x15, 0x3a, 0x68), QColor(0x2a, 0x5d, 0x9f), NavyDark, QColor(0xe6, 0xee, 0xf8), Gold, false};
        case State::Disabled: return {QColor(0xe0, 0xe5, 0xeb), QColor(0xc3, 0xcb, 0xd5), QColor(0xa6, 0xb0, 0xbc), QColor(0x86, 0x92, 0xa0), QColor(0x98, 0xa3, 0xb0), false};
        }
        break;
    case Look::Tab:
        switch (s) {
        case State::Idle: return {Qt::transparent, Qt::transparent, Qt::transparent, QColor(0xd6, 0xe4, 0xf4), Qt::white, false, false};
        case State::Hover: return {QColor(0x4d, 0x86, 0xc8), QColor(0x2a, 0x5d, 0x9f), QColor(0x8c, 0xb8, 0xe8), Qt::white, Gold, true};
        case State::Pressed: return {QColor(0x0a, 0x1a, 0x30), QColor(0x12, 0x2c, 0x50), QColor(0x06, 0x12, 0x22), QColor(0xc0, 0xd0, 0xe4), Gold, false};
        case State::Disabled: break;
        }
        break;
    case Look::Window:
        switch (s) {
        case State::Idle: return {Qt::white, QColor(0xdc, 0xe6, 0xf2), QColor(0x8a, 0xa3, 0xc0), Navy, Navy};
        case State::Hover:
            return danger ? Colours{QColor(0xf0, 0x6a, 0x5f), Red, Red.darker(130), Qt::white, Qt::white}
                          : Colours{QColor(0x62, 0xa4, 0xe8), Blue, NavyDark, Qt::white, Qt::white};
        case State::Pressed:
            return danger ? Colours{Red.darker(140), Red.darker(115), Red.darker(160), Qt::white, Qt::white, false}
                          : Colours{NavyDark, Navy, NavyDark, Qt::white, Qt::white, false};
        case State::Disabled: return {QColor(0xee, 0xf1, 0xf5), QColor(0xdd, 0xe2, 0xe8), QColor(0xbb, 0xc3, 0xcc), QColor(0xa0, 0xa8, 0xb2), QColor(0xa0, 0xa8, 0xb2), false};
        }
        break;
    case Look::WindowDark:
        switch (s) {
        case State::Idle: return {QColor(0x2f, 0x5c, 0x94), QColor(0x1d, 0x43, 0x74), QColor(0x6f, 0x98, 0xc8), Qt::white, Qt::white};
        case State::Hover: return {QColor(0xf0, 0x6a, 0x5f), Red, QColor(0xff, 0xb0, 0xa8), Qt::white, Qt::white};
        case State::Pressed: return {Red.darker(150), Red.darker(120), Red.darker(170), Qt::white, Qt::white, false};
        case State::Disabled: return {QColor(0x50, 0x64, 0x80), QColor(0x40, 0x52, 0x6a), QColor(0x70, 0x80, 0x96), QColor(0xa0, 0xaa, 0xb8), QColor(0xa0, 0xaa, 0xb8), false};
        }
        break;
    case Look::Check:
    case Look::Uncheck:
        switch (s) {
        case State::Idle: return {Qt::transparent, Qt::transparent, Qt::transparent, Ink, Navy, false, false};
        case State::Hover: return {QColor(0xe4, 0xef, 0xfb), QColor(0xd2, 0xe3, 0xf6), Sky, Navy, Blue, false};
        case State::Pressed: return {QColor(0xc4, 0xd8, 0xef), QColor(0xb3, 0xcb, 0xe8), Blue, Navy, Navy, false};
        case State::Disabled: return {Qt::transparent, Qt::transparent, Qt::transparent, QColor(0x90, 0x9a, 0xa6), QColor(0x90, 0x9a, 0xa6), false, false};
        }
        break;
    }
    return {};
}

void drawCheckRow(QPainter& p, const QRectF& r, State s, const ButtonSpec& button, const Colours& c) {
    const double box = std::min(r.height() - 10, 22.0);
    const QRectF boxRect(r.left() + 8, r.center().y() - box / 2, box, box);
    QLinearGradient g(boxRect.topLeft(), boxRect.bottomLeft());
    const bool ticked = button.look == Look::Check;
    if (ticked) {
        g.setColorAt(0, s == State::Hover ? QColor(0x62, 0xa4, 0xe8) : QColor(0x44, 0x85, 0xcf));
        g.setColorAt(1, QColor(0x1e, 0x4e, 0x8c));
    } else {
        g.setColorAt(0, Qt::white);
        g.setColorAt(1, QColor(0xe6, 0xed, 0xf5));
    }
    p.setPen(QPen(s == State::Hover ? Gold.darker(110) : (ticked ? NavyDark : QColor(0x7d, 0x93, 0xad)), 1.5));
    p.setBrush(g);
    p.drawRoundedRect(boxRect, 4, 4);
    if (ticked)
        drawIcon(p, Icon::Check, boxRect.adjusted(2, 2, -2, -2), Qt::white);
    const QRectF textRect(boxRect.right() + 9, r.top(), r.right() - boxRect.right() - 13, r.height());
    p.setPen(c.text);
    p.setFont(fitFont(button.caption, textRect.width(), std::min(15.0, r.height() * 0.42), true));
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, button.caption);
}

}  // namespace

void drawButton(QPainter& p, const QRectF& rect, State s, const ButtonSpec& button) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const Colours c = coloursFor(button.look, s, button.danger);
    const bool pressed = s == State::Pressed;
    QRectF r = rect.adjusted(1, 1, -1, -2);  // room for the shadow
    double radius = button.radius >= 0 ? button.radius : std::min(r.height() / 2, 12.0);

    if (c.fill) {
        if (!pressed && s != State::Disabled) {
            // Soft drop shadow.
            for (int i = 2; i >= 1; --i) {
                QColor sh(0, 0, 0, 28 / i);
                p.setPen(Qt::NoPen);
                p.setBrush(sh);
                p.drawRoundedRect(r.translated(0, i), radius, radius);
            }
        }
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, c.top);
        g.setColorAt(1, c.bottom);
        p.setBrush(g);
        p.setPen(QPen(c.border, s == State::Hover ? 2.0 : 1.2));
        const QRectF body = s == State::Hover ? r.adjusted(0.5, 0.5, -0.5, -0.5) : r;
        p.drawRoundedRect(body, radius, radius);
        if (c.gloss) {
            QPainterPath shine;
            const QRectF top = body.adjusted(2, 2, -2, -body.height() / 2);
            shine.addRoundedRect(top, std::max(1.0, radius - 2), std::max(1.0, radius - 2));
            QLinearGradient sg(top.topLeft(), top.bottomLeft());
            sg.setColorAt(0, QColor(255, 255, 255, 90));
            sg.setColorAt(1, QColor(255, 255, 255, 12));
            p.fillPath(shine, sg);
        }
        if (pressed) {
            // Inner shadow along the top edge.
            QPainterPath clip;
            clip.addRoundedRect(body, radius, radius);
            p.save();
            p.setClipPath(clip);
            QLinearGradient ig(body.topLeft(), body.topLeft() + QPointF(0, 6));
            ig.setColorAt(0, QColor(0, 0, 0, 90));
            ig.setColorAt(1, QColor(0, 0, 0, 0));
            p.fillRect(body, ig);
            p.restore();
        }
    }

    if (button.look == Look::Check || button.look == Look::Uncheck) {
        drawCheckRow(p, r, s, button, c);
        p.restore();
        return;
    }

    QRectF content = r.adjusted(6, 2, -6, -2);
    if (pressed)
        content.translate(1, 1);
    const bool current = s == State::Disabled && (button.look == Look::Current || button.look == Look::Tab);

    if (button.look == Look::Tab) {
        // Icon above a short caption.
        const double iconSide = r.height() * 0.46;
        const QRectF iconBox(content.center().x() - iconSide / 2, content.top() + 2, iconSide, iconSide);
        drawIcon(p, button.icon, iconBox, c.icon);
        const QRectF textRect(r.left() + 1, iconBox.bottom() + 1, r.width() - 2, content.bottom() - iconBox.bottom());
        p.setFont(fitFont(button.caption, textRect.width() - 2, std::max(8.0, r.height() * 0.2), true));
        p.setPen(c.text);
        p.drawText(textRect.translated(pressed ? 1 : 0, 0), Qt::AlignHCenter | Qt::AlignVCenter, button.caption);
        if (current) {
            // A notch pointing at the content area marks the shown window.
            QPainterPath notch;
            const double cy = r.center().y();
            notch.moveTo(r.right() + 1, cy - 5);
            notch.lineTo(r.right() - 5, cy);
            notch.lineTo(r.right() + 1, cy + 5);
            notch.closeSubpath();
            p.fillPath(notch, Navy);
        }
        p.restore();
        return;
    }

    if (button.iconOnly || button.caption.isEmpty()) {
        const double side = std::min(content.width(), content.height()) * (button.look == Look::Window || button.look == Look::WindowDark ? 0.9 : 0.8);
        drawIcon(p, button.icon, QRectF(content.center().x() - side / 2, content.center().y() - side / 2, side, side), c.icon);
        p.restore();
        return;
    }

    const double iconSide = button.icon == Icon::None ? 0 : std::min(content.height() * 0.78, 24.0);
    QFont f = fitFont(button.caption, content.width() - iconSide - (iconSide > 0 ? 7 : 0),
                      std::min(15.0, r.height() * 0.4), true);
    const double textWidth = QFontMetricsF(f).horizontalAdvance(button.caption);
    const double total = iconSide + (iconSide > 0 ? 7 : 0) + textWidth;
    double x = content.center().x() - total / 2;
    if (iconSide > 0) {
        drawIcon(p, button.icon, QRectF(x, content.center().y() - iconSide / 2, iconSide, iconSide), c.icon);
        x += iconSide + 7;
    }
    p.setFont(f);
    // A faint shadow keeps white captions readable on the light end of the gradient.
    if (c.text == QColor(Qt::white)) {
        p.setPen(QColor(0, 0, 0, 70));
        p.drawText(QRectF(x, content.top() + 1, textWidth + 2, content.height()), Qt::AlignLeft | Qt::AlignVCenter, button.caption);
    }
    p.setPen(c.text);
    p.drawText(QRectF(x, content.top(), textWidth + 2, content.height()), Qt::AlignLeft | Qt::AlignVCenter, button.caption);
    p.restore();
}

void drawPanel(QPainter& p, const QRectF& rect, double radius) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = rect.adjusted(2, 1, -3, -4);
    for (int i = 4; i >= 1; --i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x10, 0x2a, 0x4c, 14));
        p.drawRoundedRect(r.translated(0, i * 0.8).adjusted(-i * 0.4, 0, i * 0.4, 0), radius, radius);
    }
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, QColor(0xff, 0xff, 0xff, 245));
    g.setColorAt(1, QColor(0xee, 0xf4, 0xfb, 245));
    p.setBrush(g);
    p.setPen(QPen(Line, 1.2));
    p.drawRoundedRect(r, radius, radius);
    p.restore();
}

void drawTitleBand(QPainter& p, const QRectF& rect, const QString& title, Icon icon) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(rect.topLeft(), rect.bottomLeft());
    g.setColorAt(0, QColor(0x2c, 0x5f, 0x9e));
    g.setColorAt(1, Navy);
    p.fillRect(rect, g);
    p.fillRect(QRectF(rect.left(), rect.bottom() - 2, rect.width(), 2), Gold);
    const double side = rect.height() * 0.6;
    drawIcon(p, icon, QRectF(rect.left() + 10, rect.center().y() - side / 2 - 1, side, side), Gold);
    p.setPen(Qt::white);
    p.setFont(font(rect.height() * 0.45, true));
    p.drawText(QRectF(rect.left() + 16 + side, rect.top(), rect.width() - side - 60, rect.height() - 2),
               Qt::AlignLeft | Qt::AlignVCenter, title);
    p.restore();
}

void drawHeading(QPainter& p, const QRectF& rect, const QString& title, const QString& subtitle,
                 Icon icon) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double h = rect.height();
    const double d = h * 0.78;
    const QRectF disc(rect.left() + 14, rect.top() + (h - d) / 2 - 1, d, d);
    QRadialGradient rg(disc.center() - QPointF(d * 0.2, d * 0.25), d * 0.75);
    rg.setColorAt(0, QColor(0x5e, 0x9e, 0xe0));
    rg.setColorAt(1, Navy);
    p.setPen(QPen(Gold, 2));
    p.setBrush(rg);
    p.drawEllipse(disc.adjusted(1, 1, -1, -1));
    drawIcon(p, icon, disc.adjusted(d * 0.22, d * 0.22, -d * 0.22, -d * 0.22), Qt::white);

    const double x = disc.right() + 12;
    QFont tf = fitFont(title, rect.right() - x - 10, h * (subtitle.isEmpty() ? 0.46 : 0.4), true);
    p.setFont(tf);
    const QFontMetricsF fm(tf);
    const double titleH = fm.height();
    double y = subtitle.isEmpty() ? rect.top() + (h - titleH) / 2 - 2 : rect.top() + h * 0.1;
    p.setPen(QColor(255, 255, 255, 160));
    p.drawText(QRectF(x + 1, y + 1, rect.right() - x, titleH), Qt::AlignLeft | Qt::AlignVCenter, title);
    p.setPen(Navy);
    p.drawText(QRectF(x, y, rect.right() - x, titleH), Qt::AlignLeft | Qt::AlignVCenter, title);
    const double titleW = fm.horizontalAdvance(title);
    y += titleH;
    if (!subtitle.isEmpty()) {
        p.setFont(fitFont(subtitle, rect.right() - x - 10, h * 0.22, false));
        p.setPen(Muted);
        p.drawText(QRectF(x, y, rect.right() - x, h * 0.3), Qt::AlignLeft | Qt::AlignTop, subtitle);
    }
    // Gold rule under the title, fading out to the right.
    const double ry = rect.bottom() - 3;
    QLinearGradient lg(QPointF(x, ry), QPointF(std::min(rect.right() - 10, x + titleW + 160), ry));
    lg.setColorAt(0, Gold);
    lg.setColorAt(1, QColor(0xfc, 0xca, 0x2c, 0));
    p.fillRect(QRectF(x, ry, std::min(rect.right() - 10, x + titleW + 160) - x, 2.5), lg);
    p.restore();
}

void drawContentBackground(QPainter& p, const QRectF& rect) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(rect.topLeft(), rect.bottomLeft());
    g.setColorAt(0, Pale);
    g.setColorAt(1, Mist);
    p.fillRect(rect, g);
    // A faint disc in the lower right corner: the CD motif, barely there.
    const QPointF c(rect.right() - rect.width() * 0.05, rect.bottom() + rect.height() * 0.02);
    const double r = rect.height() * 0.42;
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 7; ++i) {
        QColor ring = (i % 2) ? QColor(0xff, 0xff, 0xff, 60) : QColor(0x9f, 0xbd, 0xe0, 26);
        p.setBrush(ring);
        p.drawEllipse(c, r - i * r / 8, r - i * r / 8);
    }
    // A thin light edge.
    p.setPen(QPen(QColor(0xff, 0xff, 0xff, 200), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect.adjusted(0.5, 0.5, -0.5, -0.5));
    p.restore();
}

void drawDisc(QPainter& p, const QPointF& c, double r) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QConicalGradient cg(c, 30);
    cg.setColorAt(0.00, QColor(0xe8, 0xee, 0xf6));
    cg.setColorAt(0.10, QColor(0xff, 0xd6, 0xe8));
    cg.setColorAt(0.18, QColor(0xd8, 0xf0, 0xff));
    cg.setColorAt(0.28, QColor(0xf4, 0xf7, 0xfb));
    cg.setColorAt(0.45, QColor(0xc9, 0xd6, 0xe6));
    cg.setColorAt(0.55, QColor(0xfb, 0xf1, 0xc4));
    cg.setColorAt(0.62, QColor(0xd4, 0xf5, 0xe0));
    cg.setColorAt(0.72, QColor(0xf4, 0xf7, 0xfb));
    cg.setColorAt(0.90, QColor(0xc6, 0xd3, 0xe4));
    cg.setColorAt(1.00, QColor(0xe8, 0xee, 0xf6));
    p.setPen(QPen(QColor(0x8c, 0xa0, 0xb8), std::max(1.0, r * 0.02)));
    p.setBrush(cg);
    p.drawEllipse(c, r, r);
    p.setBrush(QColor(0xf8, 0xfa, 0xfc));
    p.setPen(QPen(QColor(0xa8, 0xb8, 0xcc), std::max(1.0, r * 0.015)));
    p.drawEllipse(c, r * 0.33, r * 0.33);
    p.setBrush(QColor(0xd0, 0xda, 0xe6));
    p.drawEllipse(c, r * 0.2, r * 0.2);
    p.setBrush(QColor(0x0d, 0x22, 0x3e, 200));
    p.drawEllipse(c, r * 0.1, r * 0.1);
    p.restore();
}

void drawLogoMark(QPainter& p, const QRectF& rect, const QColor& wave, const QColor& disc) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double s = std::min(rect.width(), rect.height());
    const QPointF c = rect.center();
    QRadialGradient rg(c - QPointF(s * 0.15, s * 0.2), s * 0.6);
    rg.setColorAt(0, disc.lighter(140));
    rg.setColorAt(1, disc);
    p.setPen(Qt::NoPen);
    p.setBrush(rg);
    p.drawEllipse(c, s / 2, s / 2);
    QPainterPath w;
    const double x0 = c.x() - s * 0.42, x1 = c.x() + s * 0.42;
    for (int k = 0; k < 2; ++k) {
        const double y = c.y() + s * (0.05 + k * 0.17);
        QPainterPath line;
        line.moveTo(x0, y);
        line.cubicTo(c.x() - s * 0.2, y - s * 0.2, c.x(), y + s * 0.16, c.x() + s * 0.1, y);
        line.cubicTo(c.x() + s * 0.2, y - s * 0.14, c.x() + s * 0.3, y - s * 0.02, x1, y - s * 0.06);
        p.setPen(strokePen(wave, s * (k == 0 ? 0.09 : 0.06)));
        p.setBrush(Qt::NoBrush);
        p.drawPath(line);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 230));
    p.drawEllipse(c + QPointF(s * 0.16, -s * 0.22), s * 0.07, s * 0.07);
    p.restore();
}

}  // namespace democd::theme

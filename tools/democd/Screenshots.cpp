#include "tools/democd/Screenshots.h"

#include "tools/democd/ProgramPictures.h"
#include "tools/democd/Theme.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace democd {

std::uint32_t stableHash(const QString& s) {
    std::uint32_t h = 2166136261u;
    for (QChar c : s) {
        h ^= c.unicode();
        h *= 16777619u;
    }
    return h;
}

namespace {

enum class Kind { Game, Office, Education, Graphics, Internet, Media, System, Code, Kids, Terminal };

Kind kindOf(const QString& section) {
    const QString s = section.toLower();
    if (s.contains(QStringLiteral("hry")))
        return Kind::Game;
    if (s.contains(QStringLiteral("kancel")))
        return Kind::Office;
    if (s.contains(QStringLiteral("vzděl")))
        return Kind::Education;
    if (s.contains(QStringLiteral("grafik")))
        return Kind::Graphics;
    if (s.contains(QStringLiteral("internet")))
        return Kind::Internet;
    if (s.contains(QStringLiteral("multim")))
        return Kind::Media;
    if (s.contains(QStringLiteral("program")))
        return Kind::Code;
    if (s.contains(QStringLiteral("dět")))
        return Kind::Kids;
    if (s.contains(QStringLiteral("linux")))
        return Kind::Terminal;
    return Kind::System;
}

void frame(QPainter& p, const QRect& r, const QString& title, const QColor& accent, bool menu) {
    p.fillRect(r, QColor(0xc0, 0xc0, 0xc0));
    p.setPen(Qt::white);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(QColor(0x40, 0x40, 0x40));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    const QRect bar(r.left() + 3, r.top() + 3, r.width() - 6, 20);
    QLinearGradient g(bar.topLeft(), bar.topRight());
    g.setColorAt(0, accent.darker(160));
    g.setColorAt(1, accent.lighter(130));
    p.fillRect(bar, g);
    p.setPen(Qt::white);
    p.setFont(theme::font(12, true));
    p.drawText(bar.adjusted(6, 0, -60, 0), Qt::AlignLeft | Qt::AlignVCenter, title);
    for (int i = 0; i < 3; ++i) {
        const QRect b(bar.right() - 18 - i * 18, bar.top() + 3, 16, 14);
        p.fillRect(b, QColor(0xc0, 0xc0, 0xc0));
        p.setPen(QColor(0x40, 0x40, 0x40));
        p.drawRect(b.adjusted(0, 0, -1, -1));
        if (i == 0) {
            p.drawLine(b.left() + 4, b.top() + 3, b.right() - 5, b.bottom() - 4);
            p.drawLine(b.right() - 5, b.top() + 3, b.left() + 4, b.bottom() - 4);
        }
    }
    if (menu) {
        p.setPen(Qt::black);
        p.setFont(theme::font(11));
        int x = r.left() + 10;
        for (const char* m : {"Soubor", "Úpravy", "Zobrazit", "Nápověda"}) {
            const QString s = QString::fromUtf8(m);
            p.drawText(QPoint(x, r.top() + 38), s);
            x += int(QFontMetricsF(p.font()).horizontalAdvance(s)) + 16;
        }
    }
}

void drawGame(QPainter& p, const QRect& area, Rng& rng, const QColor& accent, int variant) {
    p.fillRect(area, QColor(0x1b, 0x5e, 0x20).darker(100 + variant * 10));
    if (variant % 2 == 0) {
        // A mine field.
        const int n = 12, cell = std::min(area.width(), area.height()) / (n + 1);
        const QPoint o(area.center().x() - n * cell / 2, area.center().y() - n * cell / 2);
        p.fillRect(QRect(o, QSize(n * cell, n * cell)).adjusted(-4, -4, 4, 4), QColor(0x80, 0x80, 0x80));
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x) {
                const QRect c(o.x() + x * cell, o.y() + y * cell, cell, cell);
                const bool open = rng.below(100) < 55;
                p.fillRect(c, open ? QColor(0xd8, 0xd8, 0xd8) : QColor(0xb0, 0xb0, 0xb0));
                p.setPen(QColor(0x70, 0x70, 0x70));
                p.setBrush(Qt::NoBrush);
                p.drawRect(c.adjusted(0, 0, -1, -1));
                if (open && rng.below(100) < 30) {
                    static const QColor colours[] = {Qt::blue, QColor(0, 128, 0), Qt::red, QColor(0, 0, 128)};
                    const int v = 1 + rng.below(4);
                    p.setPen(colours[v - 1]);
                    p.setFont(theme::font(cell * 0.7, true));
                    p.drawText(c, Qt::AlignCenter, QString::number(v));
                } else if (!open && rng.below(100) < 10) {
                    p.setPen(Qt::NoPen);
                    p.setBrush(Qt::red);
                    p.drawPolygon(QPolygon({c.center() + QPoint(-2, -cell / 3), c.center() + QPoint(cell / 3, -cell / 6),
                                            c.center() + QPoint(-2, 0)}));
                }
            }
    } else {
        // Falling blocks.
        const int cols = 10, rows = 16, cell = area.height() / (rows + 1);
        const QPoint o(area.center().x() - cols * cell / 2, area.top() + cell / 2);
        p.fillRect(QRect(o, QSize(cols * cell, rows * cell)), QColor(0x10, 0x10, 0x28));
        for (int y = rows - 6; y < rows; ++y)
            for (int x = 0; x < cols; ++x) {
                if (rng.below(100) < 25)
                    continue;
                const QRect c(o.x() + x * cell, o.y() + y * cell, cell - 1, cell - 1);
                QColor col = Accents[rng.below(6)].lighter(130);
                p.fillRect(c, col);
                p.fillRect(c.adjusted(0, 0, 0, -c.height() + 3), col.lighter(140));
            }
        p.setPen(Qt::white);
        p.setFont(theme::font(14, true));
        p.drawText(QRect(o.x() + cols * cell + 10, area.top() + 20, 140, 60), Qt::AlignLeft,
                   QStringLiteral("SKÓRE\n%1").arg(1200 + rng.below(9000)));
    }
    (void)accent;
}

void drawOffice(QPainter& p, const QRect& area, Rng& rng, const QColor& accent, int variant) {
    p.fillRect(area, QColor(0x80, 0x80, 0x80));
    const QRect page = area.adjusted(area.width() / 8, 8, -area.width() / 8, 0);
    p.fillRect(page, Qt::white);
    if (variant % 2 == 0) {
        p.setPen(accent);
        p.setFont(theme::font(16, true));
        p.drawText(page.adjusted(20, 14, -20, 0), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Zápis z porady"));
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 14; ++i) {
            const int w = page.width() - 40 - (i % 4 == 3 ? rng.below(page.width() / 2) : rng.below(30));
            p.fillRect(QRect(page.left() + 20, page.top() + 50 + i * 14, w, 6), QColor(0x9a, 0xa4, 0xb0));
        }
    } else {
        const int cols = 5, rows = 12, cw = page.width() / cols, rh = 18;
        p.setFont(theme::font(10));
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) {
                const QRect cell(page.left() + c * cw, page.top() + r * rh, cw, rh);
                if (r == 0)
                    p.fillRect(cell, accent.lighter(170));
                p.setPen(QColor(0xc8, 0xc8, 0xc8));
                p.drawRect(cell);
                p.setPen(Qt::black);
                const QString t = r == 0 ? QStringLiteral("Sloupec %1").arg(c + 1)
                                         : QString::number(rng.below(10000) / 10.0, 'f', 1);
                p.drawText(cell.adjusted(3, 0, -3, 0), Qt::AlignRight | Qt::AlignVCenter, t);
            }
    }
}

void drawEducation(QPainter& p, const QRect& area, Rng& rng, const QColor& accent) {
    QLinearGradient g(area.topLeft(), area.bottomLeft());
    g.setColorAt(0, accent.lighter(180));
    g.setColorAt(1, Qt::white);
    p.fillRect(area, g);
    const QRect card = area.adjusted(30, 20, -30, -area.height() / 3);
    p.setPen(QPen(accent, 2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(card, 12, 12);
    const int a = 2 + rng.below(8), b = 2 + rng.below(8);
    p.setPen(accent.darker(130));
    p.setFont(theme::font(card.height() * 0.3, true));
    p.drawText(card, Qt::AlignCenter, QStringLiteral("%1 × %2 = ?").arg(a).arg(b));
    for (int i = 0; i < 3; ++i) {
        const QRect ans(area.left() + 30 + i * (area.width() - 60) / 3, card.bottom() + 16, (area.width() - 60) / 3 - 12, 34);
        p.setPen(QPen(accent.darker(120), 1.5));
        p.setBrush(i == 1 ? QColor(0xc8, 0xf0, 0xc8) : QColor(0xf4, 0xf4, 0xf4));
        p.drawRoundedRect(ans, 8, 8);
        p.setPen(Qt::black);
        p.setFont(theme::font(16, true));
        p.drawText(ans, Qt::AlignCenter, QString::number(i == 1 ? a * b : a * b + (i == 0 ? -a : b)));
    }
}

void drawGraphics(QPainter& p, const QRect& area, Rng& rng) {
    p.fillRect(area, Qt::white);
    for (int i = 0; i < 9; ++i) {
        QColor c = Accents[rng.below(6)];
        c.setAlpha(170);
        p.setPen(QPen(c.darker(130), 2));
        p.setBrush(c);
        const QRect r(area.left() + rng.below(area.width() - 60), area.top() + rng.below(area.height() - 60),
                      30 + rng.below(90), 30 + rng.below(70));
        if (i % 3 == 0)
            p.drawEllipse(r);
        else if (i % 3 == 1)
            p.drawRoundedRect(r, 6, 6);
        else
            p.drawPolygon(QPolygon({r.bottomLeft(), QPoint(r.center().x(), r.top()), r.bottomRight()}));
    }
    // A tool box down the left side.
    p.fillRect(QRect(area.left(), area.top(), 34, area.height()), QColor(0xd4, 0xd0, 0xc8));
    for (int i = 0; i < 8; ++i) {
        const QRect t(area.left() + 5, area.top() + 6 + i * 28, 24, 24);
        p.setPen(QColor(0x80, 0x80, 0x80));
        p.setBrush(i == 2 ? QColor(0xff, 0xff, 0xff) : QColor(0xe4, 0xe0, 0xd8));
        p.drawRect(t);
        p.fillRect(t.adjusted(6, 6, -6, -6), Accents[i % 6]);
    }
}

void drawInternet(QPainter& p, const QRect& area, Rng& rng, const QColor& accent) {
    p.fillRect(area, Qt::white);
    p.fillRect(QRect(area.left(), area.top(), area.width(), 26), QColor(0xe8, 0xe8, 0xe8));
    p.setPen(QColor(0x90, 0x90, 0x90));
    p.setBrush(Qt::white);
    p.drawRect(QRect(area.left() + 60, area.top() + 4, area.width() - 70, 18));
    p.setPen(Qt::black);
    p.setFont(theme::font(10));
    p.drawText(QRect(area.left() + 65, area.top() + 4, area.width() - 80, 18), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("http://www.example.com/"));
    p.fillRect(QRect(area.left(), area.top() + 26, area.width(), 40), accent);
    p.setPen(Qt::white);
    p.setFont(theme::font(16, true));
    p.drawText(QRect(area.left() + 14, area.top() + 26, area.width(), 40), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Vítejte na webu"));
    for (int i = 0; i < 10; ++i)
        p.fillRect(QRect(area.left() + 14, area.top() + 80 + i * 14, area.width() / 2 - rng.below(60), 6),
                   QColor(0xa0, 0xa8, 0xb4));
    p.fillRect(QRect(area.center().x() + 20, area.top() + 80, area.width() / 2 - 34, 120), accent.lighter(170));
}

void drawMedia(QPainter& p, const QRect& area, Rng& rng, const QColor& accent, int variant) {
    p.fillRect(area, QColor(0x20, 0x24, 0x2c));
    if (variant % 2 == 0) {
        // Piano keys.
        const int n = 14, kw = area.width() / n;
        const QRect keys(area.left(), area.center().y(), n * kw, area.height() / 2);
        for (int i = 0; i < n; ++i) {
            p.setPen(Qt::black);
            p.setBrush(i == 4 ? accent.lighter(150) : Qt::white);
            p.drawRect(QRect(keys.left() + i * kw, keys.top(), kw, keys.height()));
        }
        for (int i = 0; i < n - 1; ++i)
            if (i % 7 != 2 && i % 7 != 6)
                p.fillRect(QRect(keys.left() + i * kw + kw * 2 / 3, keys.top(), kw * 2 / 3, keys.height() * 3 / 5), Qt::black);
    }
    // A waveform.
    QPainterPath wave;
    const int mid = area.top() + area.height() / 4 + (variant % 2 ? area.height() / 5 : 0);
    wave.moveTo(area.left(), mid);
    for (int x = 0; x < area.width(); x += 3) {
        const double a = std::sin(x * 0.07) * std::sin(x * 0.013 + rng.unit()) * area.height() * 0.14;
        wave.lineTo(area.left() + x, mid + a);
    }
    p.setPen(QPen(accent.lighter(160), 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(wave);
}

void drawSystem(QPainter& p, const QRect& area, Rng& rng, const QColor& accent) {
    p.fillRect(area, Qt::white);
    p.setFont(theme::font(11, true));
    p.setPen(Qt::black);
    p.drawText(area.adjusted(12, 8, 0, 0), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Využití disku"));
    const int n = 6;
    const int bw = (area.width() - 40) / n;
    for (int i = 0; i < n; ++i) {
        const int h = 30 + rng.below(area.height() - 90);
        QLinearGradient g(0, area.bottom() - h, 0, area.bottom());
        g.setColorAt(0, Accents[i % 6].lighter(130));
        g.setColorAt(1, Accents[i % 6]);
        p.fillRect(QRect(area.left() + 20 + i * bw, area.bottom() - 20 - h, bw - 12, h), g);
    }
    p.setPen(QColor(0x60, 0x60, 0x60));
    p.drawLine(area.left() + 14, area.bottom() - 20, area.right() - 14, area.bottom() - 20);
    (void)accent;
}

void drawCode(QPainter& p, const QRect& area, Rng& rng) {
    p.fillRect(area, QColor(0xfd, 0xfd, 0xf6));
    p.fillRect(QRect(area.left(), area.top(), 30, area.height()), QColor(0xe8, 0xe8, 0xe0));
    QFont f = theme::font(11);
    f.setFamily(QStringLiteral("DejaVu Sans Mono"));
    p.setFont(f);
    const char* const lines[] = {"function prevod(n, zaklad) {", "  let s = '';", "  while (n > 0) {",
                                 "    s = CISLICE[n % zaklad] + s;", "    n = Math.floor(n / zaklad);", "  }",
                                 "  return s || '0';", "}", "", "// Hlavní program", "vypis(prevod(255, 16));",
                                 "vypis(prevod(255, 2));"};
    int y = area.top() + 16;
    int no = 1;
    for (const char* l : lines) {
        p.setPen(QColor(0x90, 0x90, 0x90));
        p.drawText(QPoint(area.left() + 4, y), QString::number(no++));
        const QString s = QString::fromUtf8(l);
        p.setPen(s.startsWith(QStringLiteral("//")) ? QColor(0x2e, 0x8b, 0x57)
                                                    : (s.contains(QLatin1Char('(')) ? QColor(0x1f, 0x3f, 0x9f) : Qt::black));
        p.drawText(QPoint(area.left() + 38, y), s);
        y += 16;
        if (y > area.bottom())
            break;
    }
    (void)rng;
}

void drawKids(QPainter& p, const QRect& area, Rng& rng) {
    QLinearGradient g(area.topLeft(), area.bottomLeft());
    g.setColorAt(0, QColor(0x9f, 0xd8, 0xff));
    g.setColorAt(0.7, QColor(0xe8, 0xf8, 0xff));
    g.setColorAt(0.7, QColor(0x8b, 0xd1, 0x6b));
    g.setColorAt(1, QColor(0x5f, 0xb0, 0x48));
    p.fillRect(area, g);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xd8, 0x3a));
    p.drawEllipse(QPoint(area.right() - 50, area.top() + 45), 28, 28);
    for (int i = 0; i < 5; ++i) {
        const QPoint c(area.left() + 40 + i * (area.width() - 80) / 4, int(area.top() + area.height() * 0.7) - 20);
        p.setBrush(Accents[rng.below(6)].lighter(120));
        p.drawEllipse(c, 18, 18);
        p.setBrush(Qt::white);
        p.drawEllipse(c + QPoint(-6, -4), 4, 4);
        p.drawEllipse(c + QPoint(6, -4), 4, 4);
    }
}

void drawTerminal(QPainter& p, const QRect& area) {
    p.fillRect(area, QColor(0x12, 0x12, 0x12));
    QFont f = theme::font(11);
    f.setFamily(QStringLiteral("DejaVu Sans Mono"));
    p.setFont(f);
    const char* const lines[] = {"$ ls", "README  start.sh", "$ ./start.sh", "$ _"};
    int y = area.top() + 16;
    for (const char* l : lines) {
        p.setPen(QString::fromUtf8(l).startsWith(QLatin1Char('$')) ? QColor(0x7c, 0xe0, 0x7c) : QColor(0xd0, 0xd0, 0xd0));
        p.drawText(QPoint(area.left() + 8, y), QString::fromUtf8(l));
        y += 16;
    }
}

}  // namespace

QImage drawScreenshot(const QString& program, const QString& section, int variant, QSize size) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(QColor(0x00, 0x80, 0x80));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    Rng rng(stableHash(program) + std::uint32_t(variant) * 7919u);
    const QColor accent = Accents[(stableHash(program) + std::uint32_t(variant)) % 6];
    const Kind kind = kindOf(section);
    const bool menu = kind == Kind::Office || kind == Kind::Graphics || kind == Kind::Code || kind == Kind::System;
    const QRect win = img.rect();
    frame(p, win, program, accent, menu);
    const QRect area = win.adjusted(4, menu ? 46 : 26, -4, -22);
    p.save();
    p.setClipRect(area);
    if (const ProgramDrawing own = programDrawing(program)) {
        own(p, area, rng, accent, variant);
    } else {
        switch (kind) {
        case Kind::Game: drawGame(p, area, rng, accent, variant); break;
        case Kind::Office: drawOffice(p, area, rng, accent, variant); break;
        case Kind::Education: drawEducation(p, area, rng, accent); break;
        case Kind::Graphics: drawGraphics(p, area, rng); break;
        case Kind::Internet: drawInternet(p, area, rng, accent); break;
        case Kind::Media: drawMedia(p, area, rng, accent, variant); break;
        case Kind::System: drawSystem(p, area, rng, accent); break;
        case Kind::Code: drawCode(p, area, rng); break;
        case Kind::Kids: drawKids(p, area, rng); break;
        case Kind::Terminal: drawTerminal(p, area); break;
        }
    }
    p.restore();
    // Status bar.
    const QRect status(win.left() + 4, win.bottom() - 19, win.width() - 8, 16);
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawRect(status);
    p.setPen(Qt::black);
    p.setFont(theme::font(10));
    p.drawText(status.adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Připraven"));
    p.end();
    return img;
}

QImage drawCover(const QString& title, int style, QSize size) {
    static const QColor schemes[][2] = {{QColor(0x1e, 0x6f, 0xb8), QColor(0x0b, 0x2a, 0x55)},
                                        {QColor(0xe8, 0x6b, 0x1f), QColor(0x7a, 0x1f, 0x0c)},
                                        {QColor(0x2e, 0x9e, 0x5b), QColor(0x0c, 0x44, 0x2a)},
                                        {QColor(0x8e, 0x44, 0xad), QColor(0x33, 0x12, 0x4a)},
                                        {QColor(0xd4, 0xac, 0x0d), QColor(0x6e, 0x4b, 0x07)},
                                        {QColor(0xc0, 0x39, 0x2b), QColor(0x4a, 0x0e, 0x0e)}};
    const auto& sc = schemes[style % 6];
    QImage img(size, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient g(0, 0, size.width() * 0.4, size.height());
    g.setColorAt(0, sc[0]);
    g.setColorAt(1, sc[1]);
    p.fillRect(img.rect(), g);
    theme::drawDisc(p, QPointF(size.width() * 0.7, size.height() * 0.6), std::min(size.width() * 0.42, size.height() * 0.3));
    p.fillRect(QRectF(0, 0, size.width(), size.height() * 0.36), QColor(0, 0, 0, 70));
    p.setPen(Qt::white);
    p.setFont(theme::font(std::clamp(size.width() * 0.1, 12.0, 17.0), true));
    p.drawText(QRectF(8, 6, size.width() - 16, size.height() * 0.34), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
               title);
    // The publisher's strip along the bottom edge.
    const QRectF strip(0, size.height() - 30, size.width(), 30);
    p.fillRect(strip, QColor(0x0d, 0x22, 0x3e, 215));
    p.fillRect(QRectF(0, strip.top(), size.width(), 2), theme::Gold);
    theme::drawLogoMark(p, QRectF(8, strip.top() + 5, 20, 20), theme::Gold, theme::Navy);
    p.setFont(theme::font(10, true));
    p.drawText(strip.adjusted(34, 2, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Modrá vlna"));
    p.setPen(QPen(QColor(255, 255, 255, 120), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1));
    p.end();
    return img;
}

}  // namespace democd

#include "tools/democd/ProgramPictures.h"

#include "tools/democd/Theme.h"

#include <QFontMetricsF>
#include <QHash>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace democd {

namespace {

QFont mono(double pixelSize, bool bold = false) {
    QFont f = theme::font(pixelSize, bold);
    f.setFamily(QStringLiteral("DejaVu Sans Mono"));
    return f;
}

void field(QPainter& p, const QRect& r, const QString& text, const QFont& f, const QColor& fill = Qt::white) {
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.setBrush(fill);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.setPen(Qt::black);
    p.setFont(f);
    p.drawText(r.adjusted(5, 0, -5, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
}

void button(QPainter& p, const QRect& r, const QString& text, const QColor& fill) {
    p.setPen(fill.darker(150));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    p.setPen(fill.lightness() < 140 ? Qt::white : Qt::black);
    p.setFont(theme::font(std::min(r.height() * 0.5, 14.0), true));
    p.drawText(r, Qt::AlignCenter, text);
}

QString u(const char* s) { return QString::fromUtf8(s); }

using Rows = QList<std::pair<const char*, QString>>;

// Labelled fields one below the other, as the converters and calculators show them.
void form(QPainter& p, const QRect& area, const Rows& rows, const QColor& accent, int highlighted) {
    p.fillRect(area, QColor(0xec, 0xe9, 0xe2));
    const int rh = std::min(34, (area.height() - 16) / int(rows.size()));
    const int labelW = area.width() * 2 / 5;
    const QFont label = theme::font(std::min(rh * 0.42, 13.0), true);
    const int fieldW = area.width() - labelW - 10;
    for (int i = 0; i < rows.size(); ++i) {
        const int y = area.top() + 10 + i * rh;
        p.setPen(Qt::black);
        p.setFont(label);
        p.drawText(QRect(area.left() + 6, y, labelW - 12, rh - 6), Qt::AlignRight | Qt::AlignVCenter, u(rows[i].first));
        // A monospaced glyph is about 0.6 of the font's size wide.
        const QFont value = mono(std::min({rh * 0.45, 14.0, (fieldW - 10) / (0.62 * rows[i].second.size())}), true);
        field(p, QRect(area.left() + labelW, y, fieldW, rh - 6), rows[i].second, value,
              i == highlighted ? accent.lighter(175) : QColor(Qt::white));
    }
}

// A question on a card and the answers to pick from; the right one is already picked.
void quiz(QPainter& p, const QRect& area, const QString& question, const QStringList& answers, int right,
          const QColor& accent, const QString& footer) {
    QLinearGradient g(area.topLeft(), area.bottomLeft());
    g.setColorAt(0, accent.lighter(180));
    g.setColorAt(1, Qt::white);
    p.fillRect(area, g);
    const QRect card = area.adjusted(24, 14, -24, -area.height() * 11 / 20);
    p.setPen(QPen(accent, 2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(card, 12, 12);
    p.setPen(accent.darker(130));
    p.setFont(theme::fitFont(question, card.width() - 20, card.height() * 0.4));
    p.drawText(card, Qt::AlignCenter, question);
    const int cols = answers.size() == 4 ? 2 : int(answers.size());
    const int w = (area.width() - 48) / cols, h = std::min(36, (area.bottom() - card.bottom() - 40) / 2);
    for (int i = 0; i < answers.size(); ++i) {
        const QRect a(area.left() + 24 + (i % cols) * w, card.bottom() + 12 + (i / cols) * (h + 8), w - 10, h);
        p.setPen(QPen(accent.darker(120), 1.5));
        p.setBrush(i == right ? QColor(0xc8, 0xf0, 0xc8) : QColor(0xf4, 0xf4, 0xf4));
        p.drawRoundedRect(a, 8, 8);
        p.setPen(Qt::black);
        p.setFont(theme::fitFont(answers[i], a.width() - 8, std::min(h * 0.55, 16.0)));
        p.drawText(a, Qt::AlignCenter, answers[i]);
    }
    p.setPen(accent.darker(150));
    p.setFont(theme::font(13, true));
    p.drawText(area.adjusted(10, 0, -10, -4), Qt::AlignRight | Qt::AlignBottom, footer);
}

// A page in the web browser, where the shell-script tools show their report.
void reportPage(QPainter& p, const QRect& area, const char* file, const char* heading, const Rows& rows) {
    p.fillRect(area, Qt::white);
    p.fillRect(QRect(area.left(), area.top(), area.width(), 26), QColor(0xe8, 0xe8, 0xe8));
    field(p, QRect(area.left() + 8, area.top() + 4, area.width() - 16, 18), QStringLiteral("file:///tmp/") + u(file),
          theme::font(10));
    p.setPen(theme::Navy);
    p.setFont(theme::font(std::min(20.0, area.width() / 22.0), true));
    p.drawText(QRect(area.left() + 14, area.top() + 30, area.width() - 28, 34), Qt::AlignLeft | Qt::AlignVCenter, u(heading));
    const int rh = std::min(24, (area.bottom() - area.top() - 76) / int(rows.size()));
    const int keyW = area.width() * 2 / 5;
    for (int i = 0; i < rows.size(); ++i) {
        const QRect r(area.left() + 14, area.top() + 68 + i * rh, area.width() - 28, rh);
        p.fillRect(r, i % 2 ? QColor(0xf4, 0xf8, 0xfc) : theme::Mist);
        p.setPen(Qt::black);
        p.setFont(theme::font(std::min(rh * 0.5, 12.0), true));
        p.drawText(r.adjusted(6, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, u(rows[i].first));
        p.setFont(mono(std::min(rh * 0.5, 12.0)));
        p.drawText(r.adjusted(keyW, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter, rows[i].second);
    }
}

void lines(QPainter& p, QPoint at, const QStringList& text, const QFont& f, int step, const QColor& colour = Qt::black) {
    p.setFont(f);
    p.setPen(colour);
    for (const QString& l : text) {
        p.drawText(at, l);
        at.ry() += step;
    }
}

// Square cells, as large as the area allows, the board centred.
QRect board(const QRect& area, int cols, int rows, int margin, int& cell) {
    cell = std::min((area.width() - 2 * margin) / cols, (area.height() - 2 * margin) / rows);
    return QRect(area.center().x() - cols * cell / 2, area.center().y() - rows * cell / 2, cols * cell, rows * cell);
}

void raised(QPainter& p, const QRect& c, const QColor& face) {
    p.fillRect(c, face);
    p.fillRect(QRect(c.left(), c.top(), c.width(), 2), Qt::white);
    p.fillRect(QRect(c.left(), c.top(), 2, c.height()), Qt::white);
    p.fillRect(QRect(c.left(), c.bottom() - 1, c.width(), 2), QColor(0x80, 0x80, 0x80));
    p.fillRect(QRect(c.right() - 1, c.top(), 2, c.height()), QColor(0x80, 0x80, 0x80));
}

void drawMines(QPainter& p, const QRect& area, Rng& rng, const QColor&, int variant) {
    p.fillRect(area, QColor(0xc0, 0xc0, 0xc0));
    const bool lost = variant == 2;
    const int n = variant == 1 ? 12 : 9, count = variant == 1 ? 24 : 12;
    const QRect top(area.left() + 8, area.top() + 6, area.width() - 16, 32);
    int cell = 0;
    const QRect b = board(area.adjusted(0, 40, 0, 0), n, n, 8, cell);
    QList<bool> mine(n * n, false), open(n * n, false);
    const int start = (n / 2) * n + n / 2;
    for (int placed = 0; placed < count;) {
        const int c = rng.below(n * n);
        if (mine[c] || (std::abs(c % n - start % n) <= 1 && std::abs(c / n - start / n) <= 1))
            continue;
        mine[c] = true;
        ++placed;
    }
    const auto around = [&](int c) {
        int k = 0;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int x = c % n + dx, y = c / n + dy;
                k += (dx || dy) && x >= 0 && y >= 0 && x < n && y < n && mine[y * n + x];
            }
        return k;
    };
    // What the first click at the centre opens.
    QList<int> todo{start};
    while (!todo.isEmpty()) {
        const int c = todo.takeLast();
        if (open[c] || mine[c])
            continue;
        open[c] = true;
        if (around(c) == 0)
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int x = c % n + dx, y = c / n + dy;
                    if (x >= 0 && y >= 0 && x < n && y < n)
                        todo << y * n + x;
                }
    }
    // The counters and the face above the field.
    raised(p, top, QColor(0xc0, 0xc0, 0xc0));
    for (const auto& [x, text] : {std::pair{top.left() + 6, QStringLiteral("%1").arg(count - 3, 3, 10, QLatin1Char('0'))},
                                  std::pair{top.right() - 54, QStringLiteral("%1").arg(17 + variant * 41, 3, 10, QLatin1Char('0'))}}) {
        const QRect d(x, top.top() + 4, 48, top.height() - 8);
        p.fillRect(d, Qt::black);
        p.setPen(Qt::red);
        p.setFont(mono(d.height() * 0.8, true));
        p.drawText(d, Qt::AlignCenter, text);
    }
    const QPointF face = QRectF(top).center();
    p.setPen(Qt::black);
    p.setBrush(QColor(0xff, 0xe0, 0x20));
    p.drawEllipse(face, 11, 11);
    p.setBrush(Qt::black);
    p.drawEllipse(face + QPointF(-4, -3), 1.5, 1.5);
    p.drawEllipse(face + QPointF(4, -3), 1.5, 1.5);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(face.x() - 6, face.y() - (lost ? -3 : 4), 12, 8), (lost ? 20 : 200) * 16, 140 * 16);

    static const QColor digits[] = {Qt::blue, QColor(0, 128, 0), Qt::red, QColor(0, 0, 128), QColor(128, 0, 0)};
    int exploded = -1;
    for (int c = 0; c < n * n; ++c) {
        const QRect r(b.left() + c % n * cell, b.top() + c / n * cell, cell, cell);
        if (open[c]) {
            p.fillRect(r, QColor(0xe6, 0xe6, 0xe6));
            p.setPen(QColor(0x9a, 0x9a, 0x9a));
            p.setBrush(Qt::NoBrush);
            p.drawRect(r.adjusted(0, 0, -1, -1));
            if (const int k = around(c)) {
                p.setPen(digits[std::min(k, 5) - 1]);
                p.setFont(theme::font(cell * 0.7, true));
                p.drawText(r, Qt::AlignCenter, QString::number(k));
            }
            continue;
        }
        raised(p, r, QColor(0xb4, 0xb4, 0xb4));
        bool edge = false;
        for (int d : {-1, 1, -n, n})
            edge |= c + d >= 0 && c + d < n * n && open[c + d];
        if (mine[c] && lost) {
            if (edge && exploded < 0)
                exploded = c;
            p.fillRect(r.adjusted(2, 2, -2, -2), c == exploded ? QColor(Qt::red) : QColor(0xb4, 0xb4, 0xb4));
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::black);
            p.drawEllipse(QRectF(r).adjusted(cell * 0.25, cell * 0.25, -cell * 0.25, -cell * 0.25));
        } else if (mine[c] && edge && rng.below(3) > 0) {
            p.setPen(QPen(Qt::black, 1.5));
            p.drawLine(r.center().x(), r.top() + cell / 5, r.center().x(), r.bottom() - cell / 5);
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::red);
            p.drawPolygon(QPolygon({QPoint(r.center().x(), r.top() + cell / 5), QPoint(r.left() + cell / 5, r.top() + cell * 2 / 5),
                                    QPoint(r.center().x(), r.top() + cell * 3 / 5)}));
        }
    }
}

void drawMaze(QPainter& p, const QRect& area, Rng& rng, const QColor&, int) {
    p.fillRect(area, theme::Pale);
    const int n = 12;
    int cell = 0;
    const QRect b = board(area, n, n, 10, cell);
    QList<bool> right(n * n, true), down(n * n, true), seen(n * n, false);
    QList<int> path{0};
    seen[0] = true;
    while (!path.isEmpty()) {
        const int c = path.last(), x = c % n, y = c / n;
        QList<int> next;
        if (x > 0 && !seen[c - 1])
            next << c - 1;
        if (x < n - 1 && !seen[c + 1])
            next << c + 1;
        if (y > 0 && !seen[c - n])
            next << c - n;
        if (y < n - 1 && !seen[c + n])
            next << c + n;
        if (next.isEmpty()) {
            path.removeLast();
            continue;
        }
        const int d = next[rng.below(int(next.size()))];
        (d == c + 1 ? right[c] : d == c - 1 ? right[d] : d == c + n ? down[c] : down[d]) = false;
        seen[d] = true;
        path << d;
    }
    p.fillRect(b, Qt::white);
    p.fillRect(QRect(b.right() - cell + 3, b.bottom() - cell + 3, cell - 6, cell - 6), theme::Gold);
    p.setPen(QPen(theme::Navy, std::max(2, cell / 8), Qt::SolidLine, Qt::SquareCap));
    p.setBrush(Qt::NoBrush);
    p.drawRect(b);
    for (int c = 0; c < n * n; ++c) {
        const int x = b.left() + c % n * cell, y = b.top() + c / n * cell;
        if (right[c] && c % n < n - 1)
            p.drawLine(x + cell, y, x + cell, y + cell);
        if (down[c] && c / n < n - 1)
            p.drawLine(x, y + cell, x + cell, y + cell);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xd0, 0x45, 0x3c));
    p.drawEllipse(QPointF(b.left() + cell * 0.5, b.top() + cell * 0.5), cell / 3.0, cell / 3.0);
}

void drawLights(QPainter& p, const QRect& area, Rng& rng, const QColor&, int variant) {
    p.fillRect(area, QColor(0x1a, 0x1f, 0x2e));
    int cell = 0;
    const QRect b = board(area.adjusted(0, 0, 0, -20), 5, 5, 12, cell);
    for (int i = 0; i < 25; ++i) {
        const QRect r(b.left() + i % 5 * cell, b.top() + i / 5 * cell, cell, cell);
        const bool on = rng.below(100) < 45;
        if (on) {
            QRadialGradient glow(r.center(), cell * 0.6);
            glow.setColorAt(0, QColor(0xff, 0xf6, 0xa0));
            glow.setColorAt(1, QColor(0xf0, 0xb0, 0x10));
            p.setBrush(glow);
        } else {
            p.setBrush(QColor(0x3a, 0x42, 0x58));
        }
        p.setPen(QPen(QColor(0x0c, 0x10, 0x1a), 2));
        p.drawRoundedRect(r.adjusted(4, 4, -4, -4), cell / 6.0, cell / 6.0);
    }
    p.setPen(Qt::white);
    p.setFont(theme::font(13, true));
    p.drawText(area.adjusted(10, 0, -10, -4), Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("Tahy: %1").arg(3 + variant * 5));
}

void drawGomoku(QPainter& p, const QRect& area, Rng& rng, const QColor&, int variant) {
    p.fillRect(area, QColor(0xe8, 0xee, 0xf5));
    const int n = 15;
    int cell = 0;
    const QRect b = board(area, n, n, 8, cell);
    p.fillRect(b, Qt::white);
    p.setPen(QColor(0xa8, 0xc4, 0xe0));
    for (int i = 0; i <= n; ++i) {
        p.drawLine(b.left() + i * cell, b.top(), b.left() + i * cell, b.bottom());
        p.drawLine(b.left(), b.top() + i * cell, b.right(), b.top() + i * cell);
    }
    const auto mark = [&](int x, int y, bool cross) {
        const QRect r(b.left() + x * cell, b.top() + y * cell, cell, cell);
        const double m = cell * 0.2;
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(cross ? theme::Red : theme::Blue, std::max(1.5, cell / 8.0)));
        if (cross) {
            p.drawLine(QRectF(r).topLeft() + QPointF(m, m), QRectF(r).bottomRight() - QPointF(m, m));
            p.drawLine(QRectF(r).topRight() + QPointF(-m, m), QRectF(r).bottomLeft() + QPointF(m, -m));
        } else {
            p.drawEllipse(QRectF(r).adjusted(m, m, -m, -m));
        }
    };
    QList<bool> used(n * n, false);
    // A row of crosses (five in the won game) blocked at one end, and the game around it.
    const int sx = 4 + rng.below(3), sy = 4 + rng.below(3);
    for (int k = 0; k < (variant ? 5 : 4); ++k) {
        mark(sx + k, sy + k, true);
        used[(sy + k) * n + sx + k] = true;
    }
    mark(sx - 1, sy - 1, false);
    used[(sy - 1) * n + sx - 1] = true;
    for (int placed = 0; placed < 9;) {
        const int x = sx - 2 + rng.below(8), y = sy - 2 + rng.below(8);
        if (used[y * n + x])
            continue;
        used[y * n + x] = true;
        mark(x, y, placed % 3 != 0);
        ++placed;
    }
    if (variant) {
        p.setPen(QPen(QColor(0x2e, 0x8b, 0x57, 130), std::max(2, cell / 4), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(b.topLeft() + QPoint(sx * cell + cell / 4, sy * cell + cell / 4),
                   b.topLeft() + QPoint((sx + 5) * cell - cell / 4, (sy + 5) * cell - cell / 4));
    }
}

void drawNotes(QPainter& p, const QRect& area, Rng&, const QColor& accent, int) {
    const int listW = area.width() / 3;
    p.fillRect(area, Qt::white);
    p.fillRect(QRect(area.left(), area.top(), listW, area.height()), QColor(0xf0, 0xf0, 0xf0));
    static const char* const titles[] = {"Nákup", "Telefony", "Dárky", "Recept", "Úkoly"};
    p.setFont(theme::font(12));
    for (int i = 0; i < 5; ++i) {
        const QRect r(area.left() + 2, area.top() + 4 + i * 22, listW - 4, 20);
        if (i == 0)
            p.fillRect(r, accent);
        p.setPen(i == 0 ? Qt::white : Qt::black);
        p.drawText(r.adjusted(6, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, u(titles[i]));
    }
    p.fillRect(QRect(area.left() + listW, area.top(), area.width() - listW, area.height()), QColor(0xff, 0xfb, 0xd6));
    lines(p, area.topLeft() + QPoint(listW + 10, 20),
          {u("Nákup na sobotu:"), u("- chléb, máslo"), u("- 2 l mléka"), u("- jablka"), u("- káva"), QString(),
           u("Nezapomenout vyzvednout"), u("fotky z minulého týdne.")},
          theme::font(13), 19);
}

void drawUnits(QPainter& p, const QRect& area, Rng&, const QColor& accent, int) {
    form(p, area,
         {{"Veličina", u("Délka")}, {"Hodnota", QStringLiteral("10")}, {"Z jednotky", u("míle (mi)")},
          {"Na jednotku", u("kilometr (km)")}, {"Výsledek", u("16,0934 km")}},
         accent, 4);
}

void drawInvoice(QPainter& p, const QRect& area, Rng&, const QColor& accent, int) {
    p.fillRect(area, QColor(0x80, 0x80, 0x80));
    const QRect page = area.adjusted(area.width() / 12, 6, -area.width() / 12, 0);
    p.fillRect(page, Qt::white);
    const double s = page.width() / 320.0;
    p.setPen(accent.darker(130));
    p.setFont(theme::font(16 * s, true));
    p.drawText(page.adjusted(12, 8, -12, 0), Qt::AlignLeft | Qt::AlignTop, u("FAKTURA č. 2025014"));
    p.setPen(Qt::black);
    p.setFont(theme::font(8.5 * s));
    p.drawText(page.adjusted(12, 32 * s, 0, 0), Qt::AlignLeft | Qt::AlignTop, u("Dodavatel:\nJan Novák, IČ 12345678"));
    p.drawText(page.adjusted(page.width() / 2, 32 * s, 0, 0), Qt::AlignLeft | Qt::AlignTop, u("Odběratel:\nKvětinka s.r.o."));
    static const char* const rows[][4] = {{"Položka", "Množství", "Cena", "Celkem"},
                                          {"Oprava tiskárny", "1", "850,00", "850,00"},
                                          {"Toner", "2", "1 190,00", "2 380,00"},
                                          {"Doprava", "1", "150,00", "150,00"}};
    const int cw[] = {page.width() * 40 / 100, page.width() * 16 / 100, page.width() * 18 / 100, page.width() * 20 / 100};
    const int rh = int(17 * s);
    for (int r = 0; r < 4; ++r) {
        int x = page.left() + 12;
        const int y = page.top() + int(64 * s) + r * rh;
        if (r == 0)
            p.fillRect(QRect(x, y, page.width() - 24, rh), accent.lighter(170));
        p.setFont(theme::font(9 * s, r == 0));
        for (int c = 0; c < 4; ++c) {
            p.drawText(QRect(x + 3, y, cw[c] - 6, rh), (c ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, u(rows[r][c]));
            x += cw[c];
        }
        p.setPen(QColor(0xc0, 0xc0, 0xc0));
        p.drawLine(page.left() + 12, y + rh, page.right() - 12, y + rh);
        p.setPen(Qt::black);
    }
    p.setFont(theme::font(10 * s));
    const QRect sums(page.left() + 12, page.top() + int(64 * s) + 5 * rh, page.width() - 24, 3 * rh);
    p.drawText(sums, Qt::AlignRight | Qt::AlignTop, u("Základ: 3 380,00 Kč\nDPH 21 %: 709,80 Kč"));
    p.setFont(theme::font(12 * s, true));
    p.drawText(sums.adjusted(0, 0, 0, 2 * rh), Qt::AlignRight | Qt::AlignBottom, u("Celkem k úhradě: 4 089,80 Kč"));
}

void drawContacts(QPainter& p, const QRect& area, Rng&, const QColor& accent, int) {
    const int listW = area.width() * 2 / 5;
    p.fillRect(area, Qt::white);
    static const char* const names[] = {"Dvořák Petr", "Horáková Eva", "Kučera Tomáš", "Novotná Jana", "Procházka Jiří",
                                        "Svobodová Marie", "Veselý Karel"};
    p.setFont(theme::font(12));
    for (int i = 0; i < 7; ++i) {
        const QRect r(area.left() + 2, area.top() + 4 + i * 20, listW - 4, 19);
        if (i == 3)
            p.fillRect(r, accent);
        p.setPen(i == 3 ? Qt::white : Qt::black);
        p.drawText(r.adjusted(6, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, u(names[i]));
    }
    form(p, area.adjusted(listW, 0, 0, 0),
         {{"Jméno", u("Jana Novotná")}, {"Telefon", u("603 123 456")}, {"E-mail", u("jana@example.com")},
          {"Ulice", u("Lipová 12")}, {"Obec", u("Brno")}, {"Poznámka", u("kolegyně")}},
         accent, -1);
}

void drawTyping(QPainter& p, const QRect& area, Rng&, const QColor& accent, int) {
    p.fillRect(area, QColor(0xf4, 0xf1, 0xe8));
    const QString text = u("Příliš žluťoučký kůň úpěl ďábelské ódy.");
    const QFont f = theme::fitFont(text, area.width() - 30, 20);
    p.setFont(f);
    const QFontMetricsF fm(f);
    const int typed = 14;
    QPointF at(area.left() + 15, area.top() + 34);
    for (int i = 0; i < text.size(); ++i) {
        p.setPen(i < typed ? (i == 9 ? theme::Red : QColor(0x2e, 0x8b, 0x57)) : Qt::black);
        if (i == typed)
            p.fillRect(QRectF(at.x(), at.y() - fm.ascent(), fm.horizontalAdvance(text[i]), fm.height()), theme::Gold);
        p.drawText(at, QString(text[i]));
        at.rx() += fm.horizontalAdvance(text[i]);
    }
    // The keyboard, the next key to press lit.
    static const char* const rows[] = {"QWERTZUIOPÚ", "ASDFGHJKLŮ", "YXCVBNM,.-"};
    const int kw = (area.width() - 30) / 12, kh = std::min(kw, (area.bottom() - area.top() - 90) / 4);
    for (int r = 0; r < 3; ++r) {
        const QString keys = u(rows[r]);
        for (int i = 0; i < keys.size(); ++i) {
            const QRect k(area.left() + 15 + r * kw / 3 + i * kw, area.top() + 56 + r * kh, kw - 3, kh - 3);
            const bool next = keys[i] == text[typed].toUpper();
            p.setPen(QColor(0x70, 0x70, 0x70));
            p.setBrush(next ? accent.lighter(150) : (r == 1 && (i == 3 || i == 6) ? QColor(0xe0, 0xe8, 0xf0) : QColor(Qt::white)));
            p.drawRoundedRect(k, 3, 3);
            p.setPen(Qt::black);
            p.setFont(theme::font(kh * 0.45, true));
            p.drawText(k, Qt::AlignCenter, QString(keys[i]));
        }
    }
    p.setPen(QColor(0x70, 0x70, 0x70));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRect(area.left() + 15 + 3 * kw, area.top() + 56 + 3 * kh, 6 * kw, kh - 3), 3, 3);
    p.setPen(accent.darker(150));
    p.setFont(theme::font(12, true));
    p.drawText(area.adjusted(10, 0, -10, -4), Qt::AlignRight | Qt::AlignBottom, u("182 úhozů/min   chyby: 1"));
}

void drawWords(QPainter& p, const QRect& area, Rng&, const QColor& accent, int variant) {
    static const char* const words[][4] = {{"pes", "cat", "dog", "horse"}, {"dům", "house", "home", "garden"}};
    const auto& w = words[variant % 2];
    quiz(p, area, u("Přeložte: ") + u(w[0]), {u(w[1]), u(w[2]), u(w[3])}, 1, accent, u("Úspěšnost: 80 %"));
}

void drawCapitals(QPainter& p, const QRect& area, Rng&, const QColor& accent, int) {
    quiz(p, area, u("Hlavní město Francie?"), {u("Lyon"), u("Paříž"), u("Marseille"), u("Nice")}, 1, accent,
         u("Správně: 7 z 8"));
}

void drawTimes(QPainter& p, const QRect& area, Rng& rng, const QColor& accent, int) {
    const int a = 2 + rng.below(8), b = 2 + rng.below(8);
    quiz(p, area, QStringLiteral("%1 × %2 = ?").arg(a).arg(b),
         {QString::number(a * b - a), QString::number(a * b), QString::number(a * b + b)}, 1, accent, u("★★★★☆"));
}

void drawElements(QPainter& p, const QRect& area, Rng&, const QColor&, int) {
    p.fillRect(area, Qt::white);
    static const char* const symbols[] = {"H",  "He", "Li", "Be", "B",  "C",  "N",  "O",  "F",  "Ne", "Na", "Mg",
                                          "Al", "Si", "P",  "S",  "Cl", "Ar", "K",  "Ca", "Sc", "Ti", "V",  "Cr",
                                          "Mn", "Fe", "Co", "Ni", "Cu", "Zn", "Ga", "Ge", "As", "Se", "Br", "Kr"};
    const QString nonmetals = QStringLiteral(" H C N O F P S Cl Se Br "), noble = QStringLiteral(" He Ne Ar Kr "),
                  metalloids = QStringLiteral(" B Si Ge As ");
    const int cw = (area.width() - 12) / 18, ch = std::min(cw * 5 / 4, (area.height() - 60) / 4);
    const auto column = [](int z) {
        if (z == 1)
            return 0;
        if (z == 2)
            return 17;
        if (z <= 18) {
            const int k = (z - 3) % 8;
            return k < 2 ? k : k + 10;
        }
        return z - 19;
    };
    for (int z = 1; z <= 36; ++z) {
        const QString s = u(symbols[z - 1]), key = QLatin1Char(' ') + s + QLatin1Char(' ');
        const int row = z <= 2 ? 0 : z <= 10 ? 1 : z <= 18 ? 2 : 3;
        const QRect r(area.left() + 6 + column(z) * cw, area.top() + 6 + row * ch, cw - 2, ch - 2);
        const QColor c = noble.contains(key)        ? QColor(0xc9, 0xb3, 0xe6)
                         : nonmetals.contains(key)  ? QColor(0xb6, 0xe3, 0xa8)
                         : metalloids.contains(key) ? QColor(0xf5, 0xc9, 0x8a)
                                                    : QColor(0xa9, 0xcb, 0xee);
        p.setPen(z == 26 ? QPen(theme::Red, 2) : QPen(QColor(0x60, 0x60, 0x60), 1));
        p.setBrush(c);
        p.drawRect(r);
        p.setPen(Qt::black);
        p.setFont(theme::font(cw * 0.25));
        p.drawText(r.adjusted(2, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop, QString::number(z));
        p.setFont(theme::font(cw * 0.42, true));
        p.drawText(r.adjusted(0, cw / 6, 0, 0), Qt::AlignCenter, s);
    }
    p.setPen(theme::Navy);
    p.setFont(theme::font(std::min(18.0, area.width() / 24.0), true));
    p.drawText(QRect(area.left() + 10, area.top() + 12 + 4 * ch, area.width() - 20, area.bottom() - area.top() - 16 - 4 * ch),
               Qt::AlignLeft | Qt::AlignVCenter, u("26  Fe  železo  ·  55,845  ·  kov"));
}

void drawPalette(QPainter& p, const QRect& area, Rng&, const QColor&, int) {
    p.fillRect(area, QColor(0xec, 0xe9, 0xe2));
    const QColor c(0x2a, 0x9d, 0x8f);
    const int w = area.width() / 2 - 20;
    const std::pair<const char*, int> channels[] = {{"R", c.red()}, {"G", c.green()}, {"B", c.blue()}};
    const QColor tints[] = {Qt::red, QColor(0, 160, 0), Qt::blue};
    for (int i = 0; i < 3; ++i) {
        const int y = area.top() + 24 + i * 34;
        p.setPen(Qt::black);
        p.setFont(theme::font(13, true));
        p.drawText(QPoint(area.left() + 10, y + 5), u(channels[i].first));
        const QRect track(area.left() + 30, y - 2, w - 50, 6);
        QLinearGradient g(track.topLeft(), track.topRight());
        g.setColorAt(0, Qt::black);
        g.setColorAt(1, tints[i]);
        p.fillRect(track, g);
        const int x = track.left() + track.width() * channels[i].second / 255;
        p.setPen(QColor(0x40, 0x40, 0x40));
        p.setBrush(Qt::white);
        p.drawRect(QRect(x - 4, y - 9, 8, 20));
        p.setPen(Qt::black);
        p.setFont(mono(12));
        p.drawText(QPoint(track.right() + 8, y + 5), QString::number(channels[i].second));
    }
    const QRect swatch(area.center().x() + 10, area.top() + 10, w, (area.height() - 20) * 11 / 20);
    p.fillRect(swatch, c);
    p.setPen(Qt::black);
    p.setFont(mono(std::min(13.0, w / 14.0), true));
    p.drawText(QRect(area.left() + 10, area.top() + 118, w, 60), Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("HEX  #2A9D8F\nRGB  42, 157, 143\nCMYK 73, 0, 9, 38"));
    for (int i = 0; i < 5; ++i)
        p.fillRect(QRect(swatch.left() + i * w / 5, swatch.bottom() + 8, w / 5 - 4, 28), c.darker(100 + 25 * (i + 1)));
}

void drawPaint(QPainter& p, const QRect& area, Rng& rng, const QColor&, int variant) {
    p.fillRect(area, QColor(0xd4, 0xd0, 0xc8));
    const QRect canvas = area.adjusted(40, 6, -6, -40);
    p.fillRect(canvas, Qt::white);
    // Tools: brush sizes and the eraser.
    for (int i = 0; i < 4; ++i) {
        const QRect t(area.left() + 6, area.top() + 6 + i * 30, 28, 28);
        p.setPen(QColor(0x80, 0x80, 0x80));
        p.setBrush(i == variant % 3 ? QColor(Qt::white) : QColor(0xe4, 0xe0, 0xd8));
        p.drawRect(t);
        if (i < 3) {
            p.setPen(Qt::NoPen);
            p.setBrush(Qt::black);
            p.drawEllipse(t.center(), 2 + i * 3, 2 + i * 3);
        } else {
            p.fillRect(t.adjusted(5, 9, -5, -9), QColor(0xf0, 0x90, 0xa0));
        }
    }
    static const QColor colours[] = {Qt::black, Qt::white, QColor(0xd0, 0x30, 0x30), QColor(0xf0, 0x90, 0x20),
                                     QColor(0xf0, 0xd0, 0x20), QColor(0x40, 0xa0, 0x40), QColor(0x30, 0x70, 0xd0),
                                     QColor(0x80, 0x40, 0xa0), QColor(0x80, 0x50, 0x20)};
    for (int i = 0; i < 9; ++i) {
        const QRect sw(area.left() + 40 + i * 26, area.bottom() - 32, 22, 22);
        p.setPen(QPen(i == 2 + variant ? Qt::black : QColor(0x80, 0x80, 0x80), i == 2 + variant ? 3 : 1));
        p.setBrush(colours[i]);
        p.drawRect(sw);
    }
    // Brush strokes on a meadow: a house under the sun, a flower, a house and a tree.
    p.save();
    p.setClipRect(canvas);
    const QPointF o = canvas.topLeft() + QPointF(rng.below(20), rng.below(10));
    const double s = canvas.height() / 200.0;
    const auto stroke = [&](const QPainterPath& path, const QColor& c, double width) {
        p.setPen(QPen(c, width * s, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    };
    if (variant == 1) {
        QPainterPath stem, petals;
        stem.moveTo(o + QPointF(120, 185) * s);
        stem.quadTo(o + QPointF(100, 130) * s, o + QPointF(120, 80) * s);
        stroke(stem, colours[5], 6);
        for (int k = 0; k < 6; ++k) {
            const double a = k * std::numbers::pi / 3;
            petals.addEllipse(o + QPointF(120 + 28 * std::sin(a), 60 - 28 * std::cos(a)) * s, 16 * s, 16 * s);
        }
        stroke(petals, colours[3], 6);
        QPainterPath heart;
        heart.addEllipse(o + QPointF(120, 60) * s, 10 * s, 10 * s);
        stroke(heart, colours[4], 8);
    } else {
        QPainterPath sun;
        sun.addEllipse(o + QPointF(canvas.width() * 0.72, 40 * s), 22 * s, 22 * s);
        stroke(sun, colours[4], 8);
        QPainterPath house;
        house.moveTo(o + QPointF(40, 170) * s);
        house.lineTo(o + QPointF(40, 100) * s);
        house.lineTo(o + QPointF(90, 55) * s);
        house.lineTo(o + QPointF(140, 100) * s);
        house.lineTo(o + QPointF(140, 170) * s);
        house.closeSubpath();
        stroke(house, colours[2 + variant], 6);
    }
    if (variant == 2) {
        QPainterPath trunk, crown;
        trunk.moveTo(o + QPointF(200, 185) * s);
        trunk.lineTo(o + QPointF(200, 130) * s);
        stroke(trunk, colours[8], 10);
        crown.addEllipse(o + QPointF(200, 100) * s, 34 * s, 30 * s);
        stroke(crown, colours[5], 8);
    }
    QPainterPath meadow;
    meadow.moveTo(canvas.left(), canvas.top() + 185 * s);
    for (int x = 0; x < canvas.width(); x += 12)
        meadow.quadTo(canvas.left() + x + 6, canvas.top() + (175 - rng.below(8)) * s, canvas.left() + x + 12, canvas.top() + 185 * s);
    stroke(meadow, colours[5], 5);
    p.restore();
}

void drawViewer(QPainter& p, const QRect& area, Rng& rng, const QColor& accent, int) {
    p.fillRect(area, QColor(0x30, 0x33, 0x38));
    const int cols = 3, rows = 2, w = (area.width() - 16) / cols, h = (area.height() - 12) / rows;
    for (int i = 0; i < cols * rows; ++i) {
        const QRect cell(area.left() + 8 + i % cols * w, area.top() + 6 + i / cols * h, w, h);
        const QRect photo = cell.adjusted(6, 6, -6, -22);
        if (i == 1)
            p.fillRect(cell.adjusted(2, 2, -2, -2), accent);
        QLinearGradient sky(photo.topLeft(), photo.bottomLeft());
        sky.setColorAt(0, Accents[(i + 4) % 6].lighter(170));
        sky.setColorAt(1, Qt::white);
        p.fillRect(photo, sky);
        p.setPen(Qt::NoPen);
        p.setBrush(i % 2 ? QColor(0xff, 0xd0, 0x40) : QColor(0xff, 0xff, 0xff));
        p.drawEllipse(QPointF(photo.right() - photo.width() * 0.25, photo.top() + photo.height() * 0.3), photo.height() * 0.12,
                      photo.height() * 0.12);
        p.setBrush(QColor(0x3a, 0x8a, 0x40).darker(100 + rng.below(60)));
        p.drawPolygon(QPolygon({photo.bottomLeft(), QPoint(photo.left() + photo.width() * (1 + rng.below(3)) / 5, photo.center().y()),
                                QPoint(photo.right() - photo.width() / 3, photo.bottom() - photo.height() / 4), photo.bottomRight()}));
        p.setPen(Qt::white);
        p.setFont(theme::font(10));
        p.drawText(QRect(cell.left(), photo.bottom() + 2, cell.width(), 18), Qt::AlignCenter,
                   QStringLiteral("IMG_%1.JPG").arg(1041 + i * 3));
    }
}

void drawFractal(QPainter& p, const QRect& area, Rng&, const QColor&, int) {
    QImage img(area.size(), QImage::Format_RGB32);
    const double scale = 3.0 / area.width();
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const double cr = -0.65 + (x - img.width() / 2.0) * scale, ci = (y - img.height() / 2.0) * scale;
            double zr = 0, zi = 0;
            int i = 0;
            for (; i < 60 && zr * zr + zi * zi < 4; ++i) {
                const double t = zr * zr - zi * zi + cr;
                zi = 2 * zr * zi + ci;
                zr = t;
            }
            img.setPixel(x, y, i == 60 ? qRgb(0, 0, 0) : QColor::fromHsv((200 + i * 9) % 360, 200, std::min(255, 60 + i * 12)).rgb());
        }
    p.drawImage(area.topLeft(), img);
}

void drawPasswords(QPainter& p, const QRect& area, Rng& rng, const QColor& accent, int) {
    p.fillRect(area, QColor(0xec, 0xe9, 0xe2));
    static const char alphabet[] = "abcdefghijkmnpqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ23456789";
    QString password;
    for (int i = 0; i < 16; ++i)
        password += QLatin1Char(alphabet[rng.below(int(sizeof alphabet) - 1)]);
    const QRect pw(area.left() + 14, area.top() + 12, area.width() - 28, 32);
    field(p, pw, password, mono(std::min(20.0, pw.width() / 11.0), true), QColor(0xff, 0xff, 0xf0));
    p.setPen(Qt::black);
    p.setFont(theme::font(12, true));
    p.drawText(QPoint(area.left() + 14, pw.bottom() + 26), u("Délka: 16"));
    const QRect track(area.left() + 100, pw.bottom() + 18, area.width() - 130, 6);
    p.fillRect(track, QColor(0xa0, 0xa0, 0xa0));
    p.fillRect(QRect(track.left() + track.width() * 2 / 5 - 4, track.top() - 7, 8, 20), accent);
    static const char* const groups[] = {"malá písmena", "velká písmena", "číslice", "zvláštní znaky"};
    p.setFont(theme::font(12));
    for (int i = 0; i < 4; ++i) {
        const QRect box(area.left() + 14 + i % 2 * (area.width() / 2), pw.bottom() + 44 + i / 2 * 24, 14, 14);
        p.setPen(QColor(0x60, 0x60, 0x60));
        p.setBrush(Qt::white);
        p.drawRect(box);
        if (i < 3) {
            p.setPen(QPen(accent.darker(120), 2));
            p.drawLine(box.left() + 3, box.center().y(), box.center().x(), box.bottom() - 3);
            p.drawLine(box.center().x(), box.bottom() - 3, box.right() - 2, box.top() + 3);
        }
        p.setPen(Qt::black);
        p.drawText(box.topRight() + QPoint(8, 12), u(groups[i]));
    }
    const QRect strength(area.left() + 14, pw.bottom() + 100, area.width() - 28, 14);
    p.fillRect(strength, QColor(0xd8, 0xd8, 0xd8));
    p.fillRect(strength.adjusted(0, 0, -strength.width() / 5, 0), QColor(0x2e, 0x8b, 0x57));
    p.setPen(Qt::black);
    p.setFont(theme::font(12, true));
    p.drawText(strength.bottomLeft() + QPoint(0, 18), u("Síla: 93 bitů – velmi silné"));
    button(p, QRect(area.right() - 140, area.bottom() - 34, 126, 26), u("Nové heslo"), accent);
}

void drawHtmlEditor(QPainter& p, const QRect& area, Rng&, const QColor&, int) {
    p.fillRect(area, QColor(0xec, 0xe9, 0xe2));
    int x = area.left() + 6;
    for (const char* t : {"B", "H1", "Odkaz", "Seznam"}) {
        const int w = 16 + int(QFontMetricsF(theme::font(11, true)).horizontalAdvance(u(t)));
        button(p, QRect(x, area.top() + 4, w, 22), u(t), QColor(0xf8, 0xf8, 0xf8));
        x += w + 4;
    }
    const QRect code(area.left() + 4, area.top() + 30, area.width() / 2 - 6, area.height() - 34);
    const QRect view(area.center().x() + 2, code.top(), area.width() / 2 - 6, code.height());
    p.fillRect(code, Qt::white);
    p.fillRect(view, Qt::white);
    const QStringList src{u("<h1>Naše chata</h1>"), u("<p>Chata stojí u"), u("<b>lesa</b> nad řekou.</p>"), u("<ul>"),
                          u(" <li>4 pokoje</li>"), u(" <li>krb</li>"), u("</ul>"), u("<a href=\"mapa.htm\">"),
                          u("Mapa</a>")};
    const QFont f = mono(std::min(11.0, code.width() / 20.0));
    p.setFont(f);
    for (int i = 0; i < src.size(); ++i) {
        p.setPen(src[i].trimmed().startsWith(QLatin1Char('<')) ? QColor(0x8e, 0x44, 0xad) : Qt::black);
        p.drawText(code.topLeft() + QPoint(4, 14 + i * 15), src[i]);
    }
    p.setPen(Qt::black);
    p.setFont(theme::font(18, true));
    p.drawText(view.adjusted(8, 4, 0, 0), Qt::AlignLeft | Qt::AlignTop, u("Naše chata"));
    p.setFont(theme::font(11));
    p.drawText(view.adjusted(8, 34, -4, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               u("Chata stojí u lesa nad řekou.\n  • 4 pokoje\n  • krb"));
    QFont link = theme::font(11);
    link.setUnderline(true);
    p.setFont(link);
    p.setPen(Qt::blue);
    p.drawText(view.adjusted(8, 104, 0, 0), Qt::AlignLeft | Qt::AlignTop, u("Mapa"));
}

void drawNetwork(QPainter& p, const QRect& area, Rng&, const QColor&, int) {
    reportPage(p, area, "sit.htm", "Síťové informace",
               {{"Počítač", u("jana-pc")}, {"eth0", u("192.168.1.10/24")}, {"lo", u("127.0.0.1/8")},
                {"Výchozí brána", u("192.168.1.1")}, {"Jmenné servery", u("192.168.1.1")}, {"Doména", u("domov.example")}});
}

void drawSystemInfo(QPainter& p, const QRect& area, Rng&, const QColor&, int) {
    reportPage(p, area, "sysinfo.htm", "Systémové informace",
               {{"Systém", u("Linux 6.1")}, {"Procesor", u("4× 2,4 GHz")}, {"Paměť", u("7,7 GiB (volno 5,2)")},
                {"Doba běhu", u("3 dny, 4 h")}, {"Disk /", u("volno 41 GiB z 98")}, {"Disk /home", u("volno 120 GiB")}});
}

void drawMail(QPainter& p, const QRect& area, Rng&, const QColor& accent, int) {
    p.fillRect(area, Qt::white);
    const int foldersW = area.width() / 4;
    p.fillRect(QRect(area.left(), area.top(), foldersW, area.height()), QColor(0xee, 0xf2, 0xf7));
    static const char* const folders[] = {"Doručená (2)", "Odeslaná", "Koncepty", "Koš"};
    p.setFont(theme::font(11));
    for (int i = 0; i < 4; ++i) {
        const QRect r(area.left() + 2, area.top() + 4 + i * 20, foldersW - 4, 19);
        if (i == 0)
            p.fillRect(r, accent.lighter(160));
        p.setPen(Qt::black);
        p.drawText(r.adjusted(5, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, u(folders[i]));
    }
    static const char* const mails[][3] = {{"Eva Horáková", "Fotky z výletu", "12:04"},
                                           {"Správce sítě", "Plánovaná odstávka", "9:30"},
                                           {"Petr Dvořák", "Re: sobotní zápas", "včera"},
                                           {"Knihovna", "Upomínka", "pondělí"}};
    const int x = area.left() + foldersW + 2, w = area.width() - foldersW - 4;
    for (int i = 0; i < 4; ++i) {
        const QRect r(x, area.top() + 2 + i * 19, w, 18);
        if (i == 0)
            p.fillRect(r, accent);
        p.setPen(i == 0 ? Qt::white : Qt::black);
        p.setFont(theme::font(11, i < 2));
        p.drawText(r.adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, u(mails[i][0]));
        p.drawText(r.adjusted(w * 2 / 5, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, u(mails[i][1]));
        p.drawText(r.adjusted(0, 0, -4, 0), Qt::AlignRight | Qt::AlignVCenter, u(mails[i][2]));
    }
    const int y = area.top() + 84;
    p.setPen(QColor(0xa0, 0xa0, 0xa0));
    p.drawLine(x, y, x + w, y);
    p.setPen(Qt::black);
    p.setFont(theme::font(11));
    p.drawText(QRect(x + 6, y + 6, w - 12, area.bottom() - y - 8), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               u("Od: Eva Horáková\nPředmět: Fotky z výletu\n\nAhoj, posílám fotky ze soboty. Nejhezčí je ta od "
                 "rozhledny.\nEva"));
}

void drawFtp(QPainter& p, const QRect& area, Rng&, const QColor& accent, int) {
    const QRect top = area.adjusted(0, 0, 0, -area.height() * 2 / 5);
    form(p, top,
         {{"Server", u("ftp.example.com")}, {"Uživatel", u("jana")}, {"Složka", u("/pub/programy")},
          {"Adresa", u("ftp://jana@ftp.example.com/pub/programy/")}},
         accent, 3);
    const QRect help(area.left(), top.bottom(), area.width(), area.bottom() - top.bottom());
    p.fillRect(help, QColor(0x12, 0x12, 0x12));
    lines(p, help.topLeft() + QPoint(8, 16),
          {u("ls        výpis složky"), u("cd SLOŽKA přechod do složky"), u("get SOUBOR stažení"), u("put SOUBOR odeslání"),
           u("bye       konec")},
          mono(std::min(11.0, help.width() / 30.0)), 15, QColor(0xd0, 0xd0, 0xd0));
}

void drawIpCalc(QPainter& p, const QRect& area, Rng&, const QColor& accent, int) {
    form(p, area,
         {{"Adresa / maska", u("192.168.10.37 /24")}, {"Maska", u("255.255.255.0")}, {"Síť", u("192.168.10.0")},
          {"Broadcast", u("192.168.10.255")}, {"Rozsah", u("192.168.10.1 – .254")}, {"Stanic", u("254")}},
         accent, 2);
}

void drawMetronome(QPainter& p, const QRect& area, Rng&, const QColor&, int) {
    p.fillRect(area, QColor(0x20, 0x24, 0x2c));
    const double h = area.height() * 0.8;
    const QPointF base(area.left() + area.width() * 0.3, area.top() + area.height() * 0.92);
    p.setPen(QPen(QColor(0x3a, 0x20, 0x0e), 2));
    p.setBrush(QColor(0x8b, 0x5a, 0x2b));
    p.drawPolygon(QPolygonF({base + QPointF(-h * 0.28, 0), base + QPointF(h * 0.28, 0), base + QPointF(h * 0.1, -h),
                             base + QPointF(-h * 0.1, -h)}));
    const QPointF pivot = base + QPointF(0, -h * 0.18);
    const QPointF tip = pivot + QPointF(std::sin(0.35), -std::cos(0.35)) * h * 0.85;
    p.setPen(QPen(QColor(0xe0, 0xe0, 0xe0), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(pivot, tip);
    p.setPen(Qt::NoPen);
    p.setBrush(theme::Gold);
    p.drawRect(QRectF(pivot + (tip - pivot) * 0.6 - QPointF(7, 5), QSizeF(14, 10)));
    const QRect info(area.left() + area.width() / 2, area.top() + 10, area.width() / 2 - 10, area.height() - 20);
    p.setPen(Qt::white);
    p.setFont(theme::font(std::min(56.0, info.width() / 3.0), true));
    p.drawText(info.adjusted(0, 0, 0, -info.height() / 2), Qt::AlignCenter, QStringLiteral("120"));
    p.setFont(theme::font(14, true));
    p.drawText(info.adjusted(0, info.height() / 2 - 20, 0, 0), Qt::AlignHCenter | Qt::AlignTop, u("úderů za minutu\ntakt 4/4"));
    for (int i = 0; i < 4; ++i) {
        p.setBrush(i == 0 ? theme::Red : i == 1 ? QColor(0x7c, 0xe0, 0x7c) : QColor(0x50, 0x58, 0x68));
        p.drawEllipse(QPointF(info.center().x() + (i - 1.5) * 30, info.bottom() - 30), i == 0 ? 11 : 9, i == 0 ? 11 : 9);
    }
}

void drawPiano(QPainter& p, const QRect& area, Rng&, const QColor& accent, int) {
    p.fillRect(area, QColor(0x20, 0x24, 0x2c));
    int x = area.left() + 10;
    for (const char* s : {"Flétna", "Varhany", "Syntezátor"}) {
        const int w = (area.width() - 40) / 3;
        button(p, QRect(x, area.top() + 10, w, 26), u(s), s[0] == 'V' ? accent.lighter(130) : QColor(0x50, 0x58, 0x68));
        x += w + 10;
    }
    const int n = 8, kw = (area.width() - 20) / n;
    const QRect keys(area.left() + 10, area.top() + 50, n * kw, area.height() - 60);
    static const char* const names[] = {"C", "D", "E", "F", "G", "A", "H", "C"};
    for (int i = 0; i < n; ++i) {
        const QRect k(keys.left() + i * kw, keys.top(), kw, keys.height());
        p.setPen(Qt::black);
        p.setBrush(i == 4 ? accent.lighter(160) : QColor(Qt::white));
        p.drawRect(k);
        p.setFont(theme::font(13, true));
        p.drawText(k.adjusted(0, 0, 0, -6), Qt::AlignHCenter | Qt::AlignBottom, u(names[i]));
    }
    for (int i = 0; i < n - 1; ++i)
        if (i != 2 && i != 6)
            p.fillRect(QRect(keys.left() + i * kw + kw * 2 / 3, keys.top(), kw * 2 / 3, keys.height() * 3 / 5), Qt::black);
}

void drawStopwatch(QPainter& p, const QRect& area, Rng&, const QColor& accent, int) {
    p.fillRect(area, theme::Pale);
    p.setPen(theme::NavyDark);
    p.setFont(mono(std::min(area.width() / 8.0, 52.0), true));
    p.drawText(QRect(area.left(), area.top() + 6, area.width(), area.height() * 2 / 5), Qt::AlignCenter, u("00:12,47"));
    const int bw = (area.width() - 40) / 3, y = area.top() + area.height() * 2 / 5 + 8;
    button(p, QRect(area.left() + 10, y, bw, 28), u("Stop"), theme::Red);
    button(p, QRect(area.left() + 20 + bw, y, bw, 28), u("Mezičas"), accent);
    button(p, QRect(area.left() + 30 + 2 * bw, y, bw, 28), u("Nulovat"), QColor(0xd8, 0xd8, 0xd8));
    lines(p, QPoint(area.left() + area.width() / 4, y + 52), {u("1.   00:04,12"), u("2.   00:08,35"), u("3.   00:11,02")},
          mono(14), 20, theme::Navy);
}

void drawCdPlayer(QPainter& p, const QRect& area, Rng&, const QColor& accent, int) {
    p.fillRect(area, QColor(0x2b, 0x2f, 0x38));
    const QRect display(area.left() + 10, area.top() + 10, area.width() - 20, 50);
    p.fillRect(display, QColor(0x10, 0x30, 0x20));
    p.setPen(QColor(0x7c, 0xe0, 0x7c));
    p.setFont(mono(26, true));
    p.drawText(display.adjusted(10, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("03  02:31"));
    p.setFont(theme::font(11, true));
    p.drawText(display.adjusted(0, 0, -10, 0), Qt::AlignRight | Qt::AlignVCenter, u("stopa 3 z 12\nnáhodně"));
    // Previous, play, pause, stop, next.
    const int bw = 40, y = display.bottom() + 10;
    for (int i = 0; i < 5; ++i) {
        const QRect b(area.left() + 10 + i * (bw + 6), y, bw, 28);
        button(p, b, QString(), i == 1 ? accent : QColor(0x50, 0x58, 0x68));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        const QPointF c = QRectF(b).center();
        if (i == 1)
            p.drawPolygon(QPolygonF({c + QPointF(-5, -8), c + QPointF(8, 0), c + QPointF(-5, 8)}));
        else if (i == 2)
            for (int k : {-4, 2})
                p.drawRect(QRectF(c.x() + k, c.y() - 7, 3, 14));
        else if (i == 3)
            p.drawRect(QRectF(c.x() - 6, c.y() - 6, 12, 12));
        else
            for (int k : {-6, 1})
                p.drawPolygon(QPolygonF({QPointF(c.x() + k + (i ? 0 : 7), c.y() - 7), QPointF(c.x() + k + (i ? 7 : 0), c.y()),
                                         QPointF(c.x() + k + (i ? 0 : 7), c.y() + 7)}));
    }
    static const char* const tracks[] = {"Ranní mlha", "Po proudu", "Vlna", "Tichá noc na horách", "Cesta domů"};
    p.setFont(theme::font(12));
    for (int i = 0; i < 5; ++i) {
        const QRect r(area.left() + 10, y + 38 + i * 20, area.width() - 20, 19);
        if (i == 2)
            p.fillRect(r, accent.darker(120));
        p.setPen(Qt::white);
        p.drawText(r.adjusted(6, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("%1. %2").arg(i + 1).arg(u(tracks[i])));
        p.drawText(r.adjusted(0, 0, -6, 0), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("%1:%2").arg(3 + i % 2).arg(12 + i * 9));
    }
}

void drawDiskUse(QPainter& p, const QRect& area, Rng&, const QColor&, int) {
    p.fillRect(area, Qt::white);
    p.setPen(Qt::black);
    p.setFont(theme::font(13, true));
    p.drawText(area.adjusted(10, 6, 0, 0), Qt::AlignLeft | Qt::AlignTop, u("/home/jana – největší složky"));
    static const std::pair<const char*, double> folders[] = {{"Videa", 12.4}, {"Fotky", 8.1}, {"Hudba", 5.6},
                                                             {"Stažené", 3.2}, {"Dokumenty", 1.1}, {".cache", 0.9}};
    const int rh = std::min(30, (area.height() - 40) / 6), labelW = area.width() / 4, valueW = 70;
    for (int i = 0; i < 6; ++i) {
        const int y = area.top() + 32 + i * rh;
        p.setPen(Qt::black);
        p.setFont(theme::font(12));
        p.drawText(QRect(area.left() + 10, y, labelW, rh - 6), Qt::AlignLeft | Qt::AlignVCenter, u(folders[i].first));
        const int w = int((area.width() - labelW - valueW - 20) * folders[i].second / folders[0].second);
        p.fillRect(QRect(area.left() + 10 + labelW, y + 3, w, rh - 12), Accents[i % 6]);
        p.drawText(QRect(area.right() - valueW - 6, y, valueW, rh - 6), Qt::AlignRight | Qt::AlignVCenter,
                   QStringLiteral("%1 GB").arg(QString::number(folders[i].second, 'f', 1).replace(QLatin1Char('.'), QLatin1Char(','))));
    }
}

void drawBases(QPainter& p, const QRect& area, Rng&, const QColor& accent, int) {
    form(p, area,
         {{"Dvojková", QStringLiteral("11111111")}, {"Osmičková", QStringLiteral("377")}, {"Desítková", QStringLiteral("255")},
          {"Šestnáctková", QStringLiteral("FF")}, {"Třicetšestková", QStringLiteral("73")}},
         accent, 2);
}

void drawRegex(QPainter& p, const QRect& area, Rng&, const QColor& accent, int) {
    p.fillRect(area, QColor(0xec, 0xe9, 0xe2));
    const QFont f = mono(std::min(12.0, area.width() / 34.0));
    const QFontMetricsF fm(f);
    field(p, QRect(area.left() + 8, area.top() + 8, area.width() - 16, 26), QStringLiteral("(\\w+)@(\\w+)\\.cz"), mono(13, true));
    const QRect text(area.left() + 8, area.top() + 42, area.width() - 16, area.height() * 11 / 20);
    p.fillRect(text, Qt::white);
    const QStringList body{u("Pište na jana@firma.cz nebo"), u("na petr@skola.cz, případně"), u("volejte 603 123 456.")};
    p.setFont(f);
    for (int i = 0; i < body.size(); ++i) {
        const QPointF at(text.left() + 6, text.top() + 18 + i * 20);
        const int from = int(body[i].indexOf(QLatin1Char('@')));
        if (from > 0) {
            const int start = int(body[i].lastIndexOf(QLatin1Char(' '), from)) + 1;
            const int end = int(body[i].indexOf(QStringLiteral(".cz"))) + 3;
            p.fillRect(QRectF(at.x() + fm.horizontalAdvance(body[i].left(start)), at.y() - fm.ascent(),
                              fm.horizontalAdvance(body[i].mid(start, end - start)), fm.height()),
                       theme::Gold);
        }
        p.setPen(Qt::black);
        p.drawText(at, body[i]);
    }
    lines(p, QPoint(area.left() + 10, text.bottom() + 18), {u("Shody: 2"), u("skupina 1: jana, petr"), u("skupina 2: firma, skola")},
          theme::font(12, true), 17, accent.darker(140));
}

void drawAscii(QPainter& p, const QRect& area, Rng&, const QColor& accent, int) {
    p.fillRect(area, Qt::white);
    const int cw = (area.width() - 40) / 17, ch = std::min(cw + 6, (area.height() - 36) / 7);
    const QFont head = mono(std::min(cw * 0.5, 12.0), true), cell = mono(std::min(cw * 0.65, 16.0));
    for (int c = 0; c < 16; ++c) {
        p.setPen(accent.darker(130));
        p.setFont(head);
        p.drawText(QRect(area.left() + 8 + (c + 1) * cw, area.top() + 4, cw, ch), Qt::AlignCenter, QString::number(c, 16).toUpper());
    }
    for (int r = 2; r < 8; ++r) {
        const int y = area.top() + 4 + (r - 1) * ch;
        p.setPen(accent.darker(130));
        p.setFont(head);
        p.drawText(QRect(area.left() + 8, y, cw, ch), Qt::AlignCenter, QStringLiteral("%1x").arg(r));
        for (int c = 0; c < 16; ++c) {
            const int code = r * 16 + c;
            if (code > 126)
                continue;
            const QRect box(area.left() + 8 + (c + 1) * cw, y, cw, ch);
            p.setPen(QColor(0xd0, 0xd0, 0xd0));
            p.setBrush(code == 65 ? theme::Gold : QColor(Qt::white));
            p.drawRect(box);
            p.setPen(Qt::black);
            p.setFont(cell);
            p.drawText(box, Qt::AlignCenter, code == 32 ? QStringLiteral("␣") : QString(QLatin1Char(char(code))));
        }
    }
    p.setPen(Qt::black);
    p.setFont(theme::font(13, true));
    p.drawText(area.adjusted(10, 0, -10, -4), Qt::AlignLeft | Qt::AlignBottom, u("A  =  65  =  0x41"));
}

void drawBase64(QPainter& p, const QRect& area, Rng&, const QColor& accent, int) {
    p.fillRect(area, QColor(0xec, 0xe9, 0xe2));
    const QString plain = u("Dobrý den, světe!");
    const QString coded = QString::fromLatin1(plain.toUtf8().toBase64());
    const int h = (area.height() - 70) / 2;
    p.setPen(Qt::black);
    p.setFont(theme::font(12, true));
    p.drawText(QPoint(area.left() + 10, area.top() + 16), u("Text"));
    p.drawText(QPoint(area.left() + 10, area.top() + 40 + h + 16), u("Base64"));
    const QFont f = mono(std::min(13.0, area.width() / 30.0));
    for (const auto& [y, text] : {std::pair{area.top() + 22, plain}, std::pair{area.top() + 62 + h, coded}}) {
        const QRect box(area.left() + 10, y, area.width() - 20, h - 10);
        p.setPen(QColor(0x80, 0x80, 0x80));
        p.setBrush(Qt::white);
        p.drawRect(box);
        p.setPen(Qt::black);
        p.setFont(f);
        p.drawText(box.adjusted(6, 4, -6, -4), Qt::AlignLeft | Qt::AlignTop | Qt::TextWrapAnywhere, text);
    }
    button(p, QRect(area.right() - 230, area.top() + 28 + h, 106, 26), u("Zakódovat ↓"), accent);
    button(p, QRect(area.right() - 116, area.top() + 28 + h, 106, 26), u("Dekódovat ↑"), QColor(0xf8, 0xf8, 0xf8));
}

void drawColouring(QPainter& p, const QRect& area, Rng&, const QColor&, int) {
    p.fillRect(area, QColor(0xf0, 0xf0, 0xf0));
    const QRect page = area.adjusted(8, 6, -8, -42);
    p.fillRect(page, Qt::white);
    const double s = std::min(page.width() / 360.0, page.height() / 200.0);
    const QPointF o(page.left() + (page.width() - 360 * s) / 2, page.top());
    const auto at = [&](double x, double y) { return o + QPointF(x, y) * s; };
    p.setPen(QPen(Qt::black, 3 * s, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(0xff, 0xd8, 0x3a));
    p.drawEllipse(at(310, 40), 26 * s, 26 * s);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(at(40, 20), QSizeF(80, 34) * s));
    p.drawEllipse(QRectF(at(150, 30), QSizeF(70, 30) * s));
    p.setBrush(QColor(0xe0, 0x50, 0x40));
    p.drawRect(QRectF(at(60, 100), QSizeF(110, 90) * s));
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({at(50, 100), at(115, 55), at(180, 100)}));
    p.setBrush(QColor(0x60, 0xa0, 0xe0));
    p.drawRect(QRectF(at(80, 120), QSizeF(30, 30) * s));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(at(125, 140), QSizeF(28, 50) * s));
    p.setBrush(QColor(0x8b, 0x5a, 0x2b));
    p.drawRect(QRectF(at(255, 130), QSizeF(20, 60) * s));
    p.setBrush(QColor(0x4c, 0xaf, 0x50));
    p.drawEllipse(at(265, 110), 40 * s, 36 * s);
    static const QColor colours[] = {QColor(0xe0, 0x50, 0x40), QColor(0xff, 0xd8, 0x3a), QColor(0x4c, 0xaf, 0x50),
                                     QColor(0x60, 0xa0, 0xe0), QColor(0x8b, 0x5a, 0x2b), QColor(0xe0, 0x70, 0xc0)};
    for (int i = 0; i < 6; ++i) {
        p.setPen(QPen(Qt::black, i == 3 ? 3 : 1));
        p.setBrush(colours[i]);
        p.drawEllipse(QPoint(area.left() + 30 + i * 40, area.bottom() - 20), 14, 14);
    }
}

void drawFruit(QPainter& p, const QRect& area, Rng& rng, const QColor&, int) {
    p.fillRect(area, QColor(0xe8, 0xf8, 0xff));
    const int count = 3 + rng.below(6);
    p.setPen(theme::Navy);
    p.setFont(theme::font(16, true));
    p.drawText(area.adjusted(0, 8, 0, 0), Qt::AlignHCenter | Qt::AlignTop, u("Kolik je jablek?"));
    const double r = std::min(area.width() / 14.0, 22.0);
    for (int i = 0; i < count; ++i) {
        const QPointF c(area.left() + area.width() * (i % 5 + 1) / 6.0, area.top() + 60 + (i / 5) * r * 2.6);
        p.setPen(QPen(QColor(0x6b, 0x3a, 0x10), 2));
        p.drawLine(c + QPointF(0, -r * 0.8), c + QPointF(r * 0.2, -r * 1.3));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x5f, 0xb0, 0x48));
        p.drawEllipse(c + QPointF(r * 0.45, -r * 1.1), r * 0.35, r * 0.18);
        p.setBrush(QColor(0xd8, 0x2c, 0x20));
        p.drawEllipse(c, r, r * 0.92);
        p.setBrush(QColor(255, 255, 255, 110));
        p.drawEllipse(c + QPointF(-r * 0.4, -r * 0.35), r * 0.22, r * 0.3);
    }
    const int bw = (area.width() - 20) / 10;
    for (int i = 1; i <= 10; ++i) {
        const QRect b(area.left() + 10 + (i - 1) * bw, area.bottom() - bw - 10, bw - 4, bw - 4);
        button(p, b, QString::number(i), i == count ? QColor(0x8b, 0xd1, 0x6b) : theme::Gold);
    }
}

void drawGuess(QPainter& p, const QRect& area, Rng&, const QColor&, int) {
    p.fillRect(area, QColor(0x12, 0x12, 0x12));
    const char* const session[] = {"$ ./hadani.sh", "Myslím si číslo od 1 do 100.", "Tvůj tip: 50",
                                   "Moje číslo je menší.", "Tvůj tip: 25", "Moje číslo je větší.", "Tvůj tip: 37",
                                   "Uhodl jsi na 3. pokus!", "$ _"};
    p.setFont(mono(11));
    int y = area.top() + 16;
    for (const char* l : session) {
        p.setPen(l[0] == '$' ? QColor(0x7c, 0xe0, 0x7c) : QColor(0xd0, 0xd0, 0xd0));
        p.drawText(QPoint(area.left() + 8, y), u(l));
        y += 16;
    }
}

void drawCalculator(QPainter& p, const QRect& area, Rng&, const QColor& accent, int) {
    p.fillRect(area, QColor(0xe8, 0xee, 0xf5));
    const QRect disp(area.left() + 20, area.top() + 14, area.width() - 40, 44);
    p.fillRect(disp, QColor(0xdf, 0xf0, 0xd8));
    p.setPen(Qt::black);
    p.setFont(theme::font(26, true));
    p.drawText(disp.adjusted(0, 0, -8, 0), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("1 234,56"));
    static const char* const keys = "789/456*123-0,=+";
    const int kw = (area.width() - 40) / 4, kh = (area.bottom() - disp.bottom() - 20) / 4;
    for (int i = 0; i < 16; ++i) {
        const QRect k(area.left() + 20 + (i % 4) * kw, disp.bottom() + 10 + (i / 4) * kh, kw - 6, kh - 6);
        p.setPen(QColor(0x70, 0x80, 0x90));
        p.setBrush(i % 4 == 3 ? accent.lighter(150) : QColor(0xfa, 0xfa, 0xfa));
        p.drawRoundedRect(k, 6, 6);
        p.setPen(Qt::black);
        p.setFont(theme::font(std::min(kh * 0.45, 22.0), true));
        p.drawText(k, Qt::AlignCenter, QString(QLatin1Char(keys[i])));
    }
}

void drawCalendar(QPainter& p, const QRect& area, Rng&, const QColor& accent, int) {
    p.fillRect(area, Qt::white);
    p.setPen(accent.darker(120));
    p.setFont(theme::font(18, true));
    p.drawText(QRect(area.left(), area.top() + 6, area.width(), 30), Qt::AlignCenter, QStringLiteral("květen 2025"));
    const int cw = area.width() / 7, ch = (area.height() - 70) / 6;
    static const char* const days[] = {"Po", "Út", "St", "Čt", "Pá", "So", "Ne"};
    p.setFont(theme::font(12, true));
    for (int d = 0; d < 7; ++d)
        p.drawText(QRect(area.left() + d * cw, area.top() + 40, cw, 20), Qt::AlignCenter, QString::fromUtf8(days[d]));
    p.setFont(theme::font(13));
    for (int i = 0; i < 31; ++i) {
        const int cell = i + 3, x = cell % 7, y = cell / 7;
        const QRect r(area.left() + x * cw + 2, area.top() + 64 + y * ch, cw - 4, ch - 4);
        if (i == 0 || i == 7)
            p.fillRect(r, QColor(0xe4, 0xef, 0xfb));
        if (i == 14)
            p.fillRect(r, theme::Gold);
        p.setPen(x > 4 ? theme::Red : Qt::black);
        p.drawText(r, Qt::AlignCenter, QString::number(i + 1));
    }
}

void drawClock(QPainter& p, const QRect& area, Rng&, const QColor&, int) {
    p.fillRect(area, QColor(0xf4, 0xf8, 0xfc));
    const QPointF c = area.center();
    const double r = std::min(area.width(), area.height()) * 0.42;
    p.setPen(QPen(theme::Navy, 6));
    p.setBrush(Qt::white);
    p.drawEllipse(c, r, r);
    for (int i = 0; i < 12; ++i) {
        const double a = i * std::numbers::pi / 6;
        p.setPen(QPen(theme::Navy, 3));
        p.drawLine(c + QPointF(std::sin(a), -std::cos(a)) * r * 0.82, c + QPointF(std::sin(a), -std::cos(a)) * r * 0.94);
    }
    const auto hand = [&](double a, double len, double w, const QColor& col) {
        p.setPen(QPen(col, w, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c, c + QPointF(std::sin(a), -std::cos(a)) * len);
    };
    hand(10.2 * std::numbers::pi / 6, r * 0.5, 7, theme::Navy);
    hand(2 * std::numbers::pi * 0.17, r * 0.75, 4, theme::Blue);
    hand(2 * std::numbers::pi * 0.6, r * 0.85, 2, theme::Red);
}

void drawSnake(QPainter& p, const QRect& area, Rng&, const QColor&, int) {
    p.fillRect(area, QColor(0x10, 0x28, 0x1a));
    const int cell = 16;
    QPoint at(area.left() + 5 * cell, area.top() + 4 * cell);
    const QPoint steps[] = {{1, 0}, {1, 0}, {1, 0}, {1, 0}, {0, 1}, {0, 1}, {0, 1}, {1, 0}, {1, 0}, {1, 0}, {0, -1}, {0, -1}};
    for (const QPoint& d : steps) {
        p.fillRect(QRect(at, QSize(cell - 2, cell - 2)), QColor(0x5f, 0xb0, 0x48));
        at += d * cell;
    }
    p.fillRect(QRect(at, QSize(cell - 2, cell - 2)), theme::Gold);
    p.setPen(Qt::NoPen);
    p.setBrush(theme::Red);
    p.drawEllipse(QPoint(area.left() + 15 * cell, area.top() + 11 * cell), 7, 7);
    p.setPen(Qt::white);
    p.setFont(theme::font(13, true));
    p.drawText(area.adjusted(8, 4, 0, 0), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Skóre: 12"));
}

void drawFifteen(QPainter& p, const QRect& area, Rng& rng, const QColor&, int) {
    p.fillRect(area, theme::Navy);
    int cell = 0;
    const QRect b = board(area, 4, 4, 12, cell);
    QList<int> order;
    for (int i = 0; i < 16; ++i)
        order << i;
    for (int i = 15; i > 0; --i)
        std::swap(order[i], order[rng.below(i + 1)]);
    for (int i = 0; i < 16; ++i) {
        if (order[i] == 0)
            continue;
        const QRect r(b.left() + i % 4 * cell, b.top() + i / 4 * cell, cell, cell);
        p.setPen(theme::GoldDark);
        p.setBrush(theme::Gold);
        p.drawRoundedRect(r.adjusted(3, 3, -3, -3), 6, 6);
        p.setPen(theme::Navy);
        p.setFont(theme::font(cell * 0.4, true));
        p.drawText(r, Qt::AlignCenter, QString::number(order[i]));
    }
}

// Cards face down, two pairs found and two cards just turned that do not match.
void drawPairs(QPainter& p, const QRect& area, Rng& rng, const QColor&, int) {
    p.fillRect(area, theme::Navy);
    int cell = 0;
    const QRect b = board(area, 6, 6, 8, cell);
    QList<int> shows(36, -1);
    for (int picture : {0, 0, 1, 1, 2, 3}) {
        int at = rng.below(36);
        while (shows[at] >= 0)
            at = (at + 1) % 36;
        shows[at] = picture;
    }
    for (int i = 0; i < 36; ++i) {
        const QRectF r = QRectF(b.left() + i % 6 * cell, b.top() + i / 6 * cell, cell, cell).adjusted(3, 3, -3, -3);
        p.setPen(theme::NavyDark);
        p.setBrush(shows[i] < 0 ? theme::Blue : QColor(Qt::white));
        p.drawRoundedRect(r, 6, 6);
        const QPointF c = r.center();
        const double k = r.width() / 4;
        p.setPen(Qt::NoPen);
        switch (shows[i]) {
        case 0:  // an apple
            p.setBrush(QColor(0xd8, 0x2c, 0x20));
            p.drawEllipse(c, k, k);
            p.setBrush(QColor(0x5f, 0xb0, 0x48));
            p.drawEllipse(c + QPointF(k * 0.5, -k * 1.1), k * 0.45, k * 0.25);
            break;
        case 1:  // a fish
            p.setBrush(QColor(0xf0, 0x8c, 0x20));
            p.drawEllipse(c, k * 1.1, k * 0.6);
            p.drawPolygon(QPolygonF({c + QPointF(k * 0.8, 0), c + QPointF(k * 1.6, -k * 0.6), c + QPointF(k * 1.6, k * 0.6)}));
            p.setBrush(Qt::black);
            p.drawEllipse(c + QPointF(-k * 0.5, -k * 0.1), k * 0.12, k * 0.12);
            break;
        case 2:  // a ball
            p.setBrush(QColor(0x2a, 0x5d, 0x9f));
            p.drawEllipse(c, k, k);
            p.setBrush(theme::Gold);
            p.drawRect(QRectF(c.x() - k, c.y() - k * 0.25, 2 * k, k * 0.5));
            break;
        case 3:  // a flower
            p.setBrush(QColor(0xe0, 0x70, 0xc0));
            for (int petal = 0; petal < 5; ++petal) {
                const double a = petal * 2 * std::numbers::pi / 5;
                p.drawEllipse(c + QPointF(std::sin(a), -std::cos(a)) * k * 0.6, k * 0.4, k * 0.4);
            }
            p.setBrush(theme::Gold);
            p.drawEllipse(c, k * 0.35, k * 0.35);
            break;
        }
    }
}

void drawChess(QPainter& p, const QRect& area, Rng&, const QColor&, int) {
    p.fillRect(area, QColor(0x5a, 0x3b, 0x1e));
    int cell = 0;
    const QRect b = board(area, 8, 8, 12, cell);
    for (int i = 0; i < 64; ++i)
        p.fillRect(QRect(b.left() + i % 8 * cell, b.top() + i / 8 * cell, cell, cell),
                   (i + i / 8) % 2 ? QColor(0xb5, 0x88, 0x63) : QColor(0xf0, 0xd9, 0xb5));
    // White to move and mate: the rook to the eighth rank.
    static const char* const pieces[] = {"♚", "♟", "♟", "♟", "♔", "♖", "♙", "♙", "♙"};
    static const int where[] = {6, 13, 14, 15, 62, 59, 53, 54, 55};
    p.setPen(Qt::black);
    p.setFont(theme::font(cell * 0.75));
    for (int k = 0; k < 9; ++k)
        p.drawText(QRect(b.left() + where[k] % 8 * cell, b.top() + where[k] / 8 * cell, cell, cell), Qt::AlignCenter,
                   u(pieces[k]));
}

}  // namespace

ProgramDrawing programDrawing(const QString& program) {
    static const QHash<QString, ProgramDrawing> own{
        {u("miny 2000"), drawMines},         {u("had"), drawSnake},
        {u("piškvorky"), drawGomoku},        {u("patnáctka"), drawFifteen},
        {u("pexeso"), drawPairs},            {u("zhasni světla"), drawLights},
        {u("šachové úlohy"), drawChess},     {u("bludiště"), drawMaze},
        {u("kalkulačka"), drawCalculator},   {u("poznámkový blok"), drawNotes},
        {u("převodník jednotek"), drawUnits}, {u("kalendář"), drawCalendar},
        {u("faktura lite"), drawInvoice},    {u("adresář kontaktů"), drawContacts},
        {u("násobilka"), drawTimes},         {u("psaní všemi deseti"), drawTyping},
        {u("slovíčka"), drawWords},          {u("periodická tabulka"), drawElements},
        {u("hlavní města"), drawCapitals},   {u("barevná paleta"), drawPalette},
        {u("malování"), drawPaint},          {u("prohlížeč obrázků"), drawViewer},
        {u("fraktály"), drawFractal},        {u("generátor hesel"), drawPasswords},
        {u("html editor"), drawHtmlEditor},  {u("síťové informace"), drawNetwork},
        {u("poštovní klient"), drawMail},    {u("ftp klient"), drawFtp},
        {u("ip kalkulačka"), drawIpCalc},    {u("metronom"), drawMetronome},
        {u("klavír"), drawPiano},            {u("stopky"), drawStopwatch},
        {u("přehrávač cd"), drawCdPlayer},   {u("systémové informace"), drawSystemInfo},
        {u("obsazení disku"), drawDiskUse},  {u("hodiny"), drawClock},
        {u("převodník soustav"), drawBases}, {u("tester regulárních výrazů"), drawRegex},
        {u("ascii tabulka"), drawAscii},     {u("base64 kodér"), drawBase64},
        {u("omalovánky"), drawColouring},    {u("počítání s ovocem"), drawFruit},
        {u("hádání čísel"), drawGuess},
    };
    return own.value(program.toLower());
}

}  // namespace democd

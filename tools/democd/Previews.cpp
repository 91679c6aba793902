#include "tools/democd/Previews.h"

#include "tools/democd/Screenshots.h"
#include "tools/democd/Skins.h"
#include "tools/democd/Theme.h"

#include <QDir>
#include <QFontMetricsF>
#include <QPainter>

namespace democd {

using namespace katalog;

namespace {

QString sv(std::string_view s) { return QString::fromLatin1(s.data(), qsizetype(s.size())); }

// Which picture of a control's list the preview shows: a few show a state worth seeing.
int previewIndex(const QString& window, std::string_view control) {
    static const QMap<QString, int> chosen{
        {QStringLiteral("menu/mnuProgramy"), 3}, {QStringLiteral("programy/HodnoceniPic"), 4},
        {QStringLiteral("programy/VelikostPic"), 2}, {QStringLiteral("programy/OSpic"), 0},
        {QStringLiteral("programy/KonceptPic"), 0}, {QStringLiteral("programy/Popis"), 3},
        {QStringLiteral("programy/Spustit"), 1}, {QStringLiteral("nastav/Song2"), 3},
        {QStringLiteral("onas/OProg"), 3}, {QStringLiteral("dalsicd/Data"), 2},
        {QStringLiteral("dalsicd/PocetCD"), 0}, {QStringLiteral("dalsicd/Pozadavky"), 1},
        {QStringLiteral("dalsicd/ObjednavkaChk"), 0}, {QStringLiteral("dalsicd/Tisk"), 0},
    };
    return chosen.value(window + QLatin1Char('/') + sv(control), 0);
}

void box(QPainter& p, const QRect& r, const QColor& fill = Qt::white) {
    p.setPen(QColor(0x8d, 0x99, 0xa6));
    p.setBrush(fill);
    p.drawRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5));
}

void combo(QPainter& p, const QRect& r, const QString& text, const QColor& fill = Qt::white) {
    box(p, r, fill);
    p.setPen(Qt::black);
    p.setFont(theme::font(11));
    p.drawText(r.adjusted(4, 0, -18, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
    const QPointF c(r.right() - 9, r.center().y() + 1);
    p.setBrush(Qt::black);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({c + QPointF(-4, -2), c + QPointF(4, -2), c + QPointF(0, 3)}));
}

void listBox(QPainter& p, const QRect& r, const QStringList& rows, int selected) {
    box(p, r);
    p.setFont(theme::font(11));
    const int h = 16;
    for (int i = 0; i < rows.size() && (i + 1) * h < r.height(); ++i) {
        const QRect row(r.left() + 2, r.top() + 2 + i * h, r.width() - 4, h);
        if (i == selected) {
            p.fillRect(row, QColor(0x30, 0x8c, 0xc6));
            p.setPen(Qt::white);
        } else {
            p.setPen(Qt::black);
        }
        p.drawText(row.adjusted(3, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, rows[i]);
    }
}

void textBox(QPainter& p, const QRect& r, const QString& text, bool scroll) {
    box(p, r);
    QRect inner = r.adjusted(4, 3, scroll ? -19 : -4, -3);
    if (scroll) {
        p.fillRect(QRect(r.right() - 16, r.top() + 1, 16, r.height() - 2), QColor(0xe8, 0xe8, 0xe8));
        p.fillRect(QRect(r.right() - 14, r.top() + 18, 12, 40), QColor(0xb8, 0xb8, 0xb8));
    }
    p.setPen(Qt::black);
    p.setFont(theme::font(11));
    p.drawText(inner, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
}

const char* const SampleDescription =
    "Miny 2000\n\nKlasická logická hra pro chvíle oddechu. Na hrací ploše jsou ukryté miny "
    "a vaším úkolem je odkrýt všechna bezpečná pole. Čísla prozrazují, kolik min sousedí "
    "s odkrytým polem.\n\nTři úrovně obtížnosti, tabulka nejlepších časů a možnost označovat "
    "podezřelá pole pravým tlačítkem myši.";

void placeholders(QPainter& p, const WindowSpec& w, bool large, const QString& cdTitle) {
    const auto at = [&](std::string_view name) { return controlRect(w, name, large); };
    if (w.name == QLatin1String("programy")) {
        combo(p, at("SeznamSekci"), QStringLiteral("[Všechno]"), QColor(0xfc, 0xca, 0x2c));
        combo(p, at("TypTrideni"), QStringLiteral("Řadit abecedně"));
        listBox(p, at("SeznamProgramu"),
                {QStringLiteral("ASCII tabulka"), QStringLiteral("Barevná paleta"), QStringLiteral("Bludiště"),
                 QStringLiteral("Faktura Lite"), QStringLiteral("Generátor hesel"), QStringLiteral("Had"),
                 QStringLiteral("Hodiny"), QStringLiteral("Kalkulačka"), QStringLiteral("Miny 2000"),
                 QStringLiteral("Násobilka"), QStringLiteral("Pexeso")},
                8);
        textBox(p, at("PopisProgramu"), QString::fromUtf8(SampleDescription), true);
        box(p, at("Edit1"));
        const QRect n = at("Nahled");
        p.drawImage(n, drawScreenshot(QStringLiteral("Miny 2000"), QStringLiteral("Hry"), 0, QSize(400, 300)));
    } else if (w.name == QLatin1String("kopir")) {
        box(p, at("DirName"));
        p.setPen(Qt::black);
        p.setFont(theme::font(11));
        p.drawText(at("DirName").adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Miny"));
        listBox(p, at("SeznamAdresaru"),
                {QStringLiteral("/"), QStringLiteral("  home"), QStringLiteral("    jana"),
                 QStringLiteral("      Dokumenty"), QStringLiteral("      Hry")},
                2);
        combo(p, at("SeznamJednotek"), QStringLiteral("/home/jana"));
    } else if (w.name == QLatin1String("dalsicd")) {
        listBox(p, at("SeznamTitulu"),
                {QStringLiteral("Atlas světa 2025"), QStringLiteral("Hry pro celou rodinu"),
                 QStringLiteral("Kancelář pro každého"), QStringLiteral("Výuka angličtiny")},
                0);
        textBox(p, at("PopisTitulu"),
                QStringLiteral("Atlas světa 2025\n\nInteraktivní atlas se 195 státy, vlajkami, "
                               "mapami a zajímavostmi."),
                true);
        const QRect b = at("BookletCD");
        p.drawImage(QPoint(b.left() + 20, b.top()),
                    drawCover(QStringLiteral("Atlas světa 2025"), 0, QSize(160, 190)));
        p.setPen(Qt::black);
        p.setFont(theme::font(12, true));
        p.drawText(at("PocetKusu"), Qt::AlignCenter, QStringLiteral("1"));
    } else if (w.name == QLatin1String("onas")) {
        textBox(p, at("TextClanku"),
                QStringLiteral("O programu\n\nOvládací program vám pomůže projít všechny programy "
                               "na tomto CD, přečíst si jejich popis a spustit je."),
                true);
        p.drawImage(at("Titulka"), drawIntro(cdTitle));
    } else if (w.name == QLatin1String("hledani")) {
        const QRect l(layout::VysledkyLabel.left, layout::VysledkyLabel.top, layout::VysledkyLabel.width,
                      layout::VysledkyLabel.height);
        QFont f = theme::font(15, true);
        p.setFont(f);
        p.setPen(Qt::black);
        p.drawText(l, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                   QStringLiteral("V aktuální sekci byl zadaný text nalezen u 3 záznamů.\n"
                                  "Pokud se budete chtít vrátit k původně zvolené sekci, vyberte ji z "
                                  "rozbalovacího seznamu v levém horním rohu."));
    }
}

}  // namespace

QImage composeWindow(const SkinSet& skins, const WindowSpec& w, const QString& cdTitle) {
    const bool large = isLarge(skins.variant());
    QImage img = skins.background(w.name).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    placeholders(p, w, large, cdTitle);
    QSet<QString> done;
    for (const skin::ControlSkin& c : w.controls) {
        if (!c.list || done.contains(sv(c.control)))
            continue;
        done.insert(sv(c.control));
        const QRect r = controlRect(w, c.control, large);
        p.drawImage(r.topLeft(), skins.listImage(*c.list, std::min(previewIndex(w.name, c.control), c.list->count - 1)));
    }
    if (w.name == QLatin1String("hledani"))
        p.drawImage(searchOkRect(large).topLeft(), skins.listImage(skin::HledaniOk, 0));
    if (w.name == QLatin1String("menu")) {
        // The whole program: the catalogue in the content area, the title in the strip.
        const auto& g = large ? layout::MenuLarge : layout::MenuSmall;
        for (const WindowSpec& cw : skinnedWindows(large))
            if (cw.name == QLatin1String("programy"))
                p.drawImage(QPoint(g.contentDx, g.contentDy), composeWindow(skins, cw, cdTitle));
        p.setPen(Qt::black);
        p.setFont(theme::font(15, true));
        p.drawText(QPoint(large ? layout::TitulekLeftLarge : layout::TitulekLeftSmall, 2 + 15), cdTitle);
        // Outside the outline the window does not exist: show it as the desktop would.
        QPolygon outline;
        const QStringList items = sv(g.outline).split(QLatin1Char(','));
        for (qsizetype i = 0; i + 1 < items.size(); i += 2)
            outline << QPoint(items[i].toInt(), items[i + 1].toInt());
        QRegion outside = QRegion(img.rect()).subtracted(QRegion(outline, Qt::WindingFill));
        p.setClipRegion(outside);
        p.fillRect(img.rect(), QColor(0x6b, 0x73, 0x7d));
    }
    p.end();
    return img;
}

QImage composeStates(const SkinSet& skins) {
    const int rowH = 100, labelW = 150;
    int width = 0, height = 0;
    QList<const skin::List*> lists;
    for (const skin::List& l : skin::AllLists)
        lists << &l;
    for (const skin::List* l : lists) {
        const QImage first = skins.listImage(*l, 0);
        width = std::max(width, labelW + l->count * (first.width() + 10));
        height += std::max(rowH / 2, first.height() + 12);
    }
    QImage img = theme::blank(width + 10, height + 10, QColor(0xc8, 0xcc, 0xd2));
    QPainter p(&img);
    p.setFont(theme::font(11));
    int y = 6;
    for (const skin::List* l : lists) {
        const QImage first = skins.listImage(*l, 0);
        p.setPen(Qt::black);
        p.drawText(QRect(6, y, labelW - 10, first.height()), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromStdString(std::string(l->folder) + "/" + std::string(l->base)));
        for (int i = 0; i < l->count; ++i)
            p.drawImage(QPoint(labelW + i * (first.width() + 10), y), skins.listImage(*l, i));
        y += std::max(rowH / 2, first.height() + 12);
    }
    p.end();
    return img;
}

QStringList writePreviews(const QString& dir, const QString& cdTitle) {
    QDir().mkpath(dir);
    QStringList written;
    for (Variant v : {Variant::CzLarge, Variant::CzSmall, Variant::SkLarge, Variant::SkSmall}) {
        const SkinSet skins(v);
        const QString prefix = dir + QLatin1Char('/') + variantFolder(v).replace(QLatin1Char('/'), QLatin1Char('-')) + QLatin1Char('-');
        for (const WindowSpec& w : skinnedWindows(isLarge(v))) {
            const QString path = prefix + w.name + QStringLiteral(".png");
            composeWindow(skins, w, cdTitle).save(path);
            written << path;
        }
        const QString states = prefix + QStringLiteral("states.png");
        composeStates(skins).save(states);
        written << states;
    }
    return written;
}

}  // namespace democd

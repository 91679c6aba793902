#include "tools/democd/Skins.h"

#include "tools/democd/Theme.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTextLayout>

#include <cmath>

namespace democd {

using namespace katalog;
using theme::Icon;
using theme::State;

namespace {

bool is(std::string_view a, const char* b) { return a == b; }

QString sv(std::string_view s) { return QString::fromLatin1(s.data(), qsizetype(s.size())); }

QSize toQSize(std::optional<skin::Size> s) { return s ? QSize(s->width, s->height) : QSize(); }

const layout::Row* findRow(std::span<const layout::Row> rows, std::string_view control) {
    for (const layout::Row& r : rows)
        if (r.control == control)
            return &r;
    return nullptr;
}

QImage crop(const QImage& under, const QRect& r) {
    QImage out(r.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(theme::Navy);
    QPainter p(&out);
    p.drawImage(QPoint(0, 0), under, r);
    return out;
}

// Wraps text into lines that fit width, for the few multi-line captions.
void drawWrapped(QPainter& p, const QRectF& r, const QString& text, const QFont& f, Qt::Alignment a) {
    p.setFont(f);
    p.drawText(r, int(a) | Qt::TextWordWrap, text);
}

}  // namespace

QList<WindowSpec> skinnedWindows(bool large) {
    const auto& g = large ? layout::MenuLarge : layout::MenuSmall;
    const QSize content(g.contentWidth, g.contentHeight);
    const auto dialog = [large](const skin::Picture& p) { return toQSize(skin::sizeOf(p, large)); };
    return {
        {QStringLiteral("menu"), QSize(g.width, g.height), layout::Menu, skin::MenuControls, &skin::MenuPlocha},
        {QStringLiteral("programy"), content, layout::Programy, skin::ProgramyControls, &skin::ContentPlocha},
        {QStringLiteral("nastav"), content, layout::Nastaveni, skin::NastaveniControls, &skin::ContentPlocha},
        {QStringLiteral("onas"), content, layout::ONas, skin::ONasControls, &skin::ContentPlocha},
        {QStringLiteral("dalsicd"), content, layout::DalsiNaseCD, skin::DalsiNaseCDControls, &skin::ContentPlocha},
        {QStringLiteral("kopir"), dialog(skin::KopirPlocha), layout::Kopirovani, skin::KopirovaniControls, &skin::KopirPlocha},
        {QStringLiteral("error"), dialog(skin::ErrorPlocha), layout::ErrorDialog, skin::ErrorDialogControls, &skin::ErrorPlocha},
        {QStringLiteral("hledani"), dialog(skin::HledaniPlocha), {}, {}, &skin::HledaniPlocha},
    };
}

QRect controlRect(const WindowSpec& w, std::string_view control, bool large) {
    const layout::Row* row = findRow(w.rows, control);
    if (!row)
        return {};
    const layout::Geometry& g = large ? row->large : row->small;
    QSize size(g.width, g.height);
    if (g.width < 0 || g.height < 0) {
        for (const skin::ControlSkin& c : w.controls) {
            if (c.control != control)
                continue;
            size = c.list ? toQSize(skin::sizeOf(*c.list, large)) : toQSize(skin::sizeOf(*c.picture, large));
            break;
        }
    }
    return QRect(QPoint(g.left, g.top), size);
}

QRect searchOkRect(bool large) {
    const QSize bg = toQSize(skin::sizeOf(skin::HledaniPlocha, large));
    const QSize ok = toQSize(skin::sizeOf(skin::HledaniOk, large));
    return QRect(QPoint((bg.width() - ok.width()) / 2, layout::VysledkyOkTop), ok);
}

SkinSet::SkinSet(Variant v) : v_(v), large_(isLarge(v)), sk_(v == Variant::SkLarge || v == Variant::SkSmall) {
    build();
}

QImage SkinSet::picture(const skin::Picture& p) const { return files_.value(QString::fromStdString(skin::fileOf(p))); }

QImage SkinSet::listImage(const skin::List& l, int i) const {
    return files_.value(QString::fromStdString(skin::fileOf(l, i)));
}

void SkinSet::build() {
    for (const WindowSpec& w : skinnedWindows(large_)) {
        const QString baseFile = QString::fromStdString(skin::fileOf(*w.base));
        QImage comp = files_.value(baseFile);
        if (comp.isNull()) {
            comp = drawPicture(*w.base, QImage());
            files_.insert(baseFile, comp);
        }
        // Pictures first, in the table's order (their z-order), each over what lies below.
        for (const skin::ControlSkin& c : w.controls) {
            if (!c.picture || skin::samePicture(*c.picture, *w.base))
                continue;
            const QRect r = controlRect(w, c.control, large_);
            const QImage img = drawPicture(*c.picture, crop(comp, r));
            files_.insert(QString::fromStdString(skin::fileOf(*c.picture)), img);
            QPainter(&comp).drawImage(r.topLeft(), img);
        }
        backgrounds_.insert(w.name, comp);
        for (const skin::ControlSkin& c : w.controls) {
            if (!c.list)
                continue;
            const QRect r = controlRect(w, c.control, large_);
            for (int i = 0; i < c.list->count; ++i)
                files_.insert(QString::fromStdString(skin::fileOf(*c.list, i)),
                              drawListImage(*c.list, i, crop(comp, r)));
        }
        if (w.name == QLatin1String("hledani")) {
            const QRect r = searchOkRect(large_);
            for (int i = 0; i < skin::HledaniOk.count; ++i)
                files_.insert(QString::fromStdString(skin::fileOf(skin::HledaniOk, i)),
                              drawListImage(skin::HledaniOk, i, crop(comp, r)));
        }
    }
}

// ---------------------------------------------------------------------------------------
// Single pictures.

QImage SkinSet::drawPicture(const skin::Picture& pic, const QImage& under) const {
    const QSize size = toQSize(skin::sizeOf(pic, large_));
    QImage img = under.isNull() ? theme::blank(size.width(), size.height(), theme::Pale) : under;
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const auto tr = [this](const char* cz, const char* sk) { return QString::fromUtf8(sk_ ? sk : cz); };
    const QRectF all(0, 0, size.width(), size.height());
    const double k = large_ ? 1.0 : 0.88;  // type scale of the small layout

    if (skin::samePicture(pic, skin::ContentPlocha)) {
        theme::drawContentBackground(p, all);
    } else if (skin::samePicture(pic, skin::MenuPlocha)) {
        const auto& g = large_ ? layout::MenuLarge : layout::MenuSmall;
        QLinearGradient frame(0, 0, 0, size.height());
        frame.setColorAt(0, QColor(0x21, 0x4a, 0x7e));
        frame.setColorAt(1, theme::NavyDark);
        p.fillRect(all, frame);
        // The tab: a lighter band along its slanted edge.
        QPolygonF outline;
        const QStringList items = sv(g.outline).split(QLatin1Char(','));
        for (qsizetype i = 0; i + 1 < items.size(); i += 2)
            outline << QPointF(items[i].toDouble(), items[i + 1].toDouble());
        QLinearGradient tab(0, 0, g.contentDx, 0);
        tab.setColorAt(0, QColor(0x2f, 0x62, 0xa0));
        tab.setColorAt(1, QColor(0x19, 0x3c, 0x68));
        p.save();
        QPainterPath tabPath;
        tabPath.addPolygon(outline);
        p.setClipPath(tabPath);
        p.fillRect(QRectF(0, 0, outline[0].x() + 1, size.height()), tab);
        p.restore();
        p.setPen(QPen(QColor(0x8c, 0xb8, 0xe8, 150), 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({outline[7] + QPointF(0, 1), outline[6] + QPointF(1.2, 0),
                                  outline[5] + QPointF(1.2, 0), outline[4] + QPointF(0, -1)}));
        // Title strip: light, so that the black title reads well.
        const QRectF strip(outline[0].x(), 0, size.width() - outline[0].x(), g.contentDy);
        QLinearGradient sg(strip.topLeft(), strip.bottomLeft());
        sg.setColorAt(0, QColor(0xff, 0xff, 0xff));
        sg.setColorAt(0.6, QColor(0xea, 0xf1, 0xf9));
        sg.setColorAt(1, QColor(0xd3, 0xe1, 0xf1));
        p.fillRect(strip, sg);
        p.fillRect(QRectF(strip.left(), strip.bottom() - 1.5, strip.width(), 1.5), theme::Gold);
        // Grip dots at the right end of the strip, before the two buttons.
        const auto* minRow = findRow(layout::Menu, "Minimalizace");
        const double gx = (large_ ? minRow->large.left : minRow->small.left) - 16;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x8a, 0xa3, 0xc0));
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 2; ++j)
                p.drawEllipse(QPointF(gx + j * 5, strip.center().y() - 6 + i * 5), 1.2, 1.2);
        // A gold bezel around the content area.
        const QRectF content(g.contentDx, g.contentDy, g.contentWidth, g.contentHeight);
        p.setPen(QPen(QColor(0xfc, 0xca, 0x2c, 200), 1.2));
        p.drawRoundedRect(content.adjusted(-3, -0.5, 3, 3), 3, 3);
        p.setPen(QPen(QColor(0x06, 0x12, 0x22, 160), 1));
        p.drawRect(content.adjusted(-1, -1, 1, 1));
        // The publisher's mark low on the tab.
        const auto* napoveda = findRow(layout::Menu, "mnuNapoveda");
        const auto nap = large_ ? napoveda->large : napoveda->small;
        const double tabBottom = outline[4].y();  // where the tab starts to slant back in
        const double markTop = nap.top + (large_ ? 46 : 40) + 2;
        const double side = std::min(outline[0].x() * 0.5, tabBottom - markTop + 8);
        theme::drawLogoMark(p, QRectF(outline[0].x() / 2 - side / 2, markTop + 2, side, side), theme::Gold,
                            QColor(0x2c, 0x5f, 0x9e));
    } else if (skin::samePicture(pic, skin::ErrorPlocha)) {
        p.fillRect(all, QColor(0xf7, 0xf9, 0xfc));
        theme::drawTitleBand(p, QRectF(0, 0, size.width(), 30), tr("Chyba", "Chyba"), Icon::Warning);
        theme::drawIcon(p, Icon::Warning, QRectF(22, 44, 46, 46), theme::Orange);
        p.setPen(theme::Ink);
        p.setFont(theme::font(15, true));
        p.drawText(QRectF(84, 40, size.width() - 100, 24), Qt::AlignLeft | Qt::AlignVCenter,
                   tr("Jednotka není připravena.", "Jednotka nie je pripravená."));
        p.setPen(theme::Muted);
        drawWrapped(p, QRectF(84, 64, size.width() - 100, 36),
                    tr("Vložte do jednotky médium a stiskněte tlačítko Opakovat.",
                       "Vložte do jednotky médium a stlačte tlačidlo Opakovať."),
                    theme::font(12.5), Qt::AlignLeft | Qt::AlignTop);
        p.setPen(QPen(theme::Navy, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(all.adjusted(0.5, 0.5, -0.5, -0.5));
    } else if (skin::samePicture(pic, skin::KopirPlocha)) {
        QLinearGradient bg(0, 0, 0, size.height());
        bg.setColorAt(0, theme::Pale);
        bg.setColorAt(1, theme::Mist);
        p.fillRect(all, bg);
        const double band = large_ ? 31 : 27;
        theme::drawTitleBand(p, QRectF(0, 0, size.width(), band),
                             tr("Kopírování programu", "Kopírovanie programu"), Icon::Copy);
        const auto* dir = findRow(layout::Kopirovani, "DirName");
        const auto* novy = findRow(layout::Kopirovani, "NovyAdresar");
        const auto dg = large_ ? dir->large : dir->small;
        const auto ng = large_ ? novy->large : novy->small;
        p.setPen(theme::Navy);
        p.setFont(theme::font(12 * k, true));
        p.drawText(QRectF(dg.left, band + 4, dg.width + 40, dg.top - band - 6), Qt::AlignLeft | Qt::AlignBottom,
                   tr("Název nové složky:", "Názov nového priečinka:"));
        // Soft wells behind the folder controls.
        for (const char* name : {"DirName", "SeznamAdresaru", "SeznamJednotek"}) {
            const auto* r = findRow(layout::Kopirovani, name);
            const auto rg = large_ ? r->large : r->small;
            p.setPen(QPen(theme::Line, 1));
            p.setBrush(QColor(0xff, 0xff, 0xff, 160));
            p.drawRoundedRect(QRectF(rg.left - 3, rg.top - 3, rg.width + 6, rg.height + 6), 4, 4);
        }
        // The copy drawn as a picture: disc, arrow, folder.
        const double bw = large_ ? 150 : 130;
        const QRectF art(ng.left, band + 14, bw, ng.top - band - 30);
        const double d = std::min(art.height() * 0.42, bw * 0.36);
        theme::drawDisc(p, QPointF(art.left() + d / 2 + 2, art.top() + d / 2 + 6), d / 2);
        theme::drawIcon(p, Icon::ArrowRight, QRectF(art.center().x() - d * 0.3, art.top() + d * 0.3, d * 0.6, d * 0.6),
                        theme::Gold.darker(115));
        theme::drawIcon(p, Icon::Folder, QRectF(art.right() - d - 2, art.top() + 6, d, d), theme::Blue);
        p.setPen(theme::Muted);
        drawWrapped(p, QRectF(art.left(), art.top() + d + 16, art.width(), art.bottom() - art.top() - d - 16),
                    tr("Vyberte cílovou složku a stiskněte Kopírovat.",
                       "Vyberte cieľový priečinok a stlačte Kopírovať."),
                    theme::font(11.5 * k), Qt::AlignLeft | Qt::AlignTop);
        p.setPen(QPen(theme::Navy, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(all.adjusted(0.5, 0.5, -0.5, -0.5));
    } else if (skin::samePicture(pic, skin::HledaniPlocha)) {
        QLinearGradient bg(0, 0, 0, size.height());
        bg.setColorAt(0, theme::Pale);
        bg.setColorAt(1, theme::Mist);
        p.fillRect(all, bg);
        theme::drawTitleBand(p, QRectF(0, 0, size.width(), 30), tr("Výsledek hledání", "Výsledok hľadania"),
                             Icon::Search);
        const QRectF label(layout::VysledkyLabel.left, layout::VysledkyLabel.top, layout::VysledkyLabel.width,
                           layout::VysledkyLabel.height);
        p.setPen(QPen(theme::Line, 1));
        p.setBrush(QColor(0xff, 0xff, 0xff, 200));
        p.drawRoundedRect(label.adjusted(-6, -4, 6, 4), 6, 6);
        p.setPen(QPen(theme::Navy, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(all.adjusted(0.5, 0.5, -0.5, -0.5));
    } else if (skin::samePicture(pic, skin::ProgLine)) {
        const double x = size.width() / 2.0;
        QLinearGradient lg(0, 0, 0, size.height());
        lg.setColorAt(0, QColor(0x5b, 0x9b, 0xd5, 0));
        lg.setColorAt(0.12, QColor(0x5b, 0x9b, 0xd5, 200));
        lg.setColorAt(0.5, QColor(0xfc, 0xca, 0x2c, 230));
        lg.setColorAt(0.88, QColor(0x5b, 0x9b, 0xd5, 200));
        lg.setColorAt(1, QColor(0x5b, 0x9b, 0xd5, 0));
        p.fillRect(QRectF(x - 1, 0, 2, size.height()), lg);
        QLinearGradient hl(0, 0, 0, size.height());
        hl.setColorAt(0, QColor(255, 255, 255, 0));
        hl.setColorAt(0.5, QColor(255, 255, 255, 220));
        hl.setColorAt(1, QColor(255, 255, 255, 0));
        p.fillRect(QRectF(x + 1, 0, 1, size.height()), hl);
    } else if (skin::samePicture(pic, skin::ProgLupa)) {
        theme::drawIcon(p, Icon::Search, all.adjusted(3, 3, -3, -3), theme::Blue);
    } else if (skin::samePicture(pic, skin::NastavNadpis)) {
        theme::drawHeading(p, all.adjusted(1, 0, 0, 0), tr("Nastavení", "Nastavenia"),
                           tr("Hudba, animace a písmo ovládacího programu", "Hudba, animácia a písmo ovládacieho programu"),
                           Icon::Gear);
    } else if (skin::samePicture(pic, skin::OnasNadpis)) {
        theme::drawHeading(p, all, tr("O nás", "O nás"), tr("Vydavatel, autoři, licence a záruka", "Vydavateľ, autori, licencie a záruka"),
                           Icon::Info);
    } else if (skin::samePicture(pic, skin::DalsiNadpis)) {
        theme::drawHeading(p, all, tr("Další naše tituly", "Ďalšie naše tituly"),
                           tr("Vyberte si z nabídky", "Vyberte si z ponuky"), Icon::Discs);
    } else if (skin::samePicture(pic, skin::NastavRamecek)) {
        theme::drawPanel(p, all, 14);
        // Two group headings: above the songs and above the check boxes.
        const auto pos = [this](const char* name) {
            const auto* r = findRow(layout::Nastaveni, name);
            const auto* f = findRow(layout::Nastaveni, "Ramecek");
            const auto g = large_ ? r->large : r->small;
            const auto o = large_ ? f->large : f->small;
            return QPointF(g.left - o.left, g.top - o.top);
        };
        const double songH = large_ ? 32 : 28;
        const QPointF s1 = pos("Song1"), s3 = pos("Song3"), hud = pos("Hudba");
        const auto heading = [&](double top, double bottom, const QString& text, Icon icon) {
            const double h = std::min(bottom - top, 26.0 * k);
            const QRectF r(s1.x(), bottom - h - 4, size.width() - 2 * s1.x(), h);
            theme::drawIcon(p, icon, QRectF(r.left(), r.top() + 2, h - 4, h - 4), theme::Blue);
            p.setPen(theme::Navy);
            p.setFont(theme::font(14 * k, true));
            p.drawText(r.adjusted(h + 2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
            p.fillRect(QRectF(r.left(), r.bottom() + 1, r.width(), 1), theme::Line);
        };
        heading(8, s1.y(), tr("Hudba na pozadí – vyberte skladbu", "Hudba v pozadí – vyberte skladbu"), Icon::Note);
        heading(s3.y() + songH, hud.y(), tr("Další volby", "Ďalšie voľby"), Icon::Gear);
    } else if (skin::samePicture(pic, skin::OnasRamecek)) {
        theme::drawPanel(p, all, 14);
        const auto* t = findRow(layout::ONas, "TextClanku");
        const auto* f = findRow(layout::ONas, "Ramecek");
        const auto tg = large_ ? t->large : t->small;
        const auto fg = large_ ? f->large : f->small;
        const QRectF head(tg.left - fg.left, 6, size.width() - 2 * (tg.left - fg.left), tg.top - fg.top - 10);
        theme::drawIcon(p, Icon::Book, QRectF(head.left(), head.center().y() - 10, 20, 20), theme::Blue);
        p.setPen(theme::Navy);
        p.setFont(theme::font(14 * k, true));
        p.drawText(head.adjusted(28, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   tr("Modrá vlna s.r.o. – software na CD", "Modrá vlna s.r.o. – softvér na CD"));
        p.fillRect(QRectF(head.left(), head.bottom(), head.width(), 1.2), theme::Line);
    } else if (skin::samePicture(pic, skin::DalsiObjram)) {
        theme::drawPanel(p, all, 12);
        const auto* chk = findRow(layout::DalsiNaseCD, "ObjednavkaChk");
        const auto* f = findRow(layout::DalsiNaseCD, "ObjRamecek");
        const double bandH = (large_ ? chk->large.top - f->large.top : chk->small.top - f->small.top) - 8;
        QPainterPath clip;
        clip.addRoundedRect(all.adjusted(2, 1, -3, -4), 12, 12);
        p.save();
        p.setClipPath(clip);
        QLinearGradient g(0, 0, 0, bandH);
        g.setColorAt(0, QColor(0x2c, 0x5f, 0x9e));
        g.setColorAt(1, theme::Navy);
        p.fillRect(QRectF(0, 0, size.width(), bandH), g);
        p.fillRect(QRectF(0, bandH - 2, size.width(), 2), theme::Gold);
        p.restore();
        theme::drawIcon(p, Icon::Print, QRectF(12, bandH / 2 - 9, 18, 18), theme::Gold);
        p.setPen(Qt::white);
        p.setFont(theme::font(14 * k, true));
        p.drawText(QRectF(38, 0, size.width() - 44, bandH - 2), Qt::AlignLeft | Qt::AlignVCenter,
                   tr("Objednávka", "Objednávka"));
    } else if (skin::samePicture(pic, skin::DalsiPridobj)) {
        p.setPen(theme::Navy);
        drawWrapped(p, all.adjusted(2, 0, 0, 0), tr("Přidat do\nobjednávky", "Pridať do\nobjednávky"),
                    theme::font(13 * k, true), Qt::AlignLeft | Qt::AlignVCenter);
    } else if (skin::samePicture(pic, skin::DalsiPockusu)) {
        p.setPen(theme::Navy);
        p.setFont(theme::font(12.5 * k, true));
        p.drawText(all.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, tr("Počet kusů:", "Počet kusov:"));
    } else if (skin::samePicture(pic, skin::DalsiPocitad)) {
        const QRectF r = all.adjusted(2, 2, -2, -2);
        p.setPen(QPen(QColor(0x7d, 0x93, 0xad), 1.2));
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, QColor(0xe9, 0xef, 0xf6));
        g.setColorAt(0.25, Qt::white);
        g.setColorAt(1, Qt::white);
        p.setBrush(g);
        p.drawRoundedRect(r, 6, 6);
    }
    p.end();
    return img;
}

// ---------------------------------------------------------------------------------------
// Image lists.

namespace {

struct ListArt {
    const char* folder;
    const char* base;
    const char* cz;
    const char* sk;
    Icon icon;
    theme::Look look;
    bool danger = false;
};

// Captions and pictograms of the button lists; value lists are drawn by their own code.
const ListArt ButtonArt[] = {
    {"menu", "program", "Programy", "Programy", Icon::Grid, theme::Look::Tab},
    {"menu", "onas", "O nás", "O nás", Icon::Info, theme::Look::Tab},
    {"menu", "daltit", "Tituly", "Tituly", Icon::Discs, theme::Look::Tab},
    {"menu", "nastav", "Nastavení", "Nastavenia", Icon::Gear, theme::Look::Tab},
    {"menu", "napoved", "Nápověda", "Pomocník", Icon::Question, theme::Look::Tab},
    {"menu", "_", "", "", Icon::Minimise, theme::Look::Window},
    {"menu", "x", "", "", Icon::Close, theme::Look::Window, true},
    {"error", "opak", "Opakovat", "Opakovať", Icon::Retry, theme::Look::Action},
    {"error", "zrusit", "Zrušit", "Zrušiť", Icon::Close, theme::Look::Action},
    {"kopir", "novyadr", "Nová složka", "Nový priečinok", Icon::FolderNew, theme::Look::Action},
    {"kopir", "kopiruj", "Kopírovat", "Kopírovať", Icon::Copy, theme::Look::Action},
    {"kopir", "zrusit", "Zrušit", "Zrušiť", Icon::Close, theme::Look::Action},
    {"kopir", "x", "", "", Icon::Close, theme::Look::WindowDark, true},
    {"hledani", "ok", "OK", "OK", Icon::Check, theme::Look::Action},
    {"programy", "dokumen", "Dokumentace", "Dokumentácia", Icon::Document, theme::Look::Action},
    {"programy", "hledat", "Hledat", "Hľadať", Icon::Search, theme::Look::Action},
    {"programy", "instal", "Instalovat", "Inštalovať", Icon::Install, theme::Look::Action},
    {"programy", "odinst", "Odinstalovat", "Odinštalovať", Icon::Uninstall, theme::Look::Action},
    {"programy", "kopirov", "Kopírovat", "Kopírovať", Icon::Copy, theme::Look::Action},
    {"programy", "spust", "Spustit", "Spustiť", Icon::Play, theme::Look::Action},
    {"programy", "wwwaut", "WWW autora", "WWW autora", Icon::Globe, theme::Look::Action},
    {"programy", "pridzal", "Do oblíbených", "Do obľúbených", Icon::BookmarkAdd, theme::Look::Action},
    {"programy", "odebzal", "Z oblíbených", "Z obľúbených", Icon::BookmarkRemove, theme::Look::Action},
    {"nastav", "song1", "1  Ranní káva", "1  Ranná káva", Icon::Note, theme::Look::Current},
    {"nastav", "song2", "2  Valčík u řeky", "2  Valčík pri rieke", Icon::Note, theme::Look::Current},
    {"nastav", "song3", "3  Pochod robotů", "3  Pochod robotov", Icon::Note, theme::Look::Current},
    {"nastav", "song4", "4  Noční jízda", "4  Nočná jazda", Icon::Note, theme::Look::Current},
    {"nastav", "song5", "5  Bossa v dešti", "5  Bossa v daždi", Icon::Note, theme::Look::Current},
    {"nastav", "song6", "6  Barokní hodiny", "6  Barokové hodiny", Icon::Note, theme::Look::Current},
    {"nastav", "ok", "Uložit", "Uložiť", Icon::Check, theme::Look::Action},
    {"nastav", "hudbach", "Hudba a zvuky", "Hudba a zvuky", Icon::None, theme::Look::Check},
    {"nastav", "hudbanc", "Hudba a zvuky", "Hudba a zvuky", Icon::None, theme::Look::Uncheck},
    {"nastav", "animchk", "Animace náhledu", "Animácia náhľadu", Icon::None, theme::Look::Check},
    {"nastav", "animnch", "Animace náhledu", "Animácia náhľadu", Icon::None, theme::Look::Uncheck},
    {"nastav", "pismo", "Písmo…", "Písmo…", Icon::Font, theme::Look::Action},
    {"onas", "oprog", "O programu", "O programe", Icon::Info, theme::Look::Current},
    {"onas", "www", "Navštivte nás na webu", "Navštívte nás na webe", Icon::Globe, theme::Look::Action},
    {"onas", "autor", "Autoři", "Autori", Icon::People, theme::Look::Current},
    {"onas", "volsirs", "Volně šiřitelný software", "Voľne šíriteľný softvér", Icon::Share, theme::Look::Current},
    {"onas", "zaruka", "Záruka", "Záruka", Icon::Shield, theme::Look::Current},
    {"dalsicd", "tisk", "Objednat", "Objednať", Icon::Print, theme::Look::Action},
    {"dalsicd", "viceinf", "Více informací", "Viac informácií", Icon::Info, theme::Look::Action},
    {"dalsicd", "obal", "Obal CD", "Obal CD", Icon::Cover, theme::Look::Action},
    {"dalsicd", "kusudec", "", "", Icon::Minus, theme::Look::Action},
    {"dalsicd", "kusuinc", "", "", Icon::Plus, theme::Look::Action},
    {"dalsicd", "zaskrt", "", "", Icon::None, theme::Look::Check},
    {"dalsicd", "nezaskr", "", "", Icon::None, theme::Look::Uncheck},
};

const ListArt* buttonArt(const skin::List& l) {
    for (const ListArt& a : ButtonArt)
        if (l.folder == a.folder && l.base == a.base)
            return &a;
    return nullptr;
}

// A value chip of the catalogue: coloured tile with a pictogram, a small caption and a value.
void drawChip(QPainter& p, const QRectF& r, const QColor& tile, Icon icon, const QColor& iconColour,
              const QString& caption) {
    const QRectF body = r.adjusted(1, 1, -1, -1);
    p.setPen(QPen(theme::Line, 1));
    p.setBrush(QColor(0xff, 0xff, 0xff, 215));
    p.drawRoundedRect(body, 7, 7);
    const QRectF t(body.left() + 3, body.top() + 3, body.height() - 6, body.height() - 6);
    QLinearGradient g(t.topLeft(), t.bottomLeft());
    g.setColorAt(0, tile.lighter(125));
    g.setColorAt(1, tile);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(t, 5, 5);
    theme::drawIcon(p, icon, t.adjusted(3, 3, -3, -3), iconColour);
    p.setPen(theme::Muted);
    p.setFont(theme::font(body.height() * 0.28));
    p.drawText(QRectF(t.right() + 7, body.top() + 1, body.right() - t.right() - 9, body.height() * 0.42),
               Qt::AlignLeft | Qt::AlignVCenter, caption);
}

QRectF chipValueRect(const QRectF& r) {
    const QRectF body = r.adjusted(1, 1, -1, -1);
    const double tile = body.height() - 6;
    return QRectF(body.left() + tile + 10, body.top() + body.height() * 0.4, body.width() - tile - 14,
                  body.height() * 0.56);
}

}  // namespace

QImage SkinSet::drawListImage(const skin::List& l, int i, const QImage& under) const {
    QImage img = under;
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF all(0, 0, img.width(), img.height());
    const auto tr = [this](const char* cz, const char* sk) { return QString::fromUtf8(sk_ ? sk : cz); };

    if (const ListArt* a = buttonArt(l)) {
        theme::ButtonSpec button;
        button.caption = QString::fromUtf8(sk_ ? a->sk : a->cz);
        button.icon = a->icon;
        button.look = a->look;
        button.danger = a->danger;
        if (a->look == theme::Look::Window || a->look == theme::Look::WindowDark)
            button.radius = 5;
        if (is(l.base, "kusudec") || is(l.base, "kusuinc"))
            button.radius = 9;
        if (is(l.folder, "menu") && a->look == theme::Look::Tab)
            button.radius = 9;
        theme::drawButton(p, all, theme::States[std::min(i, 3)], button);
    } else if (is(l.base, "logo")) {
        const State s = theme::States[std::min(i, 3)];
        const QRectF card = all.adjusted(2, 2, -3, -4).translated(s == State::Pressed ? 1 : 0, s == State::Pressed ? 1 : 0);
        if (s != State::Pressed) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0x10, 0x2a, 0x4c, 30));
            p.drawRoundedRect(card.translated(1, 2), 12, 12);
        }
        QLinearGradient g(card.topLeft(), card.bottomLeft());
        g.setColorAt(0, s == State::Hover ? QColor(0xff, 0xfb, 0xea) : Qt::white);
        g.setColorAt(1, s == State::Pressed ? QColor(0xd6, 0xe3, 0xf2) : QColor(0xe8, 0xf0, 0xf9));
        p.setBrush(g);
        p.setPen(QPen(s == State::Hover ? theme::Gold : theme::Line, s == State::Hover ? 2 : 1.2));
        p.drawRoundedRect(card, 12, 12);
        const double m = card.height() * 0.72;
        theme::drawLogoMark(p, QRectF(card.left() + 10, card.center().y() - m / 2, m, m), theme::Gold, theme::Navy);
        const QRectF text(card.left() + m + 18, card.top() + 6, card.width() - m - 24, card.height() - 12);
        p.setPen(theme::Navy);
        p.setFont(theme::fitFont(QStringLiteral("Modrá vlna"), text.width(), card.height() * 0.26, true));
        p.drawText(QRectF(text.left(), text.top(), text.width(), text.height() * 0.55), Qt::AlignLeft | Qt::AlignBottom,
                   QStringLiteral("Modrá vlna"));
        p.setPen(theme::Muted);
        p.setFont(theme::font(card.height() * 0.14));
        p.drawText(QRectF(text.left(), text.top() + text.height() * 0.58, text.width(), text.height() * 0.42),
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, tr("O nás a o tomto CD", "O nás a o tomto CD"));
    } else if (is(l.folder, "programy") && is(l.base, "hodnoc")) {
        drawChip(p, all, theme::Gold, Icon::Star, Qt::white, tr("Hodnocení", "Hodnotenie"));
        const QRectF v = chipValueRect(all);
        const double side = std::min(v.height(), v.width() / 5.6);
        for (int s = 0; s < 5; ++s) {
            const QRectF box(v.left() + s * side * 1.08, v.center().y() - side / 2, side, side);
            if (s < i)
                theme::drawIcon(p, Icon::Star, box, theme::Gold);
            else
                theme::drawIcon(p, Icon::StarOutline, box, QColor(0xa8, 0xb4, 0xc2));
        }
    } else if (is(l.folder, "programy") && is(l.base, "velik")) {
        static const char* const cz[] = {"do 1 MB", "1–5 MB", "5–10 MB", "10–50 MB", "50–100 MB", "100–300 MB", "nad 300 MB"};
        drawChip(p, all, theme::Blue, Icon::HardDisk, Qt::white, tr("Místo na disku", "Miesto na disku"));
        const QRectF v = chipValueRect(all);
        const double barW = v.height() * 0.34, gap = barW * 0.45;
        for (int b = 0; b < 7; ++b) {
            const double h = v.height() * (0.3 + 0.1 * b);
            const QRectF bar(v.left() + b * (barW + gap), v.bottom() - h - 1, barW, h);
            p.setPen(Qt::NoPen);
            p.setBrush(b <= i ? (b < 3 ? theme::Green : (b < 5 ? theme::Orange : theme::Red)) : QColor(0xd2, 0xda, 0xe3));
            p.drawRoundedRect(bar, 1, 1);
        }
        const double tx = v.left() + 7 * (barW + gap) + 4;
        p.setPen(theme::Ink);
        p.setFont(theme::fitFont(QString::fromUtf8(cz[i]), v.right() - tx, v.height() * 0.78, true));
        p.drawText(QRectF(tx, v.top() - 1, v.right() - tx, v.height()), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromUtf8(cz[i]));
    } else if (is(l.folder, "programy") && is(l.base, "os")) {
        static const Icon icons[] = {Icon::Windows95, Icon::Windows31, Icon::Dos, Icon::WindowsNt};
        static const char* const names[] = {"Windows 95", "Windows 3.1", "MS-DOS", "Windows NT"};
        drawChip(p, all, QColor(0xee, 0xf2, 0xf7), icons[i], theme::Navy, tr("Operační systém", "Operačný systém"));
        const QRectF v = chipValueRect(all);
        p.setPen(theme::Ink);
        p.setFont(theme::fitFont(QString::fromLatin1(names[i]), v.width(), v.height() * 0.78, true));
        p.drawText(v.translated(0, -1), Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(names[i]));
    } else if (is(l.folder, "programy") && is(l.base, "licence")) {
        static const Icon icons[] = {Icon::Gift, Icon::Coins, Icon::Globe, Icon::Clock};
        static const QColor colours[] = {theme::Green, theme::Blue, theme::Purple, theme::Orange};
        const QString names[] = {QStringLiteral("Freeware"), QStringLiteral("Shareware"), QStringLiteral("Public Domain"),
                                 tr("Demoverze", "Demoverzia")};
        drawChip(p, all, colours[i], icons[i], Qt::white, tr("Licence", "Licencia"));
        const QRectF v = chipValueRect(all);
        p.setPen(colours[i].darker(125));
        p.setFont(theme::fitFont(names[i], v.width(), v.height() * 0.78, true));
        p.drawText(v.translated(0, -1), Qt::AlignLeft | Qt::AlignVCenter, names[i]);
    } else if (is(l.folder, "dalsicd") && (is(l.base, "pozad") || is(l.base, "cd") || is(l.base, "velik"))) {
        QString caption, value;
        Icon icon = Icon::Chip;
        if (is(l.base, "pozad")) {
            static const char* const v[] = {"486 DX, 8 MB RAM", "Pentium, 32 MB RAM", "Pentium II, 64 MB RAM"};
            caption = tr("Požadavky:", "Požiadavky:");
            value = QString::fromLatin1(v[i]);
        } else if (is(l.base, "cd")) {
            caption = tr("Počet CD:", "Počet CD:");
            value = QString::number(i + 1) + QStringLiteral(" CD");
            icon = Icon::Disc;
        } else {
            static const char* const cz[] = {"do 100 MB", "do 300 MB", "do 650 MB", "přes 650 MB"};
            static const char* const sk[] = {"do 100 MB", "do 300 MB", "do 650 MB", "nad 650 MB"};
            caption = tr("Data:", "Dáta:");
            value = QString::fromUtf8(sk_ ? sk[i] : cz[i]);
            icon = Icon::HardDisk;
        }
        const double h = all.height();
        theme::drawIcon(p, icon, QRectF(1, 1, h - 2, h - 2), theme::Blue);
        const QFont cf = theme::font(h * 0.62);
        p.setFont(cf);
        p.setPen(theme::Muted);
        const double cw = QFontMetricsF(cf).horizontalAdvance(caption);
        p.drawText(QRectF(h + 3, 0, cw + 2, h), Qt::AlignLeft | Qt::AlignVCenter, caption);
        p.setPen(theme::Ink);
        p.setFont(theme::fitFont(value, all.width() - h - cw - 10, h * 0.64, true));
        p.drawText(QRectF(h + cw + 8, 0, all.width() - h - cw - 8, h), Qt::AlignLeft | Qt::AlignVCenter, value);
    }
    p.end();
    return img;
}

// ---------------------------------------------------------------------------------------

QImage drawIntro(const QString& cdTitle) {
    const int w = 350, h = 500;
    QImage img = theme::blank(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient bg(0, 0, 0, h);
    bg.setColorAt(0, QColor(0x24, 0x54, 0x90));
    bg.setColorAt(0.55, theme::Navy);
    bg.setColorAt(1, theme::NavyDark);
    p.fillRect(img.rect(), bg);
    // Light rays behind the disc.
    QRadialGradient glow(QPointF(w / 2.0, 205), 190);
    glow.setColorAt(0, QColor(0x8c, 0xc4, 0xff, 120));
    glow.setColorAt(1, QColor(0x8c, 0xc4, 0xff, 0));
    p.fillRect(img.rect(), glow);
    for (int i = 0; i < 5; ++i) {
        QPainterPath wave;
        const double y = 360 + i * 16;
        wave.moveTo(-10, y);
        wave.cubicTo(w * 0.3, y - 40 + i * 4, w * 0.6, y + 30, w + 10, y - 10 - i * 3);
        p.setPen(QPen(QColor(0xfc, 0xca, 0x2c, 150 - i * 25), 3 - i * 0.4));
        p.setBrush(Qt::NoBrush);
        p.drawPath(wave);
    }
    theme::drawDisc(p, QPointF(w / 2.0, 205), 118);
    theme::drawLogoMark(p, QRectF(w / 2.0 - 26, 179, 52, 52), theme::Gold, theme::Navy);
    p.setPen(Qt::white);
    p.setFont(theme::font(30, true));
    p.drawText(QRectF(0, 22, w, 40), Qt::AlignCenter, QStringLiteral("Modrá vlna"));
    p.setPen(theme::Gold);
    p.setFont(theme::font(13, true));
    p.drawText(QRectF(0, 60, w, 22), Qt::AlignCenter, QStringLiteral("SOFTWARE NA CD"));
    p.setPen(Qt::white);
    p.setFont(theme::fitFont(cdTitle, w - 40, 20, true));
    p.drawText(QRectF(20, 440, w - 40, 28), Qt::AlignCenter, cdTitle);
    p.setPen(QColor(0xc8, 0xd8, 0xec));
    p.setFont(theme::font(11));
    p.drawText(QRectF(20, 466, w - 40, 20), Qt::AlignCenter, QStringLiteral("Programy · hry · nástroje · výuka"));
    p.end();
    return img;
}

}  // namespace democd

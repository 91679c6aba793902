// The demo CD must hold every file the program opens, in a shape the program can use, and
// its skin must fit the layout tables.
#include "about/ONasUnit1.h"
#include "app/CdFiles.h"
#include "app/Layouts.h"
#include "app/SkinSizes.h"
#include "platform/Codec.h"
#include "platform/Paths.h"
#include "platform/Pictures.h"
#include "platform/ProfileFile.h"
#include "tools/democd/CdWriter.h"
#include "tools/democd/DemoCd.h"
#include "tools/democd/Screenshots.h"
#include "tools/democd/Skins.h"
#include "tools/democd/Sounds.h"
#include "tools/democd/SourceIni.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPolygon>
#include <QProcess>
#include <QRegion>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>
#include <map>

using namespace katalog;

namespace {

QString sv(std::string_view s) { return QString::fromLatin1(s.data(), qsizetype(s.size())); }

QString dataDir() { return QStringLiteral(KATALOG_SOURCE_DIR "/tools/democd/data"); }

QString mapicPath() {
    const QString p = QStringLiteral(KATALOG_BINARY_DIR "/tools/mapic/mapic");
    return QFileInfo(p).isExecutable() ? p : QString();
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The demo CD, generated once per test process.
struct Generated {
    QTemporaryDir dir;
    QStringList warnings;
    bool ok = true;
    QString root() const { return dir.path(); }
    QString system() const { return dir.path() + QStringLiteral("/SYSTEM/"); }
};

const Generated& demo() {
    static Generated g;
    static const bool done = [] {
        g.ok = democd::writeDemoCd({g.dir.path(), dataDir(), mapicPath()}, g.warnings);
        return true;
    }();
    (void)done;
    return g;
}

// The parts of the CD that a test looks at, each written once per process: ctest runs
// every test in a process of its own, and the skins take the longest to draw.
enum Piece : unsigned { Skins = 1, Intro = 2, Sounds = 4, Help = 8, Programs = 16, Titles = 32, About = 64, Key = 128 };

const Generated& cdWith(unsigned pieces) {
    static Generated g;
    static unsigned done = 0;
    const unsigned todo = pieces & ~done;
    const QString root = g.dir.path();
    if (todo & Skins)
        for (democd::Variant v : democd::AllVariants)
            g.ok = democd::writeSkins(root, v) && g.ok;
    if (todo & Intro)
        g.ok = democd::saveBmp(democd::drawIntro(QStringLiteral("Modrá vlna CD 1/2025")),
                               g.system() + sv(cdfiles::IntroPicture)) && g.ok;
    if (todo & Sounds)
        g.ok = democd::writeSounds(root) && g.ok;
    if (todo & Help)
        g.ok = democd::writeHelp(dataDir(), root) && g.ok;
    if (todo & Programs)
        g.ok = democd::writeProgramFolders(dataDir(), root, g.warnings) && g.ok;
    if (todo & Titles)
        g.ok = democd::writeOtherTitles(dataDir(), root, g.warnings) && g.ok;
    if (todo & About)
        g.ok = democd::writeAboutPages(dataDir(), root, g.warnings) && g.ok;
    if (todo & Key)
        g.ok = democd::writeKeyFile(root) && g.ok;
    done |= todo;
    return g;
}

// A CD file by its CD spelling, matched without regard to case as the program does.
std::optional<QString> onCd(const QString& base, const QString& rel) { return platform::existingFile(base, rel); }

QSize qsize(std::optional<skin::Size> s) { return s ? QSize(s->width, s->height) : QSize(); }

bool isBmp24(const QByteArray& b) {
    return b.size() > 30 && b.startsWith("BM") && qFromLittleEndian<quint16>(b.constData() + 28) == 24;
}

const char* const LayoutNames[] = {"1024x768", "800x600"};

}  // namespace

// ---------------------------------------------------------------------------------------
// The shared size table against the layout tables (no generation needed).

namespace {

struct WindowTable {
    const char* name;
    std::span<const layout::Row> rows;
    std::span<const skin::ControlSkin> controls;
    const skin::Picture* background;  // sizes the dialogs; content windows use the content area
};

const WindowTable Windows[] = {
    {"menu", layout::Menu, skin::MenuControls, &skin::MenuPlocha},
    {"programy", layout::Programy, skin::ProgramyControls, nullptr},
    {"kopir", layout::Kopirovani, skin::KopirovaniControls, &skin::KopirPlocha},
    {"dalsicd", layout::DalsiNaseCD, skin::DalsiNaseCDControls, nullptr},
    {"nastav", layout::Nastaveni, skin::NastaveniControls, nullptr},
    {"onas", layout::ONas, skin::ONasControls, nullptr},
    {"error", layout::ErrorDialog, skin::ErrorDialogControls, &skin::ErrorPlocha},
};

QSize windowSize(const WindowTable& w, bool large) {
    if (w.background)
        return qsize(skin::sizeOf(*w.background, large));
    const auto& g = large ? layout::MenuLarge : layout::MenuSmall;
    return {g.contentWidth, g.contentHeight};
}

struct Placed {
    QString control;
    QRect rect;
    bool button;  // shows an image list (a region button or a value icon)
};

QList<Placed> placedControls(const WindowTable& w, bool large) {
    QList<Placed> out;
    QSet<QString> seen;
    for (const layout::Row& row : w.rows) {
        const layout::Geometry& g = large ? row.large : row.small;
        const QString name = sv(row.control);
        for (const skin::ControlSkin& c : w.controls) {
            if (c.control != row.control)
                continue;
            const QSize s = c.list ? qsize(skin::sizeOf(*c.list, large)) : qsize(skin::sizeOf(*c.picture, large));
            out.append({name, QRect(QPoint(g.left, g.top), s), c.list != nullptr});
            seen.insert(name);
        }
        if (!seen.contains(name) && g.width >= 0 && g.height >= 0)
            out.append({name, QRect(g.left, g.top, g.width, g.height), false});
    }
    return out;
}

// Controls that are neither region buttons nor value icons but must not be covered by one.
bool isWidget(const WindowTable& w, const QString& control) {
    for (const skin::ControlSkin& c : w.controls)
        if (sv(c.control) == control)
            return false;
    return true;
}

}  // namespace

TEST(SkinSizes, EveryListAndPictureOfTheSkinTableHasASizeInBothLayouts) {
    for (bool large : {true, false}) {
        for (const skin::List& l : skin::AllLists)
            EXPECT_TRUE(skin::sizeOf(l, large)) << l.folder << "\\" << l.base;
        for (const skin::Picture& p : skin::AllPictures)
            EXPECT_TRUE(skin::sizeOf(p, large)) << p.folder << "\\" << p.file;
    }
}

TEST(SkinSizes, ButtonsOfAWindowNeitherOverlapNorLeaveIt) {
    for (const WindowTable& w : Windows) {
        for (bool large : {true, false}) {
            const QRect window(QPoint(0, 0), windowSize(w, large));
            const QList<Placed> placed = placedControls(w, large);
            for (const Placed& a : placed) {
                SCOPED_TRACE(std::string(w.name) + " " + LayoutNames[large ? 0 : 1] + " " + a.control.toStdString());
                EXPECT_FALSE(a.rect.isEmpty());
                if (a.button) {
                    EXPECT_TRUE(window.contains(a.rect)) << "leaves its window";
                } else {
                    // Pictures may start above or left of the window where the table puts
                    // them there, but never reach past its far edges.
                    EXPECT_LE(a.rect.right(), window.right());
                    EXPECT_LE(a.rect.bottom(), window.bottom());
                }
                for (const Placed& b : placed) {
                    if (&a == &b || a.control == b.control || !a.button)
                        continue;
                    if (b.button || isWidget(w, b.control)) {
                        EXPECT_FALSE(a.rect.intersects(b.rect)) << "overlaps " << b.control.toStdString();
                    }
                }
            }
        }
    }
}

TEST(SkinSizes, ControlsShowingSeveralListsShowListsOfOneSize) {
    for (const WindowTable& w : Windows)
        for (bool large : {true, false}) {
            std::map<QString, QSize> sizes;
            for (const skin::ControlSkin& c : w.controls) {
                if (!c.list)
                    continue;
                const QSize s = qsize(skin::sizeOf(*c.list, large));
                const auto [it, fresh] = sizes.emplace(sv(c.control), s);
                EXPECT_TRUE(fresh || it->second == s) << w.name << " " << c.control;
            }
        }
}

TEST(SkinSizes, MainMenuButtonsSitOnTheTabAndInTheTitleStrip) {
    for (bool large : {true, false}) {
        const auto& g = large ? layout::MenuLarge : layout::MenuSmall;
        QPolygon outline;
        const QStringList items = sv(g.outline).split(QLatin1Char(','));
        for (qsizetype i = 0; i + 1 < items.size(); i += 2)
            outline << QPoint(items[i].toInt(), items[i + 1].toInt());
        const QRegion region(outline, Qt::WindingFill);
        for (const Placed& p : placedControls(Windows[0], large)) {
            SCOPED_TRACE(p.control.toStdString() + (large ? " large" : " small"));
            if (p.control == QLatin1String("Minimalizace") || p.control == QLatin1String("Quit")) {
                EXPECT_LE(p.rect.bottom() + 1, g.contentDy) << "reaches into the content area";
                EXPECT_GT(p.rect.left(), g.stripDx);
            } else if (p.control != QLatin1String("Plocha")) {
                EXPECT_LE(p.rect.right() + 1, g.contentDx) << "reaches under the content area";
                // The right half of every menu button lies inside the outline.
                EXPECT_TRUE(region.contains(QRect(p.rect.center().x(), p.rect.top() + 4, p.rect.width() / 2 - 1, p.rect.height() - 8)));
            }
        }
    }
}

TEST(SkinSizes, SearchResultButtonStandsBelowItsMessage) {
    for (bool large : {true, false}) {
        const QRect ok = democd::searchOkRect(large);
        const QRect label(layout::VysledkyLabel.left, layout::VysledkyLabel.top, layout::VysledkyLabel.width,
                          layout::VysledkyLabel.height);
        const QRect window(QPoint(0, 0), qsize(skin::sizeOf(skin::HledaniPlocha, large)));
        EXPECT_TRUE(window.contains(ok));
        EXPECT_TRUE(window.contains(label));
        EXPECT_FALSE(ok.intersects(label));
    }
}

// ---------------------------------------------------------------------------------------
// The generated tree.

TEST(DemoCd, GeneratesWithoutAWarning) {
    const Generated& g = demo();
    EXPECT_TRUE(g.ok);
    EXPECT_TRUE(g.warnings.isEmpty()) << g.warnings.join(QLatin1Char('\n')).toStdString();
}

// A CD without its catalogue shows nothing but an error: the build must not pass it off.
TEST(DemoCd, AContainerBuilderThatFailsFailsTheGeneration) {
    QTemporaryDir out;
    QStringList warnings;
    EXPECT_FALSE(democd::writeDemoCd({out.path(), dataDir(), QStringLiteral("/bin/false")}, warnings));
    EXPECT_FALSE(QFile::exists(out.path() + QStringLiteral("/SYSTEM/") + sv(cdfiles::Container)));
    EXPECT_FALSE(warnings.isEmpty());
}

TEST(DemoCd, EverySkinFileOfTheTableExistsAsA24BitBitmapOfItsSize) {
    const Generated& g = cdWith(Skins);
    for (democd::Variant v : democd::AllVariants) {
        const QString root = g.system() + democd::variantFolder(v) + QLatin1Char('/');
        const bool large = democd::isLarge(v);
        const auto check = [&](const std::string& rel, QSize want) {
            QString path = root + QString::fromStdString(rel);
            path.replace(QLatin1Char('\\'), QLatin1Char('/'));
            // The table's own spelling, letter case included.
            ASSERT_TRUE(QFileInfo::exists(path)) << path.toStdString();
            EXPECT_TRUE(isBmp24(bytesOf(path))) << path.toStdString();
            const QImage img = platform::loadPicture(path);
            EXPECT_EQ(img.size(), want) << path.toStdString();
        };
        for (const skin::List& l : skin::AllLists)
            for (int i = 0; i < l.count; ++i)
                check(skin::fileOf(l, i), qsize(skin::sizeOf(l, large)));
        for (const skin::Picture& p : skin::AllPictures)
            check(skin::fileOf(p), qsize(skin::sizeOf(p, large)));
    }
}

TEST(DemoCd, ButtonStatesLookDifferentAndTheVariantsSpeakTheirLanguage) {
    const Generated& g = cdWith(Skins);
    for (democd::Variant v : democd::AllVariants) {
        const QString root = g.system() + democd::variantFolder(v) + QLatin1Char('/');
        for (const skin::List& l : skin::AllLists) {
            QList<QImage> states;
            for (int i = 0; i < l.count; ++i)
                states << QImage(root + QString::fromStdString(skin::fileOf(l, i)).replace(QLatin1Char('\\'), QLatin1Char('/')));
            for (int i = 0; i < states.size(); ++i)
                for (int j = i + 1; j < states.size(); ++j)
                    EXPECT_NE(states[i], states[j]) << l.folder << "\\" << l.base << " pictures " << i << " and " << j;
        }
    }
    // Captions differ by language where the words differ: the install button, for one.
    const auto instal = [&](democd::Variant v) {
        return QImage(g.system() + democd::variantFolder(v) + QStringLiteral("/programy/instal0.bmp"));
    };
    EXPECT_NE(instal(democd::Variant::CzLarge), instal(democd::Variant::SkLarge));
    EXPECT_NE(instal(democd::Variant::CzSmall), instal(democd::Variant::SkSmall));
}

TEST(DemoCd, TheFilesThatTheProgramOpensFromSystemExist) {
    const Generated& g = cdWith(Intro | Sounds | Help | Titles | About | Key);
    QStringList names{sv(cdfiles::ClickSound), sv(cdfiles::IntroPicture), sv(cdfiles::AboutCover),
                      sv(cdfiles::HelpHtml), sv(cdfiles::OtherTitles)};
    for (int n = 1; n <= cdfiles::SongCount; ++n)
        names << sv(cdfiles::SongPrefix) + QString::number(n) + sv(cdfiles::SongSuffix);
    for (const QString& lang : {sv(cdfiles::CzechFolder), sv(cdfiles::SlovakFolder)})
        for (std::string_view page : cdfiles::AboutPages)
            names << sv(cdfiles::AboutFolder) + QLatin1Char('\\') + lang + QLatin1Char('\\') + sv(page);
    for (const QString& n : names)
        EXPECT_TRUE(onCd(g.system(), n)) << n.toStdString();
    EXPECT_TRUE(QFileInfo::exists(g.root() + QLatin1Char('/') + sv(cdfiles::KeyFile)));
    // The intro picture loads; the about window shows it too.
    EXPECT_FALSE(platform::loadPicture(*onCd(g.system(), sv(cdfiles::IntroPicture))).isNull());
}

TEST(DemoCd, EveryPictureOnTheCdLoads) {
    // The skin has its own test; here the pictures of programs, titles and the intro.
    const Generated& g = cdWith(Programs | Titles | Intro);
    int count = 0;
    for (QDirIterator it(g.root(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        const QString ext = platform::lowerExtension(path);
        if (ext == QLatin1String(".bmp") || ext == QLatin1String(".jpg") || ext == QLatin1String(".jpeg")) {
            EXPECT_FALSE(platform::loadPicture(path).isNull()) << path.toStdString();
            ++count;
        } else if (ext == QLatin1String(".png")) {
            EXPECT_FALSE(QImage(path).isNull()) << path.toStdString();
        }
    }
    EXPECT_GT(count, 50);
}

namespace {

struct ProgramCase {
    QString name;
    democd::SourceSection record;
};

QList<ProgramCase> catalogue() {
    const auto ini = democd::SourceIni::load(dataDir() + QStringLiteral("/katalog.ini"));
    QList<ProgramCase> out;
    QSet<QString> seen;
    if (!ini)
        return out;
    for (const QString& section : ini->keys(QStringLiteral("sections")))
        for (const QString& program : ini->keys(section))
            if (!seen.contains(program)) {
                seen.insert(program);
                const democd::SourceSection* s = ini->section(program);
                out.append({program, s ? *s : democd::SourceSection{}});
            }
    return out;
}

}  // namespace

TEST(DemoCd, EveryFileThatTheCatalogueNamesIsThereExceptThoseLeftOutOnPurpose) {
    const Generated& g = cdWith(Programs);
    const auto manifest = democd::SourceIni::load(dataDir() + QStringLiteral("/democd.ini"));
    ASSERT_TRUE(manifest);
    QSet<QString> leftOut;
    for (const QString& k : manifest->keys(QStringLiteral("chybi")))
        leftOut.insert(k.toLower());
    const QList<ProgramCase> programs = catalogue();
    ASSERT_GE(programs.size(), 40);
    int missingSeen = 0;
    for (const ProgramCase& p : programs) {
        SCOPED_TRACE(p.name.toStdString());
        const QString source = p.record.value(QStringLiteral("source"));
        ASSERT_FALSE(source.isEmpty());
        const auto folder = platform::existingDir(g.root(), source);
        ASSERT_TRUE(folder);
        QStringList named{p.record.value(QStringLiteral("run")), p.record.value(QStringLiteral("setup")),
                          p.record.value(QStringLiteral("doc")), p.record.value(QStringLiteral("obr"))};
        for (int i = 1; i <= p.record.value(QStringLiteral("PocetObr")).toInt(); ++i)
            named << p.record.value(QStringLiteral("obr") + QString::number(i));
        for (const QString& file : named) {
            if (file.isEmpty())
                continue;
            QString key = source;
            while (key.endsWith(QLatin1Char('\\')))
                key.chop(1);
            const bool absent = leftOut.contains((key + QLatin1Char('\\') + file).toLower());
            EXPECT_EQ(bool(platform::existingFile(*folder, file)), !absent) << file.toStdString();
            missingSeen += absent;
        }
        for (const char* key : {"run", "setup"}) {
            const QString file = p.record.value(QString::fromLatin1(key));
            if (file.isEmpty())
                continue;
            const QByteArray bytes = bytesOf(*platform::existingFile(*folder, file));
            EXPECT_FALSE(bytes.contains("<!--STYL-->"));
            if (file.endsWith(QLatin1String(".sh"))) {
                EXPECT_TRUE(bytes.startsWith("#!/bin/sh\n")) << file.toStdString();
            } else {
                EXPECT_TRUE(bytes.contains("<script>")) << file.toStdString();
            }
        }
    }
    EXPECT_EQ(missingSeen, leftOut.size());
}

TEST(DemoCd, EachProgramsPictureShowsThatProgramWhicheverSectionListsIt) {
    // A program without a picture of its own would get its section's board or page, alike for
    // all its neighbours: drawn for two sections that look different, it would change.
    int pictured = 0;
    for (const ProgramCase& p : catalogue()) {
        if (p.record.value(QStringLiteral("obr")).isEmpty())
            continue;
        SCOPED_TRACE(p.name.toStdString());
        const QSize size(320, 240);
        EXPECT_TRUE(democd::drawScreenshot(p.name, QStringLiteral("Kancelář"), 0, size) ==
                    democd::drawScreenshot(p.name, QStringLiteral("Programování"), 0, size));
        ++pictured;
    }
    EXPECT_GE(pictured, 40);
}

TEST(DemoCd, CatalogueSourcesCoverTheCasesTheProgramDistinguishes) {
    const QList<ProgramCase> programs = catalogue();
    const auto count = [&](const std::function<bool(const democd::SourceSection&)>& f) {
        return std::count_if(programs.begin(), programs.end(), [&](const ProgramCase& p) { return f(p.record); });
    };
    const auto has = [](const democd::SourceSection& s, const char* k) { return !s.value(QString::fromLatin1(k)).isEmpty(); };
    const auto num = [](const democd::SourceSection& s, const char* k) { return s.value(QString::fromLatin1(k)); };
    EXPECT_GT(count([&](auto& s) { return has(s, "run") && !has(s, "setup"); }), 0);
    EXPECT_GT(count([&](auto& s) { return !has(s, "run") && has(s, "setup"); }), 0);
    EXPECT_GT(count([&](auto& s) { return has(s, "run") && has(s, "setup"); }), 0);
    EXPECT_GT(count([&](auto& s) { return !has(s, "run") && !has(s, "setup"); }), 0);
    EXPECT_GT(count([&](auto& s) { return !has(s, "doc"); }), 0);
    EXPECT_GT(count([&](auto& s) { return has(s, "doc"); }), 0);
    EXPECT_GT(count([&](auto& s) { return !has(s, "WWW"); }), 0);
    EXPECT_GT(count([&](auto& s) { return has(s, "WWW"); }), 0);
    EXPECT_GT(count([&](auto& s) { return !has(s, "Popis"); }), 0);
    EXPECT_GT(count([&](auto& s) { return has(s, "PopisSK"); }), 0);
    EXPECT_GT(count([&](auto& s) { return num(s, "Licence") == QLatin1String("FREEWARE"); }), 0);
    for (const char* licence : {"Freeware", "Shareware", "Public Domain", "Demoverze"})
        EXPECT_GT(count([&](auto& s) { return num(s, "Licence") == QLatin1String(licence); }), 0) << licence;
    for (int r = 0; r <= 6; ++r)
        EXPECT_GT(count([&](auto& s) { return num(s, "Hodnoceni") == QString::number(r); }), 0) << "rating " << r;
    for (int v = 0; v <= 6; ++v)
        EXPECT_GT(count([&](auto& s) { return platform::parseInteger(num(s, "Velikost")) == v; }), 0) << "size " << v;
    EXPECT_GT(count([&](auto& s) { return platform::parseInteger(num(s, "Velikost")).value_or(0) > 6; }), 0);
    for (const char* os : {"win95", "win31", "DOS", "winnt"})
        EXPECT_GT(count([&](auto& s) { return num(s, os) == QLatin1String("1"); }), 0) << os;
    const auto onlyOs = [&](const democd::SourceSection& s, const char* os) {
        for (const char* other : {"win95", "win31", "DOS", "winnt", "linux", "palm"})
            if ((num(s, other) == QLatin1String("1")) != (qstrcmp(other, os) == 0))
                return false;
        return true;
    };
    EXPECT_GT(count([&](auto& s) { return onlyOs(s, "linux"); }), 0);
    EXPECT_GT(count([&](auto& s) { return onlyOs(s, "palm"); }), 0);
    for (const char* ext : {".bmp", ".jpg", ".jpeg", ".png"})
        EXPECT_GT(count([&](auto& s) { return num(s, "obr").endsWith(QLatin1String(ext)); }), 0) << ext;
    EXPECT_GT(count([&](auto& s) { return num(s, "source").endsWith(QLatin1Char('\\')); }), 0);
    EXPECT_GT(count([&](auto& s) { return !num(s, "source").endsWith(QLatin1Char('\\')); }), 0);
    EXPECT_GT(count([&](auto& s) { return has(s, "AppName") && has(s, "UnInstallReg"); }), 0);

    // Sections, and programs listed twice.
    const auto ini = democd::SourceIni::load(dataDir() + QStringLiteral("/katalog.ini"));
    ASSERT_TRUE(ini);
    EXPECT_GE(ini->keys(QStringLiteral("sections")).size(), 8);
    int entries = 0;
    for (const QString& s : ini->keys(QStringLiteral("sections")))
        entries += int(ini->keys(s).size());
    EXPECT_GT(entries, programs.size());
    // Every description file named exists and says something.
    for (const ProgramCase& p : programs) {
        for (const char* key : {"Popis", "PopisSK"}) {
            const QString f = p.record.value(QString::fromLatin1(key));
            if (!f.isEmpty()) {
                EXPECT_GT(bytesOf(dataDir() + QLatin1Char('/') + f).count('\n'), 2) << f.toStdString();
            }
        }
    }
}

TEST(DemoCd, ClickIsAShortPcmWave) {
    const QByteArray w = bytesOf(*onCd(cdWith(Sounds).system(), sv(cdfiles::ClickSound)));
    ASSERT_GE(w.size(), 44);
    EXPECT_TRUE(w.startsWith("RIFF"));
    EXPECT_EQ(w.mid(8, 8), QByteArray("WAVEfmt "));
    EXPECT_EQ(qFromLittleEndian<quint16>(w.constData() + 20), 1);   // PCM
    EXPECT_EQ(qFromLittleEndian<quint16>(w.constData() + 34), 16);  // bits
    const quint32 rate = qFromLittleEndian<quint32>(w.constData() + 24);
    const quint32 data = qFromLittleEndian<quint32>(w.constData() + 40);
    EXPECT_EQ(int(data), w.size() - 44);
    EXPECT_LT(double(data) / (rate * 2), 0.2);
}

namespace {

// What a MIDI player needs of a song: its tracks parse, every note ends, and its length.
struct MidiSummary {
    bool valid = false;
    int tracks = 0;
    double seconds = 0;
    int notes = 0;
    QList<int> melody;  // keys of channel 0 in order
    QSet<int> programs;
};

MidiSummary readMidi(const QByteArray& m) {
    MidiSummary s;
    if (m.size() < 14 || !m.startsWith("MThd") || qFromBigEndian<quint32>(m.constData() + 4) != 6)
        return s;
    const int tracks = qFromBigEndian<quint16>(m.constData() + 10);
    const int division = qFromBigEndian<quint16>(m.constData() + 12);
    qsizetype at = 14;
    std::map<int, int> tempoAt{{0, 500000}};
    int lastTick = 0;
    std::map<int, int> open;
    for (int t = 0; t < tracks; ++t) {
        if (at + 8 > m.size() || m.mid(at, 4) != "MTrk")
            return s;
        const qsizetype end = at + 8 + qFromBigEndian<quint32>(m.constData() + at + 4);
        if (end > m.size())
            return s;
        at += 8;
        int tick = 0;
        bool ended = false;
        uchar status = 0;
        while (at < end && !ended) {
            quint32 delta = 0;
            uchar b;
            do {
                b = uchar(m[at++]);
                delta = (delta << 7) | (b & 0x7f);
            } while ((b & 0x80) && at < end);
            tick += int(delta);
            if (uchar(m[at]) & 0x80)
                status = uchar(m[at++]);
            if (status == 0xff) {
                const uchar type = uchar(m[at++]);
                const int len = uchar(m[at++]);
                if (type == 0x51)
                    tempoAt[tick] = (uchar(m[at]) << 16) | (uchar(m[at + 1]) << 8) | uchar(m[at + 2]);
                ended = type == 0x2f;
                at += len;
            } else {
                const int kind = status & 0xf0, ch = status & 0x0f;
                const int a = uchar(m[at++]);
                const int b2 = (kind == 0xc0 || kind == 0xd0) ? 0 : uchar(m[at++]);
                const int key = ch * 128 + a;
                if (kind == 0x90 && b2 > 0) {
                    ++open[key];
                    ++s.notes;
                    if (ch == 0)
                        s.melody << a;
                } else if (kind == 0x80 || (kind == 0x90 && b2 == 0)) {
                    if (--open[key] < 0)
                        return s;
                } else if (kind == 0xc0) {
                    s.programs.insert(a);
                }
            }
        }
        if (!ended || at != end)
            return s;
        lastTick = std::max(lastTick, tick);
    }
    for (const auto& [key, n] : open)
        if (n != 0)
            return s;
    int prevTick = 0, tempo = 500000;
    for (const auto& [tick, us] : tempoAt) {
        s.seconds += double(tick - prevTick) / division * tempo / 1e6;
        prevTick = tick;
        tempo = us;
    }
    s.seconds += double(lastTick - prevTick) / division * tempo / 1e6;
    s.tracks = tracks;
    s.valid = at == m.size();
    return s;
}

}  // namespace

TEST(DemoCd, SixDifferentSongsOfTwentyToSixtySeconds) {
    QList<MidiSummary> songs;
    for (int n = 1; n <= cdfiles::SongCount; ++n) {
        const auto path = onCd(cdWith(Sounds).system(), sv(cdfiles::SongPrefix) + QString::number(n) + sv(cdfiles::SongSuffix));
        ASSERT_TRUE(path);
        const MidiSummary s = readMidi(bytesOf(*path));
        EXPECT_TRUE(s.valid) << n;
        EXPECT_GE(s.seconds, 20) << n;
        EXPECT_LE(s.seconds, 60) << n;
        EXPECT_NEAR(s.seconds, democd::songSeconds(n), 0.5) << n;
        EXPECT_GT(s.notes, 100) << n;
        songs << s;
    }
    for (int i = 0; i < songs.size(); ++i)
        for (int j = i + 1; j < songs.size(); ++j) {
            EXPECT_NE(songs[i].melody, songs[j].melody) << i + 1 << " and " << j + 1;
            EXPECT_NE(songs[i].programs, songs[j].programs) << i + 1 << " and " << j + 1;
        }
}

TEST(DemoCd, OtherTitlesFileIsWindows1250AndExercisesItsCases) {
    const Generated& g = cdWith(Titles);
    const QString path = *onCd(g.system(), sv(cdfiles::OtherTitles));
    const QByteArray raw = bytesOf(path);
    EXPECT_EQ(platform::toCp1250(platform::fromCp1250(raw)), raw);
    EXPECT_TRUE(platform::fromCp1250(raw).contains(QStringLiteral("Kancelář pro každého")));
    EXPECT_TRUE(raw.contains("\r\n"));

    const platform::ProfileFile ini(path);
    const QStringList titles = ini.readSection(QStringLiteral("section"));
    ASSERT_GE(titles.size(), 6);
    bool narrow = false, wide = false, bmp = false, jpeg = false, noFilev = false, notOrderable = false, outOfRange = false;
    for (const QString& t : titles) {
        SCOPED_TRACE(t.toStdString());
        const QString obr = ini.readString(t, QStringLiteral("obr"));
        const auto cover = onCd(g.system(), obr);
        ASSERT_TRUE(cover);
        const QImage img = platform::loadPicture(*cover);
        narrow |= img.width() < layout::CoverSlotWidth;
        wide |= img.width() > layout::CoverSlotWidth;
        bmp |= obr.endsWith(QLatin1String(".bmp"));
        jpeg |= obr.endsWith(QLatin1String(".jpg")) || obr.endsWith(QLatin1String(".jpeg"));
        // Taller than the room above the order frame would cover it.
        EXPECT_LE(img.height(), 200);
        for (const char* key : {"file", "filev"}) {
            const QString f = ini.readString(t, QString::fromLatin1(key));
            if (f.isEmpty()) {
                noFilev = true;
                continue;
            }
            for (const QString& lang : {sv(cdfiles::CzechFolder), sv(cdfiles::SlovakFolder)})
                EXPECT_TRUE(onCd(g.system(), lang + QLatin1Char('\\') + f)) << f.toStdString();
        }
        notOrderable |= ini.readInteger(t, QStringLiteral("cena"), -1) <= 0;
        for (const auto& [key, strip] : {std::pair{"Pozadavky", skin::DalsiPozad}, std::pair{"CD", skin::DalsiCd},
                                         std::pair{"Data", skin::DalsiVelik}}) {
            const int v = ini.readInteger(t, QString::fromLatin1(key), 0);
            outOfRange |= v < 0 || v >= strip.count;
        }
    }
    EXPECT_TRUE(narrow && wide && bmp && jpeg && noFilev && notOrderable && outOfRange);
    for (const char* key : {"ico", "dic", "Firma", "jmeno", "ulice", "PSC", "mesto", "telef", "fax", "mail", "postovne"})
        EXPECT_FALSE(ini.readString(QStringLiteral("adresa"), QString::fromLatin1(key)).isEmpty()) << key;
    EXPECT_GT(ini.readInteger(QStringLiteral("adresa"), QStringLiteral("postovne"), -1), 0);
}

TEST(DemoCd, RichTextPagesAreAsciiWithTheAccentsEscaped) {
    const Generated& g = cdWith(Titles | About);
    QStringList pages;
    for (QDirIterator it(g.system(), {QStringLiteral("*.rtf")}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        pages << it.next();
    EXPECT_GE(pages.size(), 8 + 2 * 13);
    for (const QString& p : pages) {
        const QByteArray r = bytesOf(p);
        SCOPED_TRACE(p.toStdString());
        EXPECT_TRUE(r.startsWith("{\\rtf1\\ansi\\ansicpg1250"));
        EXPECT_TRUE(std::all_of(r.begin(), r.end(), [](char c) { return uchar(c) < 0x80; }));
        EXPECT_EQ(r.count('{') - r.count("\\{"), r.count('}') - r.count("\\}"));
        EXPECT_TRUE(r.contains("\\'"));
    }
}

// Web and mail addresses name domains reserved for examples (RFC 2606), which belong to
// nobody: the program's own, the CD's sources and what the generator adds to them.
TEST(DemoCd, EveryAddressIsOfAReservedExampleDomain) {
    static const QRegularExpression address(
        QStringLiteral(R"((?:https?|ftp)://(?:[^/@\s]*@)?([A-Za-z0-9.-]+)|[A-Za-z0-9._%+-]+@([A-Za-z0-9-]+(?:\.[A-Za-z0-9-]+)+)|\bwww\.[A-Za-z0-9.-]+)"));
    const auto reserved = [](QString host) {
        host = host.toLower();
        while (host.endsWith(QLatin1Char('.')))
            host.chop(1);
        for (const char* domain : {"example.com", "example.net", "example.org"})
            if (host == QLatin1String(domain) || host.endsWith(QLatin1Char('.') + QLatin1String(domain)))
                return true;
        const QString tld = host.section(QLatin1Char('.'), -1);
        return tld == u"example" || tld == u"invalid" || tld == u"test" || tld == u"localhost";
    };
    const Generated& g = cdWith(Programs | Titles | About | Help);
    QStringList files;
    for (const QString& root : {dataDir(), g.root()})
        for (QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
            files << it.next();
    int found = 0;
    const auto check = [&](const QString& text, const QString& where) {
        for (auto it = address.globalMatch(text); it.hasNext();) {
            const auto m = it.next();
            const QString host = m.captured(1).isEmpty() ? m.captured(2).isEmpty() ? m.captured(0) : m.captured(2)
                                                         : m.captured(1);
            EXPECT_TRUE(reserved(host)) << where.toStdString() << ": " << m.captured(0).toStdString();
            ++found;
        }
    };
    for (const QString& f : files)
        if (!f.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive) && !f.endsWith(QLatin1String(".jpg")))
            check(QString::fromLatin1(bytesOf(f)), f);
    check(PublisherAddress, QStringLiteral("the about window's web button"));
    EXPECT_GT(found, 10);
}

TEST(DemoCd, KeyFileIsLongEnoughForTheKeyAndPlainWindows1250) {
    const QByteArray k = bytesOf(cdWith(Key).root() + QLatin1Char('/') + sv(cdfiles::KeyFile));
    ASSERT_GE(k.size(), democd::KeyOffset + democd::KeyLength);
    EXPECT_LE(democd::KeyLength, 101);
    EXPECT_EQ(platform::toCp1250(platform::fromCp1250(k)), k);
    const QByteArray key = k.mid(democd::KeyOffset, democd::KeyLength);
    EXPECT_GT(QSet<char>(key.begin(), key.end()).size(), 10);
}

// What mapic decodes from the demo CD is its source: every section and key in order (the
// description files replaced by their offsets, the Index keys added), and every entry with
// the text of its description file, in both languages.
TEST(DemoCd, ContainerDecodesToItsSources) {
    ASSERT_FALSE(mapicPath().isEmpty());
    const Generated& g = demo();
    ASSERT_TRUE(onCd(g.system(), sv(cdfiles::Container)));
    const auto source = democd::SourceIni::load(dataDir() + QStringLiteral("/katalog.ini"));
    ASSERT_TRUE(source);
    const auto descriptionOf = [&](const democd::SourceSection* program, bool slovak) {
        QString file = program ? program->value(QStringLiteral("Popis")) : QString();
        if (slovak && program && program->has(QStringLiteral("PopisSK")))
            file = program->value(QStringLiteral("PopisSK"));
        if (file.isEmpty())
            return QJsonArray{QStringLiteral("Bez popisu.")};
        QString text = QString::fromUtf8(bytesOf(dataDir() + QLatin1Char('/') + file));
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        if (text.endsWith(QLatin1Char('\n')))
            text.chop(1);
        QJsonArray lines;
        for (const QString& l : text.split(QLatin1Char('\n')))
            lines.append(l);
        return lines;
    };

    for (const bool slovak : {false, true}) {
        QProcess p;
        QStringList args{QStringLiteral("decode"), g.root()};
        if (slovak)
            args << QStringLiteral("--slovak");
        p.start(mapicPath(), args);
        ASSERT_TRUE(p.waitForFinished(60000));
        ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
        QJsonParseError error;
        const QJsonObject json = QJsonDocument::fromJson(p.readAllStandardOutput(), &error).object();
        ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
        EXPECT_EQ(json.value("title").toString(), source->section("Title")->value("Name"));
        EXPECT_EQ(json.value("slovak").toBool(), slovak);

        const QJsonArray store = json.value("store").toArray();
        ASSERT_EQ(store.size(), source->sections().size());
        for (qsizetype i = 0; i < store.size(); ++i) {
            const democd::SourceSection& want = source->sections()[i];
            const QJsonObject got = store[i].toObject();
            EXPECT_EQ(got.value("section").toString(), want.name);
            QList<std::pair<QString, QString>> keys;
            for (const QJsonValue& k : got.value("keys").toArray()) {
                const QJsonArray pair = k.toArray();
                keys.append({pair[0].toString(), pair[1].toString()});
            }
            // The Index key that loading writes last, then the source's keys in order.
            if (!keys.isEmpty() && keys.back().first == u"Index")
                keys.removeLast();
            ASSERT_EQ(keys.size(), want.keys.size()) << want.name.toStdString();
            for (qsizetype k = 0; k < keys.size(); ++k) {
                const auto& [name, value] = want.keys[k];
                const QString expected = name == u"Popis" ? QStringLiteral("Seek")
                                         : name == u"PopisSK" ? QStringLiteral("SeekSK") : name;
                EXPECT_EQ(keys[k].first, expected) << want.name.toStdString();
                if (expected == name)
                    EXPECT_EQ(keys[k].second, value) << want.name.toStdString() << " " << name.toStdString();
                else {
                    bool number = false;
                    EXPECT_GE(keys[k].second.toLongLong(&number), 0) << want.name.toStdString();
                    EXPECT_TRUE(number) << want.name.toStdString();
                }
            }
        }

        QJsonArray entries;
        for (const QString& section : source->keys(QStringLiteral("sections")))
            for (const QString& program : source->keys(section))
                entries.append(QJsonObject{{"section", section},
                                           {"program", program},
                                           {"description", descriptionOf(source->section(program), slovak)}});
        EXPECT_EQ(json.value("entries").toArray(), entries) << (slovak ? "slovak" : "czech");
    }
}

TEST(DemoCd, CatalogueSourcesSurviveWindows1250) {
    // The container holds Windows-1250 text: a character outside it would come out as "?".
    QStringList files{dataDir() + QStringLiteral("/katalog.ini"), dataDir() + QStringLiteral("/dalsicd.ini")};
    for (QDirIterator it(dataDir(), {QStringLiteral("*.txt")}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        files << it.next();
    for (const QString& f : files) {
        const QString text = QString::fromUtf8(bytesOf(f));
        EXPECT_EQ(platform::fromCp1250(platform::toCp1250(text)), text) << f.toStdString();
    }
}

// ---------------------------------------------------------------------------------------
// Setup and uninstall scripts.

namespace {

struct ScriptRun {
    int exitCode = -1;
    QString output;
};

ScriptRun runScript(const QString& script, const QString& home, const QString& config) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    env.remove(QStringLiteral("XDG_DATA_HOME"));
    env.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("/bin/sh"), {script});
    if (!p.waitForFinished(30000))
        return {};
    return {p.exitCode(), QString::fromUtf8(p.readAll())};
}

// Runs a launcher with a stand-in xdg-open that records its one argument.
QString openedBy(const QString& launcher, const QString& scratch) {
    const QString bin = scratch + QStringLiteral("/bin"), record = scratch + QStringLiteral("/opened");
    QDir().mkpath(bin);
    QFile::remove(record);
    democd::writeBytes(bin + QStringLiteral("/xdg-open"),
                       "#!/bin/sh\nprintf '%s' \"$*\" > \"$RECORD\"\n", true);
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PATH"), bin + QStringLiteral(":/usr/bin:/bin"));
    env.insert(QStringLiteral("RECORD"), record);
    p.setProcessEnvironment(env);
    p.start(launcher, {});
    if (!p.waitForFinished(10000) || p.exitCode() != 0)
        return QStringLiteral("launcher failed");
    return QString::fromUtf8(bytesOf(record));
}

}  // namespace

TEST(DemoCdScripts, SetupRecordsBothKeysBesideOthersAndUninstallRemovesOnlyThem) {
    const Generated& g = cdWith(Programs);
    QTemporaryDir tmp;
    const QString home = tmp.path() + QStringLiteral("/home dir"), config = tmp.path() + QStringLiteral("/config");
    const QString reg = config + QStringLiteral("/katalog/registry.reg");
    QDir().mkpath(config + QStringLiteral("/katalog"));
    {
        QFile f(reg);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        // Another program's entry, and a stale entry of ours spelled in other letter case.
        f.write("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Jiny\\Program]\r\n\"Cesta\"=\"C:\\\\jiny\"\r\n\r\n"
                "[hkey_local_machine\\software\\microsoft\\windows\\currentversion\\app paths\\MINY.HTM]\r\n@=\"stare\"\r\n");
    }
    const QString setup = *platform::existingFile(g.root(), QStringLiteral("PROGRAMY\\HRY\\MINY\\setup.sh"));
    ScriptRun r = runScript(setup, home, config);
    ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();

    const QString installed = home + QStringLiteral("/.local/share/katalog-demo/Miny2000");
    EXPECT_TRUE(QFileInfo::exists(installed + QStringLiteral("/miny.htm")));
    const QString text = QString::fromUtf8(bytesOf(reg));
    EXPECT_TRUE(text.startsWith(QStringLiteral("REGEDIT4\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("[HKEY_LOCAL_MACHINE\\Software\\Jiny\\Program]\n\"Cesta\"=\"C:\\\\jiny\"")));
    EXPECT_FALSE(text.contains(QStringLiteral("stare")));
    EXPECT_TRUE(text.contains(QStringLiteral("[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\miny.htm]\n@=\"") +
                              installed + QStringLiteral("/spustit.sh\"\n")));
    // The registered command opens the installed page in the browser.
    EXPECT_EQ(openedBy(installed + QStringLiteral("/spustit.sh"), tmp.path()), installed + QStringLiteral("/miny.htm"));
    EXPECT_TRUE(text.contains(QStringLiteral("[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Miny2000]\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("\"UnInstallString\"=\"") + installed + QStringLiteral("/odinstaluj.sh\"")));

    // Installing again leaves one entry of each.
    ASSERT_EQ(runScript(setup, home, config).exitCode, 0);
    EXPECT_EQ(QString::fromUtf8(bytesOf(reg)).count(QStringLiteral("App Paths\\miny.htm]")), 1);

    r = runScript(installed + QStringLiteral("/odinstaluj.sh"), home, config);
    ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
    EXPECT_FALSE(QFileInfo::exists(installed));
    EXPECT_TRUE(QFileInfo::exists(home + QStringLiteral("/.local/share/katalog-demo")));
    const QString after = QString::fromUtf8(bytesOf(reg));
    EXPECT_FALSE(after.contains(QStringLiteral("Miny2000"), Qt::CaseInsensitive));
    EXPECT_FALSE(after.contains(QStringLiteral("miny.htm"), Qt::CaseInsensitive));
    EXPECT_TRUE(after.contains(QStringLiteral("[HKEY_LOCAL_MACHINE\\Software\\Jiny\\Program]")));
}

TEST(DemoCdScripts, ValuesWithShellCharactersReachTheRegistryUnharmed) {
    QTemporaryDir tmp;
    const QString folder = tmp.path() + QStringLiteral("/cd");
    const QString title = QStringLiteral("Jan's \"hra\" $(touch VYKONANO) `touch VYKONANO` \\ *");
    const QString app = QStringLiteral("hra $x.htm");
    ASSERT_TRUE(democd::writeBytes(folder + QLatin1Char('/') + app, "<html></html>"));
    ASSERT_TRUE(democd::writeBytes(folder + QStringLiteral("/setup.sh"), democd::setupScript(title, app, QStringLiteral("Hra"), {app})));
    ASSERT_TRUE(democd::writeBytes(folder + QStringLiteral("/odinstaluj.sh"), democd::uninstallScript(title, app, QStringLiteral("Hra"))));
    const QString home = tmp.path() + QStringLiteral("/home"), config = tmp.path() + QStringLiteral("/config");
    const ScriptRun r = runScript(folder + QStringLiteral("/setup.sh"), home, config);
    ASSERT_EQ(r.exitCode, 0) << r.output.toStdString();
    const QString text = QString::fromUtf8(bytesOf(config + QStringLiteral("/katalog/registry.reg")));
    EXPECT_TRUE(text.contains(QStringLiteral("\"DisplayName\"=\"Jan's \\\"hra\\\" $(touch VYKONANO) `touch VYKONANO` \\\\ *\"")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("App Paths\\hra $x.htm]")));
    EXPECT_TRUE(QFileInfo::exists(home + QStringLiteral("/.local/share/katalog-demo/Hra/hra $x.htm")));
    const QString installed = home + QStringLiteral("/.local/share/katalog-demo/Hra");
    EXPECT_EQ(openedBy(installed + QStringLiteral("/spustit.sh"), tmp.path()), installed + QStringLiteral("/hra $x.htm"));
    QDirIterator it(tmp.path(), {QStringLiteral("VYKONANO")}, QDir::Files, QDirIterator::Subdirectories);
    EXPECT_FALSE(it.hasNext());
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("VYKONANO")));
}

TEST(DemoCdScripts, ShellQuotingRoundTrips) {
    for (const QString& s : {QString(), QStringLiteral("a b"), QStringLiteral("it's"), QStringLiteral("$HOME `x` \"q\" \\ \n end"),
                             QStringLiteral("''''"), QStringLiteral("Čistič disku")}) {
        QProcess p;
        p.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("printf %s ") + democd::shQuote(s)});
        ASSERT_TRUE(p.waitForFinished(10000));
        EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()), s);
    }
}

// ---------------------------------------------------------------------------------------
// Rich text and the large catalogues.

TEST(DemoCdRtf, MarkupBecomesRtf) {
    struct Case {
        const char* markup;
        const char* contains;
    };
    const Case cases[] = {
        {"# Nadpis", "\\fs32\\b\\cf2 Nadpis\\b0"},
        {"## Podnadpis", "\\fs24\\b\\cf3 Podnadpis\\b0"},
        {"- položka", "\\'95}\\tab polo\\'9eka\\par"},
        {"**tučně** a *kurzívou*", "{\\b tu\\'e8n\\'ec} a {\\i kurz\\'edvou}"},
        {"!!pozor!!", "{\\cf4\\b pozor}"},
        {"{závorky} a \\", "\\{z\\'e1vorky\\} a \\\\"},
        {"€ a ☺", "\\'80 a \\u9786?"},
        {"Žluťoučký", "\\'8elu\\'9dou\\'e8k\\'fd"},
    };
    for (const Case& c : cases) {
        const QByteArray rtf = democd::markupToRtf(QString::fromUtf8(c.markup));
        EXPECT_TRUE(rtf.contains(c.contains)) << c.markup << "\n" << rtf.toStdString();
        EXPECT_TRUE(rtf.endsWith("}\r\n"));
    }
}

TEST(DemoCdLarge, AThousandEntriesWithDescriptionsOfAboutTwoKilobytes) {
    QTemporaryDir out;
    QStringList warnings;
    // Without mapic there is no container, but the sources and the key file are complete.
    EXPECT_FALSE(democd::writeLargeCatalogue(out.path(), 1000, QString(), warnings));
    const auto ini = democd::SourceIni::load(out.path() + QStringLiteral("/zdroj/katalog.ini"));
    ASSERT_TRUE(ini);
    int entries = 0;
    for (const QString& s : ini->keys(QStringLiteral("sections")))
        entries += int(ini->keys(s).size());
    EXPECT_EQ(entries, 1000);
    for (const QString& name : {QStringLiteral("Program 0001"), QStringLiteral("Program 0500"), QStringLiteral("Program 1000")}) {
        const democd::SourceSection* p = ini->section(name);
        ASSERT_TRUE(p) << name.toStdString();
        const qsizetype size = bytesOf(out.path() + QStringLiteral("/zdroj/") + p->value(QStringLiteral("Popis"))).size();
        EXPECT_GE(size, 1800);
        EXPECT_LE(size, 2600);
    }
    EXPECT_TRUE(QFileInfo::exists(out.path() + QLatin1Char('/') + sv(cdfiles::KeyFile)));
}

// ---------------------------------------------------------------------------------------
// Autorun: the program on the CD first, then an installed one, always given the CD root.

TEST(DemoCdAutorun, StartsTheCdsProgramOrAnInstalledOneOnTheCdRoot) {
    struct Case {
        const char* name;
        bool onCd, installed;
        int exitCode;
        const char* startedBy;  // which stand-in ran, "" for none
    };
    const Case cases[] = {
        {"program on the CD", true, true, 0, "cd"},
        {"installed program only", false, true, 0, "installed"},
        {"neither", false, false, 1, ""},
    };
    for (const Case& c : cases) {
        QTemporaryDir tmp;
        const QString root = tmp.path() + QStringLiteral("/CD ROOT"), bin = tmp.path() + QStringLiteral("/bin");
        const QString record = tmp.path() + QStringLiteral("/record");
        ASSERT_TRUE(democd::writeAutorun(root));
        EXPECT_TRUE(QFileInfo(root + QStringLiteral("/autorun.sh")).isExecutable());
        const auto standIn = [&](const QString& path, const char* who) {
            ASSERT_TRUE(democd::writeBytes(path, QByteArray("#!/bin/sh\nprintf '%s|%s' ") + who + " \"$*\" > \"$RECORD\"\n", true));
        };
        if (c.onCd)
            standIn(root + QStringLiteral("/katalog"), "cd");
        QDir().mkpath(bin);
        if (c.installed)
            standIn(bin + QStringLiteral("/katalog"), "installed");
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PATH"), bin + QStringLiteral(":/usr/bin:/bin"));
        env.insert(QStringLiteral("RECORD"), record);
        p.setProcessEnvironment(env);
        // Started from elsewhere, as a desktop does.
        p.setWorkingDirectory(QDir::tempPath());
        p.start(root + QStringLiteral("/autorun.sh"), {});
        ASSERT_TRUE(p.waitForFinished(10000)) << c.name;
        EXPECT_EQ(p.exitCode(), c.exitCode) << c.name;
        const QString expected = *c.startedBy ? QString::fromLatin1(c.startedBy) + QLatin1Char('|') + root : QString();
        EXPECT_EQ(QString::fromUtf8(bytesOf(record)), expected) << c.name;
    }
}

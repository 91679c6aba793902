#include "catalogue/CatalogueJson.h"
#include "catalogue/CatalogueLoader.h"
#include "catalogue/ContainerBuilder.h"
#include "platform/Codec.h"
#include "tests/support/CdImages.h"
#include "tests/support/TestCd.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

using namespace katalog;
using namespace Qt::StringLiterals;
using testing_support::readFile;
using testing_support::writeFile;

namespace {

const QByteArray KeyFile = "Tento soubor nese klic katalogu a nic jineho; neupravovat.\r\n";

const QString Source = uR"(; Zdrojový katalog
[Title]
Name = Zlatá "kolekce" \5
[sections]
Hry=
Utility=

[Hry]
Kostky=
[Utility]
Kalkulačka=
Kostky=
[Kalkulačka]
run=kalk.exe
Popis=popisy/kalk.txt
PopisSK = popisy\kalk_sk.txt
Hodnoceni = 0x4
poznámka bez rovnítka
[Kostky]
popis=popisy/kostky.txt
)"_s;

const QString Kalk = u"Sčítá a odčítá.\nUmí i \"procenta\"\\\t.\n"_s;
const QString KalkSk = u"Sčíta a odčíta.\r\nVie aj percentá.\r\n"_s;
const QString Kostky = u"Hod kostkou.\rŽádná pravidla."_s;

QJsonValue keys(std::initializer_list<std::pair<QString, QString>> pairs) {
    QJsonArray out;
    for (const auto& [name, value] : pairs)
        out.append(QJsonArray{name, value});
    return out;
}

QJsonObject section(const QString& name, QJsonValue lines) {
    return QJsonObject{{"section", name}, {"keys", lines}};
}

QJsonObject entry(const QString& s, const QString& p, const QStringList& lines) {
    return QJsonObject{{"section", s}, {"program", p}, {"description", QJsonArray::fromStringList(lines)}};
}

QString blockEnd(const QString& text, qint64 start) {
    return QString::number(start + 4 + 2 * platform::toCp1250(text).size());
}

// What decoding the source gives back: Popis lines turned into offsets, Index keys added.
QJsonObject expectedDump(bool slovak) {
    const QString seekSk = blockEnd(Kalk, 0);
    const QString seekKostky = blockEnd(KalkSk, seekSk.toLongLong());
    const QStringList kalk = slovak ? QStringList{u"Sčíta a odčíta."_s, u"Vie aj percentá."_s}
                                    : QStringList{u"Sčítá a odčítá."_s, u"Umí i \"procenta\"\\\t."_s};
    const QStringList kostky = {u"Hod kostkou."_s, u"Žádná pravidla."_s};
    return QJsonObject{
        {"title", u"Zlatá \"kolekce\" \\5"_s},
        {"slovak", slovak},
        {"sections", QJsonArray{"Hry", "Utility"}},
        {"store",
         QJsonArray{
             section("Title", keys({{"Name", u"Zlatá \"kolekce\" \\5"_s}})),
             section("sections", keys({{"Hry", ""}, {"Utility", ""}})),
             section("Hry", keys({{"Kostky", ""}})),
             section("Utility", keys({{u"Kalkulačka"_s, ""}, {"Kostky", ""}})),
             section(u"Kalkulačka"_s, keys({{"run", "kalk.exe"},
                                           {"Seek", "0"},
                                           {"SeekSK", seekSk},
                                           {"Hodnoceni", "0x4"},
                                           {"", ""},
                                           {"Index", "1"}})),
             section("Kostky", keys({{"Seek", seekKostky}, {"Index", "2"}})),
         }},
        {"entries", QJsonArray{entry("Hry", "Kostky", kostky),
                               entry("Utility", u"Kalkulačka"_s, kalk),
                               entry("Utility", "Kostky", kostky)}},
    };
}

}  // namespace

class MapicTest : public testing_support::TestCd {
protected:
    void SetUp() override {
        TestCd::SetUp();
        writeFile(src("katalog.ini"), Source.toUtf8());
        writeFile(src("popisy/kalk.txt"), Kalk.toUtf8());
        writeFile(src("popisy/kalk_sk.txt"), "\xEF\xBB\xBF" + KalkSk.toUtf8());  // with a BOM
        writeFile(src("popisy/kostky.txt"), Kostky.toUtf8());
        writeFile(cdFile("CTIMNE.TXT"), KeyFile);
    }
    QString src(const QString& rel) const { return configHome() + "/src/" + rel; }

    QByteArray loadJson(bool slovak) {
        CatalogueStore store;
        DescriptionTable descriptions;
        CatalogueLoader loader(store, descriptions);
        if (!loader.FullDecrypt(cdRoot() + '/', cdRoot() + "/SYSTEM/", slovak))
            return {};
        return catalogueJson(store, loader.entries(), descriptions, slovak);
    }
    QJsonObject loadDump(bool slovak) { return QJsonDocument::fromJson(loadJson(slovak)).object(); }

    struct Run {
        int code;
        QByteArray out;
        QByteArray err;
    };
    Run mapic(const QStringList& args) {
        QProcess p;
        p.start(QStringLiteral(KATALOG_BINARY_DIR "/tools/mapic/mapic"), args);
        if (!p.waitForFinished(30000))
            return {-1, {}, {}};
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
                p.readAllStandardError()};
    }
    QStringList buildArgs(const QString& offset = "7", const QString& length = "23") {
        return {"build", src("katalog.ini"), "--key-file", cdFile("CTIMNE.TXT"), "--key-offset",
                offset, "--key-length", length, "-o", cdFile("SYSTEM/MAP.PIC")};
    }
};

TEST_F(MapicTest, DecodingABuiltContainerGivesBackTheSource) {
    auto builder = ContainerBuilder::fromKeyFile(KeyFile, 7, 23);
    ASSERT_TRUE(builder);
    const auto result = buildFromSource(src("katalog.ini"), *builder);
    ASSERT_TRUE(result.error.isEmpty()) << result.error.toStdString();
    writeFile(cdFile("SYSTEM/MAP.PIC"), result.container);
    EXPECT_EQ(loadDump(false), expectedDump(false));
    EXPECT_EQ(loadDump(true), expectedDump(true));
}

TEST_F(MapicTest, TheToolBuildsAndDecodesLikeTheProgram) {
    const Run built = mapic(buildArgs());
    ASSERT_EQ(built.code, 0) << built.err.constData();
    for (const bool slovak : {false, true}) {
        QStringList args{"decode", cdRoot()};
        if (slovak)
            args << "--slovak";
        const Run decoded = mapic(args);
        ASSERT_EQ(decoded.code, 0) << decoded.err.constData();
        QJsonParseError error;
        const auto json = QJsonDocument::fromJson(decoded.out, &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << decoded.out.constData();
        EXPECT_EQ(json.object(), expectedDump(slovak));
        EXPECT_EQ(decoded.out, loadJson(slovak));
    }
    // Straight from an image of the CD, as an .iso with the oldest names and as a raw .bin.
    const QString iso = configHome() + "/cd.iso";
    testing_support::makeIso(cdRoot(), iso, {"--norock", "-iso-level", "1"});
    writeFile(configHome() + "/cd.bin", testing_support::rawSectors(readFile(iso), 1));
    for (const QString& image : {iso, configHome() + "/cd.bin"}) {
        const Run decoded = mapic({"decode", image, "--slovak"});
        ASSERT_EQ(decoded.code, 0) << decoded.err.constData();
        EXPECT_EQ(decoded.out, loadJson(true)) << image.toStdString();
    }
    // The key really scrambles the text: no plain catalogue text in the container.
    EXPECT_FALSE(readFile(cdFile("SYSTEM/MAP.PIC")).contains(QByteArray("kalk.exe").toHex().toUpper()));
}

TEST_F(MapicTest, BadUseAndBadInputEndWithAnError) {
    struct Case {
        const char* what;
        QStringList args;
        int code;
    };
    const Case cases[] = {
        {"nothing", {}, 1},
        {"unknown command", {"encode", cdRoot()}, 1},
        {"decode without root", {"decode"}, 1},
        {"decode with a stray option", {"decode", cdRoot(), "--czech"}, 1},
        {"decode of no folder", {"decode", cdFile("nothing")}, 1},
        {"decode of a file that is no image", {"decode", configHome() + "/src/katalog.ini"}, 2},
        {"decode of a CD without container", {"decode", cdRoot()}, 2},
        {"build without output", buildArgs().mid(0, 8), 1},
        {"build with a bad number", buildArgs("seven"), 1},
        {"build with a negative offset", buildArgs("-1"), 2},
        {"build with a key past the file", buildArgs("50", "20"), 2},
        {"build with a key of 102 bytes", buildArgs("0", "102"), 2},
    };
    for (const Case& c : cases) {
        const Run r = mapic(c.args);
        EXPECT_EQ(r.code, c.code) << c.what;
        EXPECT_FALSE(r.err.isEmpty()) << c.what;
        EXPECT_TRUE(r.out.isEmpty()) << c.what;
    }
    EXPECT_FALSE(QFile::exists(cdFile("SYSTEM/MAP.PIC")));

    writeFile(cdFile("SYSTEM/MAP.PIC"), "BRPIC and nothing else");
    const Run damaged = mapic({"decode", cdRoot()});
    EXPECT_EQ(damaged.code, 2);
    EXPECT_EQ(QString::fromUtf8(damaged.err).trimmed(),
              u"Datový soubor byl narušen, aplikace bude ukončena!"_s);
}

TEST_F(MapicTest, SourcesThatCannotBeBuiltAreRefused) {
    struct Case {
        const char* what;
        QByteArray source;
    };
    const Case cases[] = {
        {"missing description", "[sections]\n[P]\nPopis=nowhere.txt\n"},
        {"empty description name", "[sections]\n[P]\nPopisSK=\n"},
        {"character outside Windows-1250", u"[Title]\nName=Šipka →\n"_s.toUtf8()},
        {"not UTF-8", "[Title]\nName=\xE8\x9A\n"},
    };
    for (const Case& c : cases) {
        writeFile(src("bad.ini"), c.source);
        const auto result = buildFromSource(src("bad.ini"), ContainerBuilder(0, "k"));
        EXPECT_TRUE(result.container.isEmpty()) << c.what;
        EXPECT_FALSE(result.error.isEmpty()) << c.what;
    }
    writeFile(src("popisy/arrow.txt"), u"→"_s.toUtf8());
    writeFile(src("bad.ini"), "[P]\nPopis=popisy/arrow.txt\n");
    EXPECT_FALSE(buildFromSource(src("bad.ini"), ContainerBuilder(0, "k")).error.isEmpty());
}

TEST_F(MapicTest, CategoryKeysNamedPopisAreNotDescriptions) {
    // A program called "Popis" listed in a category stays a listing.
    writeFile(src("cat.ini"),
              u"[sections]\nNástroje=\n[Nástroje]\nPopis=\nKalk=\n[Kalk]\nPopis=popisy/kalk.txt\n"_s
                  .toUtf8());
    const auto result = buildFromSource(src("cat.ini"), ContainerBuilder(0, {}));
    ASSERT_TRUE(result.error.isEmpty()) << result.error.toStdString();
    writeFile(cdFile("SYSTEM/MAP.PIC"), result.container);
    writeFile(cdFile("CTIMNE.TXT"), {});
    const QJsonArray store = loadDump(false)["store"].toArray();
    const QJsonArray expected{
        section("sections", keys({{u"Nástroje"_s, ""}})),
        section(u"Nástroje"_s, keys({{"Popis", ""}, {"Kalk", ""}})),
        section("Kalk", keys({{"Seek", "0"}, {"Index", "1"}})),
        section("Popis", keys({{"Index", "0"}})),
    };
    EXPECT_EQ(store, expected);
}

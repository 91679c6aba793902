#include "catalogue/CatalogueStore.h"

#include "platform/Codec.h"

#include <gtest/gtest.h>

#include <optional>

using namespace katalog;
using namespace Qt::StringLiterals;

namespace {

CatalogueStore storeOf(QStringView text) {
    CatalogueStore store;
    store.load(platform::toCp1250(text));
    return store;
}

CatalogueStore storeOfBytes(const QByteArray& bytes) {
    CatalogueStore store;
    store.load(bytes);
    return store;
}

struct Dump {
    QString section;
    QList<std::pair<QString, QString>> keys;
    friend bool operator==(const Dump&, const Dump&) = default;
};

QList<Dump> dump(const CatalogueStore& store) {
    QList<Dump> out;
    for (const auto& s : store.sections()) {
        Dump d{s.name, {}};
        for (const auto& line : s.lines)
            d.keys.append({line.name, line.value});
        out.append(d);
    }
    return out;
}

void PrintTo(const Dump& d, std::ostream* os) {
    *os << "[" << d.section.toStdString() << "]";
    for (const auto& [k, v] : d.keys)
        *os << " " << k.toStdString() << "=" << v.toStdString();
}

}  // namespace

TEST(CatalogueStore, SplitsLinesAtEveryKindOfLineEnd) {
    const auto store = storeOfBytes("[a]\r\nx=1\ry=2\nz=3\r\n\n\r\rw=4");
    EXPECT_EQ(store.ReadSection("a"), QStringList({"x", "y", "z", "w"}));
    EXPECT_EQ(store.ReadString("a", "w", "-"), "4");
}

TEST(CatalogueStore, AZeroByteEndsTheText) {
    const auto store = storeOfBytes(QByteArray("[a]\nx=1\0\ny=2\n[b]\nz=3", 20));
    EXPECT_EQ(dump(store), QList<Dump>({{"a", {{"x", "1"}}}}));
}

TEST(CatalogueStore, FollowsTheDialectLineByLine) {
    // Trimming takes codes 0-32 at both ends and nothing else: a no-break space (0xA0) stays.
    const auto store = storeOfBytes(
        "x=before any section\r\n"
        "; a comment\r\n"
        "\t [ Hry ] \x01\r\n"
        "  ;indented comment=1\r\n"
        "\x1f name \t=\t value with = sign \x0b\r\n"
        "line without sign\r\n"
        "=no name\r\n"
        "empty=\r\n"
        "nbsp=\xA0x\xA0\r\n"
        "[\r\n"
        "[]\r\n"
        "k=v\r\n"
        "[a=b]\r\n");
    const QList<Dump> expected = {
        {"Hry",
         {{"name", "value with = sign"},
          {"", ""},
          {"", "no name"},
          {"empty", ""},
          {"nbsp", u"\u00a0x\u00a0"_s},
          {"", ""}}},
        {"", {{"k", "v"}}},
        {"a=b", {}},
    };
    EXPECT_EQ(dump(store), expected);
    EXPECT_EQ(store.ReadSection("hry"), QStringList({"name", "", "", "empty", "nbsp", ""}));
    EXPECT_EQ(store.ReadString("Hry", "empty", "dflt"), "");  // present but empty
}

TEST(CatalogueStore, NamesMatchWithoutRegardToCaseAccentsIncluded) {
    const auto store = storeOf(u"[Žluťoučký Kůň]\r\nHODNOCENÍ=5\r\nVelikost = 3\r\nDOS=1\r\n");
    EXPECT_EQ(store.ReadInteger(u"žluťoučký kůň"_s, u"Hodnocení"_s, -1), 5);
    EXPECT_EQ(store.ReadInteger(u"ŽLUŤOUČKÝ KŮŇ"_s, "velikost", -1), 3);
    EXPECT_EQ(store.ReadInteger(u"Žluťoučký Kůň"_s, "dos", -1), 1);
    // Otherwise compared exactly: no accent folding, no inner-space folding.
    EXPECT_EQ(store.ReadInteger(u"Zlutoucky Kun"_s, "DOS", -1), -1);
    EXPECT_EQ(store.ReadInteger(u"Žluťoučký  Kůň"_s, "DOS", -1), -1);
    EXPECT_EQ(store.ReadInteger(u"Žluťoučký Kůň"_s, u"Hodnoceni"_s, -1), -1);
}

TEST(CatalogueStore, MissingSectionsAndKeysGiveTheDefault) {
    const auto store = storeOf(u"[p]\r\nrun=a.exe\r\n");
    EXPECT_EQ(store.ReadString("p", "run", {}), "a.exe");
    EXPECT_EQ(store.ReadString("p", "setup", "dflt"), "dflt");
    EXPECT_EQ(store.ReadString("q", "run", "dflt"), "dflt");
    EXPECT_EQ(store.ReadInteger("q", "run", -7), -7);
    EXPECT_TRUE(store.ReadSection("q").isEmpty());
}

TEST(CatalogueStore, IntegersAreDecimalOrHexElseTheDefault) {
    struct Case {
        const char* value;
        std::optional<int> expected;  // nullopt: the default
    };
    const Case cases[] = {
        {"16", 16},        {"0x10", 16},      {"0X1f", 31},      {"$10", 16},
        {"$ff", 255},      {"-5", -5},        {"+5", 5},         {"0", 0},
        {"007", 7},        {"-1", -1},        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"abc", {}},       {"", {}},          {"12 3", {}},      {"0x", {}},
        {"$", {}},         {"1.5", {}},       {"5x", {}},        {"0xG", {}},
        {"--5", {}},       {"-", {}},         {"\xA0" "5", {}},  {"99999999999", {}},
    };
    for (const Case& c : cases) {
        const auto store = storeOfBytes(QByteArray("[s]\r\nk = ") + c.value + " \r\n");
        EXPECT_EQ(store.ReadInteger("s", "K", -99), c.expected.value_or(-99)) << c.value;
    }
}

TEST(CatalogueStore, WriteIntegerReplacesOrAppendsInPlace) {
    auto store = storeOf(u"[a]\r\nIndex=7\r\nx=1\r\n[b]\r\ny=2\r\n");
    store.WriteInteger("A", "INDEX", 3);    // replaced where it stands, name kept
    store.WriteInteger("b", "Index", 4);    // appended to its section
    store.WriteInteger(u"Nový"_s, "Index", 5);  // new section after the last one
    store.WriteInteger(u"NOVÝ"_s, "index", 6);
    const QList<Dump> expected = {
        {"a", {{"Index", "3"}, {"x", "1"}}},
        {"b", {{"y", "2"}, {"Index", "4"}}},
        {u"Nový"_s, {{"Index", "6"}}},
    };
    EXPECT_EQ(dump(store), expected);
    EXPECT_EQ(store.ReadInteger(u"nový"_s, "INDEX", -1), 6);
    EXPECT_EQ(store.ReadSection("b"), QStringList({"y", "Index"}));
}

TEST(CatalogueStore, DuplicatesAreKeptAndTheFirstAnswers) {
    auto store = storeOf(u"[p]\r\nk=1\r\nK=2\r\n[P]\r\nk=3\r\nj=4\r\n");
    EXPECT_EQ(store.sections().size(), 2);
    EXPECT_EQ(store.ReadInteger("p", "k", -1), 1);
    EXPECT_EQ(store.ReadInteger("p", "j", -1), -1);
    EXPECT_EQ(store.ReadSection("P"), QStringList({"k", "K"}));
    store.WriteInteger("P", "K", 9);
    EXPECT_EQ(dump(store)[0].keys, (QList<std::pair<QString, QString>>{{"k", "9"}, {"K", "2"}}));
}

TEST(CatalogueStore, LoadingReplacesEverything) {
    auto store = storeOf(u"[a]\r\nx=1\r\n");
    store.load(platform::toCp1250(u"[b]\r\ny=2\r\n"));
    EXPECT_TRUE(store.ReadSection("a").isEmpty());
    EXPECT_EQ(store.ReadInteger("b", "y", -1), 2);
    store.load({});
    EXPECT_TRUE(store.sections().isEmpty());
}

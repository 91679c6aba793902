#include "catalogue/CatalogueLoader.h"

#include "catalogue/ContainerBuilder.h"
#include "platform/Codec.h"
#include "tests/support/TestCd.h"

#include <QBuffer>
#include <QtEndian>

using namespace katalog;
using namespace Qt::StringLiterals;
using testing_support::writeFile;

namespace {

const QByteArray KeyFile = "Vložte prosím CD do mechaniky; tento soubor je součástí titulu.";
constexpr qint32 KeyOffset = 9;
constexpr qint32 KeyLength = 13;

QByteArray cp(const QString& text) { return platform::toCp1250(text); }

}  // namespace

class CatalogueLoaderTest : public testing_support::TestCd {
protected:
    ContainerBuilder builder() const {
        return *ContainerBuilder::fromKeyFile(KeyFile, KeyOffset, KeyLength);
    }
    void install(const QByteArray& container, const QByteArray& keyFile = KeyFile) {
        writeFile(cdFile("SYSTEM/MAP.PIC"), container);
        writeFile(cdFile("CTIMNE.TXT"), keyFile);
    }
    bool load(bool slovak = false) {
        return loader.FullDecrypt(cdRoot() + '/', cdRoot() + "/SYSTEM/", slovak);
    }
    QStringList description(const QString& program) const {
        return descriptions.lines(store.ReadInteger(program, "Index", -1));
    }

    CatalogueStore store;
    DescriptionTable descriptions;
    CatalogueLoader loader{store, descriptions};
};

TEST_F(CatalogueLoaderTest, LoadsStoreEntriesAndDescriptions) {
    auto b = builder();
    const qint32 kalk = b.addDescription(cp(u"Kalkulačka.\r\nPočítá.\r\n"_s));
    const qint32 hra = b.addDescription(cp(u"Hra s kostkami"_s));
    install(b.build(cp(u"[Title]\r\nName=Zlatá kolekce 5\r\n"
                       "[sections]\r\nUtility=\r\nHry=\r\n"
                       "[Hry]\r\nKostky=\r\n"
                       "[Utility]\r\nKalkulačka=\r\n"
                       "[Kalkulačka]\r\nrun=kalk.exe\r\nSeek=%1\r\n"
                       "[Kostky]\r\nSeek=%2\r\nIndex=99\r\n"_s.arg(kalk).arg(hra))));
    ASSERT_TRUE(load());
    EXPECT_EQ(store.ReadString("Title", "Name", {}), u"Zlatá kolekce 5"_s);
    EXPECT_EQ(loader.entries(), QList<ProgramEntry>({{"Utility", u"Kalkulačka"_s},
                                                     {"Hry", "Kostky"}}));
    EXPECT_EQ(loader.CatalogueKey(), KeyFile.mid(KeyOffset, KeyLength));
    EXPECT_EQ(store.ReadInteger(u"kalkulačka"_s, "index", -1), 0);
    EXPECT_EQ(store.ReadInteger("Kostky", "Index", -1), 1);  // the container's 99 overwritten
    EXPECT_EQ(description(u"Kalkulačka"_s), QStringList({u"Kalkulačka."_s, u"Počítá."_s}));
    EXPECT_EQ(description("Kostky"), QStringList({"Hra s kostkami"}));
    EXPECT_EQ(descriptions.size(), 2);
}

TEST_F(CatalogueLoaderTest, FileNamesMatchWithoutRegardToCase) {
    auto b = builder();
    writeFile(cdFile("system/map.pic"), b.build("[Title]\r\nName=T\r\n"));
    writeFile(cdFile("Ctimne.txt"), KeyFile);
    ASSERT_TRUE(loader.FullDecrypt(cdRoot() + '/', cdRoot() + "/system/", false));
    EXPECT_EQ(store.ReadString("title", "name", {}), "T");
}

TEST_F(CatalogueLoaderTest, ProgramInTwoSectionsShowsTheLaterSlot) {
    auto b = builder();
    const qint32 d = b.addDescription("Editor");
    install(b.build(cp(u"[sections]\r\nA=\r\nB=\r\n[A]\r\nEd=\r\nX=\r\n[B]\r\nEd=\r\n"
                       "[Ed]\r\nSeek=%1\r\n"_s.arg(d))));
    ASSERT_TRUE(load());
    EXPECT_EQ(loader.entries(),
              QList<ProgramEntry>({{"A", "Ed"}, {"A", "X"}, {"B", "Ed"}}));
    EXPECT_EQ(store.ReadInteger("Ed", "Index", -1), 2);
    EXPECT_EQ(descriptions.lines(0), QStringList({"Editor"}));
    EXPECT_EQ(descriptions.lines(2), QStringList({"Editor"}));
    // X has no section of its own: it still gets a slot, and its Index creates the section.
    EXPECT_EQ(descriptions.lines(1), QStringList({"Bez popisu."}));
    EXPECT_EQ(store.ReadSection("X"), QStringList({"Index"}));
    EXPECT_EQ(store.sections().last().name, "X");
}

TEST_F(CatalogueLoaderTest, LanguageChoosesTheOffset) {
    auto b = builder();
    const qint32 cz = b.addDescription("cesky");
    const qint32 sk = b.addDescription("slovensky");
    const QString catalogue =
        u"[sections]\r\nS=\r\n[S]\r\nBoth=\r\nCzechOnly=\r\nSlovakOnly=\r\nBadSK=\r\n"
        "[Both]\r\nSeek=%1\r\nSeekSK=%2\r\n[CzechOnly]\r\nSeek=%1\r\n"
        "[SlovakOnly]\r\nSeekSK=%2\r\n[BadSK]\r\nSeekSK=abc\r\nSeek=%1\r\n"_s.arg(cz).arg(sk);
    install(b.build(cp(catalogue)));

    ASSERT_TRUE(load(true));
    EXPECT_EQ(description("Both"), QStringList({"slovensky"}));
    EXPECT_EQ(description("CzechOnly"), QStringList({"cesky"}));  // falls back to Seek
    EXPECT_EQ(description("SlovakOnly"), QStringList({"slovensky"}));
    EXPECT_EQ(description("BadSK"), QStringList({"cesky"}));

    ASSERT_TRUE(load(false));
    EXPECT_EQ(description("Both"), QStringList({"cesky"}));
    EXPECT_EQ(description("SlovakOnly"), QStringList({"Bez popisu."}));  // SeekSK never read
}

TEST_F(CatalogueLoaderTest, OffsetsOutsideTheDescriptionAreaGiveNoDescription) {
    auto b = builder();
    const qint32 first = b.addDescription("at the base");
    const qint32 last = b.addDescription("last");
    ASSERT_EQ(first, 0);
    const qint32 area = qint32(b.descriptionAreaSize());
    struct Case {
        QString seek;
        QStringList expected;
    };
    const Case cases[] = {
        {"0", {"at the base"}},                   // offset 0 is the first block
        {QString::number(last), {"last"}},
        {"0x0", {"at the base"}},
        {"-1", {"Bez popisu."}},
        {"-2", {"Bez popisu."}},                  // would point into the catalogue block
        {"-2147483648", {"Bez popisu."}},
        {QString::number(area), {"Bez popisu."}},  // right at the end of the file
        {QString::number(area - 3), {"Bez popisu."}},  // length field cut short
        {"2147483647", {"Bez popisu."}},
        {"", {"Bez popisu."}},
        {"nic", {"Bez popisu."}},
    };
    for (const Case& c : cases) {
        install(b.build(cp(u"[sections]\r\nS=\r\n[S]\r\nP=\r\n[P]\r\nSeek=%1\r\n"_s.arg(c.seek))));
        ASSERT_TRUE(load()) << c.seek.toStdString();
        EXPECT_EQ(description("P"), c.expected) << c.seek.toStdString();
    }
}

TEST_F(CatalogueLoaderTest, DescriptionsSplitIntoLines) {
    struct Case {
        QByteArray text;
        QStringList expected;
    };
    const Case cases[] = {
        {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        {"a\r\n", {"a"}},                          // a final line break opens no line
        {"a\r\n\r\n", {"a", ""}},
        {"\n\r", {"", ""}},
        {"", {}},
        {QByteArray("a\nb\0c\nd", 7), {"a", "b"}},   // a zero byte ends the text
        {"  spaces kept  \t", {"  spaces kept  \t"}},
        {cp(u"Příliš žluťoučký kůň"_s), {u"Příliš žluťoučký kůň"_s}},
    };
    for (const Case& c : cases) {
        auto b = builder();
        const qint32 d = b.addDescription(c.text);
        install(b.build(cp(u"[sections]\r\nS=\r\n[S]\r\nP=\r\n[P]\r\nSeek=%1\r\n"_s.arg(d))));
        ASSERT_TRUE(load());
        EXPECT_EQ(description("P"), c.expected) << c.text.toHex().constData();
    }
}

TEST_F(CatalogueLoaderTest, MoreThanAThousandEntriesKeepTheirOwnDescriptions) {
    constexpr int Count = 1010;
    auto b = builder();
    QString catalogue = u"[sections]\r\nVšechno=\r\n[Všechno]\r\n"_s;
    QString programs;
    for (int i = 0; i < Count; ++i) {
        const qint32 d = b.addDescription(QByteArray("Popis ") + QByteArray::number(i));
        catalogue += QStringLiteral("Program %1=\r\n").arg(i);
        programs += QStringLiteral("[Program %1]\r\nSeek=%2\r\n").arg(i).arg(d);
    }
    install(b.build(cp(catalogue + programs)));
    ASSERT_TRUE(load());
    ASSERT_EQ(loader.entries().size(), Count);
    ASSERT_EQ(descriptions.size(), Count);
    for (int i = 0; i < Count; ++i) {
        const QString p = QStringLiteral("Program %1").arg(i);
        ASSERT_EQ(store.ReadInteger(p, "Index", -1), i);
        ASSERT_EQ(description(p), QStringList({QStringLiteral("Popis %1").arg(i)}));
    }
    EXPECT_EQ(descriptions.lines(Count), QStringList({"Bez popisu."}));
    EXPECT_EQ(descriptions.lines(-1), QStringList({"Bez popisu."}));
}

TEST_F(CatalogueLoaderTest, RepeatedListingsCannotMultiplyWithoutBound) {
    // 400 listings of a section of 300 programs would be 120000 entries. Q, listed only
    // past the bound, carries an Index that would name slot 2147483647.
    auto b = builder();
    const qint32 d = b.addDescription(QByteArray(3000, 'x'));
    QByteArray catalogue = "[sections]\r\n" + QByteArray("A=\r\n").repeated(400) +
                           "B=\r\nB=\r\n[A]\r\n";
    for (int i = 0; i < 300; ++i)
        catalogue += "P" + QByteArray::number(i) + "=\r\n";
    catalogue += "[B]\r\nQ=\r\n[Q]\r\nIndex=2147483647\r\nSeek=" + QByteArray::number(d) + "\r\n";
    catalogue += "[P0]\r\nSeek=" + QByteArray::number(d) + "\r\n";
    install(b.build(catalogue));
    ASSERT_TRUE(load());
    EXPECT_EQ(loader.entries().size(), MaxProgramEntries);
    EXPECT_EQ(descriptions.size(), MaxProgramEntries);
    EXPECT_EQ(store.ReadInteger("P0", "Index", -1), 99900);
    EXPECT_EQ(store.ReadInteger("P99", "Index", -1), 99999);
    EXPECT_EQ(store.ReadInteger("P100", "Index", -1), 99700);
    EXPECT_EQ(description("P0"), QStringList({QString(3000, 'x')}));
    EXPECT_EQ(store.ReadInteger("Q", "Index", -1), MaxProgramEntries);
    EXPECT_EQ(description("Q"), QStringList({"Bez popisu."}));
}

TEST_F(CatalogueLoaderTest, DamagedLengthsCannotMultiplyTheDescriptions) {
    // Ten offsets into one block whose length field was overwritten: each would run to the
    // end of the file. Only the first is decoded; the overlapping rest count as no block.
    QByteArray catalogue = "[sections]\r\nS=\r\n[S]\r\n";
    QByteArray records;
    for (int i = 0; i < 10; ++i) {
        catalogue += "P" + QByteArray::number(i) + "=\r\n";
        records += "[P" + QByteArray::number(i) + "]\r\nSeek=" + QByteArray::number(i) + "\r\n";
    }
    QByteArray area = BlockBytes(QByteArray("41").repeated(5000));
    qToLittleEndian<qint32>(0x7fffffff, area.data());
    install(HeaderBytes(0, 0) + BlockBytes(EncodeHexXor({}, catalogue + records)) + area, {});
    ASSERT_TRUE(load());
    EXPECT_EQ(description("P0"), QStringList({QString(5000, 'A')}));
    for (int i = 1; i < 10; ++i)
        EXPECT_EQ(description(QStringLiteral("P%1").arg(i)), QStringList({"Bez popisu."})) << i;
}

TEST_F(CatalogueLoaderTest, AnEmptyKeyMeansNoXor) {
    ContainerBuilder b(0, {});
    const qint32 d = b.addDescription("plain");
    const QByteArray container = b.build("[sections]\r\nS=\r\n[S]\r\nP=\r\n[P]\r\nSeek=0\r\n");
    EXPECT_TRUE(container.contains(QByteArray("plain").toHex().toUpper()));
    install(container, {});
    ASSERT_TRUE(load());
    EXPECT_EQ(d, 0);
    EXPECT_EQ(description("P"), QStringList({"plain"}));
}

TEST_F(CatalogueLoaderTest, TruncatedBlocksDecodeWhatExists) {
    auto b = builder();
    b.addDescription("0123456789");
    const QByteArray whole = b.build("[sections]\r\nS=\r\n[S]\r\nP=\r\n[P]\r\nSeek=0\r\n");
    install(whole.left(whole.size() - 6));  // the description loses its last three bytes
    ASSERT_TRUE(load());
    EXPECT_EQ(description("P"), QStringList({"0123456"}));

    // A catalogue block that runs past the end still gives the lines that are there.
    QByteArray cut = builder().build("[Title]\r\nName=Cut here\r\n[sections]\r\nS=\r\n");
    install(cut.left(HeaderEnd + 4 + 2 * 22));
    ASSERT_TRUE(load());
    EXPECT_EQ(store.ReadString("Title", "Name", {}), "Cut here");
    EXPECT_TRUE(store.ReadSection("sections").isEmpty());
}

TEST_F(CatalogueLoaderTest, DamagedContainersAreRejected) {
    const QByteArray catalogue = "[Title]\r\nName=T\r\n[sections]\r\nS=\r\n[S]\r\nP=\r\n";
    auto withHeader = [&](qint32 offset, qint32 length) {
        const QByteArray key(std::clamp(length, 0, 200), 'k');
        return HeaderBytes(offset, length) + BlockBytes(EncodeHexXor(key, catalogue));
    };
    const QByteArray longKeyFile(200, 'k');
    struct Case {
        const char* what;
        std::optional<QByteArray> container;  // nullopt: no MAP.PIC
        std::optional<QByteArray> keyFile;    // nullopt: no CTIMNE.TXT
        bool accepted;
    };
    const Case cases[] = {
        {"intact", builder().build(catalogue), KeyFile, true},
        {"no container", std::nullopt, KeyFile, false},
        {"empty container", QByteArray(), KeyFile, false},
        {"foreign magic", "BRPIX" + builder().build(catalogue).mid(5), KeyFile, false},
        {"header cut short", builder().build(catalogue).left(12), KeyFile, false},
        {"no key file", builder().build(catalogue), std::nullopt, false},
        {"key file too short", builder().build(catalogue), KeyFile.left(KeyOffset + KeyLength - 1),
         false},
        {"key ends at the file end", builder().build(catalogue), KeyFile.left(KeyOffset + KeyLength),
         true},
        {"key of 101 bytes", withHeader(50, 101), longKeyFile, true},
        {"key of 102 bytes", withHeader(50, 102), longKeyFile, false},
        {"negative key offset", withHeader(-1, 5), longKeyFile, false},
        {"negative key length", withHeader(5, -1), longKeyFile, false},
        {"huge key offset", withHeader(0x7fffffff, 101), longKeyFile, false},
        {"empty key", withHeader(0, 0), QByteArray(), true},
    };
    for (const Case& c : cases) {
        QFile::remove(cdFile("SYSTEM/MAP.PIC"));
        QFile::remove(cdFile("CTIMNE.TXT"));
        if (c.container)
            writeFile(cdFile("SYSTEM/MAP.PIC"), *c.container);
        if (c.keyFile)
            writeFile(cdFile("CTIMNE.TXT"), *c.keyFile);
        // Whatever a previous load left must not survive a rejection.
        store.WriteInteger("stale", "k", 1);
        EXPECT_EQ(load(), c.accepted) << c.what;
        if (c.accepted) {
            EXPECT_EQ(loader.entries().size(), 1) << c.what;
        } else {
            EXPECT_TRUE(store.sections().isEmpty()) << c.what;
            EXPECT_TRUE(loader.entries().isEmpty()) << c.what;
            EXPECT_EQ(descriptions.size(), 0) << c.what;
        }
    }
}

TEST_F(CatalogueLoaderTest, StepsRunOnOpenDevicesInOrder) {
    auto b = builder();
    const qint32 d = b.addDescription("text");
    QByteArray container = b.build(cp(u"[sections]\r\nS=\r\n[S]\r\nP=\r\n[P]\r\nSeek=%1\r\n"_s.arg(d)));
    QByteArray key = KeyFile;
    auto containerDevice = std::make_unique<QBuffer>(&container);
    auto keyDevice = std::make_unique<QBuffer>(&key);
    ASSERT_TRUE(loader.open(std::move(containerDevice), std::move(keyDevice)));
    EXPECT_EQ(loader.header().KeyOffset, KeyOffset);
    EXPECT_EQ(loader.header().KeyLength, KeyLength);
    loader.LoadINI();
    EXPECT_EQ(store.ReadInteger("P", "Index", -1), -1);
    loader.LoadTXT(false);
    loader.close();
    EXPECT_EQ(description("P"), QStringList({"text"}));
    EXPECT_EQ(containerDamagedMessage(), u"Datový soubor byl narušen, aplikace bude ukončena!"_s);
}

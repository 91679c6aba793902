// Start-up cost of the catalogue: a CD of 1000 programs, each with a description of about
// 2 KB (about 4 MB of encoded text), decoded and loaded as the catalogue window does.
#include "catalogue/CatalogueLoader.h"
#include "catalogue/ContainerBuilder.h"
#include "platform/Codec.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace katalog;

namespace {

constexpr int Programs = 1000;
constexpr int Sections = 20;

QByteArray keyFile() {
    QByteArray k;
    for (int i = 0; i < 400; ++i)
        k.append(char('A' + i * 7 % 26));
    return k;
}

QByteArray description(int program) {
    const QByteArray line = platform::toCp1250(
        QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy; program číslo %1 umí vše, co má.\r\n")
            .arg(program));
    QByteArray text;
    while (text.size() < 2000)
        text += line;
    return text;
}

struct BenchCd {
    QTemporaryDir dir;
    QByteArray container;

    BenchCd() {
        ContainerBuilder builder = *ContainerBuilder::fromKeyFile(keyFile(), 17, 61);
        QString sections = QStringLiteral("[Title]\r\nName=Zlatá kolekce 1000\r\n[sections]\r\n");
        QString lists;
        QString records;
        for (int s = 0; s < Sections; ++s) {
            sections += QStringLiteral("Sekce %1=\r\n").arg(s);
            lists += QStringLiteral("[Sekce %1]\r\n").arg(s);
            for (int p = s; p < Programs; p += Sections)
                lists += QStringLiteral("Program číslo %1=\r\n").arg(p);
        }
        for (int p = 0; p < Programs; ++p) {
            const qint32 seek = builder.addDescription(description(p));
            records += QStringLiteral(
                           "[Program číslo %1]\r\nrun=bin\\run%1.exe\r\nsetup=setup.exe\r\n"
                           "doc=readme.txt\r\nWWW=http://www.example.com/%1\r\nsource=PROGRAMY\\P%1\r\n"
                           "target=P%1\r\nobr=obr.jpg\r\nPocetObr=2\r\nobr1=a.jpg\r\nobr2=b.bmp\r\n"
                           "win95=1\r\nwin31=0\r\nDOS=1\r\nwinnt=1\r\nLicence=Freeware\r\n"
                           "Hodnoceni=%2\r\nVelikost=%3\r\nSeek=%4\r\nAppName=Program %1\r\n"
                           "UnInstallReg=P%1\r\n")
                           .arg(p).arg(p % 5 + 1).arg(p % 7).arg(seek);
        }
        container = builder.build(platform::toCp1250(sections + lists + records));
        QDir().mkpath(dir.filePath(QStringLiteral("SYSTEM")));
        write(dir.filePath(QStringLiteral("SYSTEM/MAP.PIC")), container);
        write(dir.filePath(QStringLiteral("CTIMNE.TXT")), keyFile());
    }
    static void write(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }
    QString programDir() const { return dir.path() + QLatin1Char('/'); }
    QString systemDir() const { return dir.path() + QStringLiteral("/SYSTEM/"); }
};

const BenchCd& cd() {
    static const BenchCd instance;
    return instance;
}

void BM_FullDecrypt(benchmark::State& state) {
    const BenchCd& c = cd();
    for (auto _ : state) {
        CatalogueStore store;
        DescriptionTable descriptions;
        CatalogueLoader loader(store, descriptions);
        if (!loader.FullDecrypt(c.programDir(), c.systemDir(), false) ||
            loader.entries().size() != Programs)
            state.SkipWithError("catalogue not loaded");
        benchmark::DoNotOptimize(descriptions);
    }
    state.SetBytesProcessed(state.iterations() * c.container.size());
    state.counters["encoded_MB"] = double(c.container.size()) / 1e6;
}
BENCHMARK(BM_FullDecrypt)->Unit(benchmark::kMillisecond);

void BM_DecodeHexXor(benchmark::State& state) {
    const QByteArray& encoded = cd().container;
    const QByteArray key = keyFile().mid(17, 61);
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeHexXor(key, encoded));
    state.SetBytesProcessed(state.iterations() * encoded.size());
}
BENCHMARK(BM_DecodeHexXor)->Unit(benchmark::kMillisecond);

void BM_StoreLookups(benchmark::State& state) {
    const BenchCd& c = cd();
    CatalogueStore store;
    DescriptionTable descriptions;
    CatalogueLoader loader(store, descriptions);
    if (!loader.FullDecrypt(c.programDir(), c.systemDir(), false))
        state.SkipWithError("catalogue not loaded");
    QStringList names;
    for (const auto& e : loader.entries())
        names.append(e.program);
    const QString key = QStringLiteral("hodnoceni");
    for (auto _ : state) {
        int sum = 0;
        for (const QString& n : names)
            sum += store.ReadInteger(n, key, -1);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * names.size());
}
BENCHMARK(BM_StoreLookups)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

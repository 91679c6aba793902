// The catalogue window with 1000 programs: listing everything, each of the six orders, and a
// search that hits half the list. Each must stay well under 5 ms.
#include "app/MainFormUnit1.h"
#include "catalogue/ContainerBuilder.h"
#include "catalogue/ProgramyFormUnit1.h"
#include "platform/Codec.h"
#include "platform/Errors.h"
#include "tools/democd/CdWriter.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

using namespace katalog;

namespace {

constexpr int Programs = 1000;
constexpr int Sections = 20;

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

// Half the descriptions carry the searched word.
QByteArray description(int p) {
    const QByteArray line = platform::toCp1250(
        QStringLiteral("Program číslo %1 pro domácnost i kancelář, příliš žluťoučký kůň úpěl.\r\n").arg(p));
    QByteArray text = p % 2 ? "" : "Umi KALKULACI.\r\n";
    while (text.size() < 2000)
        text += line;
    return text;
}

struct Catalogue {
    QTemporaryDir dir;
    std::unique_ptr<TMain> main;
    TProgramyForm* form = nullptr;

    Catalogue() {
        platform::setMessageHook([](platform::MessageKind, const QString& t) {
            std::fprintf(stderr, "message: %s\n", qPrintable(t));
        });
        const QString root = dir.path();
        democd::writePlainSkins(root);
        democd::writePlainIntro(root);
        const QByteArray keyFile = QByteArray(300, 'k') + "klic tohoto CD je zde" + QByteArray(300, 'x');
        write(root + "/CTIMNE.TXT", keyFile);
        ContainerBuilder builder = *ContainerBuilder::fromKeyFile(keyFile, 290, 40);
        QString text = QStringLiteral("[Title]\r\nName=Sbírka 1000\r\n[sections]\r\n");
        QString lists, records;
        for (int s = 0; s < Sections; ++s) {
            text += QStringLiteral("Sekce %1=\r\n").arg(s);
            lists += QStringLiteral("[Sekce %1]\r\n").arg(s);
            for (int p = s; p < Programs; p += Sections)
                lists += QStringLiteral("Program %1=\r\n").arg(p);
        }
        const char* licences[] = {"Freeware", "Shareware", "Public Domain", "Demoverze", "freeware"};
        for (int p = 0; p < Programs; ++p)
            records += QStringLiteral("[Program %1]\r\nrun=%2\r\nsetup=%3\r\nsource=P%1\r\nLicence=%4\r\n"
                                      "Hodnoceni=%5\r\nVelikost=%6\r\n%7=1\r\nSeek=%8\r\n")
                           .arg(p)
                           .arg(p % 3 ? "run.sh" : "")
                           .arg(p % 4 ? "" : "setup.sh")
                           .arg(QString::fromLatin1(licences[p % 5]))
                           .arg(p % 7)
                           .arg(p % 8)
                           .arg(QString::fromLatin1(p % 2 ? "win95" : "linux"))
                           .arg(builder.addDescription(description(p)));
        write(root + "/SYSTEM/MAP.PIC", builder.build(platform::toCp1250(text + lists + records)));
        qputenv("XDG_CONFIG_HOME", (root + "/config").toLocal8Bit());
        TMain::setScreenSizeForTests(QSize(1024, 768));
        main = std::make_unique<TMain>(nullptr, root);
        main->FormCreate();
        form = main->forms().ProgramyForm;
    }
};

Catalogue& catalogue() {
    static Catalogue c;
    return c;
}

void BM_ListEverything(benchmark::State& state) {
    TProgramyForm* f = catalogue().form;
    for (auto _ : state)
        f->NastavSekci(QStringLiteral("[Všechno]"));
    state.counters["rows"] = f->SeznamProgramu->count();
}
BENCHMARK(BM_ListEverything)->Unit(benchmark::kMillisecond);

void BM_Order(benchmark::State& state) {
    TProgramyForm* f = catalogue().form;
    const int order = int(state.range(0));
    f->NastavSekci(QStringLiteral("[Všechno]"));
    for (auto _ : state) {
        state.PauseTiming();
        // Another order first, so that this one is a change.
        f->TypTrideniChange(order == 0 ? 1 : 0);
        state.ResumeTiming();
        f->TypTrideniChange(order);
    }
}
BENCHMARK(BM_Order)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

void BM_SearchHalf(benchmark::State& state) {
    TProgramyForm* f = catalogue().form;
    f->Edit1->setText(QStringLiteral("kalkulaci"));
    int hits = 0;
    for (auto _ : state) {
        state.PauseTiming();
        f->NastavSekci(QStringLiteral("[Všechno]"));
        state.ResumeTiming();
        f->FiltrClick();
        hits = f->SeznamProgramu->count();
    }
    state.counters["hits"] = hits;
}
BENCHMARK(BM_SearchHalf)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    catalogue();
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly))
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmRSS"))
                std::printf("Resident memory with the catalogue loaded: %s\n", line.mid(6).trimmed().constData());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    catalogue().main.reset();
    return 0;
}

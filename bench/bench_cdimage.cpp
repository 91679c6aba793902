// Extracting a CD image against `xorriso -osirrox on -extract` on the same image and
// filesystem: the demo CD's image and a large one made at benchmark time (600 MB;
// KATALOG_BENCH_IMAGE_MB changes the size, KATALOG_BENCH_DIR the place). The extraction should
// reach at least 0.8 of xorriso's throughput. For figures, on a Release build:
//   bench_cdimage --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true
#include "platform/CdImage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include <unistd.h>

namespace {

struct Image {
    QString path;
    qint64 bytes = 0;  // what its files hold
};

QTemporaryDir& workDir() {
    static QTemporaryDir dir = [] {
        const QByteArray base = qgetenv("KATALOG_BENCH_DIR");
        return base.isEmpty() ? QTemporaryDir() : QTemporaryDir(QString::fromLocal8Bit(base) + "/bench-image-XXXXXX");
    }();
    return dir;
}

Image makeImage(const QString& tree, const QString& name) {
    Image image{workDir().path() + "/" + name, 0};
    QProcess::execute("xorriso", {"-as", "mkisofs", "-quiet", "-R", "-J", "-m", "katalog", "-o", image.path, tree});
    const platform::CdImage cd(*platform::findDataTrack(image.path));
    image.bytes = cd.list().fileBytes;
    ::sync();
    return image;
}

const Image& demoImage() {
    static const Image image = makeImage(QStringLiteral(KATALOG_BINARY_DIR "/cd"), "demo.iso");
    return image;
}

// Files of a CD's kinds: a few large installers and many small pictures and pages, in
// incompressible data.
const Image& largeImage() {
    static const Image image = [] {
        bool ok = false;
        const qint64 megabytes = qEnvironmentVariableIntValue("KATALOG_BENCH_IMAGE_MB", &ok);
        const qint64 target = (ok && megabytes > 0 ? megabytes : 600) << 20;
        const QString tree = workDir().path() + "/tree";
        QRandomGenerator gen(2026);
        QByteArray pool(8 << 20, Qt::Uninitialized);
        gen.fillRange(reinterpret_cast<quint32*>(pool.data()), pool.size() / 4);
        qint64 written = 0;
        for (int i = 0; written < target; ++i) {
            const QString folder = tree + QString("/PROGRAMY/SEKCE%1/PROG%2").arg(i % 8).arg(i % 40);
            QDir().mkpath(folder);
            const qint64 size = qMin(target - written, i % 10 == 0 ? qint64(12 << 20) : 2048 + gen.bounded(200 * 1024));
            QFile f(folder + QString("/soubor%1.dat").arg(i));
            f.open(QIODevice::WriteOnly);
            for (qint64 left = size; left > 0;) {
                const qint64 n = qMin(left, qint64(pool.size()) - 4096);
                f.write(pool.constData() + gen.bounded(4096), n);
                left -= n;
            }
            written += size;
        }
        const Image made = makeImage(tree, "large.iso");
        QDir(tree).removeRecursively();
        return made;
    }();
    return image;
}

QString freshDestination(benchmark::State& state) {
    state.PauseTiming();
    const QString dst = workDir().path() + "/out";
    QDir(dst).removeRecursively();
    QDir().mkpath(dst);
    state.ResumeTiming();
    return dst;
}

void extractOurs(benchmark::State& state, const Image& (*image)()) {
    const Image& img = image();
    const platform::CdImage cd(*platform::findDataTrack(img.path));
    for (auto _ : state) {
        const QString dst = freshDestination(state);
        if (cd.extract(dst, [](qint64, qint64) { return true; }).status != platform::ImageStatus::Ok)
            state.SkipWithError("the extraction failed");
    }
    state.SetBytesProcessed(state.iterations() * img.bytes);
}

void extractXorriso(benchmark::State& state, const Image& (*image)()) {
    const Image& img = image();
    for (auto _ : state) {
        const QString dst = freshDestination(state);
        if (QProcess::execute("xorriso", {"-osirrox", "on", "-indev", img.path, "-extract", "/", dst}) != 0)
            state.SkipWithError("xorriso failed");
    }
    state.SetBytesProcessed(state.iterations() * img.bytes);
}

class Reporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const auto it = run.counters.find("bytes_per_second");
            if (it != run.counters.end() && run.run_type == Run::RT_Iteration)
                rates[run.run_name.function_name].push_back(it->second.value);
        }
    }
    // The median: the machine may be shared, and single runs stray.
    double median(const std::string& name) {
        std::vector<double>& r = rates[name];
        if (r.empty())
            return 0;
        std::sort(r.begin(), r.end());
        return r.size() % 2 ? r[r.size() / 2] : (r[r.size() / 2 - 1] + r[r.size() / 2]) / 2;
    }
    std::map<std::string, std::vector<double>> rates;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    for (const auto& [name, image] : {std::pair("demo", &demoImage), std::pair("large", &largeImage)}) {
        benchmark::RegisterBenchmark((std::string("BM_Extract/") + name).c_str(), extractOurs, image)
            ->UseRealTime()->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("BM_Xorriso/") + name).c_str(), extractXorriso, image)
            ->UseRealTime()->Unit(benchmark::kMillisecond);
    }
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double mb = 1024 * 1024;
    for (const auto& [name, image] : {std::pair("demo", &demoImage), std::pair("large", &largeImage)}) {
        const double ours = reporter.median(std::string("BM_Extract/") + name);
        const double theirs = reporter.median(std::string("BM_Xorriso/") + name);
        if (ours > 0 && theirs > 0)
            std::printf("%s image, %.1f MB of files: extraction %.0f MB/s, xorriso %.0f MB/s, ratio %.2f (target 0.80)\n",
                        name, double(image().bytes) / mb, ours / mb, theirs / mb, ours / theirs);
    }
    benchmark::Shutdown();
    return 0;
}

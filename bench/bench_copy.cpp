// The recursive copy against `cp -r` on the same tree and filesystem: about 200 MB in a few
// thousand files (KATALOG_BENCH_COPY_MB changes the size, KATALOG_BENCH_DIR the place).
// The copy should reach at least 0.8 of cp's throughput. For figures, on a Release build:
//   bench_copy --benchmark_repetitions=9 --benchmark_enable_random_interleaving=true
#include "platform/FileCopy.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <string>

#include <unistd.h>

namespace {

struct Tree {
    std::unique_ptr<QTemporaryDir> dir;
    QString source;
    qint64 bytes = 0;
    int files = 0;
};

// Random bytes to cut the files from: generating every byte anew costs more than the copy.
const QByteArray& randomPool() {
    static const QByteArray pool = [] {
        QList<quint32> words(2 * 1024 * 1024);
        QRandomGenerator(2024).fillRange(words.data(), words.size());
        return QByteArray(reinterpret_cast<const char*>(words.constData()), words.size() * 4);
    }();
    return pool;
}

void writeRandom(const QString& path, qint64 size, QRandomGenerator& gen) {
    const QByteArray& pool = randomPool();
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return;
    for (qint64 left = size; left > 0;) {
        const qint64 offset = gen.bounded(pool.size() / 2);
        const qint64 n = qMin(left, qint64(pool.size()) - offset);
        f.write(pool.constData() + offset, n);
        left -= n;
    }
}

// Many small files, a few large ones, in nested folders; incompressible data.
const Tree& tree() {
    static Tree t = [] {
        Tree tr;
        const QByteArray base = qgetenv("KATALOG_BENCH_DIR");
        tr.dir = base.isEmpty() ? std::make_unique<QTemporaryDir>()
                                : std::make_unique<QTemporaryDir>(QString::fromLocal8Bit(base) +
                                                                  "/bench-copy-XXXXXX");
        tr.source = tr.dir->path() + "/source";
        bool ok = false;
        const qint64 megabytes = qEnvironmentVariableIntValue("KATALOG_BENCH_COPY_MB", &ok);
        const qint64 target = (ok && megabytes > 0 ? megabytes : 200) * 1024 * 1024;
        QRandomGenerator gen(2024);
        const qint64 bigSize = 3 * 1024 * 1024;
        const int bigFiles = int(target * 6 / 10 / bigSize);
        qint64 smallLeft = target - bigFiles * bigSize;
        for (int i = 0; smallLeft > 0 || i < bigFiles; ++i) {
            const QString folder =
                tr.source + QStringLiteral("/dir%1/sub%2").arg(i % 30).arg(i % 7);
            QDir().mkpath(folder);
            qint64 size;
            if (i < bigFiles) {
                size = bigSize;
            } else {
                size = qMin<qint64>(smallLeft, 1024 + gen.bounded(52 * 1024));
                smallLeft -= size;
            }
            writeRandom(folder + QStringLiteral("/file%1.dat").arg(i), size, gen);
            tr.bytes += size;
            ++tr.files;
        }
        ::sync();
        return tr;
    }();
    return t;
}

// A fresh destination for every iteration, removed untimed. Removed files are never
// written back, so the copies all start from the same clean state.
QString freshDestination(benchmark::State& state) {
    state.PauseTiming();
    const QString dst = tree().dir->path() + "/copy";
    QDir(dst).removeRecursively();
    state.ResumeTiming();
    return dst;
}

void BM_CopyEngine(benchmark::State& state) {
    const Tree& t = tree();
    for (auto _ : state) {
        const QString dst = freshDestination(state);
        QDir().mkpath(dst);
        const platform::CopyReport r = platform::copyFolderContents(t.source, dst, {});
        if (r.files != t.files || r.skipped != 0)
            state.SkipWithError("the copy was incomplete");
    }
    state.SetBytesProcessed(state.iterations() * t.bytes);
    state.counters["files"] = t.files;
}

void BM_CpR(benchmark::State& state) {
    const Tree& t = tree();
    for (auto _ : state) {
        const QString dst = freshDestination(state);
        if (QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), t.source, dst}) != 0)
            state.SkipWithError("cp -r failed");
    }
    state.SetBytesProcessed(state.iterations() * t.bytes);
    state.counters["files"] = t.files;
}

BENCHMARK(BM_CopyEngine)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CpR)->UseRealTime()->Unit(benchmark::kMillisecond);

// Keeps every run's throughput for the comparison at the end.
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
    // The median of the runs: the machine may be shared, and single runs stray.
    double median(const std::string& name) {
        std::vector<double>& r = rates[name];
        if (r.empty())
            return 0;
        std::sort(r.begin(), r.end());
        return r.size() % 2 ? r[r.size() / 2] : (r[r.size() / 2 - 1] + r[r.size() / 2]) / 2;
    }
    double best(const std::string& name) {
        const std::vector<double>& r = rates[name];
        return r.empty() ? 0 : *std::max_element(r.begin(), r.end());
    }
    std::map<std::string, std::vector<double>> rates;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double engine = reporter.median("BM_CopyEngine");
    const double cp = reporter.median("BM_CpR");
    if (engine > 0 && cp > 0) {
        const double mb = 1024 * 1024;
        std::printf("\n%d files, %.1f MB, %zu runs each\n", tree().files, double(tree().bytes) / mb,
                    reporter.rates["BM_CpR"].size());
        std::printf(
            "copy engine: median %.0f MB/s (best %.0f), cp -r: median %.0f MB/s (best %.0f)\n",
            engine / mb, reporter.best("BM_CopyEngine") / mb, cp / mb,
            reporter.best("BM_CpR") / mb);
        std::printf("ratio of medians %.2f, of bests %.2f (target 0.80)\n", engine / cp,
                    reporter.best("BM_CopyEngine") / reporter.best("BM_CpR"));
        QProcess df;
        df.start(QStringLiteral("df"), {QStringLiteral("-T"), tree().dir->path()});
        df.waitForFinished();
        std::printf("filesystem:\n%s", df.readAllStandardOutput().constData());
    }
    benchmark::Shutdown();
    return 0;
}

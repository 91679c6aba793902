// A grown Wine prefix holds tens of thousands of keys; the first lookup parses system.reg on
// the user-interface thread, later lookups only look at the file's time.
#include "platform/Registry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QByteArray wineFile(int keys) {
    QByteArray out = "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n";
    for (int i = 0; i < keys; ++i) {
        out += "[Software\\\\Classes\\\\CLSID\\\\{" + QByteArray::number(i) + "-0000-1111}\\\\InprocServer32] 1600000000\n";
        out += "#time=1d6b2e5c7a8b9c0\n";
        out += "@=\"C:\\\\windows\\\\system32\\\\lib" + QByteArray::number(i) + ".dll\"\n";
        out += "\"ThreadingModel\"=\"Both\"\n\"Flags\"=dword:00000000\n";
        out += "\"Data\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,17,\\\n  18,19\n\n";
    }
    return out;
}

void BM_ParseWineSystemReg(benchmark::State& state) {
    const QByteArray bytes = wineFile(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::registry_detail::parseWineFile(bytes, QStringLiteral("hkey_local_machine")));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ParseWineSystemReg)->Arg(1000)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_CachedLookup(benchmark::State& state) {
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + "/prefix");
    QFile f(dir.path() + "/prefix/system.reg");
    f.open(QIODevice::WriteOnly);
    f.write(wineFile(20000));
    f.close();
    platform::Registry registry(dir.path() + "/windows", dir.path() + "/prefix");
    const QString key = QStringLiteral("Software\\Classes\\CLSID\\{777-0000-1111}\\InprocServer32");
    registry.readString(platform::RootKey::LocalMachine, key, QString());
    for (auto _ : state)
        benchmark::DoNotOptimize(registry.readString(platform::RootKey::LocalMachine, key, QString()));
}
BENCHMARK(BM_CachedLookup)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

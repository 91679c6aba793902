// What sound costs the user-interface thread: opening and starting a click, a song the
// loader has not seen yet (its synthesizer is built on the loader thread) and a song it
// keeps; and filling the image lists of a whole skin at start-up.
#include "app/MainFormUnit1.h"
#include "app/Shell.h"
#include "app/SkinTable.h"
#include "platform/SoundPlayer.h"
#include "tools/democd/CdWriter.h"
#include "widgets/ImageList.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>

#include <benchmark/benchmark.h>

namespace {

QTemporaryDir& scratch() {
    static QTemporaryDir dir;
    return dir;
}

QString writeTo(const QString& name, const QByteArray& bytes) {
    const QString path = scratch().filePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

// One piano note of a second (960 ticks at 480 a quarter, 120 a minute), format 0.
QByteArray song(int key) {
    QByteArray track = QByteArray::fromHex("00FF510307A120" "00C000");
    track += QByteArray::fromHex("0090") + char(key) + char(100);
    track += QByteArray::fromHex("8740" "80") + char(key) + char(64);
    track += QByteArray::fromHex("00FF2F00");
    QByteArray file = "MThd" + QByteArray::fromHex("00000006" "0000" "0001" "01E0") + "MTrk";
    const quint32 len = qToBigEndian(quint32(track.size()));
    file.append(reinterpret_cast<const char*>(&len), 4);
    return file + track;
}

QByteArray click() {
    QByteArray data(2 * 1323, '\0');  // 60 ms of silence, 16-bit mono 22050 Hz
    QByteArray f = "RIFF";
    auto le32 = [&](quint32 v) { v = qToLittleEndian(v); f.append(reinterpret_cast<const char*>(&v), 4); };
    auto le16 = [&](quint16 v) { v = qToLittleEndian(v); f.append(reinterpret_cast<const char*>(&v), 2); };
    le32(36 + quint32(data.size()));
    f += "WAVEfmt ";
    le32(16); le16(1); le16(1); le32(22050); le32(44100); le16(2); le16(16);
    f += "data";
    le32(quint32(data.size()));
    return f + data;
}

void BM_ClickOpenAndPlay(benchmark::State& state) {
    platform::SoundPlayer p;
    p.setFileName(writeTo(QStringLiteral("1xclick.WAV"), click()));
    for (auto _ : state) {
        p.open();
        p.play();
    }
}
BENCHMARK(BM_ClickOpenAndPlay)->Unit(benchmark::kMicrosecond);

void BM_NewSongOpenAndPlay(benchmark::State& state) {
    platform::SoundPlayer p;
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString file = writeTo(QStringLiteral("new%1.mid").arg(n), song(40 + n % 40));
        ++n;
        state.ResumeTiming();
        p.setFileName(file);
        p.open();
        p.play();
    }
}
BENCHMARK(BM_NewSongOpenAndPlay)->Unit(benchmark::kMicrosecond)->Iterations(10);

void BM_KeptSongReopenAndPlay(benchmark::State& state) {
    platform::SoundPlayer p;
    p.setFileName(writeTo(QStringLiteral("kept.mid"), song(60)));
    p.open();
    p.play();
    // Let the loader build it once.
    for (int i = 0; i < 300 && p.mode() == platform::PlayerMode::Playing; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
    for (auto _ : state) {
        p.open();  // closes first, so the kept song is not worn
        p.play();
        state.PauseTiming();
        p.stop();
        p.close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_KeptSongReopenAndPlay)->Unit(benchmark::kMicrosecond);

void BM_FillEveryImageListOfASkin(benchmark::State& state) {
    static const bool written = [] {
        democd::writePlainSkins(scratch().path(), democd::Variant::CzLarge);
        return true;
    }();
    (void)written;
    katalog::TMain main(nullptr, scratch().path());
    katalog::shell().SkinDir = scratch().filePath(QStringLiteral("SYSTEM/Cz/1024x768/"));
    for (auto _ : state) {
        for (const auto& l : katalog::skin::AllLists) {
            katalog::TImageList list;
            main.NaplnImageList(list, l);
            benchmark::DoNotOptimize(list.count());
        }
    }
}
BENCHMARK(BM_FillEveryImageListOfASkin)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#include "app/IntroFormUnit1.h"
#include "app/MainFormUnit1.h"
#include "app/Shell.h"
#include "platform/Errors.h"
#include "platform/SoundPlayer.h"
#include "tests/support/SoundFiles.h"
#include "tests/support/TestCd.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

using platform::KatalogError;
using platform::NotifyOutcome;
using platform::PlayerMode;
using platform::SoundPlayer;
using testing_support::midiFile;
using testing_support::readFile;
using testing_support::waveFile;
using testing_support::writeFile;
using Outcomes = std::vector<NotifyOutcome>;

namespace {

// Collects a player's notices in the order they arrive.
void record(SoundPlayer& player, Outcomes& into) {
    QObject::connect(&player, &SoundPlayer::notified, &player, [&into](NotifyOutcome o) { into.push_back(o); });
}

// Delivers what is queued on the user-interface thread.
void deliver() {
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// Loudness of 16-bit stereo samples: the largest absolute value.
int peak(const QByteArray& bytes) {
    int best = 0;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        qint16 v;
        std::memcpy(&v, bytes.constData() + i, 2);
        best = std::max(best, std::abs(int(v)));
    }
    return best;
}

}  // namespace

class SoundTest : public testing_support::TestCd {
protected:
    void TearDown() override {
        if (switched_) {
            qputenv("SDL_AUDIODRIVER", "dummy");
            qunsetenv("SDL_DISKAUDIOFILE");
            SoundPlayer::shutdownAudio();
        }
        TestCd::TearDown();
    }
    // The sound output starts again on another SDL driver.
    void useDriver(const char* driver, const QString& diskFile = {}) {
        qputenv("SDL_AUDIODRIVER", driver);
        if (!diskFile.isEmpty())
            qputenv("SDL_DISKAUDIOFILE", diskFile.toLocal8Bit());
        SoundPlayer::shutdownAudio();
        switched_ = true;
    }
    QString write(const QString& rel, const QByteArray& bytes) {
        writeFile(cdFile(rel), bytes);
        return cdFile(rel);
    }

private:
    bool switched_ = false;
};

TEST_F(SoundTest, FilesTheDeviceCannotOpenAreErrorsWithTheirText) {
    QDir().mkpath(cdFile("folder.wav"));
    write("text.txt", "hello");
    write("noise.mid", "RIFF\x10\0\0\0WAVEfmt ");
    write("empty.mid", "");
    write("cut.mid", midiFile({{60, 100}}).chopped(2));
    write("noise.wav", "not a wave at all");
    ASSERT_EQ(::mkfifo(cdFile("pipe.mid").toLocal8Bit().constData(), 0600), 0);
    const struct {
        const char* file;
        const char* text;
    } cases[] = {
        {"text.txt", "Cannot determine the device type from the given filename extension"},
        {"missing.wav", "Couldn't open"},
        {"missing.MID", "Couldn't open"},
        {"folder.wav", "Couldn't open"},
        {"pipe.mid", "Couldn't open"},
        {"noise.mid", "is not a MIDI file"},
        {"empty.mid", "is not a MIDI file"},
        {"cut.mid", "is not a MIDI file, or it is damaged"},
        {"noise.wav", "noise.wav is not a wave file, or it is damaged"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        SoundPlayer p;
        p.setFileName(cdFile(c.file));
        try {
            p.open();
            ADD_FAILURE() << "opened";
        } catch (const KatalogError& e) {
            EXPECT_TRUE(e.text().contains(QLatin1String(c.text))) << e.text().toStdString();
        }
        EXPECT_FALSE(p.isOpen());
        EXPECT_EQ(p.mode(), PlayerMode::NotReady);
    }
}

TEST(MidiCheckTest, OnlySongsThatReadThroughReachTheSynthesizer) {
    const QByteArray good = midiFile({{60, 100}, {0, 50}, {62, 100}});
    auto patched = [&](int at, QByteArray bytes) { return QByteArray(good).replace(at, bytes.size(), bytes); };
    auto withTrack = [](const QByteArray& events) {
        QByteArray f = QByteArray("MThd") + QByteArray::fromHex("000000060000000101E0") + "MTrk";
        f += QByteArray::fromHex(QByteArray::number(events.size(), 16).rightJustified(8, '0'));
        return f + events;
    };
    QByteArray riff = QByteArray("RIFF") + QByteArray(4, '\0') + "RMID" + "data";
    riff += QByteArray::fromHex(QByteArray::number(good.size(), 16).rightJustified(8, '0'));
    std::reverse(riff.end() - 4, riff.end());  // RIFF sizes are little-endian
    riff += good;
    const struct {
        const char* what;
        QByteArray bytes;
        bool readable;
    } cases[] = {
        {"a song", good, true},
        {"wrapped in RIFF", riff, true},
        {"only the end of track", withTrack(QByteArray::fromHex("00FF2F00")), true},
        {"running status", withTrack(QByteArray::fromHex("0090403C" "60" "4000" "00FF2F00")), true},
        {"a chunk of another kind first", QByteArray(good).insert(14, QByteArray("XTRA\0\0\0\2ab", 10)), true},
        {"empty", QByteArray(), false},
        {"text", "hello", false},
        {"header only", good.left(14), false},
        {"cut short", good.left(good.size() - 3), false},
        {"two tracks announced, one there", patched(10, QByteArray::fromHex("0002")), false},
        {"no ticks a quarter", patched(12, QByteArray::fromHex("0000")), false},
        {"SMPTE timing", patched(12, QByteArray::fromHex("E728")), false},
        {"format 3", patched(8, QByteArray::fromHex("0003")), false},
        {"data byte without a status", withTrack(QByteArray::fromHex("00403C00FF2F00")), false},
        {"delta of five bytes", withTrack(QByteArray::fromHex("FFFFFFFF7F90403C00FF2F00")), false},
        {"system message", withTrack(QByteArray::fromHex("00F100FF2F00")), false},
        {"meta longer than its track", withTrack(QByteArray::fromHex("00FF0120414243")), false},
        {"note without its data", withTrack(QByteArray::fromHex("0090")), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<QByteArray> smf = platform::readableMidi(c.bytes);
        EXPECT_EQ(smf.has_value(), c.readable);
        if (smf) {
            EXPECT_TRUE(smf->startsWith("MThd"));
        }
    }
    EXPECT_EQ(platform::readableMidi(riff).value_or(QByteArray()), good);
}

TEST(WaveCheckTest, OnlyRiffWavesReachTheMixerWithTheirLengthsCutToWhatIsThere) {
    const QByteArray good = waveFile(20);
    const auto le = [](quint32 v) {
        QByteArray b(4, '\0');
        for (int i = 0; i < 4; ++i)
            b[i] = char(v >> (8 * i));
        return b;
    };
    const qsizetype dataAt = good.indexOf("data");
    ASSERT_GT(dataAt, 0);
    const QByteArray huge = QByteArray(good).replace(dataAt + 4, 4, le(0xFFFFFF00u));
    const QByteArray hugeRiff = QByteArray(good).replace(4, 4, le(0xFFFFFFF0u));
    const QByteArray fmtOnly = good.left(dataAt);
    const struct {
        const char* what;
        QByteArray bytes;
        std::optional<QByteArray> passed;
    } cases[] = {
        {"a wave", good, good},
        {"data longer than the file", huge, good},
        {"RIFF longer than the file", hugeRiff, good},
        {"cut inside the data", good.left(good.size() - 7),
         QByteArray(good.left(good.size() - 7)).replace(dataAt + 4, 4, le(quint32(good.size() - 7 - dataAt - 8)))
             .replace(4, 4, le(quint32(good.size() - 7 - 8)))},
        {"no data chunk", fmtOnly, std::nullopt},
        {"empty", QByteArray(), std::nullopt},
        {"RIFF of another kind", QByteArray(good).replace(8, 4, "AVI "), std::nullopt},
        {"not RIFF", QByteArray("RI\x06\0\0X", 6), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(platform::readableWave(c.bytes), c.passed);
    }
}

TEST_F(SoundTest, CommandsOnAClosedPlayerAreNoMciDeviceOpen) {
    SoundPlayer p;
    auto expectNotOpen = [&](void (SoundPlayer::*command)()) {
        try {
            (p.*command)();
            ADD_FAILURE() << "no error";
        } catch (const KatalogError& e) {
            EXPECT_EQ(e.text(), "No MCI device open");
        }
    };
    expectNotOpen(&SoundPlayer::play);
    expectNotOpen(&SoundPlayer::stop);
    p.setFileName(cdFile("missing.wav"));
    EXPECT_THROW(p.open(), KatalogError);
    expectNotOpen(&SoundPlayer::play);
    p.setFileName(write("click.wav", waveFile(50)));
    p.open();
    p.close();
    p.close();
    expectNotOpen(&SoundPlayer::play);
}

TEST_F(SoundTest, AWaveReportsItsEndLaterAndOnlyWhenAsked) {
    SoundPlayer p;
    Outcomes got;
    record(p, got);
    p.setFileName(write("click.wav", waveFile(50)));
    p.open();
    EXPECT_EQ(p.mode(), PlayerMode::Stopped);
    p.setNotify(true);
    p.play();
    EXPECT_EQ(p.mode(), PlayerMode::Playing);
    EXPECT_TRUE(got.empty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !got.empty(); }, 5000));
    EXPECT_EQ(got, Outcomes{NotifyOutcome::Successful});
    EXPECT_EQ(p.mode(), PlayerMode::Stopped);

    // At its end it plays again from the start; the request was used up, so no notice.
    p.play();
    EXPECT_EQ(p.mode(), PlayerMode::Playing);
    EXPECT_TRUE(QTest::qWaitFor([&] { return p.mode() == PlayerMode::Stopped; }, 5000));
    deliver();
    EXPECT_EQ(got.size(), 1u);
}

TEST_F(SoundTest, StopAndCloseCutThePlayShortAndSaySoQueued) {
    SoundPlayer p;
    Outcomes got;
    record(p, got);
    p.setFileName(write("tone.wav", waveFile(500)));
    p.open();
    p.setNotify(true);
    p.play();
    p.stop();
    EXPECT_EQ(p.mode(), PlayerMode::Stopped);
    EXPECT_TRUE(got.empty());
    deliver();
    EXPECT_EQ(got, Outcomes{NotifyOutcome::Aborted});

    p.setNotify(true);
    p.play();
    EXPECT_EQ(p.mode(), PlayerMode::Playing);
    p.close();
    EXPECT_EQ(p.mode(), PlayerMode::NotReady);
    deliver();
    EXPECT_EQ(got, (Outcomes{NotifyOutcome::Aborted, NotifyOutcome::Aborted}));
    // Long after the tone would have ended, nothing more arrives.
    QTest::qWait(700);
    EXPECT_EQ(got.size(), 2u);
}

TEST_F(SoundTest, APlayThatIsTakenOverIsSuperseded) {
    // The same wave again while it sounds: the old request gives way to the new one.
    SoundPlayer wave;
    Outcomes waveGot;
    record(wave, waveGot);
    wave.setFileName(write("tone.wav", waveFile(300)));
    wave.open();
    wave.setNotify(true);
    wave.play();
    wave.setNotify(true);
    wave.play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return waveGot.size() == 2; }, 5000));
    EXPECT_EQ(waveGot, (Outcomes{NotifyOutcome::Superseded, NotifyOutcome::Successful}));

    // There is one music: a song started by a second player ends the first one's, even
    // while that one is still loading.
    SoundPlayer first, second;
    Outcomes firstGot, secondGot;
    record(first, firstGot);
    record(second, secondGot);
    first.setFileName(write("a.mid", midiFile({{60, 3000}})));
    second.setFileName(write("b.mid", midiFile({{64, 3000}})));
    first.open();
    second.open();
    first.setNotify(true);
    first.play();
    second.setNotify(true);
    second.play();
    EXPECT_EQ(first.mode(), PlayerMode::Stopped);
    EXPECT_EQ(second.mode(), PlayerMode::Playing);
    QTest::qWait(600);  // both songs loaded
    EXPECT_EQ(firstGot, Outcomes{NotifyOutcome::Superseded});
    EXPECT_EQ(first.mode(), PlayerMode::Stopped);
    EXPECT_EQ(second.mode(), PlayerMode::Playing);
    EXPECT_TRUE(secondGot.empty());

    first.setNotify(true);
    first.play();
    deliver();
    EXPECT_EQ(secondGot, Outcomes{NotifyOutcome::Superseded});
    EXPECT_EQ(second.mode(), PlayerMode::Stopped);
}

TEST_F(SoundTest, AnEndDeliveredLateNeverReachesANewerPlay) {
    // The sound ends while the user-interface thread is busy; before its end is delivered,
    // the player is stopped and played again. The new play must not be taken for ended.
    const struct {
        const char* file;
        QByteArray bytes;
        int loadMs;
        int busyMs;
    } cases[] = {
        {"short.wav", waveFile(50), 0, 400},
        {"short.mid", midiFile({{60, 100}}), 300, 2800},  // the synthesizer rings out about 2 s
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        SoundPlayer p;
        Outcomes got;
        record(p, got);
        p.setFileName(write(c.file, c.bytes));
        p.open();
        p.setNotify(true);
        p.play();
        QTest::qWait(c.loadMs);
        std::this_thread::sleep_for(std::chrono::milliseconds(c.busyMs));
        p.stop();
        p.setNotify(true);
        p.play();
        deliver();
        EXPECT_EQ(got, Outcomes{NotifyOutcome::Aborted});
        EXPECT_EQ(p.mode(), PlayerMode::Playing);
        p.close();
    }
}

TEST_F(SoundTest, WithoutASoundDeviceOnlyTheFirstOpenFails) {
    useDriver("no-such-driver");
    const QString click = write("click.wav", waveFile(50));
    const QString song = write("song.mid", midiFile({{60, 100}}));
    SoundPlayer first;
    first.setFileName(click);
    try {
        first.open();
        ADD_FAILURE() << "opened without a device";
    } catch (const KatalogError& e) {
        EXPECT_FALSE(e.text().isEmpty());
    }
    EXPECT_FALSE(first.isOpen());

    // From then on everything opens and plays, silently, and a silent play never ends.
    SoundPlayer p;
    Outcomes got;
    record(p, got);
    for (const QString& file : {click, song, cdFile("missing.mid")}) {
        SCOPED_TRACE(file.toStdString());
        p.setFileName(file);
        EXPECT_NO_THROW(p.open());
        p.setNotify(true);
        EXPECT_NO_THROW(p.play());
        EXPECT_EQ(p.mode(), PlayerMode::Playing);
    }
    EXPECT_NO_THROW(first.open());
    QTest::qWait(300);
    EXPECT_EQ(p.mode(), PlayerMode::Playing);
    EXPECT_EQ(got, (Outcomes{NotifyOutcome::Aborted, NotifyOutcome::Aborted}));
    p.stop();
    EXPECT_EQ(p.mode(), PlayerMode::Stopped);
}

TEST_F(SoundTest, ASongIsHeardWhileItPlaysAndSilenceFollowsItsStopOrClose) {
    const QString out = cdFile("out.raw");
    useDriver("disk", out);
    // Sound already mixed ahead (a few device buffers of 4096 bytes) may follow a command.
    const qsizetype slack = 4 * 4096;
    auto heard = [&] {
        const qsizetype from = readFile(out).size();
        return QTest::qWaitFor([&] { return peak(readFile(out).mid(from + slack)) > 1000; }, 5000);
    };
    auto silentAfter = [&] {
        const qsizetype from = readFile(out).size();
        QTest::qWait(600);
        const QByteArray after = readFile(out).mid(from + slack);
        return after.size() > 44100 && peak(after) == 0;
    };
    SoundPlayer p;
    // A church organ holds its note for the whole eight seconds.
    p.setFileName(write("organ.mid", midiFile({{60, 8000}}, 19)));
    p.open();
    p.play();
    EXPECT_TRUE(heard());
    p.stop();
    EXPECT_TRUE(silentAfter());
    p.play();  // goes on where it stopped
    EXPECT_TRUE(heard());
    p.close();
    EXPECT_TRUE(silentAfter());
}

class MusicTest : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        installSounds();
        main = std::make_unique<katalog::TMain>(nullptr, cdRoot());
        katalog::shell().SystemDir = cdRoot() + "/SYSTEM/";
        record(main->MediaPlayer2(), songGot);
    }
    void TearDown() override {
        main.reset();
        SoundTest::TearDown();
    }
    // A song that ends soon: the synthesizer lets it ring out about 2 s.
    void shortSong(int n) {
        QFile::remove(cdFile(QStringLiteral("SYSTEM/Melody%1.MID").arg(n)));
        write(QStringLiteral("SYSTEM/Melody%1.MID").arg(n), midiFile({{60, 100}}));
    }
    platform::SoundPlayer& music() { return main->MediaPlayer2(); }
    int successes() const { return int(std::count(songGot.begin(), songGot.end(), NotifyOutcome::Successful)); }

    std::unique_ptr<katalog::TMain> main;
    Outcomes songGot;
};

TEST_F(MusicTest, PlayMusicSwitchesToSongsOneToSixAndStopsOnAnyOtherNumber) {
    const struct {
        int n;
        int songNumber;
        const char* file;  // nullptr: silence
    } cases[] = {
        {0, 5, nullptr},
        {7, 5, nullptr},
        {-1, 5, nullptr},
        {3, 3, "Melody3.MID"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.n);
        main->PlayMusic(5);
        ASSERT_EQ(music().mode(), PlayerMode::Playing);
        EXPECT_TRUE(music().fileName().endsWith("Melody5.MID"));
        EXPECT_EQ(katalog::shell().SongNumber, 5);
        deliver();
        songGot.clear();

        main->PlayMusic(c.n);
        EXPECT_EQ(katalog::shell().SongNumber, c.songNumber);
        deliver();
        EXPECT_EQ(songGot, Outcomes{NotifyOutcome::Aborted});  // song 5 was cut short
        if (c.file) {
            EXPECT_EQ(music().mode(), PlayerMode::Playing);
            EXPECT_TRUE(music().fileName().endsWith(c.file));
        } else {
            EXPECT_NE(music().mode(), PlayerMode::Playing);
        }
        main->PlayMusic(-1);
    }
}

TEST_F(MusicTest, ASongThatEndsStartsAgainAtOnce) {
    shortSong(2);
    int playingAfterEachEnd = 0;
    QObject::connect(&music(), &SoundPlayer::notified, main.get(), [&](NotifyOutcome o) {
        if (o == NotifyOutcome::Successful && music().mode() == PlayerMode::Playing)
            ++playingAfterEachEnd;
    });
    main->PlayMusic(2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return successes() >= 2; }, 15000));
    EXPECT_EQ(playingAfterEachEnd, successes());
    EXPECT_EQ(music().mode(), PlayerMode::Playing);
    EXPECT_TRUE(music().fileName().endsWith("Melody2.MID"));
    EXPECT_EQ(katalog::shell().SongNumber, 2);
}

TEST_F(MusicTest, AStoppedSongIsNotRestarted) {
    shortSong(4);
    main->PlayMusic(4);
    QTest::qWait(400);
    main->PlayMusic(-1);
    QTest::qWait(2800);  // well past the end the song would have reached
    EXPECT_EQ(songGot, Outcomes{NotifyOutcome::Aborted});
    EXPECT_NE(music().mode(), PlayerMode::Playing);
}

TEST_F(MusicTest, ASongTheSynthesizerCannotReadEndsTheLoop) {
    // Well formed, but its tempo has one byte instead of three: the synthesizer gives up at
    // once, which must not look like a song played to its end.
    QFile::remove(cdFile("SYSTEM/Melody3.MID"));
    write("SYSTEM/Melody3.MID", QByteArray("MThd") + QByteArray::fromHex("000000060000000101E0") + "MTrk" +
                                    QByteArray::fromHex("0000000D" "00FF510107" "00903C40" "00FF2F00"));
    main->PlayMusic(3);
    QTest::qWait(1500);
    EXPECT_EQ(songGot, Outcomes{NotifyOutcome::Failure});
    EXPECT_NE(music().mode(), PlayerMode::Playing);
    EXPECT_TRUE(messages.empty());
}

class SoundStartupTest : public SoundTest {
protected:
    void start() {
        main = std::make_unique<katalog::TMain>(new katalog::TIntroForm, cdRoot());
        main->FormCreate();
    }
    void TearDown() override {
        main.reset();
        SoundTest::TearDown();
    }
    std::unique_ptr<katalog::TMain> main;
};

TEST_F(SoundStartupTest, WithoutASoundDeviceStartUpSaysSoOnceAndGoesOnSilently) {
    useDriver("no-such-driver");
    installSkins();
    start();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].first, platform::MessageKind::ErrorReport);
    EXPECT_TRUE(main->forms().DesktopForm != nullptr);
    EXPECT_FALSE(main->terminationRequested());

    main->PrehrajKliknuti();
    main->PlayMusic(2);
    main->PrehrajKliknuti();
    deliver();
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(katalog::shell().SongNumber, 2);
}

// The whole path from start-up to the device: the chosen song sounds once the main menu is
// up, stops when music is switched off, and a button's click sounds on its own.
TEST_F(SoundStartupTest, TheStartUpSongAndAClickAreHeard) {
    const QString out = cdFile("out.raw");
    useDriver("disk", out);
    installSkins();
    start();
    ASSERT_TRUE(messages.empty());
    const qsizetype slack = 4 * 4096;
    const auto heardFrom = [&](qsizetype from) {
        return QTest::qWaitFor([&] { return peak(readFile(out).mid(from + slack)) > 1000; }, 5000);
    };
    EXPECT_TRUE(heardFrom(0));
    main->PlayMusic(0);
    QTest::qWait(1000);
    const qsizetype quiet = readFile(out).size();
    QTest::qWait(500);
    ASSERT_EQ(peak(readFile(out).mid(quiet)), 0);
    main->PrehrajKliknuti();
    EXPECT_TRUE(QTest::qWaitFor([&] { return peak(readFile(out).mid(quiet)) > 1000; }, 5000));
}

TEST_F(SoundStartupTest, AClickThatFailedToOpenIsReportedOnceAndThenSilent) {
    installSkins();
    QFile::remove(cdFile("SYSTEM/1xclick.WAV"));
    start();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].first, platform::MessageKind::ErrorReport);
    EXPECT_TRUE(messages[0].second.contains("1xclick.WAV"));
    for (int i = 0; i < 3; ++i)
        main->PrehrajKliknuti();
    deliver();
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_EQ(main->MediaPlayer2().mode(), PlayerMode::Playing);
}

TEST_F(SoundStartupTest, WithMusicOffThereIsNoSongAndNoClick) {
    installSkins();
    writeFile(windowsDir() + "kat.INI", "[Music]\r\nMusic=Off\r\n[Options]\r\nFile=4\r\n");
    start();
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(katalog::shell().MusicOn);
    EXPECT_EQ(katalog::shell().SongNumber, 4);
    EXPECT_NE(main->MediaPlayer2().mode(), PlayerMode::Playing);
    main->PrehrajKliknuti();
    EXPECT_NE(main->MediaPlayer1().mode(), PlayerMode::Playing);

    // Switched on, a press clicks.
    katalog::shell().MusicOn = true;
    main->PrehrajKliknuti();
    EXPECT_EQ(main->MediaPlayer1().mode(), PlayerMode::Playing);
}

#include "platform/SoundPlayer.h"

#include "platform/Errors.h"
#include "platform/Paths.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QThreadPool>

#include <array>
#include <cstring>
#include <atomic>
#include <list>
#include <mutex>
#include <optional>
#include <utility>

namespace platform {
namespace {

constexpr int Channels = 16;
// Every kept song is a synthesizer with the whole sound font (some 15 MB): only the song
// that loops is kept; another song is loaded afresh, off the user-interface thread.
constexpr size_t SongCacheSize = 1;
constexpr qint64 MaxSoundFileSize = 256 * 1024 * 1024;
constexpr qint64 MinSongMs = 500;

// Where the General MIDI sound font of timgm6mb-soundfont (or the system's default one)
// lies on Debian. SDL_SOUNDFONTS, when set, wins.
constexpr std::array SoundFonts{
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
    "/usr/share/sounds/sf2/default-GM.sf2",
};

QString notOpenText() { return QStringLiteral("No MCI device open"); }

// Set by the user-interface thread before a sound starts, taken by the mixer's hooks when
// it ends. The hooks run on the audio thread at a natural end and synchronously inside
// Mix_HaltMusic and Mix_HaltChannel; they make no mixer call and only post the token back.
// A halt posts a token the player has already left behind, so it is ignored there.
std::atomic<quint64> musicToken{0};
std::array<std::atomic<quint64>, Channels> channelTokens{};
std::atomic<QObject*> dispatcher{nullptr};
// Set once the application object is gone: players destroyed later touch nothing.
bool tornDown = false;

void postEnded(quint64 token);

void SDLCALL musicFinished() {
    if (const quint64 t = musicToken.exchange(0))
        postEnded(t);
}

void SDLCALL channelFinished(int channel) {
    if (channel < 0 || channel >= Channels)
        return;
    if (const quint64 t = channelTokens[size_t(channel)].exchange(0))
        postEnded(t);
}

quint32 bigEndian(const uchar* p, int n) {
    quint32 v = 0;
    for (int i = 0; i < n; ++i)
        v = (v << 8) | p[i];
    return v;
}

// A variable-length quantity of at most four bytes, within [p, end).
bool readVarLen(const uchar*& p, const uchar* end, quint32& value) {
    value = 0;
    for (int i = 0; i < 4; ++i) {
        if (p == end)
            return false;
        const uchar b = *p++;
        value = (value << 7) | (b & 0x7F);
        if (!(b & 0x80))
            return true;
    }
    return false;
}

// Every event of a track reads to the end of its chunk (or to its end-of-track event).
bool readableTrack(const uchar* p, const uchar* end) {
    uchar running = 0;
    while (p != end) {
        quint32 delta = 0;
        if (!readVarLen(p, end, delta) || p == end)
            return false;
        uchar status = *p;
        if (status & 0x80) {
            ++p;
            if (status < 0xF0)
                running = status;
        } else if (running) {
            status = running;
        } else {
            return false;
        }
        if (status == 0xFF || status == 0xF0 || status == 0xF7) {
            uchar type = 0;
            if (status == 0xFF) {
                if (p == end)
                    return false;
                type = *p++;
            }
            quint32 length = 0;
            if (!readVarLen(p, end, length) || length > quint32(end - p))
                return false;
            p += length;
            if (status == 0xFF && type == 0x2F)
                return true;
        } else if (status > 0xF0) {
            return false;  // system common and real-time messages have no place in a file
        } else {
            const int data = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 1 : 2;
            for (int i = 0; i < data; ++i) {
                if (p == end || (*p & 0x80))
                    return false;
                ++p;
            }
        }
    }
    return true;
}

}  // namespace

// The synthesizer reads a song only when it starts to play, on the audio thread, and takes
// an unreadable one for a song that has ended: checked here, it is an error of the open.
std::optional<QByteArray> readableMidi(const QByteArray& bytes) {
    QByteArray smf = bytes;
    if (bytes.startsWith("RIFF") && bytes.mid(8, 4) == "RMID") {
        // A RIFF MIDI file: the standard file is the "data" chunk.
        smf.clear();
        for (qsizetype pos = 12; pos + 8 <= bytes.size();) {
            const auto* h = reinterpret_cast<const uchar*>(bytes.constData() + pos);
            const quint32 len = h[4] | (h[5] << 8) | (h[6] << 16) | (quint32(h[7]) << 24);
            if (len > quint32(bytes.size() - pos - 8))
                return std::nullopt;
            if (bytes.mid(pos, 4) == "data") {
                smf = bytes.mid(pos + 8, len);
                break;
            }
            pos += 8 + qsizetype(len) + (len & 1);
        }
    }
    const auto* begin = reinterpret_cast<const uchar*>(smf.constData());
    const auto* end = begin + smf.size();
    if (smf.size() < 14 || !smf.startsWith("MThd"))
        return std::nullopt;
    const quint32 headerLength = bigEndian(begin + 4, 4);
    const quint32 format = bigEndian(begin + 8, 2);
    const quint32 tracks = bigEndian(begin + 10, 2);
    const quint32 division = bigEndian(begin + 12, 2);
    // Ticks a quarter note; the synthesizer plays no SMPTE timing.
    if (headerLength < 6 || format > 2 || tracks == 0 || division == 0 || (division & 0x8000))
        return std::nullopt;
    if (headerLength > quint32(smf.size() - 8))
        return std::nullopt;
    quint32 found = 0;
    for (const uchar* p = begin + 8 + headerLength; end - p >= 8 && found < tracks;) {
        const quint32 length = bigEndian(p + 4, 4);
        if (length > quint32(end - p - 8))
            return std::nullopt;
        if (std::memcmp(p, "MTrk", 4) == 0) {
            if (!readableTrack(p + 8, p + 8 + length))
                return std::nullopt;
            ++found;
        }
        p += 8 + length;
    }
    if (found != tracks)
        return std::nullopt;
    return smf;
}

std::optional<QByteArray> readableWave(const QByteArray& bytes) {
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return std::nullopt;
    QByteArray wave = bytes;
    const auto setLength = [&wave](qsizetype at, quint32 length) {
        for (int i = 0; i < 4; ++i)
            wave[at + i] = char((length >> (8 * i)) & 0xFF);
    };
    const auto lengthAt = [&wave](qsizetype at) {
        const auto* p = reinterpret_cast<const uchar*>(wave.constData() + at);
        return p[0] | (p[1] << 8) | (p[2] << 16) | (quint32(p[3]) << 24);
    };
    // The mixer's reader allocates what a length claims before it reads: a damaged header
    // would ask for gigabytes. Lengths are cut to the bytes that are there.
    if (lengthAt(4) > quint32(wave.size() - 8))
        setLength(4, quint32(wave.size() - 8));
    bool format = false, data = false;
    for (qsizetype pos = 12; pos + 8 <= wave.size();) {
        quint32 length = lengthAt(pos + 4);
        if (length > quint32(wave.size() - pos - 8)) {
            length = quint32(wave.size() - pos - 8);
            setLength(pos + 4, length);
        }
        const QByteArray id = wave.mid(pos, 4);
        if (id == "fmt ")
            format = true;
        else if (id == "data")
            data = true;
        pos += 8 + qsizetype(length) + (length & 1);
    }
    if (!format || !data)
        return std::nullopt;
    return wave;
}

namespace {

struct ChunkFree {
    void operator()(Mix_Chunk* c) const { Mix_FreeChunk(c); }
};

}  // namespace

// One MIDI song. Loading builds a synthesizer with the whole sound font, so it runs on the
// loader thread, and a song is kept to be replayed. A song halted in the middle may keep
// notes sounding in its synthesizer; it is loaded afresh before it plays from the start.
struct MidiSong {
    QString path;
    QByteArray bytes;
    bool worn = false;  // user-interface thread only

    std::mutex mutex;  // the loader hands over the result
    bool ready = false;
    Mix_Music* music = nullptr;  // none when the synthesizer refused the song

    ~MidiSong() {
        if (music)
            Mix_FreeMusic(music);
    }
    bool isReady() {
        std::lock_guard lock(mutex);
        return ready;
    }
};

struct SoundPlayer::Impl {
    enum class State { Closed, Ready, Playing, Stopped, AtEnd };
    State state = State::Closed;
    bool midi = false;
    bool silent = false;  // no sound output: plays nothing and never ends
    std::unique_ptr<Mix_Chunk, ChunkFree> chunk;
    std::shared_ptr<MidiSong> song;
    int channel = -1;      // the player's own mixer channel, for wave sounds
    quint64 token = 0;     // the current play
    bool owed = false;     // a notice was asked for the current play
    bool started = false;  // the current play reached the mixer (a song may still be loading)
    bool paused = false;   // stopped in the middle: the next play goes on from there
    QElapsedTimer songStart;  // when the song last started from its beginning
};

// The one sound output of the process and the bookkeeping shared by the players. Lives on
// the user-interface thread; it is also where the hooks' and the loader's messages land.
class SoundOutput : public QObject {
public:
    static SoundOutput& get() {
        if (!instance_)
            instance_ = new SoundOutput;
        return *instance_;
    }
    static SoundOutput* existing() { return instance_; }
    static void teardown() {
        if (!instance_)
            return;
        instance_->shutdown();
        delete std::exchange(instance_, nullptr);
        tornDown = true;
    }

    // True when sounds can be heard. The first failure of a run throws with the device's
    // text; after it every call answers false and the players stay silent.
    bool ensureOutput() {
        if (output_ == Output::Unavailable)
            return false;
        if (output_ == Output::Open)
            return true;
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Katalog");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            unavailable(QString::fromUtf8(SDL_GetError()));
        if (Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0) {
            const QString text = QString::fromUtf8(Mix_GetError());
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            unavailable(text);
        }
        Mix_AllocateChannels(Channels);
        Mix_HookMusicFinished(musicFinished);
        Mix_ChannelFinished(channelFinished);
        dispatcher.store(this);
        output_ = Output::Open;
        return true;
    }

    // The same for MIDI songs, which need a sound font and the synthesizer.
    bool ensureMidi() {
        if (midi_ == Output::Unavailable)
            return false;
        if (midi_ == Output::Open)
            return true;
        midi_ = Output::Unavailable;
        if (qEnvironmentVariableIsEmpty("SDL_SOUNDFONTS")) {
            const char* found = nullptr;
            for (const char* font : SoundFonts)
                if (!found && QFileInfo(QString::fromLatin1(font)).isReadable())
                    found = font;
            if (!found)
                throw KatalogError(QStringLiteral("No General MIDI sound font found (%1)")
                                       .arg(QString::fromLatin1(SoundFonts[0])));
            Mix_SetSoundFonts(found);
        }
        // The mixer's other MIDI player looks for its configuration in the current folder
        // too, wherever the program was started from: only the system's file is looked at.
        if (qEnvironmentVariableIsEmpty("TIMIDITY_CFG"))
            qputenv("TIMIDITY_CFG", "/etc/timidity.cfg");
        if (!(Mix_Init(MIX_INIT_MID) & MIX_INIT_MID))
            throw KatalogError(QString::fromUtf8(Mix_GetError()));
        midi_ = Output::Open;
        return true;
    }

    quint64 nextToken() { return ++lastToken_; }

    int takeChannel() {
        for (int i = 0; i < Channels; ++i)
            if (!channelUsed_[size_t(i)]) {
                channelUsed_[size_t(i)] = true;
                return i;
            }
        throw KatalogError(QStringLiteral("All wave devices are busy"));
    }
    void giveChannel(int channel) {
        if (channel >= 0 && channel < Channels)
            channelUsed_[size_t(channel)] = false;
    }

    // The song for a file, from the cache when it is the same and fresh; otherwise a new
    // one that the loader fills.
    std::shared_ptr<MidiSong> song(const QString& path, const QByteArray& bytes) {
        for (auto it = songs_.begin(); it != songs_.end(); ++it) {
            if ((*it)->path != path)
                continue;
            std::shared_ptr<MidiSong> s = *it;
            songs_.erase(it);
            if (s->bytes == bytes && !s->worn) {
                songs_.push_front(s);
                return s;
            }
            break;
        }
        auto s = std::make_shared<MidiSong>();
        s->path = path;
        s->bytes = bytes;
        songs_.push_front(s);
        trimSongs();
        load(s);
        return s;
    }

    // Halts the song that plays (or pauses) now. When another player takes the music over,
    // the owner's play is superseded.
    void haltMusic(SoundPlayer* taker) {
        SoundPlayer* owner = std::exchange(musicOwner_, nullptr);
        if (owner) {
            SoundPlayer::Impl& o = *owner->impl_;
            if (o.song && ((o.state == SoundPlayer::Impl::State::Playing && o.started) || o.paused))
                o.song->worn = true;
            o.paused = false;
            if (owner != taker && o.state == SoundPlayer::Impl::State::Playing)
                owner->finish(NotifyOutcome::Superseded);
        }
        Mix_HaltMusic();
    }
    // A new song play takes the music from every other player, also from one whose song
    // is still loading.
    void claimMusic(SoundPlayer* taker) {
        haltMusic(taker);
        const QList<SoundPlayer*> all = players_;
        for (SoundPlayer* p : all) {
            const SoundPlayer::Impl& d = *p->impl_;
            if (p != taker && d.midi && !d.silent && d.state == SoundPlayer::Impl::State::Playing)
                p->finish(NotifyOutcome::Superseded);
        }
    }
    SoundPlayer* musicOwner() const { return musicOwner_; }
    void setMusicOwner(SoundPlayer* p) { musicOwner_ = p; }

    void add(SoundPlayer* p) { players_.append(p); }
    void remove(SoundPlayer* p) {
        players_.removeAll(p);
        if (musicOwner_ == p)
            musicOwner_ = nullptr;
    }

    // A play reached its end by itself.
    void playEnded(quint64 token) {
        for (SoundPlayer* p : std::as_const(players_)) {
            SoundPlayer::Impl& d = *p->impl_;
            if (d.token != token || d.state != SoundPlayer::Impl::State::Playing || !d.started)
                continue;
            if (musicOwner_ == p)
                musicOwner_ = nullptr;
            // The synthesizer gives every song a ring-out of about two seconds; one that ends
            // sooner could not be read, and replaying it would only fail again.
            if (d.midi && d.songStart.isValid() && d.songStart.elapsed() < MinSongMs) {
                p->finish(NotifyOutcome::Failure);
                return;
            }
            d.state = SoundPlayer::Impl::State::AtEnd;
            d.started = false;
            // Already on the user-interface thread, and checked against the current play:
            // delivered here, it can never restart a newer song.
            if (std::exchange(d.owed, false))
                Q_EMIT p->notified(NotifyOutcome::Successful);
            return;
        }
    }

    void songLoaded(const std::weak_ptr<MidiSong>& weak) {
        const std::shared_ptr<MidiSong> s = weak.lock();
        if (!s)
            return;
        const QList<SoundPlayer*> waiting = players_;
        for (SoundPlayer* p : waiting) {
            const SoundPlayer::Impl& d = *p->impl_;
            if (players_.contains(p) && d.song == s && d.state == SoundPlayer::Impl::State::Playing &&
                !d.started)
                p->startSong();
        }
    }

    void shutdown() {
        const QList<SoundPlayer*> all = players_;
        for (SoundPlayer* p : all) {
            p->impl_->owed = false;
            p->close();
        }
        loader_.waitForDone();
        songs_.clear();
        if (output_ == Output::Open) {
            Mix_HaltMusic();
            Mix_HaltChannel(-1);
            Mix_HookMusicFinished(nullptr);
            Mix_ChannelFinished(nullptr);
            Mix_CloseAudio();
            Mix_Quit();
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
        }
        dispatcher.store(nullptr);
        musicToken.store(0);
        for (auto& t : channelTokens)
            t.store(0);
        output_ = Output::Closed;
        midi_ = Output::Closed;
    }

private:
    enum class Output { Closed, Open, Unavailable };

    SoundOutput() {
        loader_.setMaxThreadCount(1);
        qAddPostRoutine(&SoundOutput::teardown);
    }

    [[noreturn]] void unavailable(const QString& text) {
        output_ = Output::Unavailable;
        throw KatalogError(text);
    }

    void trimSongs() {
        // Drop the least recently used songs that no player holds.
        for (auto it = songs_.end(); songs_.size() > SongCacheSize && it != songs_.begin();) {
            --it;
            if (it->use_count() == 1)
                it = songs_.erase(it);
        }
    }

    void load(const std::shared_ptr<MidiSong>& s) {
        loader_.start([s] {
            SDL_RWops* rw = SDL_RWFromConstMem(s->bytes.constData(), int(s->bytes.size()));
            Mix_Music* music = rw ? Mix_LoadMUSType_RW(rw, MUS_MID, 1) : nullptr;
            {
                std::lock_guard lock(s->mutex);
                s->music = music;
                s->ready = true;
            }
            if (QObject* d = dispatcher.load()) {
                std::weak_ptr<MidiSong> weak = s;
                QMetaObject::invokeMethod(
                    d, [weak] { if (SoundOutput* a = SoundOutput::existing()) a->songLoaded(weak); },
                    Qt::QueuedConnection);
            }
        });
    }

    static inline SoundOutput* instance_ = nullptr;
    Output output_ = Output::Closed;
    Output midi_ = Output::Closed;
    quint64 lastToken_ = 0;
    std::array<bool, Channels> channelUsed_{};
    QList<SoundPlayer*> players_;
    SoundPlayer* musicOwner_ = nullptr;
    std::list<std::shared_ptr<MidiSong>> songs_;  // most recently used first
    QThreadPool loader_;
};

namespace {
void postEnded(quint64 token) {
    if (QObject* d = dispatcher.load())
        QMetaObject::invokeMethod(
            d, [token] { if (SoundOutput* a = SoundOutput::existing()) a->playEnded(token); },
            Qt::QueuedConnection);
}
}  // namespace

SoundPlayer::SoundPlayer(QObject* parent) : QObject(parent), impl_(std::make_unique<Impl>()) {
    if (!tornDown)
        SoundOutput::get().add(this);
}

SoundPlayer::~SoundPlayer() {
    if (tornDown || !SoundOutput::existing())
        return;
    impl_->owed = false;
    close();
    SoundOutput::get().giveChannel(impl_->channel);
    SoundOutput::get().remove(this);
}

void SoundPlayer::shutdownAudio() {
    if (SoundOutput* a = SoundOutput::existing())
        a->shutdown();
}

void SoundPlayer::postNotice(NotifyOutcome outcome) {
    QMetaObject::invokeMethod(this, [this, outcome] { Q_EMIT notified(outcome); },
                              Qt::QueuedConnection);
}

// The current play is over without reaching its end.
void SoundPlayer::finish(NotifyOutcome outcome) {
    Impl& d = *impl_;
    d.state = Impl::State::AtEnd;
    d.started = false;
    d.paused = false;
    if (std::exchange(d.owed, false))
        postNotice(outcome);
}

void SoundPlayer::open() {
    close();
    notify_ = false;
    if (tornDown)
        throw KatalogError(notOpenText());
    Impl& d = *impl_;
    const QString ext = lowerExtension(fileName_);
    bool midi = false;
    if (ext == QLatin1String(".mid") || ext == QLatin1String(".midi") || ext == QLatin1String(".rmi"))
        midi = true;
    else if (ext != QLatin1String(".wav"))
        throw KatalogError(QStringLiteral("Cannot determine the device type from the given filename extension"));

    SoundOutput& audio = SoundOutput::get();
    if (!audio.ensureOutput() || (midi && !audio.ensureMidi())) {
        d.silent = true;
        d.midi = midi;
        d.state = Impl::State::Ready;
        return;
    }

    // A named pipe or a device would block the read: only regular files are sounds.
    const QFileInfo info(fileName_);
    QFile file(fileName_);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        throw KatalogError(QStringLiteral("Couldn't open %1").arg(fileName_));
    if (file.size() > MaxSoundFileSize)
        throw KatalogError(QStringLiteral("%1 is too large").arg(fileName_));
    const QByteArray bytes = file.readAll();

    if (midi) {
        const std::optional<QByteArray> smf = readableMidi(bytes);
        if (!smf)
            throw KatalogError(QStringLiteral("%1 is not a MIDI file, or it is damaged").arg(fileName_));
        d.song = audio.song(fileName_, *smf);
    } else {
        const std::optional<QByteArray> wave = readableWave(bytes);
        if (!wave)
            throw KatalogError(QStringLiteral("%1 is not a wave file, or it is damaged").arg(fileName_));
        SDL_RWops* rw = SDL_RWFromConstMem(wave->constData(), int(wave->size()));
        Mix_Chunk* chunk = rw ? Mix_LoadWAV_RW(rw, 1) : nullptr;
        if (!chunk)
            throw KatalogError(QStringLiteral("%1: %2").arg(fileName_, QString::fromUtf8(Mix_GetError())));
        d.chunk.reset(chunk);
        if (d.channel < 0)
            d.channel = audio.takeChannel();
    }
    d.midi = midi;
    d.state = Impl::State::Ready;
}

void SoundPlayer::close() {
    notify_ = false;
    Impl& d = *impl_;
    if (d.state == Impl::State::Closed)
        return;
    if (!d.silent && !tornDown) {
        SoundOutput& audio = SoundOutput::get();
        if (d.midi) {
            if (audio.musicOwner() == this)
                audio.haltMusic(this);
        } else if (d.channel >= 0) {
            Mix_HaltChannel(d.channel);
        }
    }
    if (d.state == Impl::State::Playing)
        finish(NotifyOutcome::Aborted);
    d.chunk.reset();
    d.song.reset();
    d.state = Impl::State::Closed;
    d.silent = false;
    d.started = false;
    d.paused = false;
}

void SoundPlayer::play() {
    const bool notify = std::exchange(notify_, false);
    Impl& d = *impl_;
    if (d.state == Impl::State::Closed)
        throw KatalogError(notOpenText());
    SoundOutput& audio = SoundOutput::get();

    if (d.state == Impl::State::Playing) {
        bool sounding = d.silent || !d.started;
        if (!sounding)
            sounding = d.midi ? audio.musicOwner() == this && Mix_PlayingMusic()
                              : Mix_Playing(d.channel) != 0;
        if (sounding) {
            // The sound goes on; the new request takes the place of the old one.
            if (d.owed)
                postNotice(NotifyOutcome::Superseded);
            d.owed = notify;
            return;
        }
        finish(NotifyOutcome::Superseded);
    }

    const bool resume = d.state == Impl::State::Stopped && d.paused;
    d.token = audio.nextToken();
    d.owed = notify;
    d.state = Impl::State::Playing;
    d.started = false;
    if (d.silent)
        return;

    if (d.midi) {
        if (resume && audio.musicOwner() == this && Mix_PausedMusic()) {
            d.paused = false;
            d.started = true;
            musicToken.store(d.token);
            Mix_ResumeMusic();
            return;
        }
        d.paused = false;
        audio.claimMusic(this);
        startSong();
        return;
    }

    auto& channelToken = channelTokens[size_t(d.channel)];
    if (resume && Mix_Paused(d.channel)) {
        d.paused = false;
        d.started = true;
        channelToken.store(d.token);
        Mix_Resume(d.channel);
        return;
    }
    d.paused = false;
    Mix_HaltChannel(d.channel);
    channelToken.store(d.token);
    if (Mix_PlayChannel(d.channel, d.chunk.get(), 0) < 0) {
        channelToken.store(0);
        finish(NotifyOutcome::Failure);
        return;
    }
    d.started = true;
}

// Starts the current play of a song from its beginning, once the loader has it.
void SoundPlayer::startSong() {
    Impl& d = *impl_;
    if (!d.song || !d.song->isReady())
        return;  // the loader's message starts it
    Mix_Music* music = nullptr;
    {
        std::lock_guard lock(d.song->mutex);
        music = d.song->music;
    }
    if (!music) {
        finish(NotifyOutcome::Failure);
        return;
    }
    SoundOutput& audio = SoundOutput::get();
    audio.haltMusic(this);
    audio.setMusicOwner(this);
    musicToken.store(d.token);
    d.songStart.start();
    if (Mix_PlayMusic(music, 1) != 0) {
        musicToken.store(0);
        audio.setMusicOwner(nullptr);
        finish(NotifyOutcome::Failure);
        return;
    }
    d.started = true;
}

void SoundPlayer::stop() {
    notify_ = false;
    Impl& d = *impl_;
    if (d.state == Impl::State::Closed)
        throw KatalogError(notOpenText());
    if (d.state != Impl::State::Playing)
        return;
    if (std::exchange(d.owed, false))
        postNotice(NotifyOutcome::Aborted);
    d.state = Impl::State::Stopped;
    d.paused = false;
    if (d.silent) {
        d.paused = true;
    } else if (d.started) {
        if (d.midi) {
            if (SoundOutput::get().musicOwner() == this && Mix_PlayingMusic()) {
                Mix_PauseMusic();
                d.paused = true;
            }
        } else if (Mix_Playing(d.channel)) {
            Mix_Pause(d.channel);
            d.paused = true;
        }
    }
    d.started = false;
}

bool SoundPlayer::isOpen() const { return impl_->state != Impl::State::Closed; }

PlayerMode SoundPlayer::mode() const {
    switch (impl_->state) {
    case Impl::State::Closed:
        return PlayerMode::NotReady;
    case Impl::State::Playing:
        return PlayerMode::Playing;
    default:
        return PlayerMode::Stopped;
    }
}

}  // namespace platform

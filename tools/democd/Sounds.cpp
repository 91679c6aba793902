#include "tools/democd/Sounds.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace democd {

// ---------------------------------------------------------------------------------------
// Click.

QByteArray clickWave() {
    const int rate = 22050;
    const int samples = rate * 40 / 1000;
    QByteArray pcm;
    pcm.reserve(samples * 2);
    std::uint32_t noise = 12345;
    for (int i = 0; i < samples; ++i) {
        const double t = double(i) / rate;
        noise = noise * 1664525u + 1013904223u;
        const double n = (double(noise >> 8) / double(1 << 24)) * 2 - 1;
        const double body = std::sin(2 * std::numbers::pi * 2400 * t) * std::exp(-t / 0.004);
        const double snap = n * std::exp(-t / 0.0012);
        const double low = std::sin(2 * std::numbers::pi * 650 * t) * std::exp(-t / 0.009) * 0.5;
        const double v = std::clamp((body * 0.55 + snap * 0.45 + low) * 0.8, -1.0, 1.0);
        const qint16 s = qint16(std::lround(v * 32000));
        char b[2];
        qToLittleEndian(s, b);
        pcm.append(b, 2);
    }
    QByteArray wav;
    const auto u32 = [&wav](quint32 v) { char b[4]; qToLittleEndian(v, b); wav.append(b, 4); };
    const auto u16 = [&wav](quint16 v) { char b[2]; qToLittleEndian(v, b); wav.append(b, 2); };
    wav.append("RIFF");
    u32(quint32(36 + pcm.size()));
    wav.append("WAVEfmt ");
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    wav.append("data");
    u32(quint32(pcm.size()));
    wav.append(pcm);
    return wav;
}

// ---------------------------------------------------------------------------------------
// MIDI writer.

namespace {

QByteArray varLen(quint32 v) {
    QByteArray out;
    out.prepend(char(v & 0x7f));
    while (v >>= 7)
        out.prepend(char((v & 0x7f) | 0x80));
    return out;
}

QByteArray be32(quint32 v) {
    char b[4];
    qToBigEndian(v, b);
    return QByteArray(b, 4);
}

QByteArray be16(quint16 v) {
    char b[2];
    qToBigEndian(v, b);
    return QByteArray(b, 2);
}

}  // namespace

void MidiTrack::add(int tick, int order, QByteArray bytes) {
    events_.append({tick * 4 + order, sequence_++, std::move(bytes)});
}

void MidiTrack::tempo(int tick, int bpm) {
    const quint32 us = quint32(60000000 / bpm);
    add(tick, 1, QByteArray("\xff\x51\x03", 3) + be32(us).mid(1));
}

void MidiTrack::timeSignature(int tick, int beats) {
    QByteArray b("\xff\x58\x04", 3);
    b.append(char(beats));
    b.append(char(2));   // quarter notes
    b.append(char(24));  // clocks per click
    b.append(char(8));
    add(tick, 1, b);
}

void MidiTrack::name(const QByteArray& text) {
    add(0, 0, QByteArray("\xff\x03", 2) + varLen(quint32(text.size())) + text);
}

void MidiTrack::program(int tick, int channel, int program) {
    add(tick, 1, QByteArray(1, char(0xc0 | channel)) + QByteArray(1, char(program)));
}

void MidiTrack::controller(int tick, int channel, int number, int value) {
    QByteArray b(1, char(0xb0 | channel));
    b.append(char(number));
    b.append(char(value));
    add(tick, 1, b);
}

void MidiTrack::note(int tick, int length, int channel, int key, int velocity) {
    key = std::clamp(key, 0, 127);
    QByteArray on(1, char(0x90 | channel));
    on.append(char(key));
    on.append(char(std::clamp(velocity, 1, 127)));
    QByteArray off(1, char(0x80 | channel));
    off.append(char(key));
    off.append(char(0));
    add(tick, 2, on);
    add(tick + std::max(1, length), 0, off);
}

QByteArray MidiTrack::chunk(int endTick) const {
    QList<Event> sorted = events_;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Event& a, const Event& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    QByteArray data;
    int last = 0;
    for (const Event& e : sorted) {
        const int tick = std::min(e.tick / 4, endTick);
        data.append(varLen(quint32(tick - last)));
        data.append(e.bytes);
        last = tick;
    }
    data.append(varLen(quint32(std::max(0, endTick - last))));
    data.append("\xff\x2f\x00", 3);
    return QByteArray("MTrk") + be32(quint32(data.size())) + data;
}

QByteArray midiFile(const QList<MidiTrack>& tracks, int division, int endTick) {
    QByteArray out("MThd");
    out.append(be32(6));
    out.append(be16(1));
    out.append(be16(quint16(tracks.size())));
    out.append(be16(quint16(division)));
    for (const MidiTrack& t : tracks)
        out.append(t.chunk(endTick));
    return out;
}

// ---------------------------------------------------------------------------------------
// The songs: a small arranger. Each song is a key, a progression and a style; the melody
// grows from a motif per phrase, so that phrases repeat and answer each other.

namespace {

constexpr int Division = 480;
constexpr int Eighth = Division / 2;

enum class Style { Pop, Waltz, March, Drive, Bossa, Baroque };

struct SongSpec {
    int bpm;
    int beats;
    int root;  // MIDI key of the tonic, octave 4
    bool minor;
    std::array<int, 8> progression;  // scale degrees, one per bar, 0-based
    int bars;
    int melody, chords, bass;        // General MIDI programs
    Style style;
    std::uint32_t seed;
};

// Six different tunes, 20 to 60 seconds each.
constexpr SongSpec Songs[] = {
    {96, 4, 60, false, {0, 5, 3, 4, 0, 5, 1, 4}, 16, 0, 48, 32, Style::Pop, 11},
    {168, 3, 65, false, {0, 0, 4, 4, 4, 4, 0, 0}, 32, 73, 21, 32, Style::Waltz, 23},
    {120, 4, 62, true, {0, 3, 4, 0, 5, 3, 4, 4}, 16, 80, 61, 38, Style::March, 37},
    {112, 4, 57, true, {0, 5, 2, 6, 0, 5, 3, 4}, 20, 4, 89, 33, Style::Drive, 41},
    {128, 4, 67, false, {1, 4, 0, 0, 1, 4, 0, 5}, 20, 11, 24, 32, Style::Bossa, 53},
    {100, 4, 64, true, {0, 3, 6, 2, 5, 1, 4, 0}, 16, 74, 6, 42, Style::Baroque, 67},
};

class Rng {
public:
    explicit Rng(std::uint32_t s) : s_(s * 2654435761u + 1) {}
    int below(int n) {
        s_ ^= s_ << 13;
        s_ ^= s_ >> 17;
        s_ ^= s_ << 5;
        return int(s_ % std::uint32_t(n));
    }

private:
    std::uint32_t s_;
};

struct Key {
    int root;
    bool minor;
    // Semitone of scale step s (any integer; steps wrap into octaves).
    int pitch(int step, bool leading = false) const {
        static constexpr int major[] = {0, 2, 4, 5, 7, 9, 11};
        static constexpr int minorScale[] = {0, 2, 3, 5, 7, 8, 10};
        const int octave = (step >= 0 ? step : step - 6) / 7;
        const int s = step - octave * 7;
        int semis = minor ? minorScale[s] : major[s];
        if (minor && leading && s == 6)
            semis = 11;  // the raised seventh of the dominant
        return root + octave * 12 + semis;
    }
};

std::vector<int> chordSteps(int degree) { return {degree, degree + 2, degree + 4}; }

// Rhythm of one melody bar in eighths; negative values are rests.
std::vector<int> rhythm(Style style, int variant) {
    switch (style) {
    case Style::Pop: return variant % 2 ? std::vector<int>{2, 1, 1, 2, 2} : std::vector<int>{3, 1, 2, -2};
    case Style::Waltz: return variant % 2 ? std::vector<int>{2, 2, 2} : std::vector<int>{4, 1, 1};
    case Style::March: return variant % 2 ? std::vector<int>{1, 1, 2, 1, 1, 2} : std::vector<int>{2, 2, 3, 1};
    case Style::Drive: return variant % 2 ? std::vector<int>{1, 2, 1, 2, 2} : std::vector<int>{3, 3, 2};
    case Style::Bossa: return variant % 2 ? std::vector<int>{3, 3, 2} : std::vector<int>{2, 1, 3, -2};
    case Style::Baroque: return variant % 2 ? std::vector<int>{1, 1, 1, 1, 2, 2} : std::vector<int>{2, 1, 1, 4};
    }
    return {8};
}

void addDrums(MidiTrack& t, Style style, int barTick, int beats, bool fill) {
    const int ch = 9;
    const int beat = Division;
    switch (style) {
    case Style::Pop:
        for (int b = 0; b < beats; ++b) {
            t.note(barTick + b * beat, 60, ch, b % 2 ? 38 : 36, b % 2 ? 70 : 85);
            t.note(barTick + b * beat, 60, ch, 42, 45);
            t.note(barTick + b * beat + Eighth, 60, ch, 42, 30);
        }
        break;
    case Style::Waltz:
        t.note(barTick, 60, ch, 36, 70);
        t.note(barTick + beat, 60, ch, 42, 40);
        t.note(barTick + 2 * beat, 60, ch, 42, 40);
        break;
    case Style::March:
        for (int b = 0; b < beats; ++b) {
            t.note(barTick + b * beat, 60, ch, b % 2 ? 38 : 36, 80);
            if (b % 2)
                t.note(barTick + b * beat + Eighth, 40, ch, 38, 50);
        }
        break;
    case Style::Drive:
        for (int e = 0; e < beats * 2; ++e) {
            t.note(barTick + e * Eighth, 40, ch, 42, e % 2 ? 35 : 55);
            if (e == 0 || e == 3 || e == 5)
                t.note(barTick + e * Eighth, 60, ch, 36, 90);
            if (e == 2 || e == 6)
                t.note(barTick + e * Eighth, 60, ch, 38, 85);
        }
        break;
    case Style::Bossa: {
        static constexpr int clave[] = {0, 3, 6, 10, 13};  // sixteenths
        for (int s : clave)
            t.note(barTick + s * Division / 4, 40, ch, 37, 60);
        for (int e = 0; e < beats * 2; ++e)
            t.note(barTick + e * Eighth, 40, ch, 42, 28);
        t.note(barTick, 60, ch, 36, 60);
        t.note(barTick + 2 * beat + Eighth, 60, ch, 36, 50);
        break;
    }
    case Style::Baroque:
        break;  // no drums in a harpsichord piece
    }
    if (fill && style != Style::Baroque)
        for (int s = 0; s < 4; ++s)
            t.note(barTick + (beats - 1) * beat + s * Division / 4, 40, ch, 45 - s * 2, 60 + s * 8);
}

}  // namespace

double songSeconds(int n) {
    const SongSpec& s = Songs[std::clamp(n, 1, 6) - 1];
    return (s.bars + 1) * s.beats * 60.0 / s.bpm;
}

QByteArray song(int n) {
    const SongSpec& s = Songs[std::clamp(n, 1, 6) - 1];
    const Key key{s.root, s.minor};
    Rng rng(s.seed);
    const int barLen = s.beats * Division;

    MidiTrack conductor, melody, chords, bass, drums;
    conductor.name("Melody" + QByteArray::number(n));
    conductor.tempo(0, s.bpm);
    conductor.timeSignature(0, s.beats);
    melody.program(0, 0, s.melody);
    melody.controller(0, 0, 7, 100);
    melody.controller(0, 0, 91, 40);
    chords.program(0, 1, s.chords);
    chords.controller(0, 1, 7, 70);
    chords.controller(0, 1, 91, 50);
    bass.program(0, 2, s.bass);
    bass.controller(0, 2, 7, 95);

    // Two motifs (contours of scale steps): one for the A phrases, one for the B phrase.
    std::array<std::vector<int>, 2> motifs;
    for (auto& m : motifs)
        for (int i = 0; i < 8; ++i) {
            static constexpr int moves[] = {-2, -1, -1, 1, 1, 2, 0, 3};
            m.push_back(moves[rng.below(8)]);
        }
    // Each bar of a phrase starts near its own height, so that the tune rises and falls
    // instead of drifting away.
    static constexpr int contour[] = {0, 2, 1, -2};
    const auto nearestChordTone = [](const std::vector<int>& chord, int step) {
        int best = step, bestDistance = 99;
        for (int o = -14; o <= 21; o += 7)
            for (int c : chord)
                if (std::abs(c + o - step) < bestDistance) {
                    bestDistance = std::abs(c + o - step);
                    best = c + o;
                }
        return best;
    };
    for (int bar = 0; bar < s.bars; ++bar) {
        const int tick = bar * barLen;
        const int degree = s.progression[std::size_t(bar % 8)];
        const bool dominant = degree == 4;
        const std::vector<int> steps = chordSteps(degree);
        const int phrase = (bar / 4) % 4;           // A A B A
        const auto& motif = motifs[phrase == 2 ? 1 : 0];
        if (bar == s.bars - 1) {
            // The tonic rings out through this bar and one more.
            for (int i = 0; i < 3; ++i)
                chords.note(tick, barLen * 2 - 60, 1, key.pitch(i * 2), 52);
            bass.note(tick, barLen * 2 - 60, 2, key.pitch(-14), 80);
            melody.note(tick, barLen * 2 - 60, 0, key.pitch(7), 88);
            drums.note(tick, Division, 9, 49, 70);  // a cymbal to close
            break;
        }

        // Chords.
        const auto chordPitch = [&](int i) { return key.pitch(steps[std::size_t(i % 3)] + (i / 3) * 7, dominant); };
        switch (s.style) {
        case Style::Pop:
        case Style::Drive:
            for (int i = 0; i < 3; ++i)
                chords.note(tick, barLen - 20, 1, chordPitch(i), 55);
            break;
        case Style::Waltz:
            for (int b = 1; b < 3; ++b)
                for (int i = 0; i < 3; ++i)
                    chords.note(tick + b * Division, Division - 60, 1, chordPitch(i), 50);
            break;
        case Style::March:
            for (int b = 0; b < s.beats; ++b)
                for (int i = 0; i < 3; ++i)
                    chords.note(tick + b * Division, Division / 2, 1, chordPitch(i) - 12, b % 2 ? 45 : 60);
            break;
        case Style::Bossa: {
            static constexpr int hits[] = {0, 3, 6, 10, 12};  // sixteenths
            for (int h : hits)
                for (int i = 0; i < 4; ++i) {
                    const int p = i < 3 ? chordPitch(i) : key.pitch(steps[0] + 6, dominant);
                    chords.note(tick + h * Division / 4, Division / 2, 1, p - 12, 48);
                }
            break;
        }
        case Style::Baroque:
            for (int k = 0; k < s.beats * 4; ++k) {
                static constexpr int alberti[] = {0, 2, 1, 2};
                chords.note(tick + k * Division / 4, Division / 4, 1, chordPitch(alberti[k % 4]) - 12, k % 4 ? 50 : 64);
            }
            break;
        }

        // Bass.
        const int root = key.pitch(degree - 14, dominant);
        const int fifth = key.pitch(degree + 4 - 14, dominant);
        if (s.style == Style::Waltz) {
            bass.note(tick, Division - 40, 2, bar % 2 ? fifth : root, 80);
        } else if (s.style == Style::Drive) {
            for (int e = 0; e < s.beats * 2; ++e)
                bass.note(tick + e * Eighth, Eighth - 30, 2, e == 6 ? fifth : root, e % 2 ? 70 : 90);
        } else if (s.style == Style::Baroque) {
            for (int b = 0; b < s.beats; ++b)
                bass.note(tick + b * Division, Division - 30, 2, key.pitch(degree - 14 + (b % 2 ? 4 : 0) + (b == 3 ? -3 : 0), dominant), 75);
        } else {
            bass.note(tick, Division * 2 - 40, 2, root, 85);
            bass.note(tick + 2 * Division, Division * 2 - 40, 2, s.style == Style::Bossa ? fifth : root, 75);
        }

        addDrums(drums, s.style, tick, s.beats, bar % 8 == 7);

        // Melody.
        const std::vector<int> r = rhythm(s.style, (bar + (phrase == 2 ? 1 : 0)) % 2 + (bar % 4 == 3 ? 1 : 0));
        int step = nearestChordTone(steps, (phrase == 2 ? 11 : 9) + contour[bar % 4]);
        int previous = -99;
        int at = tick;
        for (std::size_t i = 0; i < r.size(); ++i) {
            const int len = std::abs(r[i]) * Eighth;
            if (r[i] > 0) {
                const bool strong = (at - tick) % (2 * Division) == 0;
                if (i > 0)
                    step += motif[(i + std::size_t(bar % 4)) % motif.size()];
                if (strong)
                    step = nearestChordTone(steps, step);  // strong beats land on the chord
                if (step == previous)
                    step += (bar + int(i)) % 2 ? 1 : -1;
                // Keep to a singable range by turning back at its edges.
                if (step < 4)
                    step = 8 - step;
                if (step > 15)
                    step = 30 - step;
                previous = step;
                melody.note(at, len - 30, 0, key.pitch(step, dominant), strong ? 92 : 76);
            }
            at += len;
        }
    }
    const int endTick = (s.bars + 1) * barLen;
    return midiFile({conductor, melody, chords, bass, drums}, Division, endTick);
}

}  // namespace democd

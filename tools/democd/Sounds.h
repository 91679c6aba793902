#pragma once
// The click sound and the six background songs.
#include <QByteArray>
#include <QList>

#include <cstdint>

namespace democd {

// A short click: 16-bit mono PCM in a RIFF wave file.
QByteArray clickWave();

// One track of a standard MIDI file; events at absolute ticks, written in time order.
class MidiTrack {
public:
    void tempo(int tick, int bpm);
    void timeSignature(int tick, int beats);
    void program(int tick, int channel, int program);
    void controller(int tick, int channel, int number, int value);
    void note(int tick, int length, int channel, int key, int velocity);
    void name(const QByteArray& text);
    // The track chunk ("MTrk"), ending at endTick at the latest.
    QByteArray chunk(int endTick) const;

private:
    struct Event {
        int tick;
        int order;  // note offs before note ons at the same tick
        QByteArray bytes;
    };
    void add(int tick, int order, QByteArray bytes);
    QList<Event> events_;
    int sequence_ = 0;
};

// A format 1 MIDI file of the tracks, `division` ticks per quarter note.
QByteArray midiFile(const QList<MidiTrack>& tracks, int division, int endTick);

// Song n (1 to 6) as a General MIDI file.
QByteArray song(int n);
// Its length in seconds, for tests and the help page.
double songSeconds(int n);

}  // namespace democd

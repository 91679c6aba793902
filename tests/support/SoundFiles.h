#pragma once
// Small sound files written by the tests themselves.
#include <QByteArray>
#include <QList>

namespace testing_support {

struct MidiNote {
    int key;  // 0: a rest
    int ms;
};

// A format-0 MIDI file at 120 beats a minute playing the notes one after another on the
// given General MIDI program (0 piano, 19 church organ, which holds its tone).
QByteArray midiFile(const QList<MidiNote>& notes, int program = 0);
// 16-bit mono PCM wave of a sine tone.
QByteArray waveFile(int ms, int hz = 880, int rate = 22050);

}  // namespace testing_support

#include "tests/support/SoundFiles.h"

#include <QtEndian>

#include <cmath>
#include <numbers>

namespace testing_support {
namespace {

void appendVarLen(QByteArray& out, quint32 v) {
    QByteArray bytes(1, char(v & 0x7F));
    while ((v >>= 7) != 0)
        bytes.prepend(char(0x80 | (v & 0x7F)));
    out += bytes;
}

template <typename T>
void appendBig(QByteArray& out, T v) {
    const T be = qToBigEndian(v);
    out.append(reinterpret_cast<const char*>(&be), sizeof be);
}

template <typename T>
void appendLittle(QByteArray& out, T v) {
    const T le = qToLittleEndian(v);
    out.append(reinterpret_cast<const char*>(&le), sizeof le);
}

}  // namespace

QByteArray midiFile(const QList<MidiNote>& notes, int program) {
    constexpr int Division = 480;  // ticks a quarter note; 500 000 us a quarter: 1 tick = 1.0417 ms
    QByteArray track;
    track += QByteArray::fromHex("00FF510307A120");  // tempo
    track += char(0);
    track += char(0xC0);
    track += char(program);
    quint32 rest = 0;
    for (const MidiNote& n : notes) {
        const quint32 ticks = quint32(n.ms) * Division / 500;
        if (n.key == 0) {
            rest += ticks;
            continue;
        }
        appendVarLen(track, rest);
        track += char(0x90);
        track += char(n.key);
        track += char(100);
        appendVarLen(track, ticks);
        track += char(0x80);
        track += char(n.key);
        track += char(64);
        rest = 0;
    }
    appendVarLen(track, rest);
    track += QByteArray::fromHex("FF2F00");

    QByteArray file("MThd");
    appendBig<quint32>(file, 6);
    appendBig<quint16>(file, 0);
    appendBig<quint16>(file, 1);
    appendBig<quint16>(file, Division);
    file += "MTrk";
    appendBig<quint32>(file, quint32(track.size()));
    return file + track;
}

QByteArray waveFile(int ms, int hz, int rate) {
    const int frames = rate * ms / 1000;
    QByteArray data;
    for (int i = 0; i < frames; ++i)
        appendLittle<qint16>(data, qint16(12000 * std::sin(2 * std::numbers::pi * hz * i / rate)));
    QByteArray file("RIFF");
    appendLittle<quint32>(file, quint32(36 + data.size()));
    file += "WAVEfmt ";
    appendLittle<quint32>(file, 16);
    appendLittle<quint16>(file, 1);  // PCM
    appendLittle<quint16>(file, 1);  // mono
    appendLittle<quint32>(file, quint32(rate));
    appendLittle<quint32>(file, quint32(rate * 2));
    appendLittle<quint16>(file, 2);
    appendLittle<quint16>(file, 16);
    file += "data";
    appendLittle<quint32>(file, quint32(data.size()));
    return file + data;
}

}  // namespace testing_support

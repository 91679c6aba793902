#pragma once
// Writes catalogue containers: the encoding side of the container reader, used by the
// mapic tool, the demo CD, the tests and the benchmarks.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace katalog {

// Plain bytes to upper-case hex pairs, each byte XOR-ed first with the key byte of its
// position (the key restarts with every block).
QByteArray EncodeHexXor(QByteArrayView key, QByteArrayView plain);
// A 32-bit little-endian length followed by the bytes.
QByteArray BlockBytes(QByteArrayView encoded);
// "BRPIC" and the two masked header values.
QByteArray HeaderBytes(qint32 keyOffset, qint32 keyLength);

class ContainerBuilder {
public:
    // The key is key.size() bytes found at keyOffset in the CD's key file.
    ContainerBuilder(qint32 keyOffset, QByteArray key);

    // Takes the key from the key file's bytes; nullopt when the range is outside the file
    // or the key is longer than the reader accepts.
    static std::optional<ContainerBuilder> fromKeyFile(QByteArrayView keyFile, qint64 keyOffset,
                                                       qint64 keyLength);

    // Appends a description block (Windows-1250 text); returns its offset from the
    // description base, the value of the program's Seek or SeekSK key.
    qint32 addDescription(QByteArrayView text);
    qsizetype descriptionAreaSize() const { return descriptions_.size(); }

    // The container with the catalogue text (Windows-1250) and the descriptions added so far.
    QByteArray build(QByteArrayView catalogue) const;

    const QByteArray& key() const { return key_; }

private:
    qint32 keyOffset_;
    QByteArray key_;
    QByteArray descriptions_;
};

// Compiles a source catalogue: UTF-8 INI text in which a program section may name its
// description files with Popis= and PopisSK= (UTF-8 text, relative to the source file).
// Those two lines become Seek= and SeekSK= with the offsets of the encoded descriptions;
// everything else is kept byte for byte, in Windows-1250.
struct SourceBuildResult {
    QByteArray container;  // empty on failure
    QString error;
};
SourceBuildResult buildFromSource(const QString& sourcePath, ContainerBuilder builder);

}  // namespace katalog

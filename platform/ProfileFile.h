#pragma once
// An INI file with the semantics of the Windows private-profile services: names match
// without regard to case, names and values are trimmed of blanks and values lose
// surrounding quotes, every write goes to the disk at once and changes only the lines it
// concerns. Lines may end in CR LF, LF or CR; writes end them in CR LF. The file is
// Windows-1250 unless it starts with a UTF-8 or UTF-16 byte-order mark, and keeps its
// encoding. It is replaced atomically, so a crash or a full disk never leaves it half
// written.
#include "platform/Errors.h"

#include <QString>
#include <QStringConverter>
#include <QStringList>

#include <optional>

namespace platform {

class ProfileFile {
public:
    explicit ProfileFile(QString path) : path_(std::move(path)) {}

    const QString& path() const { return path_; }
    bool exists() const;

    // The value, at most 2047 characters; def without its trailing blanks when the section
    // or key is missing.
    QString readString(const QString& section, const QString& key, const QString& def = {}) const;
    // Decimal, or hexadecimal after 0x; def for a missing key or any other text.
    int readInteger(const QString& section, const QString& key, int def) const;
    // Key names of a section in file order; empty when the section is missing.
    QStringList readSection(const QString& section) const;

    // Writes fail with KatalogError("Unable to write to <path>").
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    // Deleting a key or section that is not there writes nothing.
    void deleteKey(const QString& section, const QString& key);
    void deleteSection(const QString& section);

private:
    // The file's lines, and the encoding its mark names (none: Windows-1250).
    struct Contents {
        QStringList lines;
        std::optional<QStringConverter::Encoding> unicode;
    };
    // nullopt when the file cannot be read.
    std::optional<Contents> load() const;
    Contents readLines() const;
    // The lines a write starts from: a file that is there but cannot be read is not written,
    // or the write would replace everything in it with the one new line.
    Contents readLinesForWrite() const;
    void save(const Contents& contents) const;
    // "Unable to write to <path>", the failure of every write.
    KatalogError writeError() const;

    QString path_;
};

// Text to a signed 32-bit integer: optional sign and decimal digits, or "0x"/"0X" (and, when
// allowDollar, "$") followed by hexadecimal digits (up to 8, two's complement). Anything else
// gives nullopt.
std::optional<int> parseInteger(QStringView text, bool allowDollar = false);

}  // namespace platform

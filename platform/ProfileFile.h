#pragma once
// An INI file with the semantics of the Windows private-profile services: names match
// without regard to case, values are trimmed and lose surrounding quotes, every write goes
// to the disk at once. The file is Windows-1250 with CR LF line ends and is replaced
// atomically, so a crash or a full disk never leaves it half written.
#include "platform/Errors.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace platform {

class ProfileFile {
public:
    explicit ProfileFile(QString path) : path_(std::move(path)) {}

    const QString& path() const { return path_; }
    bool exists() const;

    // The value, at most 2047 characters; def when the section or key is missing.
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
    QStringList readLines() const;
    // The lines a write starts from: a file that is there but cannot be read is not written,
    // or the write would replace everything in it with the one new line.
    QStringList readLinesForWrite() const;
    void save(const QStringList& lines) const;
    // "Unable to write to <path>", the failure of every write.
    KatalogError writeError() const;

    QString path_;
};

// Text to a signed 32-bit integer: optional sign and decimal digits, or "0x"/"0X" (and, when
// allowDollar, "$") followed by hexadecimal digits (up to 8, two's complement). Anything else
// gives nullopt.
std::optional<int> parseInteger(QStringView text, bool allowDollar = false);

}  // namespace platform

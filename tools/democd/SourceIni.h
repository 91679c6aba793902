#pragma once
// The generator's own sources (UTF-8 INI text): sections and keys in file order.
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace democd {

struct SourceSection {
    QString name;
    QList<std::pair<QString, QString>> keys;

    // Case-insensitive lookup; empty when missing.
    QString value(const QString& key) const;
    bool has(const QString& key) const;
};

class SourceIni {
public:
    // Reads a file; nullopt when it cannot be read.
    static std::optional<SourceIni> load(const QString& path);
    static SourceIni parse(const QString& text);

    const QList<SourceSection>& sections() const { return sections_; }
    const SourceSection* section(const QString& name) const;
    // Key names of a section in file order (empty when missing).
    QStringList keys(const QString& section) const;

private:
    QList<SourceSection> sections_;
};

}  // namespace democd

#pragma once
// The in-memory catalogue: sections of keys in the INI dialect of the decoded catalogue
// block. Filled once at start-up, then looked up by name many times per user action.
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace katalog {

// Decoded text ends at its first zero byte.
QByteArrayView beforeZero(QByteArrayView text);

// A name compared and hashed without regard to letter case, accented letters included,
// without building a lower-cased copy.
struct FoldedName {
    QString text;
    friend bool operator==(const FoldedName& a, const FoldedName& b) {
        return a.text.compare(b.text, Qt::CaseInsensitive) == 0;
    }
};
size_t qHash(const FoldedName& name, size_t seed = 0) noexcept;

// Of two sections, or two keys in one section, with the same name, lookups and writes use
// the first; both stay in sections().
class CatalogueStore {
public:
    struct Line {
        QString name;   // empty for a line without "="
        QString value;
    };
    struct Section {
        QString name;
        QList<Line> lines;
    };

    // Replaces the contents with the text (Windows-1250 bytes); see the .cpp for the dialect.
    void load(QByteArrayView text);
    void clear();

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // Decimal with an optional sign, or hexadecimal after 0x, 0X or $; else def.
    int ReadInteger(const QString& section, const QString& key, int def) const;
    // One name per stored line of the section (empty for a line without "=").
    QStringList ReadSection(const QString& section) const;
    // A missing key goes to the end of its section, a missing section after the last one.
    void WriteInteger(const QString& section, const QString& key, int value);

    // Every section in stored order, duplicates included.
    const QList<Section>& sections() const { return sections_; }

private:
    struct Index {
        QHash<FoldedName, qsizetype> keys;  // 1 + the first line of each name
    };
    const Line* findLine(const QString& section, const QString& key) const;
    void appendSection(const QString& name);
    void appendLine(qsizetype section, const QString& name, QString value);

    QList<Section> sections_;
    QList<Index> index_;                       // parallel to sections_
    QHash<FoldedName, qsizetype> sectionIndex_;  // 1 + the first section of each name
};

}  // namespace katalog

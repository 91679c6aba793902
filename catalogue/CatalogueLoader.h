#pragma once
// Opens the catalogue container, takes the key from the CD's key file and fills the
// catalogue store and the description table. Widget-free: the catalogue window, the mapic
// tool, the tests and the benchmarks all load through here.
#include "catalogue/CatalogueStore.h"
#include "catalogue/Decrypt.h"

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace katalog {

// One (section, program) pair; entry i owns description slot i.
struct ProgramEntry {
    QString section;
    QString program;
    friend bool operator==(const ProgramEntry&, const ProgramEntry&) = default;
};

// Description lines by slot. Slot numbers come from the store's Index keys, which the
// container itself may carry for programs outside every section: a slot outside the table
// reads as "Bez popisu.".
class DescriptionTable {
public:
    QStringList lines(qsizetype slot) const;
    // The same lines, each followed by a line feed.
    const QString& text(qsizetype slot) const;
    qsizetype size() const { return slots_.size(); }
    void clear() { slots_.clear(); }
    // A slot in the form of text(): one string per slot keeps start-up from allocating
    // tens of thousands of line strings.
    void appendText(QString text) { slots_.append(std::move(text)); }

private:
    QList<QString> slots_;
};

// The format was made for 1000 entries and the table grows past that; this bound only
// stops a crafted [sections] that repeats a long section from multiplying into billions of
// entries. Entries past it are not loaded.
inline constexpr qsizetype MaxProgramEntries = 100000;

QString containerDamagedMessage();  // "Datový soubor byl narušen, aplikace bude ukončena!"
QString noDescriptionText();        // "Bez popisu."

// Decoded description bytes (Windows-1250) as DescriptionTable::text: lines end at CR LF,
// lone CR and lone LF, a zero byte ends the text, and a line break at the very end opens no
// further line.
QString descriptionText(QByteArrayView text);

class CatalogueLoader {
public:
    CatalogueLoader(CatalogueStore& store, DescriptionTable& descriptions);
    ~CatalogueLoader();
    CatalogueLoader(const CatalogueLoader&) = delete;
    CatalogueLoader& operator=(const CatalogueLoader&) = delete;

    // Empties the store, opens "MAP.PIC" below systemDir, checks it and reads the key from
    // "CTIMNE.TXT" below programDir (names matched without regard to case). False: the
    // container is damaged and nothing may be loaded; the caller tells the user and ends.
    [[nodiscard]] bool open(const QString& programDir, const QString& systemDir);
    // The same on open devices; a null keyFile stands for a missing key file.
    [[nodiscard]] bool open(std::unique_ptr<QIODevice> container,
                            std::unique_ptr<QIODevice> keyFile);

    // The catalogue block right after the header, into the store.
    void LoadINI();
    // The description blocks after the catalogue block, into the table; writes the Index
    // keys. Slovak mode prefers SeekSK and falls back to Seek.
    void LoadTXT(bool slovakLang);
    void close();

    // open, LoadINI, LoadTXT and close in one go.
    [[nodiscard]] bool FullDecrypt(const QString& programDir, const QString& systemDir,
                                   bool slovakLang);

    const QList<ProgramEntry>& entries() const { return entries_; }
    const QByteArray& CatalogueKey() const { return key_; }
    const ContainerHeader& header() const { return header_; }

private:
    bool reject();

    CatalogueStore& store_;
    DescriptionTable& descriptions_;
    QList<ProgramEntry> entries_;
    std::unique_ptr<QIODevice> container_;
    ContainerHeader header_;
    QByteArray key_;
    qint64 position_ = 0;
};

}  // namespace katalog

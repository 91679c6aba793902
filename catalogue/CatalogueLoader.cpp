#include "catalogue/CatalogueLoader.h"

#include "platform/Codec.h"
#include "platform/Paths.h"

#include <QFile>
#include <QHash>

#include <cstring>

namespace katalog {

const QStringList& DescriptionTable::lines(qsizetype slot) const {
    static const QStringList none;
    return slot >= 0 && slot < slots_.size() ? slots_[slot] : none;
}

QString containerDamagedMessage() {
    return QStringLiteral("Datový soubor byl narušen, aplikace bude ukončena!");
}

QString noDescriptionText() { return QStringLiteral("Bez popisu."); }

QStringList splitLines(QByteArrayView text) {
    text = beforeZero(text);
    QStringList lines;
    const qsizetype size = text.size();
    qsizetype pos = 0;
    while (pos < size) {
        qsizetype end = pos;
        while (end < size && text[end] != '\r' && text[end] != '\n')
            ++end;
        lines.append(platform::fromCp1250(text.sliced(pos, end - pos)));
        pos = end;
        if (pos < size)
            pos += (text[pos] == '\r' && pos + 1 < size && text[pos + 1] == '\n') ? 2 : 1;
    }
    return lines;
}

CatalogueLoader::CatalogueLoader(CatalogueStore& store, DescriptionTable& descriptions)
    : store_(store), descriptions_(descriptions) {}

CatalogueLoader::~CatalogueLoader() = default;

bool CatalogueLoader::open(const QString& programDir, const QString& systemDir) {
    std::unique_ptr<QIODevice> container;
    if (auto path = platform::existingFile(systemDir, QStringLiteral("MAP.PIC")))
        container = std::make_unique<QFile>(*path);
    std::unique_ptr<QIODevice> keyFile;
    if (auto path = platform::existingFile(programDir, QStringLiteral("CTIMNE.TXT")))
        keyFile = std::make_unique<QFile>(*path);
    return open(std::move(container), std::move(keyFile));
}

bool CatalogueLoader::open(std::unique_ptr<QIODevice> container,
                           std::unique_ptr<QIODevice> keyFile) {
    store_.clear();
    descriptions_.clear();
    entries_.clear();
    key_.clear();
    header_ = {};
    container_ = std::move(container);
    if (!container_ || (!container_->isOpen() && !container_->open(QIODevice::ReadOnly)) ||
        !CheckMagic(*container_))
        return reject();
    const auto header = ReadHeader(*container_);
    if (!header)
        return reject();
    header_ = *header;
    position_ = HeaderEnd;

    // The original read the key blindly; a key that is not all there would only give a
    // meaningless catalogue, so it counts as a damaged container.
    if (header_.KeyOffset < 0 || header_.KeyLength < 0 || header_.KeyLength > MaxKeyLength)
        return reject();
    if (!keyFile || (!keyFile->isOpen() && !keyFile->open(QIODevice::ReadOnly)))
        return reject();
    if (keyFile->size() < qint64(header_.KeyOffset) + header_.KeyLength ||
        !keyFile->seek(header_.KeyOffset))
        return reject();
    key_ = keyFile->read(header_.KeyLength);
    keyFile->close();
    if (key_.size() != header_.KeyLength)
        return reject();
    return true;
}

bool CatalogueLoader::reject() {
    close();
    key_.clear();
    return false;
}

void CatalogueLoader::LoadINI() {
    if (!container_)
        return;
    store_.load(ReadBlock(*container_, position_, key_, &position_));
}

void CatalogueLoader::LoadTXT(bool slovakLang) {
    descriptions_.clear();
    entries_.clear();
    if (!container_)
        return;
    const qint64 descriptionBase = position_;
    const qint64 fileSize = container_->size();

    const QString sectionsName = QStringLiteral("sections");
    for (const QString& section : store_.ReadSection(sectionsName)) {
        for (const QString& program : store_.ReadSection(section)) {
            if (entries_.size() == MaxProgramEntries)
                break;
            entries_.append(ProgramEntry{section, program});
        }
    }

    const QString seek = QStringLiteral("Seek");
    const QString seekSK = QStringLiteral("SeekSK");
    const QString index = QStringLiteral("Index");
    // Programs listed in several sections share their block; decoding it once keeps a
    // catalogue that lists one long description many times from multiplying its size.
    QHash<qint64, QStringList> decoded;
    // Intact blocks never overlap, so together they hold less than the file. Damaged length
    // fields make blocks run over each other up to the end of the file; without a bound,
    // 1000 of them would decode gigabytes from a few megabytes.
    qint64 budget = fileSize;
    for (qsizetype i = 0; i < entries_.size(); ++i) {
        const QString& program = entries_[i].program;
        int offset = -1;
        if (slovakLang)
            offset = store_.ReadInteger(program, seekSK, -1);
        if (offset == -1)
            offset = store_.ReadInteger(program, seek, -1);

        // Offsets before the base or past the end point at no block of this container.
        const qint64 block = descriptionBase + offset;
        const auto known = decoded.constFind(block);
        if (known != decoded.constEnd()) {
            descriptions_.append(*known);
        } else {
            const qint64 cost = (offset < 0 || block + 4 > fileSize)
                                    ? -1 : EncodedBlockSize(*container_, block);
            if (cost < 0 || cost > budget) {
                descriptions_.append(QStringList{noDescriptionText()});
            } else {
                budget -= cost;
                descriptions_.append(
                    *decoded.insert(block, splitLines(ReadBlock(*container_, block, key_))));
            }
        }
        store_.WriteInteger(program, index, int(i));
    }
}

void CatalogueLoader::close() {
    if (container_)
        container_->close();
    container_.reset();
}

bool CatalogueLoader::FullDecrypt(const QString& programDir, const QString& systemDir,
                                  bool slovakLang) {
    if (!open(programDir, systemDir))
        return false;
    LoadINI();
    LoadTXT(slovakLang);
    close();
    return true;
}

}  // namespace katalog

#include "catalogue/CatalogueLoader.h"

#include "app/CdFiles.h"
#include "platform/Codec.h"
#include "platform/Paths.h"

#include <QBuffer>
#include <QFile>
#include <QHash>
#include <QSet>

#include <array>

namespace katalog {

const QString& DescriptionTable::text(qsizetype slot) const {
    static const QString none = noDescriptionText() + u'\n';
    return slot >= 0 && slot < slots_.size() ? slots_[slot] : none;
}

QStringList DescriptionTable::lines(qsizetype slot) const {
    const QString& t = text(slot);
    QStringList out;
    qsizetype start = 0;
    for (qsizetype i = 0; i < t.size(); ++i) {
        if (t[i] == u'\n') {
            out.append(t.sliced(start, i - start));
            start = i + 1;
        }
    }
    return out;
}

QString containerDamagedMessage() {
    return QStringLiteral("Datový soubor byl narušen, aplikace bude ukončena!");
}

QString noDescriptionText() { return QStringLiteral("Bez popisu."); }

QString descriptionText(QByteArrayView text) {
    // One pass from bytes to the final string: descriptions are most of what start-up
    // decodes.
    static const auto table = [] {
        std::array<char16_t, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const char byte = char(b);
            t[size_t(b)] = platform::fromCp1250(QByteArrayView(&byte, 1)).at(0).unicode();
        }
        return t;
    }();
    text = beforeZero(text);
    QString out(text.size() + 1, Qt::Uninitialized);
    char16_t* d = reinterpret_cast<char16_t*>(out.data());
    const auto* in = reinterpret_cast<const uchar*>(text.data());
    const qsizetype n = text.size();
    qsizetype w = 0;
    for (qsizetype r = 0; r < n; ++r) {
        const uchar b = in[r];
        if (b == '\r') {
            d[w++] = u'\n';
            if (r + 1 < n && in[r + 1] == '\n')
                ++r;
        } else {
            d[w++] = table[b];
        }
    }
    if (w > 0 && d[w - 1] != u'\n')
        d[w++] = u'\n';
    out.truncate(w);
    return out;
}

CatalogueLoader::CatalogueLoader(CatalogueStore& store, DescriptionTable& descriptions)
    : store_(store), descriptions_(descriptions) {}

CatalogueLoader::~CatalogueLoader() = default;

bool CatalogueLoader::open(const QString& programDir, const QString& systemDir) {
    // The whole container is decoded at start-up anyway: one read, and the blocks come from
    // memory instead of a seek, a size query and a dozen reads each.
    std::unique_ptr<QIODevice> container;
    if (auto path = platform::existingFile(systemDir, QString::fromLatin1(cdfiles::Container))) {
        QFile file(*path);
        if (file.open(QIODevice::ReadOnly)) {
            auto buffer = std::make_unique<QBuffer>();
            buffer->setData(file.readAll());
            if (file.error() == QFileDevice::NoError &&
                buffer->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
                container = std::move(buffer);
        }
    }
    std::unique_ptr<QIODevice> keyFile;
    if (auto path = platform::existingFile(programDir, QString::fromLatin1(cdfiles::KeyFile)))
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

    // A key that is not all there would only decode a meaningless catalogue: the container
    // counts as damaged.
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

    // Programs listed only past the cap still get an Index of ours: one the container
    // carries could name any slot. Each section is gone through once past the cap, so a
    // repeated listing costs nothing there.
    const QString sectionsName = QStringLiteral("sections");
    QStringList overflow;
    QSet<FoldedName> overflowSections;
    for (const QString& section : store_.ReadSection(sectionsName)) {
        if (entries_.size() == MaxProgramEntries) {
            if (!overflowSections.contains(FoldedName{section})) {
                overflowSections.insert(FoldedName{section});
                overflow += store_.ReadSection(section);
            }
            continue;
        }
        for (const QString& program : store_.ReadSection(section)) {
            if (entries_.size() == MaxProgramEntries) {
                overflow.append(program);
                continue;
            }
            entries_.append(ProgramEntry{section, program});
        }
    }

    const QString seek = QStringLiteral("Seek");
    const QString seekSK = QStringLiteral("SeekSK");
    const QString index = QStringLiteral("Index");
    // Programs listed in several sections share their block; decoding it once keeps a
    // catalogue that lists one long description many times from multiplying its size.
    QHash<qint64, QString> decoded;
    // Intact blocks never overlap, so together they hold less than the file. Damaged length
    // fields make blocks run over each other up to the end of the file; without a bound,
    // 1000 of them would decode gigabytes from a few megabytes.
    qint64 budget = fileSize;
    const QString noDescription = noDescriptionText() + u'\n';
    // The slot just past the table reads "Bez popisu."; the listings within the cap below
    // overwrite it for programs that have one.
    for (const QString& program : std::as_const(overflow))
        store_.WriteInteger(program, index, int(MaxProgramEntries));
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
            descriptions_.appendText(*known);
        } else {
            const qint64 cost = (offset < 0 || block + 4 > fileSize)
                                    ? -1 : EncodedBlockSize(*container_, block);
            if (cost < 0 || cost > budget) {
                descriptions_.appendText(noDescription);
            } else {
                budget -= cost;
                descriptions_.appendText(
                    *decoded.insert(block, descriptionText(ReadBlock(*container_, block, key_))));
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

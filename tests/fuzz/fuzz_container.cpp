// A key file and a catalogue container through the whole loader. The first byte holds the
// language flag, the next two the length of the key file; the rest is the container.
#include "catalogue/CatalogueLoader.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3)
        return 0;
    const bool slovak = data[0] & 1;
    const size_t keySize = std::min<size_t>(size - 3, size_t(data[1]) | size_t(data[2]) << 8);
    const auto* bytes = reinterpret_cast<const char*>(data) + 3;
    const bool keyMissing = data[0] & 2;

    katalog::CatalogueStore store;
    katalog::DescriptionTable descriptions;
    katalog::CatalogueLoader loader(store, descriptions);
    auto keyFile = std::make_unique<QBuffer>();
    keyFile->setData(bytes, qsizetype(keySize));
    auto container = std::make_unique<QBuffer>();
    container->setData(bytes + keySize, qsizetype(size - 3 - keySize));
    if (!loader.open(std::move(container), keyMissing ? nullptr : std::move(keyFile))) {
        if (!store.sections().isEmpty() || !loader.entries().isEmpty())
            std::abort();
        return 0;
    }
    if (loader.CatalogueKey().size() > katalog::MaxKeyLength)
        std::abort();

    // The chunked block reader agrees with decoding the block's bytes in one piece.
    const QByteArray bytesOfContainer(bytes + keySize, qsizetype(size - 3 - keySize));
    QBuffer copy;
    copy.setData(bytesOfContainer);
    copy.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    const qint64 length = katalog::EncodedBlockSize(copy, katalog::HeaderEnd);
    const QByteArrayView encoded =
        length > 0 ? QByteArrayView(bytesOfContainer).sliced(katalog::HeaderEnd + 4, length)
                   : QByteArrayView();
    const QByteArray whole = katalog::DecodeHexXor(loader.CatalogueKey(), encoded);
    if (katalog::ReadBlock(copy, katalog::HeaderEnd, loader.CatalogueKey()) != whole)
        std::abort();
    loader.LoadINI();
    loader.LoadTXT(slovak);
    loader.close();

    // Every entry has its slot, and its program's Index names the slot of its last listing.
    const auto& entries = loader.entries();
    if (descriptions.size() != entries.size())
        std::abort();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const int index = store.ReadInteger(entries[i].program, QStringLiteral("Index"), -1);
        if (index < i || index >= entries.size())
            std::abort();
        if (entries[index].program.compare(entries[i].program, Qt::CaseInsensitive) != 0)
            std::abort();
    }
    return 0;
}

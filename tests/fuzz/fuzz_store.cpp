// Catalogue text through the store: every stored line must be found again by its names.
#include "catalogue/CatalogueJson.h"
#include "catalogue/CatalogueStore.h"

#include <cstdint>
#include <cstdlib>

namespace {

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    katalog::CatalogueStore store;
    store.load(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)));
    const auto sections = store.sections();

    for (qsizetype s = 0; s < sections.size(); ++s) {
        const auto& section = sections[s];
        if (section.name.isEmpty() ? false : section.name.front().unicode() <= 32)
            std::abort();
        // Lookups answer from the first section of a name and its first line of a name.
        qsizetype first = 0;
        while (!sameName(sections[first].name, section.name))
            ++first;
        const auto& lines = sections[first].lines;
        if (store.ReadSection(section.name).size() != lines.size())
            std::abort();
        for (const auto& line : section.lines) {
            qsizetype k = 0;
            while (k < lines.size() && !sameName(lines[k].name, line.name))
                ++k;
            const QString expected = k < lines.size() ? lines[k].value : QStringLiteral("\x01");
            if (store.ReadString(section.name, line.name, QStringLiteral("\x01")) != expected)
                std::abort();
            store.ReadInteger(section.name, line.name, -1);
        }
    }

    // Writes land where lookups find them.
    for (qsizetype s = 0; s < sections.size() && s < 8; ++s) {
        const QString key = sections[s].lines.isEmpty() ? QStringLiteral("Index")
                                                        : sections[s].lines.last().name;
        store.WriteInteger(sections[s].name, key, int(s));
        if (store.ReadInteger(sections[s].name, key, -1) != int(s))
            std::abort();
    }
    store.WriteInteger(QStringLiteral("Nový"), QStringLiteral("Index"), 7);
    if (store.ReadInteger(QStringLiteral("NOVÝ"), QStringLiteral("index"), -1) != 7)
        std::abort();

    katalog::catalogueJson(store, {}, {}, false);
    return 0;
}

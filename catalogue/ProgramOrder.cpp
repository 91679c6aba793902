#include "catalogue/ProgramOrder.h"

#include "catalogue/CatalogueStore.h"

#include <QLocale>

#include <algorithm>
#include <functional>
#include <vector>

namespace katalog {
namespace {

using Test = std::function<bool(const QString& program)>;

std::vector<Test> groupsOf(int order, const CatalogueStore& store) {
    std::vector<Test> groups;
    const auto integerIs = [&store](const char* key, int value) {
        return [&store, key, value](const QString& p) {
            return store.ReadInteger(p, QString::fromLatin1(key), -1) == value;
        };
    };
    switch (order) {
    case 1:  // licence, letter case included
        for (const char* licence : {"Freeware", "Shareware", "Public Domain", "Demoverze"})
            groups.push_back([&store, licence](const QString& p) {
                return store.ReadString(p, QStringLiteral("Licence"), QString()) == QLatin1String(licence);
            });
        break;
    case 2:  // rating, best first
        for (int r = 5; r >= 1; --r)
            groups.push_back(integerIs("Hodnoceni", r));
        break;
    case 3:  // operating system
        for (const char* os : {"win95", "win31", "dos", "winnt", "linux", "palm"})
            groups.push_back([&store, os](const QString& p) {
                return store.ReadInteger(p, QString::fromLatin1(os), -1) >= 1;
            });
        break;
    case 4:  // runnable from the CD, then installable
        for (const char* key : {"run", "setup"})
            groups.push_back([&store, key](const QString& p) {
                return !store.ReadString(p, QString::fromLatin1(key), QString()).isEmpty();
            });
        break;
    case 5:  // disk space, smallest first
        for (int v = 0; v <= 6; ++v)
            groups.push_back(integerIs("Velikost", v));
        break;
    default:
        break;
    }
    return groups;
}

}  // namespace

QCollator listCollator(bool slovak) {
    QCollator c(QLocale(slovak ? QLocale::Slovak : QLocale::Czech, slovak ? QLocale::Slovakia : QLocale::CzechRepublic));
    c.setCaseSensitivity(Qt::CaseInsensitive);
    return c;
}

void sortAlphabetically(QStringList& rows, const QCollator& collator) {
    // Sort keys once per row: comparing keys is far cheaper than collating strings.
    std::vector<std::pair<QCollatorSortKey, qsizetype>> keyed;
    keyed.reserve(size_t(rows.size()));
    for (qsizetype i = 0; i < rows.size(); ++i)
        keyed.emplace_back(collator.sortKey(rows[i]), i);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
    QStringList sorted;
    sorted.reserve(rows.size());
    for (const auto& k : keyed)
        sorted.append(rows[k.second]);
    rows = std::move(sorted);
}

const QStringList& orderNames() {
    static const QStringList names{
        QStringLiteral("Řadit abecedně"),
        QStringLiteral("Řadit dle distribučního konceptu"),
        QStringLiteral("Řadit dle hodnocení"),
        QStringLiteral("Řadit dle operačních systémů"),
        QStringLiteral("Řadit dle spustitelnosti"),
        QStringLiteral("Řadit dle velikosti"),
    };
    return names;
}

QStringList groupPrograms(const QStringList& alphabetical, int order, const CatalogueStore& store) {
    const std::vector<Test> groups = groupsOf(order, store);
    if (groups.empty())
        return alphabetical;
    QStringList working = alphabetical;
    QStringList result;
    result.reserve(alphabetical.size());
    for (const Test& passes : groups) {
        QStringList rest;
        rest.reserve(working.size());
        for (const QString& row : working)
            (passes(row) ? result : rest).append(row);
        working = std::move(rest);
    }
    result += working;
    return result;
}

}  // namespace katalog

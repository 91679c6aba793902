#pragma once
// Orders of the program list: alphabetical by the language's collation, and the five
// groupings of the order box.
#include <QCollator>
#include <QStringList>

namespace katalog {

class CatalogueStore;

// The collation of both sorted lists: Czech (or Slovak), letter case ignored.
QCollator listCollator(bool slovak);
// Stable alphabetical order.
void sortAlphabetically(QStringList& rows, const QCollator& collator);

// The six entries of the order box, by position.
const QStringList& orderNames();

// Re-orders rows (already alphabetical) by order 1 to 5: each group in turn takes the rows
// that pass its test, in their order; rows that pass none follow at the end. Order 0 and
// unknown orders return the rows unchanged.
QStringList groupPrograms(const QStringList& alphabetical, int order, const CatalogueStore& store);

}  // namespace katalog

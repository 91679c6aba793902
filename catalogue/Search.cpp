#include "catalogue/Search.h"

namespace katalog {

QString foldAscii(QString text) {
    for (QChar& c : text)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - u'a' + u'A');
    return text;
}

bool matchesSearch(const QString& foldedText, const QString& foldedNeedle) {
    return foldedText.contains(foldedNeedle, Qt::CaseSensitive);
}

}  // namespace katalog

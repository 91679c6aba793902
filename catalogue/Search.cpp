#include "catalogue/Search.h"

namespace katalog {

QString foldAscii(QString text) {
    for (QChar& c : text)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - u'a' + u'A');
    return text;
}

QString searchText(const QStringList& lines) {
    QString text;
    qsizetype size = 0;
    for (const QString& l : lines)
        size += l.size() + 2;
    text.reserve(size);
    for (const QString& l : lines) {
        text += l;
        text += QLatin1String("\r\n");
    }
    return foldAscii(std::move(text));
}

bool matchesSearch(const QString& foldedText, const QString& foldedNeedle) {
    return foldedText.contains(foldedNeedle, Qt::CaseSensitive);
}

}  // namespace katalog

#include "catalogue/CatalogueJson.h"

namespace katalog {
namespace {

// QJsonObject sorts its keys; the dump keeps the catalogue's own order, so it is written
// by hand.
void appendString(QString& out, const QString& s) {
    out += u'"';
    for (QChar c : s) {
        switch (c.unicode()) {
        case u'"': out += QLatin1String("\\\""); break;
        case u'\\': out += QLatin1String("\\\\"); break;
        case u'\n': out += QLatin1String("\\n"); break;
        case u'\r': out += QLatin1String("\\r"); break;
        case u'\t': out += QLatin1String("\\t"); break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    out += u'"';
}

void appendStringList(QString& out, const QStringList& list) {
    out += u'[';
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (i > 0)
            out += QLatin1String(", ");
        appendString(out, list[i]);
    }
    out += u']';
}

}  // namespace

QByteArray catalogueJson(const CatalogueStore& store, const QList<ProgramEntry>& entries,
                         const DescriptionTable& descriptions, bool slovakLang) {
    QString out;
    out += QLatin1String("{\n  \"title\": ");
    appendString(out, store.ReadString(QStringLiteral("Title"), QStringLiteral("Name"), {}));
    out += QLatin1String(",\n  \"slovak\": ");
    out += slovakLang ? QLatin1String("true") : QLatin1String("false");
    out += QLatin1String(",\n  \"sections\": ");
    appendStringList(out, store.ReadSection(QStringLiteral("sections")));

    out += QLatin1String(",\n  \"store\": [");
    const auto& sections = store.sections();
    for (qsizetype i = 0; i < sections.size(); ++i) {
        out += i > 0 ? QLatin1String(",\n    {\"section\": ") : QLatin1String("\n    {\"section\": ");
        appendString(out, sections[i].name);
        out += QLatin1String(", \"keys\": [");
        const auto& lines = sections[i].lines;
        for (qsizetype k = 0; k < lines.size(); ++k) {
            out += k > 0 ? QLatin1String(", [") : QLatin1String("[");
            appendString(out, lines[k].name);
            out += QLatin1String(", ");
            appendString(out, lines[k].value);
            out += u']';
        }
        out += QLatin1String("]}");
    }
    out += sections.isEmpty() ? QLatin1String("]") : QLatin1String("\n  ]");

    out += QLatin1String(",\n  \"entries\": [");
    for (qsizetype i = 0; i < entries.size(); ++i) {
        out += i > 0 ? QLatin1String(",\n    {\"section\": ") : QLatin1String("\n    {\"section\": ");
        appendString(out, entries[i].section);
        out += QLatin1String(", \"program\": ");
        appendString(out, entries[i].program);
        out += QLatin1String(", \"description\": ");
        appendStringList(out, descriptions.lines(i));
        out += u'}';
    }
    out += entries.isEmpty() ? QLatin1String("]") : QLatin1String("\n  ]");
    out += QLatin1String("\n}\n");
    return out.toUtf8();
}

}  // namespace katalog

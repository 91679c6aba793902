// Settings files as they may come: any bytes. Every section and key found is read; a write
// followed by a read must give back what was written, in the file's own encoding, and a
// write and its undoing leave every other section's keys and values as they were.
#include "platform/Codec.h"
#include "platform/ProfileFile.h"

#include <QFile>
#include <QList>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <utility>

namespace {

const QString Written = QStringLiteral("Installed-Fuzz");

// Each section's keys and values, the written one left out.
QList<std::pair<QString, QStringList>> contents(const platform::ProfileFile& ini, const QStringList& sections) {
    QList<std::pair<QString, QStringList>> found;
    for (const QString& name : sections) {
        if (name.contains(Written, Qt::CaseInsensitive))
            continue;
        QStringList entries;
        for (const QString& key : ini.readSection(name)) {
            entries << key << ini.readString(name, key);
            (void)ini.readInteger(name, key, -1);
            (void)platform::parseInteger(ini.readString(name, key), true);
        }
        found.append({name, entries});
    }
    return found;
}

// The bytes of text as a file that starts as head is encoded.
QByteArray encodedLike(const QByteArray& head, const QString& text) {
    const std::pair<const char*, QStringConverter::Encoding> marks[] = {
        {"\xef\xbb\xbf", QStringConverter::Utf8},
        {"\xff\xfe", QStringConverter::Utf16LE},
        {"\xfe\xff", QStringConverter::Utf16BE}};
    for (const auto& [mark, encoding] : marks)
        if (head.startsWith(mark))
            return QStringEncoder(encoding).encode(text);
    return platform::toCp1250(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    static const QString path = dir.path() + QStringLiteral("/kat.INI");
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(bytes);
    file.close();
    platform::ProfileFile ini(path);

    // Section names as a reader would guess them from the text; without the zero bytes,
    // UTF-16 names read as Latin-1.
    QStringList sections;
    for (const QByteArray& line : QByteArray(bytes).replace('\0', "").replace('\r', '\n').split('\n')) {
        const QString t = QString::fromLatin1(line).trimmed();
        if (t.startsWith(QLatin1Char('[')) && sections.size() < 50)
            sections.append(t.mid(1, t.indexOf(QLatin1Char(']')) - 1));
    }
    const auto before = contents(ini, sections);
    (void)ini.readString(QStringLiteral("Options"), QStringLiteral("Sk"), QStringLiteral("x "));

    const QString value = QStringLiteral("Žluťák 1");
    ini.writeString(Written, QStringLiteral("Program"), value);
    if (ini.readString(QStringLiteral("installed-fuzz"), QStringLiteral("program")) != value)
        std::abort();
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    const QByteArray saved = file.readAll();
    file.close();
    // Unchanged when the file held the value already.
    if (saved != bytes && !saved.contains(encodedLike(bytes, QLatin1Char('=') + value + QStringLiteral("\r\n"))))
        std::abort();

    ini.deleteKey(Written, QStringLiteral("Program"));
    if (contents(ini, sections) != before)
        std::abort();
    return 0;
}

#include "tools/democd/SourceIni.h"

#include <QFile>

namespace democd {

QString SourceSection::value(const QString& key) const {
    for (const auto& [k, v] : keys)
        if (k.compare(key, Qt::CaseInsensitive) == 0)
            return v;
    return {};
}

bool SourceSection::has(const QString& key) const {
    for (const auto& kv : keys)
        if (kv.first.compare(key, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

std::optional<SourceIni> SourceIni::load(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return parse(QString::fromUtf8(f.readAll()));
}

SourceIni SourceIni::parse(const QString& text) {
    SourceIni ini;
    const QStringList lines = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(QLatin1Char('\n'));
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            ini.sections_.append({line.mid(1, line.size() - 2).trimmed(), {}});
            continue;
        }
        if (ini.sections_.isEmpty())
            continue;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0)
            continue;
        ini.sections_.last().keys.append({line.left(eq).trimmed(), line.mid(eq + 1).trimmed()});
    }
    return ini;
}

const SourceSection* SourceIni::section(const QString& name) const {
    for (const SourceSection& s : sections_)
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
}

QStringList SourceIni::keys(const QString& section) const {
    QStringList out;
    if (const SourceSection* s = this->section(section))
        for (const auto& kv : s->keys)
            out << kv.first;
    return out;
}

}  // namespace democd

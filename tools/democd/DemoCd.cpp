#include "tools/democd/DemoCd.h"

#include "app/CdFiles.h"
#include "platform/Codec.h"
#include "tools/democd/CdWriter.h"
#include "tools/democd/Screenshots.h"
#include "tools/democd/Skins.h"
#include "tools/democd/Sounds.h"
#include "tools/democd/SourceIni.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace democd {

namespace {

QString fromSv(std::string_view s) { return QString::fromLatin1(s.data(), qsizetype(s.size())); }

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString slashes(QString p) { return p.replace(QLatin1Char('\\'), QLatin1Char('/')); }

// Text inside an RTF group: escapes, accents as \'xx in Windows-1250, the rest as \uN.
QByteArray rtfText(const QString& s) {
    QByteArray out;
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (u < 0x80) {
            out += char(u);
        } else {
            const QByteArray b = platform::toCp1250(QString(c));
            if (b.size() == 1 && b[0] != '?')
                out += "\\'" + QByteArray::number(uchar(b[0]), 16).rightJustified(2, '0');
            else
                out += "\\u" + QByteArray::number(qint16(u)) + '?';
        }
    }
    return out;
}

// Inline markup: **bold**, *italic*, !!accent!!.
QByteArray rtfInline(const QString& line) {
    static const QRegularExpression re(QStringLiteral("\\*\\*(.+?)\\*\\*|!!(.+?)!!|\\*(.+?)\\*"));
    QByteArray out;
    qsizetype at = 0;
    for (auto it = re.globalMatch(line); it.hasNext();) {
        const auto m = it.next();
        out += rtfText(line.mid(at, m.capturedStart() - at));
        if (m.capturedLength(1))
            out += "{\\b " + rtfText(m.captured(1)) + '}';
        else if (m.capturedLength(2))
            out += "{\\cf4\\b " + rtfText(m.captured(2)) + '}';
        else
            out += "{\\i " + rtfText(m.captured(3)) + '}';
        at = m.capturedEnd();
    }
    out += rtfText(line.mid(at));
    return out;
}

}  // namespace

QByteArray markupToRtf(const QString& markup) {
    QByteArray r = "{\\rtf1\\ansi\\ansicpg1250\\deff0\r\n"
                   "{\\fonttbl{\\f0\\fswiss\\fcharset238 Verdana;}{\\f1\\froman\\fcharset238 Times New Roman;}}\r\n"
                   "{\\colortbl;\\red28\\green43\\blue58;\\red23\\green54\\blue93;\\red42\\green93\\blue159;"
                   "\\red208\\green69\\blue60;\\red201\\green143\\blue0;}\r\n"
                   "\\viewkind4\\uc1\\pard\\f0\\fs20\\cf1\r\n";
    for (const QString& raw : markup.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1String("## ")))
            r += "\\pard\\sb160\\sa60\\fs24\\b\\cf3 " + rtfInline(line.mid(3)) + "\\b0\\fs20\\cf1\\par\r\n";
        else if (line.startsWith(QLatin1String("# ")))
            r += "\\pard\\sa120\\fs32\\b\\cf2 " + rtfInline(line.mid(2)) +
                 "\\b0\\fs20\\cf1\\par\r\n\\pard\\brdrb\\brdrs\\brdrw15\\brdrcf5\\sa120\\fs4\\par\\fs20\r\n";
        else if (line.startsWith(QLatin1String("- ")))
            r += "\\pard\\li360\\fi-240\\sa40{\\cf3\\'95}\\tab " + rtfInline(line.mid(2)) + "\\par\r\n";
        else
            r += "\\pard\\sa100 " + rtfInline(line) + "\\par\r\n";
    }
    r += "}\r\n";
    return r;
}

QString defaultDataDir() {
#ifdef DEMOCD_DATA_DIR
    return QStringLiteral(DEMOCD_DATA_DIR);
#else
    return QStringLiteral("tools/democd/data");
#endif
}

bool writeSounds(const QString& root) {
    const QString sys = root + QStringLiteral("/SYSTEM/");
    bool ok = writeBytes(sys + fromSv(katalog::cdfiles::ClickSound), clickWave());
    for (int n = 1; n <= katalog::cdfiles::SongCount; ++n)
        ok = writeBytes(sys + fromSv(katalog::cdfiles::SongPrefix) + QString::number(n) +
                            fromSv(katalog::cdfiles::SongSuffix),
                        song(n)) &&
             ok;
    return ok;
}

bool writeOtherTitles(const QString& data, const QString& root, QStringList& warnings) {
    const QString sys = root + QStringLiteral("/SYSTEM/");
    const QString text = QString::fromUtf8(readAll(data + QStringLiteral("/dalsicd.ini")));
    const auto manifest = SourceIni::load(data + QStringLiteral("/democd.ini"));
    if (text.isEmpty() || !manifest) {
        warnings << QStringLiteral("cannot read the other titles' sources");
        return false;
    }
    // The CD's file: Windows-1250, CR LF, without the source's comments.
    QStringList lines;
    for (const QString& l : text.split(QLatin1Char('\n')))
        if (!l.trimmed().startsWith(QLatin1Char(';')))
            lines << l.trimmed();
    bool ok = writeBytes(sys + fromSv(katalog::cdfiles::OtherTitles), platform::toCp1250(lines.join(QStringLiteral("\r\n"))));

    const SourceIni ini = SourceIni::parse(text);
    const SourceSection* covers = manifest->section(QStringLiteral("obaly"));
    for (const QString& title : ini.keys(QStringLiteral("section"))) {
        const SourceSection* t = ini.section(title);
        if (!t)
            continue;
        const QString obr = t->value(QStringLiteral("obr"));
        if (!obr.isEmpty() && covers) {
            const QStringList cover = covers->value(obr).split(QLatin1Char(','));
            const QStringList wh = cover.value(0).split(QLatin1Char('x'));
            const QSize size(wh.value(0).toInt(), wh.value(1).toInt());
            if (size.isValid())
                ok = savePicture(drawCover(title, cover.value(1).toInt(), size), sys + slashes(obr)) && ok;
            else
                warnings << QStringLiteral("no cover size for ") + obr;
        }
        for (const char* key : {"file", "filev"}) {
            const QString file = t->value(QString::fromLatin1(key));
            if (file.isEmpty())
                continue;
            const QString base = QFileInfo(file).completeBaseName() + QStringLiteral(".txt");
            for (const auto& [src, dst] : {std::pair{QStringLiteral("cz"), fromSv(katalog::cdfiles::CzechFolder)},
                                           std::pair{QStringLiteral("sk"), fromSv(katalog::cdfiles::SlovakFolder)}}) {
                const QString markup = QString::fromUtf8(readAll(data + QStringLiteral("/tituly/") + src + QLatin1Char('/') + base));
                if (markup.isEmpty()) {
                    warnings << QStringLiteral("no description source tituly/%1/%2").arg(src, base);
                    ok = false;
                    continue;
                }
                ok = writeBytes(sys + dst + QLatin1Char('/') + file, markupToRtf(markup)) && ok;
            }
        }
    }
    return ok;
}

bool writeAboutPages(const QString& data, const QString& root, QStringList& warnings) {
    bool ok = true;
    for (const auto& [src, dst] : {std::pair{QStringLiteral("cz"), fromSv(katalog::cdfiles::CzechFolder)},
                                   std::pair{QStringLiteral("sk"), fromSv(katalog::cdfiles::SlovakFolder)}}) {
        for (std::string_view page : katalog::cdfiles::AboutPages) {
            const QString file = fromSv(page);
            const QString markup = QString::fromUtf8(
                readAll(data + QStringLiteral("/onas/") + src + QLatin1Char('/') + QFileInfo(file).completeBaseName() + QStringLiteral(".txt")));
            if (markup.isEmpty()) {
                warnings << QStringLiteral("no about page source for %1/%2").arg(src, file);
                ok = false;
                continue;
            }
            ok = writeBytes(root + QStringLiteral("/SYSTEM/") + fromSv(katalog::cdfiles::AboutFolder) + QLatin1Char('/') + dst +
                                QLatin1Char('/') + file,
                            markupToRtf(markup)) &&
                 ok;
        }
    }
    return ok;
}

bool writeHelp(const QString& data, const QString& root) {
    const QByteArray help = readAll(data + QStringLiteral("/CDHELP.HTM"));
    return !help.isEmpty() && writeBytes(root + QStringLiteral("/SYSTEM/") + fromSv(katalog::cdfiles::HelpHtml), help);
}

bool writeAutorun(const QString& root) {
    // CD mounts often carry no execute bits: the program on the CD is then started through
    // the dynamic loader. The CD root is always named, so where the program runs from
    // does not matter.
    static const char script[] = R"SH(#!/bin/sh
# Spustí ovládací program CD: kopii na CD, jinak nainstalovaný katalog.
here=$(cd "$(dirname "$0")" && pwd)
if [ -f "$here/katalog" ]; then
    if [ -x "$here/katalog" ]; then
        exec "$here/katalog" "$here"
    fi
    for loader in /lib64/ld-linux-x86-64.so.2 /lib/ld-linux-aarch64.so.1; do
        if [ -x "$loader" ]; then
            exec "$loader" "$here/katalog" "$here"
        fi
    done
fi
if command -v katalog > /dev/null 2>&1; then
    exec katalog "$here"
fi
echo "Ovládací program CD nebyl nalezen: nainstalujte katalog." >&2
exit 1
)SH";
    return writeBytes(root + QStringLiteral("/autorun.sh"), QByteArray(script), true);
}

bool writeDemoCd(const DemoOptions& o, QStringList& warnings) {
    const auto catalogue = SourceIni::load(o.data + QStringLiteral("/katalog.ini"));
    if (!catalogue) {
        warnings << QStringLiteral("no catalogue source in ") + o.data;
        return false;
    }
    const SourceSection* title = catalogue->section(QStringLiteral("Title"));
    const QString cdTitle = title ? title->value(QStringLiteral("Name")) : QString();

    bool ok = true;
    for (Variant v : AllVariants)
        if (!writeSkins(o.out, v)) {
            warnings << QStringLiteral("could not write the skin ") + variantFolder(v);
            ok = false;
        }
    ok = saveBmp(drawIntro(cdTitle), o.out + QStringLiteral("/SYSTEM/") + fromSv(katalog::cdfiles::IntroPicture)) && ok;
    ok = writeSounds(o.out) && ok;
    ok = writeHelp(o.data, o.out) && ok;
    ok = writeProgramFolders(o.data, o.out, warnings) && ok;
    ok = writeOtherTitles(o.data, o.out, warnings) && ok;
    ok = writeAboutPages(o.data, o.out, warnings) && ok;
    ok = writeKeyFile(o.out) && ok;
    ok = writeAutorun(o.out) && ok;
    // Without mapic (tests that look at other parts) there is no container, and a warning
    // says so; a mapic that fails makes a CD the program cannot use, which is a failure.
    const bool built = buildContainer(o.mapic, o.data + QStringLiteral("/katalog.ini"), o.out, warnings);
    if (!o.mapic.isEmpty())
        ok = built && ok;
    return ok;
}

}  // namespace democd

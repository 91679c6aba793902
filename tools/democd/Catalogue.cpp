// The catalogue side of the demo CD: program folders, the key file and the container.
#include "tools/democd/DemoCd.h"

#include "app/CdFiles.h"
#include "platform/Codec.h"
#include "tools/democd/CdWriter.h"
#include "tools/democd/Screenshots.h"
#include "tools/democd/SourceIni.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSet>

namespace democd {

namespace {

QString fromSv(std::string_view s) { return QString::fromLatin1(s.data(), qsizetype(s.size())); }

QString slashes(QString p) {
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (p.endsWith(QLatin1Char('/')))
        p.chop(1);
    return p;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The sections of the catalogue that hold programs, each program once with the first
// section that lists it.
QList<std::pair<QString, QString>> programsOf(const SourceIni& ini) {
    QList<std::pair<QString, QString>> out;
    QSet<QString> seen;
    for (const QString& section : ini.keys(QStringLiteral("sections")))
        for (const QString& program : ini.keys(section))
            if (!seen.contains(program.toLower())) {
                seen.insert(program.toLower());
                out.append({program, section});
            }
    return out;
}

QString htmlEscape(const QString& s) { return s.toHtmlEscaped(); }

QString osNames(const SourceSection& p) {
    QStringList os;
    const std::pair<const char*, const char*> names[] = {{"win95", "Windows 95"}, {"win31", "Windows 3.1"},
                                                         {"DOS", "MS-DOS"},       {"winnt", "Windows NT"},
                                                         {"linux", "Linux"},       {"palm", "Palm OS"}};
    for (const auto& [key, name] : names)
        if (p.value(QString::fromLatin1(key)).toInt() >= 1)
            os << QString::fromLatin1(name);
    return os.join(QStringLiteral(", "));
}

// The documentation of a program, written from its description and record.
QByteArray documentation(const QString& name, const SourceSection& p, const QString& description, bool html) {
    const QString licence = p.value(QStringLiteral("Licence"));
    const QString www = p.value(QStringLiteral("WWW"));
    const QString run = p.value(QStringLiteral("run"));
    const QString setup = p.value(QStringLiteral("setup"));
    QStringList facts;
    if (!licence.isEmpty())
        facts << QStringLiteral("Licence: ") + licence;
    if (const QString os = osNames(p); !os.isEmpty())
        facts << QStringLiteral("Systém: ") + os;
    if (!run.isEmpty())
        facts << QStringLiteral("Spuštění z CD: soubor ") + run;
    if (!setup.isEmpty())
        facts << QStringLiteral("Instalace: soubor ") + setup +
                     QStringLiteral(" (program se nainstaluje do ~/.local/share/katalog-demo)");
    if (!www.isEmpty())
        facts << QStringLiteral("Domovská stránka: ") + www;
    facts << QStringLiteral("Vydal: Modrá vlna s.r.o., demo CD 1/2025");

    if (!html) {
        QString t = name + QLatin1Char('\n') + QString(name.size(), QLatin1Char('=')) + QStringLiteral("\n\n");
        QStringList lines = description.split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.first().trimmed() == name)
            lines.removeFirst();
        t += lines.join(QLatin1Char('\n')).trimmed() + QStringLiteral("\n\n");
        for (const QString& f : facts)
            t += QStringLiteral("* ") + f + QLatin1Char('\n');
        return t.toUtf8();
    }
    QString h = QStringLiteral("<!DOCTYPE html>\n<html lang=\"cs\"><head><meta charset=\"utf-8\"><title>") +
                htmlEscape(name) +
                QStringLiteral("</title>\n<style>body{font-family:\"DejaVu Sans\",sans-serif;max-width:760px;"
                               "margin:24px auto;color:#1c2b3a;background:#f4f8fc}h1{color:#17365d;"
                               "border-bottom:3px solid #fcca2c}li{margin:3px 0}</style></head><body>\n<h1>") +
                htmlEscape(name) + QStringLiteral("</h1>\n");
    QStringList paragraphs = description.split(QStringLiteral("\n\n"));
    if (!paragraphs.isEmpty() && paragraphs.first().trimmed() == name)
        paragraphs.removeFirst();
    for (const QString& para : paragraphs)
        if (!para.trimmed().isEmpty())
            h += QStringLiteral("<p>") + htmlEscape(para.trimmed()).replace(QLatin1Char('\n'), QStringLiteral("<br>")) +
                 QStringLiteral("</p>\n");
    h += QStringLiteral("<ul>\n");
    for (const QString& f : facts)
        h += QStringLiteral("<li>") + htmlEscape(f) + QStringLiteral("</li>\n");
    h += QStringLiteral("</ul>\n</body></html>\n");
    return h.toUtf8();
}

QSize screenshotSize(int index, std::uint32_t seed) {
    static const QSize sizes[] = {QSize(400, 300), QSize(480, 360), QSize(640, 480), QSize(320, 240)};
    return index == 0 ? sizes[seed % 2] : sizes[(seed + std::uint32_t(index)) % 4];
}

// A run file from the app sources: the style sheet put in, scripts executable.
bool installApp(const QString& data, const QString& file, const QString& target, QStringList& warnings) {
    const QString base = QFileInfo(file).fileName();
    QByteArray bytes = readAll(data + QStringLiteral("/apps/") + base);
    if (bytes.isEmpty()) {
        warnings << QStringLiteral("no app source for ") + file;
        return false;
    }
    bytes.replace("<!--STYL-->", readAll(data + QStringLiteral("/apps/_styl.css")).trimmed());
    const bool script = bytes.startsWith("#!");
    bool ok = writeBytes(target, bytes, script);
    if (script && bytes.contains("report.sh"))
        ok = writeBytes(QFileInfo(target).absolutePath() + QStringLiteral("/report.sh"),
                        readAll(data + QStringLiteral("/apps/_report.sh"))) && ok;
    return ok;
}

}  // namespace

QString shQuote(const QString& s) {
    QString q = s;
    q.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + q + QLatin1Char('\'');
}

bool writeBytes(const QString& path, const QByteArray& bytes, bool executable) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        return false;
    f.close();
    if (executable)
        f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther);
    return true;
}

bool savePicture(const QImage& image, const QString& path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == QLatin1String("bmp"))
        return image.convertToFormat(QImage::Format_RGB888).save(path, "BMP");
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg"))
        return image.convertToFormat(QImage::Format_RGB32).save(path, "JPG", 88);
    return image.save(path);
}

// ---------------------------------------------------------------------------------------
// Setup and uninstall scripts.

namespace {

// Shared by both scripts: the registry file without this program's two keys.
const char* const RegistryFunctions = R"SH(
reg_dir="${XDG_CONFIG_HOME:-$HOME/.config}/katalog"
reg_file="$reg_dir/registry.reg"
app_key="HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\$app_name"
uninstall_key="HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$uninstall_reg"

# The registry file as it is, minus our two keys (key names compared without regard to case).
registry_without_us() {
    if [ ! -s "$reg_file" ]; then
        printf 'REGEDIT4\n'
        return
    fi
    APP_KEY="$app_key" UNINSTALL_KEY="$uninstall_key" awk '
        BEGIN { a = tolower(ENVIRON["APP_KEY"]); u = tolower(ENVIRON["UNINSTALL_KEY"]); skip = 0 }
        { sub(/\r$/, "") }
        /^[ \t]*\[/ {
            name = $0
            sub(/^[ \t]*\[-?/, "", name)
            sub(/\][ \t]*$/, "", name)
            n = tolower(name)
            skip = (n == a || n == u)
        }
        !skip { print }
    ' "$reg_file" | awk 'NF { if (gap) print ""; gap = 0; print; next } { gap = 1 }'
}

# A REGEDIT4 string value: backslashes and quotes escaped.
reg_string() {
    printf '%s' "$1" | sed -e 's/\\/\\\\/g' -e 's/"/\\"/g'
}

# Replaces the registry file in one step, so that a crash never leaves half a file.
replace_registry() {
    mkdir -p "$reg_dir"
    tmp=$(mktemp "$reg_file.XXXXXX")
    cat > "$tmp"
    mv -f "$tmp" "$reg_file"
}

tell() {
    if command -v notify-send > /dev/null 2>&1; then
        notify-send "$title" "$1" > /dev/null 2>&1 || true
    fi
    printf '%s\n' "$1"
}
)SH";

// The registered path is started as a command line: a script runs as it is, a page gets a
// small script beside it that opens it in the browser.
const char* const Launcher = R"SH(case "$app_name" in
*.sh)
    run_path="$target/$app_name"
    chmod u+x "$run_path"
    ;;
*)
    run_path="$target/spustit.sh"
    quoted=$(printf '%s' "$app_name" | sed "s/'/'\\\\''/g")
    printf '#!/bin/sh\nexec xdg-open "$(dirname "$0")/"%s\n' "'$quoted'" > "$run_path"
    chmod u+x "$run_path"
    ;;
esac
)SH";

}  // namespace

QByteArray setupScript(const QString& title, const QString& appName, const QString& uninstallReg,
                       const QStringList& files) {
    QStringList quoted;
    for (const QString& f : files)
        quoted << shQuote(f);
    QString s = QStringLiteral("#!/bin/sh\n# Instalace programu ") + title +
                QStringLiteral(" z demo CD Modrá vlna.\n"
                               "# Zkopíruje program do ~/.local/share/katalog-demo a zapíše jej do registru,\n"
                               "# aby jej ovládací program CD našel a nabídl odinstalaci.\n"
                               "set -eu\n\n") +
                QStringLiteral("title=") + shQuote(title) + QLatin1Char('\n') + QStringLiteral("app_name=") +
                shQuote(appName) + QLatin1Char('\n') + QStringLiteral("uninstall_reg=") + shQuote(uninstallReg) +
                QLatin1Char('\n') + QStringLiteral("here=$(cd \"$(dirname \"$0\")\" && pwd)\n") +
                QStringLiteral("target=\"${XDG_DATA_HOME:-$HOME/.local/share}/katalog-demo/$uninstall_reg\"\n") +
                QString::fromUtf8(RegistryFunctions) +
                QStringLiteral("\nmkdir -p \"$target\"\nfor f in ") + quoted.join(QLatin1Char(' ')) +
                QStringLiteral(
                    "; do\n"
                    "    cp \"$here/$f\" \"$target/$(basename \"$f\")\"\n"
                    "    chmod u+rw \"$target/$(basename \"$f\")\"\n"
                    "done\n"
                    "cp \"$here/odinstaluj.sh\" \"$target/odinstaluj.sh\"\n"
                    "chmod u+rwx \"$target/odinstaluj.sh\"\n"
                    "\n") + QString::fromUtf8(Launcher) + QStringLiteral(
                    "\n{\n"
                    "    registry_without_us\n"
                    "    printf '\\n[%s]\\n@=\"%s\"\\n' \"$app_key\" \"$(reg_string \"$run_path\")\"\n"
                    "    printf '\\n[%s]\\n\"DisplayName\"=\"%s\"\\n\"UnInstallString\"=\"%s\"\\n' \\\n"
                    "        \"$uninstall_key\" \"$(reg_string \"$title\")\" \"$(reg_string \"$target/odinstaluj.sh\")\"\n"
                    "} | replace_registry\n\n"
                    "tell \"Program $title je nainstalován.\"\n");
    return s.toUtf8();
}

QByteArray uninstallScript(const QString& title, const QString& appName, const QString& uninstallReg) {
    QString s = QStringLiteral("#!/bin/sh\n# Odinstalace programu ") + title +
                QStringLiteral(": smaže jej z registru i z disku.\nset -eu\n\n") + QStringLiteral("title=") +
                shQuote(title) + QLatin1Char('\n') + QStringLiteral("app_name=") + shQuote(appName) +
                QLatin1Char('\n') + QStringLiteral("uninstall_reg=") + shQuote(uninstallReg) + QLatin1Char('\n') +
                QStringLiteral("here=$(cd \"$(dirname \"$0\")\" && pwd)\n") + QString::fromUtf8(RegistryFunctions) +
                QStringLiteral(
                    "\nregistry_without_us | replace_registry\n\n"
                    "# Only ever the folder the setup made: .../katalog-demo/<uninstall name>.\n"
                    "if [ \"$(basename \"$here\")\" = \"$uninstall_reg\" ] && "
                    "[ \"$(basename \"$(dirname \"$here\")\")\" = katalog-demo ]; then\n"
                    "    rm -rf -- \"$here\"\n"
                    "fi\n"
                    "tell \"Program $title byl odinstalován.\"\n");
    return s.toUtf8();
}

// ---------------------------------------------------------------------------------------

bool writeProgramFolders(const QString& data, const QString& root, QStringList& warnings) {
    const auto ini = SourceIni::load(data + QStringLiteral("/katalog.ini"));
    const auto manifest = SourceIni::load(data + QStringLiteral("/democd.ini"));
    if (!ini || !manifest) {
        warnings << QStringLiteral("cannot read the catalogue sources in ") + data;
        return false;
    }
    QSet<QString> missing;
    for (const QString& m : manifest->keys(QStringLiteral("chybi")))
        missing.insert(slashes(m).toLower());

    bool ok = true;
    for (const auto& [name, section] : programsOf(*ini)) {
        const SourceSection* p = ini->section(name);
        if (!p)
            continue;
        const QString source = slashes(p->value(QStringLiteral("source")));
        const QString folder = root + QLatin1Char('/') + source;
        const auto path = [&](const QString& rel) { return folder + QLatin1Char('/') + slashes(rel); };
        const auto absent = [&](const QString& rel) {
            return missing.contains((source + QLatin1Char('/') + slashes(rel)).toLower());
        };

        const QString run = p->value(QStringLiteral("run"));
        if (!run.isEmpty())
            ok = installApp(data, run, path(run), warnings) && ok;

        const QString descFile = p->value(QStringLiteral("Popis"));
        const QString description = descFile.isEmpty()
                                        ? QStringLiteral("Bez popisu.")
                                        : QString::fromUtf8(readAll(data + QLatin1Char('/') + descFile));
        const QString doc = p->value(QStringLiteral("doc"));
        if (!doc.isEmpty() && doc.compare(run, Qt::CaseInsensitive) == 0) {
            warnings << QStringLiteral("%1: doc and run name the same file").arg(name);
            ok = false;
        } else if (!doc.isEmpty() && !absent(doc)) {
            const QString ext = QFileInfo(doc).suffix().toLower();
            ok = writeBytes(path(doc), documentation(name, *p, description, ext.startsWith(QLatin1String("htm")))) && ok;
        }

        // The preview and the further pictures, except those the CD lacks on purpose.
        QStringList pictures{p->value(QStringLiteral("obr"))};
        const int count = p->value(QStringLiteral("PocetObr")).toInt();
        for (int i = 1; i <= count; ++i)
            pictures << p->value(QStringLiteral("obr") + QString::number(i));
        for (int i = 0; i < pictures.size(); ++i) {
            if (pictures[i].isEmpty() || absent(pictures[i]))
                continue;
            const QSize size = screenshotSize(i, stableHash(name));
            ok = savePicture(drawScreenshot(name, section, i, size), path(pictures[i])) && ok;
        }

        const QString setup = p->value(QStringLiteral("setup"));
        if (!setup.isEmpty()) {
            const QString app = p->value(QStringLiteral("AppName"));
            const QString reg = p->value(QStringLiteral("UnInstallReg"));
            QStringList files;
            if (QFileInfo(app).fileName().compare(QFileInfo(run).fileName(), Qt::CaseInsensitive) == 0) {
                files << slashes(run);
            } else {
                // What the setup installs but the CD does not run lies in a subfolder.
                const QString payload = QStringLiteral("soubory/") + app;
                ok = installApp(data, app, path(payload), warnings) && ok;
                files << payload;
            }
            if (QFile::exists(QFileInfo(path(files.first())).absolutePath() + QStringLiteral("/report.sh")))
                files << QFileInfo(files.first()).path() + QStringLiteral("/report.sh");
            for (QString& f : files)
                f = QDir::cleanPath(f);
            ok = writeBytes(path(setup), setupScript(name, app, reg, files), true) && ok;
            ok = writeBytes(path(QStringLiteral("odinstaluj.sh")), uninstallScript(name, app, reg), true) && ok;
        }
    }
    return ok;
}

bool writeKeyFile(const QString& root) {
    // The CD's readme; the container's key is a stretch of its bytes, so the text is fixed.
    const QString text = QStringLiteral(
        "MODRÁ VLNA CD 1/2025 – ČTI MĚ\r\n"
        "==============================\r\n"
        "\r\n"
        "Vážení přátelé, děkujeme, že jste si vybrali naše CD.\r\n"
        "\r\n"
        "Ovládací program se spustí souborem katalog v kořenové složce CD. Ukáže\r\n"
        "vám všechny programy na CD, jejich popisy a obrázky; programy z něj\r\n"
        "můžete spustit, nainstalovat nebo zkopírovat na disk.\r\n"
        "\r\n"
        "Programy najdete také přímo ve složce PROGRAMY, rozdělené podle témat.\r\n"
        "Shareware a demoverze podléhají licenčním podmínkám svých autorů:\r\n"
        "po uplynutí zkušební doby se prosím u autora zaregistrujte.\r\n"
        "\r\n"
        "Technická podpora: podpora@example.com, tel. +420 221 000 111\r\n"
        "(pracovní dny 9–16 hodin).\r\n"
        "\r\n"
        "Modrá vlna s.r.o., Vltavská 12, 120 00 Praha 2\r\n");
    const QByteArray bytes = platform::toCp1250(text);
    return bytes.size() >= KeyOffset + KeyLength &&
           writeBytes(root + QLatin1Char('/') + fromSv(katalog::cdfiles::KeyFile), bytes);
}

bool buildContainer(const QString& mapic, const QString& sourceIni, const QString& root, QStringList& warnings) {
    if (mapic.isEmpty()) {
        warnings << QStringLiteral("no mapic given: the CD has no catalogue container");
        return false;
    }
    const QString out = root + QStringLiteral("/SYSTEM/") + fromSv(katalog::cdfiles::Container);
    QDir().mkpath(QFileInfo(out).absolutePath());
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(mapic, {QStringLiteral("build"), sourceIni, QStringLiteral("--key-file"),
                    root + QLatin1Char('/') + fromSv(katalog::cdfiles::KeyFile), QStringLiteral("--key-offset"),
                    QString::number(KeyOffset), QStringLiteral("--key-length"), QString::number(KeyLength),
                    QStringLiteral("-o"), out});
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0 ||
        !QFile::exists(out)) {
        if (p.state() != QProcess::NotRunning) {
            p.kill();
            p.waitForFinished();
        }
        warnings << QStringLiteral("mapic build did not make %1: %2").arg(out, QString::fromLocal8Bit(p.readAll()).trimmed());
        QFile::remove(out);
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------
// Large catalogues for the benchmarks.

bool writeLargeCatalogue(const QString& out, int n, const QString& mapic, QStringList& warnings) {
    static const char* const sentences[] = {
        "Program usnadňuje každodenní práci s počítačem a jeho ovládání zvládne i začátečník.",
        "Všechna nastavení se ukládají automaticky, takže po novém spuštění pokračujete tam, kde jste skončili.",
        "Součástí je podrobná nápověda v češtině s mnoha příklady a obrázky.",
        "Autor program průběžně vylepšuje a registrovaní uživatelé dostávají nové verze zdarma.",
        "Výsledky můžete vytisknout, uložit do souboru nebo poslat elektronickou poštou.",
        "Rozhraní je přehledné a všechny funkce jsou dostupné z nabídky i z klávesnice.",
        "Program spolupracuje s běžnými kancelářskými balíky a zvládá import i export dat.",
        "Hra obsahuje desítky úrovní s rostoucí obtížností a tabulku nejlepších výsledků.",
        "Nároky na počítač jsou nízké, program běží i na starších sestavách.",
        "Zkušební verze je plně funkční po dobu třiceti dnů od první instalace.",
    };
    static const char* const slovak[] = {
        "Program uľahčuje každodennú prácu s počítačom a jeho ovládanie zvládne aj začiatočník.",
        "Všetky nastavenia sa ukladajú automaticky.",
        "Súčasťou je podrobná nápoveda s mnohými príkladmi.",
    };
    static const char* const licences[] = {"Freeware", "Shareware", "Public Domain", "Demoverze"};
    const QString src = out + QStringLiteral("/zdroj");
    QString catalogue = QStringLiteral("[Title]\nName=Velký katalog %1\n\n[sections]\n").arg(n);
    const int perSection = 50;
    const int sections = (n + perSection - 1) / perSection;
    for (int s = 0; s < sections; ++s)
        catalogue += QStringLiteral("Sekce %1=\n").arg(s + 1, 3, 10, QLatin1Char('0'));
    for (int s = 0; s < sections; ++s) {
        catalogue += QStringLiteral("\n[Sekce %1]\n").arg(s + 1, 3, 10, QLatin1Char('0'));
        for (int i = s * perSection; i < std::min(n, (s + 1) * perSection); ++i)
            catalogue += QStringLiteral("Program %1=\n").arg(i + 1, 4, 10, QLatin1Char('0'));
    }
    bool ok = true;
    for (int i = 0; i < n; ++i) {
        const QString id = QString::number(i + 1).rightJustified(4, QLatin1Char('0'));
        const QString name = QStringLiteral("Program ") + id;
        QString text = name + QStringLiteral("\n\n");
        for (int k = 0; text.toUtf8().size() < 2000; ++k)
            text += QString::fromUtf8(sentences[(i * 7 + k * 3) % 10]) + ((k % 3 == 2) ? QStringLiteral("\n") : QStringLiteral(" "));
        ok = writeBytes(src + QStringLiteral("/popis/") + id + QStringLiteral(".txt"), text.toUtf8()) && ok;
        catalogue += QStringLiteral("\n[%1]\nrun=start.htm\nsetup=%2\ndoc=navod.txt\nWWW=https://www.example.com/p%3/\n"
                                    "source=PROGRAMY\\P%3\ntarget=P%3\nobr=nahled.%4\nPocetObr=2\nobr1=a.bmp\nobr2=b.jpg\n"
                                    "%5=1\nLicence=%6\nHodnoceni=%7\nVelikost=%8\nAppName=p%3.htm\nUnInstallReg=P%3\n"
                                    "Popis=popis/%3.txt\n")
                         .arg(name, i % 4 == 0 ? QStringLiteral("setup.sh") : QString(), id,
                              i % 2 ? QStringLiteral("jpg") : QStringLiteral("bmp"),
                              QStringLiteral("win95,win31,DOS,winnt,linux").split(QLatin1Char(','))[i % 5],
                              QString::fromLatin1(licences[i % 4]), QString::number(i % 7), QString::number(i % 8));
        if (i % 3 == 0) {
            QString sk = name + QStringLiteral("\n\n");
            for (int k = 0; sk.toUtf8().size() < 2000; ++k)
                sk += QString::fromUtf8(slovak[(i + k) % 3]) + QLatin1Char(' ');
            ok = writeBytes(src + QStringLiteral("/popis/sk/") + id + QStringLiteral(".txt"), sk.toUtf8()) && ok;
            catalogue += QStringLiteral("PopisSK=popis/sk/%1.txt\n").arg(id);
        }
    }
    const QString ini = src + QStringLiteral("/katalog.ini");
    ok = writeBytes(ini, catalogue.toUtf8()) && ok;
    ok = writeKeyFile(out) && ok;
    return buildContainer(mapic, ini, out, warnings) && ok;
}

}  // namespace democd

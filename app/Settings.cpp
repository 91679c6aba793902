#include "app/Settings.h"

#include "platform/Errors.h"
#include "platform/Paths.h"
#include "platform/ProfileFile.h"

#include <QStandardPaths>

namespace katalog {
namespace {

bool isOn(const QString& text, const char* on) {
    return text.toLower() == QLatin1String(on);
}

QString onOff(bool on) { return on ? QStringLiteral("On") : QStringLiteral("Off"); }
QString trueFalse(bool on) { return on ? QStringLiteral("True") : QStringLiteral("False"); }

bool detectSlovak(const QString& windowsDir, const platform::ProfileFile& settings) {
    const int sk = settings.readInteger(QStringLiteral("Options"), QStringLiteral("Sk"), -1);
    if (sk != -1)
        return sk == 1;
    const platform::ProfileFile winIni(windowsDir + QStringLiteral("win.ini"));
    if (winIni.exists()) {
        if (winIni.readInteger(QStringLiteral("intl"), QStringLiteral("iCountry"), -1) == 421)
            return true;
        return winIni.readString(QStringLiteral("intl"), QStringLiteral("sCountry")) ==
               QLatin1String("Slovak Republic");
    }
    // Without a win.ini the POSIX locale speaks for the user.
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = qEnvironmentVariable(var);
        if (!value.isEmpty())
            return value.startsWith(QLatin1String("sk"));
    }
    return false;
}

}  // namespace

QString settingsFolder() {
    return platform::withTrailingSlash(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                                       QStringLiteral("/katalog"));
}

QString settingsPath(const Shell& s) { return s.WindowsDir + QStringLiteral("kat.INI"); }

bool slovakLanguage(const QString& windowsDir) {
    return detectSlovak(windowsDir, platform::ProfileFile(windowsDir + QStringLiteral("kat.INI")));
}

void NactiNastaveni(Shell& s, QSize screen) {
    const platform::ProfileFile ini(settingsPath(s));
    const bool firstRun = !ini.exists();

    s.SlovakLang = detectSlovak(s.WindowsDir, ini);
    s.MusicOn = isOn(ini.readString(QStringLiteral("Music"), QStringLiteral("Music"), QStringLiteral("On")), "on");
    s.AnimOn = isOn(ini.readString(QStringLiteral("ANIM"), QStringLiteral("ANIM"), QStringLiteral("On")), "on");
    s.SongNumber = ini.readInteger(QStringLiteral("Options"), QStringLiteral("File"), 1);
    s.HighRes = screen.width() >= 1024 && screen.height() >= 768;

    const QString font = QStringLiteral("Font");
    s.AppFont.name = ini.readString(font, QStringLiteral("name"), QStringLiteral("system"));
    s.AppFont.size = ini.readInteger(font, QStringLiteral("size"), 10);
    s.AppFont.bold = isOn(ini.readString(font, QStringLiteral("fsbold"), QStringLiteral("False")), "true");
    s.AppFont.italic = isOn(ini.readString(font, QStringLiteral("fsitalic"), QStringLiteral("False")), "true");
    s.AppFont.underline = isOn(ini.readString(font, QStringLiteral("fsunderline"), QStringLiteral("False")), "true");
    s.AppFont.strikeOut = isOn(ini.readString(font, QStringLiteral("fsstrikeout"), QStringLiteral("False")), "true");
    s.AppFont.color = ini.readInteger(font, QStringLiteral("color"), -9);

    // SkinDir is built before the first-run write, so that a read-only settings folder
    // costs the user only the saved options, not the whole skin.
    const QString variant = QString(s.SlovakLang ? QStringLiteral("Sk") : QStringLiteral("Cz")) +
                            QLatin1Char('/') +
                            (s.HighRes ? QStringLiteral("1024x768") : QStringLiteral("800x600"));
    s.SkinDir = platform::readableFolder(s.SystemDir, variant);

    if (firstRun)
        UlozNastaveni(s);
}

void UlozNastaveni(const Shell& s) {
    platform::ProfileFile ini(settingsPath(s));
    const QString font = QStringLiteral("Font");
    ini.writeString(QStringLiteral("Music"), QStringLiteral("Music"), onOff(s.MusicOn));
    ini.writeString(QStringLiteral("ANIM"), QStringLiteral("ANIM"), onOff(s.AnimOn));
    ini.writeInteger(QStringLiteral("Options"), QStringLiteral("File"), s.SongNumber);
    ini.writeString(font, QStringLiteral("name"), s.AppFont.name);
    ini.writeInteger(font, QStringLiteral("size"), s.AppFont.size);
    ini.writeString(font, QStringLiteral("fsbold"), trueFalse(s.AppFont.bold));
    ini.writeString(font, QStringLiteral("fsitalic"), trueFalse(s.AppFont.italic));
    ini.writeString(font, QStringLiteral("fsunderline"), trueFalse(s.AppFont.underline));
    ini.writeString(font, QStringLiteral("fsstrikeout"), trueFalse(s.AppFont.strikeOut));
    ini.writeInteger(font, QStringLiteral("color"), s.AppFont.color);
}

QFont toQFont(const AppFontSpec& saved) {
    QFont f(saved.name);
    if (saved.size > 0)
        f.setPointSize(saved.size);
    f.setBold(saved.bold);
    f.setItalic(saved.italic);
    f.setUnderline(saved.underline);
    f.setStrikeOut(saved.strikeOut);
    return f;
}

}  // namespace katalog

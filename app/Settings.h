#pragma once
// The options kept in WindowsDir + "kat.INI", language and screen-size detection.
#include "app/Shell.h"

#include <QFont>
#include <QSize>

namespace katalog {

// WindowsDir: the folder of the settings file, "~/.config/katalog/", ending with "/".
QString settingsFolder();
QString settingsPath(const Shell& s);
// The language rule alone, for what is shown before a CD is known.
bool slovakLanguage(const QString& windowsDir);

// Reads the options into s, detects language and screen variant, builds SkinDir and, on the
// first run, writes the file with every value read. A failing write throws KatalogError
// after everything else is set.
void NactiNastaveni(Shell& s, QSize screen);
// Writes the options back (never "Sk"). Throws KatalogError("Unable to write to ...").
void UlozNastaveni(const Shell& s);

QFont toQFont(const AppFontSpec& saved);

}  // namespace katalog

#pragma once
// Pictures of every skinned window as the program will compose it from the layout tables, to
// look at the skin before it ships.
#include <QImage>
#include <QString>
#include <QStringList>

namespace democd {

class SkinSet;
struct WindowSpec;

QImage composeWindow(const SkinSet& skins, const WindowSpec& w, const QString& cdTitle);
// Every list of the skin table with all its pictures side by side.
QImage composeStates(const SkinSet& skins);
// Writes one PNG per window and variant plus a states sheet per variant; returns the paths.
QStringList writePreviews(const QString& dir, const QString& cdTitle);

}  // namespace democd

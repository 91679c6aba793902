#pragma once
// The process-wide values that the windows hand to each other: folders, options, the
// content area and the few hand-over values between windows. Gathered here, nowhere else.
#include <QString>
#include <QStringList>

namespace katalog {

struct AppFontSpec {
    QString name = QStringLiteral("system");
    int size = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int color = -9;

    bool operator==(const AppFontSpec&) const = default;
};

struct Shell {
    // Folders: real paths, each ending with "/".
    QString ProgramDir;
    QString SystemDir;
    QString WindowsDir;
    QString SkinDir;

    // Options (settings file).
    bool MusicOn = true;
    bool AnimOn = true;
    bool SlovakLang = false;
    int SongNumber = 1;
    AppFontSpec AppFont;
    bool HighRes = true;

    // Content area of the main menu window, screen coordinates.
    int ContentLeft = 0;
    int ContentTop = 0;
    int ContentWidth = 0;
    int ContentHeight = 0;

    // Hand-over values between windows.
    QString CopySource;
    QString CopyTarget;
    QStringList ViewerPictures;
    int ViewerIndex = 0;
    QString InstalledPath;
    QString UninstallCommand;
    QString AuthorHomePage;
};

Shell& shell();
// Tests start every case from a fresh set of values.
void resetShell();

}  // namespace katalog

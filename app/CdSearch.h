#pragma once
// Where the CD is when the program is not told: its own folder, a mounted medium, the CD
// chosen last time. Widget-free; the places are given, so that tests can lay out their own.
#include "platform/Drives.h"

#include <QList>
#include <QString>

#include <optional>

namespace katalog {

// A folder holds a CD of ours when it has a SYSTEM folder with the catalogue container,
// names matched without regard to case.
bool holdsCd(const QString& folder);

// The CD's title as its catalogue names it (decoding only the catalogue block), or empty.
QString cdTitle(const QString& root);

struct FoundCd {
    QString root;   // absolute, ending with "/"
    QString name;   // what a chooser shows: the title, else the volume's label, and the root
};

class CdSearch {
public:
    struct Places {
        QString programDir;
        QList<platform::Medium> media;
        QString remembered;
    };
    explicit CdSearch(Places places) : places_(std::move(places)) {}
    // This machine: the program's folder, its local media and the CD remembered in the
    // settings folder.
    static CdSearch onThisMachine(const QString& programDir, const QString& settingsDir);

    std::optional<FoundCd> programFolder() const;
    // Every medium that holds a CD, in the order of the places.
    QList<FoundCd> onMedia() const;
    std::optional<FoundCd> remembered() const;

private:
    Places places_;
};

// The CD the user chose, kept beside the settings file for the next start.
QString rememberedCd(const QString& settingsDir);
bool rememberCd(const QString& settingsDir, const QString& root);

}  // namespace katalog

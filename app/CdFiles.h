#pragma once
// Names of the files that the program reads from the CD besides the skin (app/SkinTable.h),
// in the CD's own spelling. SystemDir-relative unless said otherwise.
#include <QString>

#include <array>
#include <string_view>

namespace katalog::cdfiles {

inline constexpr std::string_view ClickSound = "1xclick.WAV";
// "Melody" + song number + ".MID", songs 1 to 6.
inline constexpr std::string_view SongPrefix = "Melody";
inline constexpr std::string_view SongSuffix = ".MID";
inline constexpr int SongCount = 6;
inline constexpr std::string_view IntroPicture = "intro.BMP";
// The about window's cover picture: the intro picture, spelled as that window spells it.
inline constexpr std::string_view AboutCover = "intro.bmp";
inline constexpr std::string_view HelpFile = "CDHELP.HLP";
// Opened instead of the help file where no WinHelp viewer exists.
inline constexpr std::string_view HelpHtml = "CDHELP.HTM";
inline constexpr std::string_view Container = "MAP.PIC";
inline constexpr std::string_view OtherTitles = "dalsicd.INI";
// ProgramDir-relative: the key file of the container.
inline constexpr std::string_view KeyFile = "CTIMNE.TXT";

// The about pages, below "ONas\Cz\" or "ONas\Sk\".
inline constexpr std::string_view AboutFolder = "ONas";
inline constexpr std::array<std::string_view, 4> AboutPages{"oprog.rtf", "autor.rtf",
                                                             "volsirsw.rtf", "zaruka.rtf"};
// Language folders of the about pages and the other titles' descriptions.
inline constexpr std::string_view CzechFolder = "Cz";
inline constexpr std::string_view SlovakFolder = "Sk";
// The language folder as a relative CD path: "Cz\\" or "Sk\\".
inline QString languageFolder(bool slovak) {
    return QString::fromLatin1(slovak ? SlovakFolder : CzechFolder) + QLatin1Char('\\');
}

}  // namespace katalog::cdfiles

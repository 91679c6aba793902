#pragma once
// Every skin bitmap the windows load, below SkinDir. The windows, the demo CD generator and
// the tests all read this one table.
#include <array>
#include <string>
#include <string_view>

namespace katalog::skin {

// A button image list: folder\base0.bmp ... folder\base(count-1).bmp.
struct List {
    std::string_view folder;
    std::string_view base;
    int count;
};

// A single picture: folder\file, or SkinDir\file when folder is empty.
struct Picture {
    std::string_view folder;
    std::string_view file;
};

// Main menu.
inline constexpr List MenuProgram{"menu", "program", 4};
inline constexpr List MenuNastav{"menu", "nastav", 4};
inline constexpr List MenuDaltit{"menu", "daltit", 4};
inline constexpr List MenuNapoved{"menu", "napoved", 4};
inline constexpr List MenuOnas{"menu", "onas", 4};
inline constexpr List MenuMinim{"menu", "_", 3};
inline constexpr List MenuQuit{"menu", "x", 3};
inline constexpr Picture MenuPlocha{"menu", "plocha.BMP"};

// Error dialog.
inline constexpr List ErrorOpak{"error", "opak", 3};
inline constexpr List ErrorZrusit{"error", "zrusit", 3};
inline constexpr Picture ErrorPlocha{"error", "plocha.bmp"};

// Copy dialog.
inline constexpr List KopirNovyadr{"kopir", "novyadr", 3};
inline constexpr List KopirZrusit{"kopir", "zrusit", 3};
inline constexpr List KopirKopiruj{"kopir", "kopiruj", 3};
inline constexpr List KopirX{"kopir", "x", 3};
inline constexpr Picture KopirPlocha{"kopir", "plocha.bmp"};

// Search result.
inline constexpr List HledaniOk{"hledani", "ok", 3};
inline constexpr Picture HledaniPlocha{"hledani", "plocha.bmp"};

// Catalogue.
inline constexpr List ProgDokumen{"programy", "dokumen", 4};
inline constexpr List ProgHledat{"programy", "hledat", 4};
inline constexpr List ProgInstal{"programy", "instal", 4};
inline constexpr List ProgKopirov{"programy", "kopirov", 4};
inline constexpr List ProgSpust{"programy", "spust", 4};
inline constexpr List ProgWwwaut{"programy", "wwwaut", 4};
inline constexpr List ProgLogo{"programy", "logo", 3};
inline constexpr List ProgPridzal{"programy", "pridzal", 3};
inline constexpr List ProgOdebzal{"programy", "odebzal", 3};
inline constexpr List ProgOdinst{"programy", "odinst", 4};
inline constexpr List ProgOs{"programy", "os", 4};
inline constexpr List ProgVelik{"programy", "velik", 7};
inline constexpr List ProgHodnoc{"programy", "hodnoc", 6};
inline constexpr List ProgLicence{"programy", "licence", 4};
inline constexpr Picture ProgLine{"programy", "line.BMP"};
inline constexpr Picture ProgLupa{"programy", "bmplupa.BMP"};

// Settings.
inline constexpr List NastavSong1{"nastav", "song1", 4};
inline constexpr List NastavSong2{"nastav", "song2", 4};
inline constexpr List NastavSong3{"nastav", "song3", 4};
inline constexpr List NastavSong4{"nastav", "song4", 4};
inline constexpr List NastavSong5{"nastav", "song5", 4};
inline constexpr List NastavSong6{"nastav", "song6", 4};
inline constexpr List NastavOk{"nastav", "ok", 3};
inline constexpr List NastavHudbach{"nastav", "hudbach", 2};
inline constexpr List NastavAnimchk{"nastav", "animchk", 2};
inline constexpr List NastavHudbanc{"nastav", "hudbanc", 2};
inline constexpr List NastavAnimnch{"nastav", "animnch", 2};
inline constexpr List NastavPismo{"nastav", "pismo", 3};
inline constexpr Picture NastavRamecek{"nastav", "ramecek.bmp"};
inline constexpr Picture NastavNadpis{"nastav", "nadpis.bmp"};

// About pages.
inline constexpr List OnasOprog{"onas", "oprog", 4};
inline constexpr List OnasWww{"onas", "www", 3};
inline constexpr List OnasAutor{"onas", "autor", 4};
inline constexpr List OnasVolsirs{"onas", "volsirs", 4};
inline constexpr List OnasZaruka{"onas", "zaruka", 4};
inline constexpr Picture OnasRamecek{"onas", "ramecek.bmp"};
inline constexpr Picture OnasNadpis{"onas", "nadpis.bmp"};

// Other titles.
inline constexpr List DalsiTisk{"dalsicd", "tisk", 4};
inline constexpr List DalsiViceinf{"dalsicd", "viceinf", 3};
inline constexpr List DalsiKusudec{"dalsicd", "kusudec", 3};
inline constexpr List DalsiKusuinc{"dalsicd", "kusuinc", 3};
inline constexpr List DalsiObal{"dalsicd", "obal", 3};
inline constexpr List DalsiCd{"dalsicd", "cd", 3};
inline constexpr List DalsiPozad{"dalsicd", "pozad", 3};
inline constexpr List DalsiVelik{"dalsicd", "velik", 4};
inline constexpr List DalsiZaskrt{"dalsicd", "zaskrt", 2};
inline constexpr List DalsiNezaskr{"dalsicd", "nezaskr", 2};
inline constexpr Picture DalsiPridobj{"dalsicd", "pridobj.bmp"};
inline constexpr Picture DalsiPockusu{"dalsicd", "pockusu.bmp"};
inline constexpr Picture DalsiNadpis{"dalsicd", "nadpis.bmp"};
inline constexpr Picture DalsiObjram{"dalsicd", "objram.bmp"};
inline constexpr Picture DalsiPocitad{"dalsicd", "pocitad.bmp"};

// The background shared by the four content windows, in the skin root.
inline constexpr Picture ContentPlocha{"", "plocha.bmp"};

inline constexpr std::array AllLists{
    MenuProgram, MenuNastav, MenuDaltit, MenuNapoved, MenuOnas, MenuMinim, MenuQuit,
    ErrorOpak, ErrorZrusit,
    KopirNovyadr, KopirZrusit, KopirKopiruj, KopirX,
    HledaniOk,
    ProgDokumen, ProgHledat, ProgInstal, ProgKopirov, ProgSpust, ProgWwwaut, ProgLogo,
    ProgPridzal, ProgOdebzal, ProgOdinst, ProgOs, ProgVelik, ProgHodnoc, ProgLicence,
    NastavSong1, NastavSong2, NastavSong3, NastavSong4, NastavSong5, NastavSong6, NastavOk,
    NastavHudbach, NastavAnimchk, NastavHudbanc, NastavAnimnch, NastavPismo,
    OnasOprog, OnasWww, OnasAutor, OnasVolsirs, OnasZaruka,
    DalsiTisk, DalsiViceinf, DalsiKusudec, DalsiKusuinc, DalsiObal, DalsiCd, DalsiPozad,
    DalsiVelik, DalsiZaskrt, DalsiNezaskr,
};

inline constexpr std::array AllPictures{
    MenuPlocha, ErrorPlocha, KopirPlocha, HledaniPlocha, ProgLine, ProgLupa,
    NastavRamecek, NastavNadpis, OnasRamecek, OnasNadpis,
    DalsiPridobj, DalsiPockusu, DalsiNadpis, DalsiObjram, DalsiPocitad, ContentPlocha,
};

// Relative path of picture i of a list, in the CD's own spelling.
inline std::string fileOf(const List& l, int i) {
    return std::string(l.folder) + "\\" + std::string(l.base) + std::to_string(i) + ".bmp";
}
inline std::string fileOf(const Picture& p) {
    return p.folder.empty() ? std::string(p.file)
                            : std::string(p.folder) + "\\" + std::string(p.file);
}

}  // namespace katalog::skin

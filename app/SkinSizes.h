#pragma once
// The size of every skin bitmap in the two layouts, and which controls of the layout tables
// show which skin item. The demo CD draws its bitmaps at these sizes; windows and tests use
// them to check that a skin fits the layout tables.
#include "app/SkinTable.h"

#include <optional>
#include <span>
#include <string_view>

namespace katalog::skin {

struct Size {
    int width;
    int height;
};

struct ListSize {
    List list;
    Size large;
    Size small;
};

struct PictureSize {
    Picture picture;
    Size large;
    Size small;
};

// Region buttons draw their pictures whole, so a list's size is the control's size.
inline constexpr ListSize ListSizes[] = {
    // Main menu: the five menu buttons fit the left tab, the two small ones the title strip.
    {MenuProgram, {56, 46}, {50, 40}},
    {MenuNastav, {56, 46}, {50, 40}},
    {MenuDaltit, {56, 46}, {50, 40}},
    {MenuNapoved, {56, 46}, {50, 40}},
    {MenuOnas, {56, 46}, {50, 40}},
    {MenuMinim, {25, 25}, {21, 21}},
    {MenuQuit, {25, 25}, {21, 21}},
    // Error dialog: both layouts place its buttons alike.
    {ErrorOpak, {110, 34}, {110, 34}},
    {ErrorZrusit, {110, 34}, {110, 34}},
    // Copy dialog.
    {KopirNovyadr, {150, 40}, {130, 36}},
    {KopirZrusit, {150, 40}, {130, 36}},
    {KopirKopiruj, {150, 40}, {130, 36}},
    {KopirX, {25, 25}, {21, 21}},
    // Search result.
    {HledaniOk, {100, 34}, {100, 34}},
    // Catalogue: action buttons, search button, logo and the four value icons.
    {ProgDokumen, {148, 42}, {130, 37}},
    {ProgHledat, {92, 34}, {80, 30}},
    {ProgInstal, {148, 42}, {130, 37}},
    {ProgKopirov, {148, 42}, {130, 37}},
    {ProgSpust, {148, 42}, {130, 37}},
    {ProgWwwaut, {148, 42}, {130, 37}},
    {ProgLogo, {180, 92}, {155, 80}},
    {ProgPridzal, {148, 42}, {130, 37}},
    {ProgOdebzal, {148, 42}, {130, 37}},
    {ProgOdinst, {148, 42}, {130, 37}},
    {ProgOs, {180, 34}, {155, 30}},
    {ProgVelik, {180, 34}, {155, 30}},
    {ProgHodnoc, {180, 34}, {155, 30}},
    {ProgLicence, {180, 34}, {155, 30}},
    // Settings.
    {NastavSong1, {170, 32}, {150, 28}},
    {NastavSong2, {170, 32}, {150, 28}},
    {NastavSong3, {170, 32}, {150, 28}},
    {NastavSong4, {170, 32}, {150, 28}},
    {NastavSong5, {170, 32}, {150, 28}},
    {NastavSong6, {170, 32}, {150, 28}},
    {NastavOk, {140, 40}, {125, 34}},
    {NastavHudbach, {180, 36}, {158, 32}},
    {NastavAnimchk, {180, 36}, {158, 32}},
    {NastavHudbanc, {180, 36}, {158, 32}},
    {NastavAnimnch, {180, 36}, {158, 32}},
    {NastavPismo, {150, 40}, {130, 34}},
    // About pages: each page button as wide as the gap to its neighbour allows.
    {OnasOprog, {140, 36}, {125, 32}},
    {OnasWww, {282, 36}, {250, 32}},
    {OnasAutor, {140, 36}, {125, 32}},
    {OnasVolsirs, {230, 36}, {206, 32}},
    {OnasZaruka, {110, 36}, {100, 32}},
    // Other titles.
    {DalsiTisk, {133, 40}, {119, 36}},
    {DalsiViceinf, {150, 36}, {130, 32}},
    {DalsiKusudec, {36, 36}, {34, 34}},
    {DalsiKusuinc, {36, 36}, {34, 34}},
    {DalsiObal, {150, 36}, {130, 32}},
    {DalsiCd, {230, 18}, {200, 16}},
    {DalsiPozad, {230, 18}, {200, 16}},
    {DalsiVelik, {230, 18}, {200, 16}},
    {DalsiZaskrt, {40, 40}, {36, 36}},
    {DalsiNezaskr, {40, 40}, {36, 36}},
};

inline constexpr PictureSize PictureSizes[] = {
    {MenuPlocha, {855, 570}, {750, 500}},
    // The dialogs take the size of their backgrounds.
    {ErrorPlocha, {466, 160}, {466, 160}},
    {KopirPlocha, {424, 370}, {370, 324}},
    {HledaniPlocha, {417, 172}, {417, 172}},
    {ProgLine, {12, 563}, {10, 494}},
    {ProgLupa, {34, 34}, {30, 30}},
    {NastavRamecek, {430, 334}, {370, 298}},
    {NastavNadpis, {789, 60}, {691, 52}},
    {OnasRamecek, {550, 429}, {486, 375}},
    {OnasNadpis, {788, 46}, {690, 40}},
    {DalsiPridobj, {140, 40}, {120, 36}},
    {DalsiPockusu, {180, 20}, {160, 20}},
    {DalsiNadpis, {300, 66}, {262, 58}},
    {DalsiObjram, {232, 236}, {200, 209}},
    {DalsiPocitad, {54, 38}, {46, 34}},
    {ContentPlocha, {788, 536}, {690, 470}},
};

constexpr bool sameList(const List& a, const List& b) {
    return a.folder == b.folder && a.base == b.base;
}
constexpr bool samePicture(const Picture& a, const Picture& b) {
    return a.folder == b.folder && a.file == b.file;
}

constexpr std::optional<Size> sizeOf(const List& l, bool large) {
    for (const ListSize& s : ListSizes)
        if (sameList(s.list, l))
            return large ? s.large : s.small;
    return std::nullopt;
}

constexpr std::optional<Size> sizeOf(const Picture& p, bool large) {
    for (const PictureSize& s : PictureSizes)
        if (samePicture(s.picture, p))
            return large ? s.large : s.small;
    return std::nullopt;
}

// A control of a layout table and the skin item it shows. A control that shows several
// lists in turn (install and uninstall, ticked and unticked) has a row for each.
struct ControlSkin {
    std::string_view control;
    const List* list = nullptr;
    const Picture* picture = nullptr;
};

inline constexpr ControlSkin MenuControls[] = {
    {"mnuProgramy", &MenuProgram},   {"mnuONas", &MenuOnas},
    {"mnuDalsiTituly", &MenuDaltit}, {"mnuNastaveni", &MenuNastav},
    {"mnuNapoveda", &MenuNapoved},   {"Minimalizace", &MenuMinim},
    {"Quit", &MenuQuit},
};

inline constexpr ControlSkin ErrorDialogControls[] = {
    {"Opakovat", &ErrorOpak},
    {"Zrusit", &ErrorZrusit},
};

inline constexpr ControlSkin ProgramyControls[] = {
    {"Line", nullptr, &ProgLine},
    {"bmpLupa", nullptr, &ProgLupa},
    {"Spustit", &ProgSpust},
    {"Instalovat", &ProgInstal},
    {"Instalovat", &ProgOdinst},
    {"Filtr", &ProgHledat},
    {"Kopirovat", &ProgKopirov},
    {"Popis", &ProgDokumen},
    {"btnZalozky", &ProgPridzal},
    {"btnZalozky", &ProgOdebzal},
    {"Internet", &ProgWwwaut},
    {"TovanaLogo", &ProgLogo},
    {"HodnoceniPic", &ProgHodnoc},
    {"VelikostPic", &ProgVelik},
    {"OSpic", &ProgOs},
    {"KonceptPic", &ProgLicence},
};

inline constexpr ControlSkin KopirovaniControls[] = {
    {"Close", &KopirX},
    {"NovyAdresar", &KopirNovyadr},
    {"Kopiruj", &KopirKopiruj},
    {"Zrusit", &KopirZrusit},
};

inline constexpr ControlSkin DalsiNaseCDControls[] = {
    {"Nadpis", nullptr, &DalsiNadpis},
    {"ObjRamecek", nullptr, &DalsiObjram},
    {"PridatDoObj", nullptr, &DalsiPridobj},
    {"ObjednavkaChk", &DalsiZaskrt},
    {"ObjednavkaChk", &DalsiNezaskr},
    {"PocKusu", nullptr, &DalsiPockusu},
    {"Pocitadlo", nullptr, &DalsiPocitad},
    {"KusuDec", &DalsiKusudec},
    {"KusuInc", &DalsiKusuinc},
    {"Tisk", &DalsiTisk},
    {"ViceInfo", &DalsiViceinf},
    {"ViceInfo", &DalsiObal},
    {"Data", &DalsiVelik},
    {"PocetCD", &DalsiCd},
    {"Pozadavky", &DalsiPozad},
};

inline constexpr ControlSkin NastaveniControls[] = {
    {"Pozadi", nullptr, &ContentPlocha},
    {"Nadpis", nullptr, &NastavNadpis},
    {"Ramecek", nullptr, &NastavRamecek},
    {"Song1", &NastavSong1},
    {"Song2", &NastavSong2},
    {"Song3", &NastavSong3},
    {"Song4", &NastavSong4},
    {"Song5", &NastavSong5},
    {"Song6", &NastavSong6},
    {"Hudba", &NastavHudbach},
    {"Hudba", &NastavHudbanc},
    {"Animace", &NastavAnimchk},
    {"Animace", &NastavAnimnch},
    {"Pismo", &NastavPismo},
    {"OK", &NastavOk},
};

inline constexpr ControlSkin ONasControls[] = {
    {"Pozadi", nullptr, &ContentPlocha},
    {"Ramecek", nullptr, &OnasRamecek},
    {"Nadpis", nullptr, &OnasNadpis},
    {"WWW", &OnasWww},
    {"OProg", &OnasOprog},
    {"VolneSiritSoft", &OnasVolsirs},
    {"Zaruka", &OnasZaruka},
    {"Autor", &OnasAutor},
};

}  // namespace katalog::skin

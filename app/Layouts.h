#pragma once
// Where every control of every window stands, in the large (1024x768) and the small
// (800x600) layout. Rows name controls by their object names; one loop applies a table.
// Width and height are -1 where the control takes the size of its picture.
#include <QList>

#include <span>
#include <string_view>

class QWidget;

namespace katalog::layout {

struct Geometry {
    int left;
    int top;
    int width = -1;
    int height = -1;
};

struct Row {
    std::string_view control;
    Geometry large;
    Geometry small;
};

// A window's focus order: the controls Tab visits, in reading order, each with the words
// a control that shows only a picture says to assistive technology (its hint, when it has
// one, comes first).
struct Focus {
    std::string_view control;
    std::string_view caption = {};
};

// Main menu window.
struct MenuGeometry {
    int width, height;
    int contentDx, contentDy, contentWidth, contentHeight;
    int stripDx, stripDy;  // title strip: x > left + stripDx and y < top + stripDy
    std::string_view outline;
};
inline constexpr MenuGeometry MenuLarge{855, 570, 59, 27, 788, 536, 52, 29,
                                        "51,0,855,0,855,570,51,570,51,421,0,383,0,58,51,25"};
inline constexpr MenuGeometry MenuSmall{750, 500, 52, 24, 690, 470, 45, 26,
                                        "45,0,749,0,749,499,45,499,45,368,1,335,1,52,45,23"};
inline constexpr Row Menu[] = {
    {"mnuProgramy", {0, 51}, {0, 45}},
    {"mnuONas", {0, 120}, {0, 106}},
    {"mnuDalsiTituly", {0, 169}, {0, 149}},
    {"mnuNastaveni", {0, 246}, {0, 216}},
    {"mnuNapoveda", {0, 316}, {0, 278}},
    {"Minimalizace", {792, 2}, {696, 3}},
    {"Quit", {822, 2}, {722, 3}},
};
// The menu's column; the content window follows, the window buttons come last.
inline constexpr Focus MenuFocus[] = {
    {"mnuProgramy"}, {"mnuONas"}, {"mnuDalsiTituly"}, {"mnuNastaveni"}, {"mnuNapoveda"},
};
inline constexpr Focus MenuWindowFocus[] = {{"Minimalizace"}, {"Quit"}};
inline constexpr int TitulekLeftLarge = 57;
inline constexpr int TitulekLeftSmall = 50;

// Error dialog (same in both layouts).
inline constexpr Row ErrorDialog[] = {
    {"Opakovat", {123, 106}, {123, 106}},
    {"Zrusit", {239, 106}, {239, 106}},
};
inline constexpr Focus ErrorDialogFocus[] = {{"Opakovat", "Opakovat"}, {"Zrusit", "Zrušit"}};

// Catalogue window.
inline constexpr Row Programy[] = {
    {"Line", {295, -27}, {258, -24}},
    {"bmpLupa", {6, 492}, {6, 432}},
    {"Spustit", {316, 437}, {276, 381}},
    {"Instalovat", {316, 484}, {276, 422}},
    {"Filtr", {197, 492}, {172, 432}},
    {"Kopirovat", {472, 437}, {413, 381}},
    {"Popis", {628, 437}, {550, 381}},
    {"btnZalozky", {472, 484}, {413, 422}},
    {"Internet", {628, 484}, {550, 422}},
    {"TovanaLogo", {601, 336}, {529, 295}},
    {"HodnoceniPic", {602, 164}, {529, 144}},
    {"VelikostPic", {602, 203}, {529, 178}},
    {"OSpic", {602, 242}, {529, 212}},
    {"KonceptPic", {602, 281}, {529, 246}},
    {"Nahled", {602, 15, 182, 139}, {532, 13, 150, 120}},
    {"SeznamSekci", {4, 9, 285, 23}, {3, 8, 250, 20}},
    {"TypTrideni", {4, 53, 285, 23}, {3, 46, 250, 20}},
    {"SeznamProgramu", {4, 81, 285, 399}, {3, 71, 250, 350}},
    {"PopisProgramu", {312, 13, 285, 410}, {273, 11, 250, 360}},
    {"Edit1", {44, 497, 148, 23}, {38, 436, 130, 20}},
};
// The left column, the description, the preview column, then the action buttons row by row.
inline constexpr Focus ProgramyFocus[] = {
    {"SeznamSekci", "Sekce"},
    {"TypTrideni", "Třídění"},
    {"SeznamProgramu", "Programy"},
    {"Edit1", "Hledaný text"},
    {"Filtr", "Hledat"},
    {"PopisProgramu", "Popis programu"},
    {"Nahled", "Obrázky programu"},
    {"TovanaLogo", "Vydavatel"},
    {"Spustit", "Spustit"},
    {"Kopirovat", "Kopírovat"},
    {"Popis", "Dokumentace"},
    {"Instalovat", "Instalovat"},
    {"btnZalozky", "Oblíbené"},
    {"Internet", "WWW autora"},
};

// Search result window.
inline constexpr Geometry VysledkyLabel{16, 40, 385, 73};
inline constexpr int VysledkyOkTop = 122;
inline constexpr Focus VysledkyFocus[] = {{"btnOK", "OK"}};

// Copy dialog.
inline constexpr Row Kopirovani[] = {
    {"Close", {396, 3}, {346, 3}},
    {"NovyAdresar", {257, 212}, {224, 185}},
    {"Kopiruj", {257, 260}, {224, 227}},
    {"Zrusit", {257, 307}, {224, 268}},
    {"DirName", {31, 68, 192, 26}, {27, 60, 168, 23}},
    {"SeznamAdresaru", {31, 103, 192, 196}, {27, 90, 168, 172}},
    {"SeznamJednotek", {31, 310, 192, 24}, {27, 272, 168, 21}},
};
inline constexpr Focus KopirovaniFocus[] = {
    {"DirName", "Název nové složky"}, {"SeznamAdresaru", "Složky"}, {"SeznamJednotek", "Jednotky"},
    {"NovyAdresar", "Nová složka"},   {"Kopiruj", "Kopírovat"},     {"Zrusit", "Zrušit"},
    {"Close", "Zavřít"},
};

// Other titles.
inline constexpr Row DalsiNaseCD[] = {
    {"Nadpis", {0, 2}, {0, 3}},
    {"ObjRamecek", {549, 238}, {481, 209}},
    {"PridatDoObj", {638, 276}, {560, 242}},
    {"ObjednavkaChk", {585, 276}, {513, 242}},
    {"PocKusu", {585, 342}, {503, 297}},
    {"Pocitadlo", {640, 365}, {562, 320}},
    {"KusuDec", {598, 365}, {523, 320}},
    {"KusuInc", {695, 365}, {610, 320}},
    {"PocetKusu", {652, 376, 33, 23}, {570, 329, 33, 23}},
    {"Tisk", {598, 424}, {525, 372}},
    {"ViceInfo", {623, 488}, {547, 428}},
    {"BookletCD", {566, 23}, {484, 8}},
    {"Data", {311, 470}, {273, 412}},
    {"PocetCD", {311, 489}, {273, 429}},
    {"Pozadavky", {311, 508}, {273, 446}},
    {"SeznamTitulu", {8, 76, 274, 452}, {7, 66, 240, 395}},
    {"PopisTitulu", {310, 9, 234, 452}, {272, 8, 205, 395}},
};
inline constexpr Focus DalsiNaseCDFocus[] = {
    {"SeznamTitulu", "Tituly"},  {"PopisTitulu", "Popis titulu"}, {"ObjednavkaChk", "Přidat do objednávky"},
    {"KusuDec", "Méně kusů"},    {"KusuInc", "Více kusů"},        {"Tisk", "Objednat"},
    {"ViceInfo", "Více informací"},
};
inline constexpr int CoverSlotLarge = 566;
inline constexpr int CoverSlotSmall = 484;
inline constexpr int CoverSlotWidth = 200;
inline constexpr int PopisTituluWideLarge = 471;
inline constexpr int PopisTituluWideSmall = 411;

// Settings.
inline constexpr Row Nastaveni[] = {
    {"Pozadi", {0, 0}, {0, 0}},
    {"Nadpis", {-1, 4}, {-1, 2}},
    {"Ramecek", {178, 86}, {153, 71}},
    {"Song1", {218, 142}, {191, 125}},
    {"Song2", {218, 181}, {191, 159}},
    {"Song3", {218, 218}, {191, 191}},
    {"Song4", {401, 142}, {352, 125}},
    {"Song5", {401, 181}, {352, 159}},
    {"Song6", {401, 218}, {352, 191}},
    {"Hudba", {218, 301}, {191, 264}},
    {"Animace", {218, 361}, {191, 317}},
    {"Pismo", {416, 309}, {365, 271}},
    {"OK", {624, 488}, {547, 428}},
};
// The songs by their numbers, the two switches, the font, then OK.
inline constexpr Focus NastaveniFocus[] = {
    {"Song1", "Skladba 1"}, {"Song2", "Skladba 2"}, {"Song3", "Skladba 3"},
    {"Song4", "Skladba 4"}, {"Song5", "Skladba 5"}, {"Song6", "Skladba 6"},
    {"Hudba", "Hudba a zvuky"}, {"Animace", "Animace náhledu"}, {"Pismo", "Písmo"},
    {"OK", "Uložit"},
};

// About pages.
inline constexpr Row ONas[] = {
    {"Pozadi", {0, 0}, {0, 0}},
    {"Ramecek", {123, 51}, {107, 45}},
    {"Nadpis", {0, 2}, {0, 3}},
    {"WWW", {257, 431}, {225, 378}},
    {"Titulka", {416, 94, 228, 324}, {366, 83, 195, 282}},
    {"OProg", {70, 495}, {61, 434}},
    {"VolneSiritSoft", {222, 495}, {192, 434}},
    {"Zaruka", {464, 495}, {406, 434}},
    {"Autor", {584, 495}, {512, 434}},
    {"TextClanku", {153, 94, 235, 324}, {133, 83, 206, 282}},
};
inline constexpr Focus ONasFocus[] = {
    {"TextClanku", "Text stránky"},
    {"WWW", "Navštivte nás na webu"},
    {"OProg", "O programu"},
    {"VolneSiritSoft", "Volně šiřitelný software"},
    {"Zaruka", "Záruka"},
    {"Autor", "Autoři"},
};
// Viewer widths of the four pages: oprog, then autor, volsirsw, zaruka.
inline constexpr int TextNarrowLarge = 235, TextNarrowSmall = 206;
inline constexpr int TextWideLarge = 490, TextWideSmall = 430;

// Moves (and, where the row says, sizes) the window's children named in rows.
void apply(QWidget* window, std::span<const Row> rows, bool highRes);

// The window's children named in rows, in their order, each given its caption.
QList<QWidget*> focusOrder(QWidget* window, std::span<const Focus> rows);

}  // namespace katalog::layout

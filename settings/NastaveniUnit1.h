#pragma once
// The settings window: music on or off, one of six songs, the animation option and the
// font of the text areas. Every change holds at once until the program ends; OK also saves
// it for the next start.
#include "app/Forms.h"
#include "widgets/ImageList.h"

#include <QLabel>

#include <array>

namespace katalog {

class TEzRgnBtn;
class TFontDialog;

class TNastaveniForm : public TContentForm {
    Q_OBJECT
public:
    TNastaveniForm(TMain& main, QWidget* parent);

    void FormCreate();
    // Song button n: marks song n as chosen and, with music on, plays it.
    void SongClick(int song);
    void Song1Click() { SongClick(1); }
    void Song2Click() { SongClick(2); }
    void Song3Click() { SongClick(3); }
    void Song4Click() { SongClick(4); }
    void Song5Click() { SongClick(5); }
    void Song6Click() { SongClick(6); }
    void HudbaChkClick();
    void AnimaceChkClick();
    void PismoClick();
    void FontDialog1Apply();
    void OKClick();

    // Gives the font and its colour to every control that shows the catalogue's, the other
    // titles' and the about pages' text, and to the order window and the catalogue window
    // as a whole. Rich-text viewers get it as their default font: text with a font of its
    // own keeps that.
    void SetFont(const QFont& font, const QColor& color);

    QLabel* Pozadi;
    QLabel* Ramecek;
    QLabel* Nadpis;
    QLabel* CzFlag;
    QLabel* SkFlag;
    std::array<TEzRgnBtn*, 6> Song{};  // Song1 ... Song6
    TEzRgnBtn* Hudba;
    TEzRgnBtn* Animace;
    TEzRgnBtn* Pismo;
    TEzRgnBtn* OK;
    TFontDialog* FontDialog1;

    std::array<TImageList, 6> SongList;  // Song1List ... Song6List
    TImageList OKList, HudbaChkList, AnimaceChkList, HudbaNonChkList, AnimaceNonChkList, PismoList;

private:
    // The dialog's font becomes the current font, and SetFont applies it.
    void TakeDialogFont();
};

}  // namespace katalog

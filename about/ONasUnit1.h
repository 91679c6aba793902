#pragma once
// The about window: four rich-text pages about the CD and its publisher beside the CD's
// cover, and a button that opens the publisher's web site.
#include "app/Forms.h"
#include "widgets/ImageList.h"

#include <QLabel>
#include <QPointer>
#include <QTextEdit>

namespace katalog {

class TEzRgnBtn;

// The publisher's web site.
inline const QString PublisherAddress = QStringLiteral("https://www.example.com/");

class TONas : public TContentForm {
    Q_OBJECT
public:
    TONas(TMain& main, QWidget* parent);

    void FormCreate();
    // Makes the page of button B current: B disabled, the page file N (from the language's
    // folder) in the viewer; a missing file leaves the previous text.
    void AktualizujZobrazeni(TEzRgnBtn* button, const QString& file);

    void OProgClick();
    void AutorClick();
    void VolneSiritSoftClick();
    void ZarukaClick();
    void WWWClick();

    TEzRgnBtn* CurrentPage() const;

    QLabel* Pozadi;
    QLabel* Ramecek;
    QLabel* Nadpis;
    QLabel* Titulka;
    TEzRgnBtn* OProg;
    TEzRgnBtn* Autor;
    TEzRgnBtn* VolneSiritSoft;
    TEzRgnBtn* Zaruka;
    TEzRgnBtn* WWW;
    QTextEdit* TextClanku;

    TImageList KontaktyList, WWWList, HistorieFirmyList, VolneSiritSoftList, ZarukaList;

private:
    void showPage(TEzRgnBtn* button, const QString& file, bool wide);

    QPointer<TEzRgnBtn> currentPage_;
};

}  // namespace katalog

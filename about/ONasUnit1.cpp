#include "about/ONasUnit1.h"

#include "app/CdFiles.h"
#include "app/Layouts.h"
#include "app/MainFormUnit1.h"
#include "app/Shell.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "platform/Pictures.h"
#include "platform/Rtf.h"
#include "platform/ShellOpen.h"
#include "widgets/EzRgnBtn.h"

namespace katalog {
namespace {

QString page(int i) { return QString::fromLatin1(cdfiles::AboutPages[i]); }

}  // namespace

TONas::TONas(TMain& main, QWidget* parent) : TContentForm(main, parent) {
    setObjectName(QStringLiteral("ONas"));
    // Pictures first: the buttons and the text stack above them.
    Pozadi = makePicture(this, QStringLiteral("Pozadi"));
    Ramecek = makePicture(this, QStringLiteral("Ramecek"));
    Nadpis = makePicture(this, QStringLiteral("Nadpis"));
    Titulka = makePicture(this, QStringLiteral("Titulka"));
    Titulka->setScaledContents(true);

    OProg = makeButton(this, QStringLiteral("OProg"));
    Autor = makeButton(this, QStringLiteral("Autor"));
    VolneSiritSoft = makeButton(this, QStringLiteral("VolneSiritSoft"));
    Zaruka = makeButton(this, QStringLiteral("Zaruka"));
    WWW = makeButton(this, QStringLiteral("WWW"));
    connect(OProg, &TEzRgnBtn::clicked, this, &TONas::OProgClick);
    connect(Autor, &TEzRgnBtn::clicked, this, &TONas::AutorClick);
    connect(VolneSiritSoft, &TEzRgnBtn::clicked, this, &TONas::VolneSiritSoftClick);
    connect(Zaruka, &TEzRgnBtn::clicked, this, &TONas::ZarukaClick);
    connect(WWW, &TEzRgnBtn::clicked, this, &TONas::WWWClick);

    TextClanku = new QTextEdit(this);
    TextClanku->setObjectName(QStringLiteral("TextClanku"));
    TextClanku->setReadOnly(true);
    TextClanku->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TextClanku->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void TONas::FormCreate() {
    const Shell& s = shell();
    placeOnContentArea();

    main_.NaplnImageList(KontaktyList, skin::OnasOprog);
    OProg->setImageList(&KontaktyList);
    main_.NaplnImageList(WWWList, skin::OnasWww);
    WWW->setImageList(&WWWList);
    main_.NaplnImageList(HistorieFirmyList, skin::OnasAutor);
    Autor->setImageList(&HistorieFirmyList);
    main_.NaplnImageList(VolneSiritSoftList, skin::OnasVolsirs);
    VolneSiritSoft->setImageList(&VolneSiritSoftList);
    main_.NaplnImageList(ZarukaList, skin::OnasZaruka);
    Zaruka->setImageList(&ZarukaList);

    // A missing picture is reported; the pages still work without it.
    main_.ShowSkinPictures(
        {{Pozadi, skin::ContentPlocha}, {Ramecek, skin::OnasRamecek}, {Nadpis, skin::OnasNadpis}});
    platform::guarded([&] {
        const QString intro = QString::fromLatin1(cdfiles::AboutCover);
        Titulka->setPixmap(QPixmap::fromImage(platform::loadPicture(platform::readablePath(s.SystemDir, intro))));
    });

    layout::apply(this, layout::ONas, s.HighRes);

    AktualizujZobrazeni(OProg, page(0));
}

void TONas::AktualizujZobrazeni(TEzRgnBtn* button, const QString& file) {
    if (currentPage_)
        currentPage_->setButtonEnabled(true);
    button->setButtonEnabled(false);
    currentPage_ = button;

    const Shell& s = shell();
    const QString folder =
        QString::fromLatin1(cdfiles::AboutFolder) + QLatin1Char('\\') + cdfiles::languageFolder(s.SlovakLang);
    if (const auto path = platform::existingFile(s.SystemDir, folder + file)) {
        platform::loadRtf(*path, *TextClanku->document());
        // A new page is read from its beginning.
        TextClanku->moveCursor(QTextCursor::Start);
    }
}

TEzRgnBtn* TONas::CurrentPage() const { return currentPage_.data(); }

void TONas::showPage(TEzRgnBtn* button, const QString& file, bool wide) {
    main_.PrehrajKliknuti();
    const bool large = shell().HighRes;
    const int width = wide ? (large ? layout::TextWideLarge : layout::TextWideSmall)
                           : (large ? layout::TextNarrowLarge : layout::TextNarrowSmall);
    TextClanku->resize(width, TextClanku->height());
    // The wide pages take the cover's place; no edge of it may show beside them.
    Titulka->setVisible(!wide);
    AktualizujZobrazeni(button, file);
}

void TONas::OProgClick() { showPage(OProg, page(0), false); }
void TONas::AutorClick() { showPage(Autor, page(1), true); }
void TONas::VolneSiritSoftClick() { showPage(VolneSiritSoft, page(2), true); }
void TONas::ZarukaClick() { showPage(Zaruka, page(3), true); }

void TONas::WWWClick() {
    main_.PrehrajKliknuti();
    platform::reportStartFailure(platform::shellOpen(PublisherAddress, QString(), platform::ShowMode::Maximized),
                                 shell().SlovakLang);
}

}  // namespace katalog

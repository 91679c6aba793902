#include "settings/NastaveniUnit1.h"

#include "about/ONasUnit1.h"
#include "app/Layouts.h"
#include "app/MainFormUnit1.h"
#include "app/Settings.h"
#include "app/Shell.h"
#include "catalogue/ProgramyFormUnit1.h"
#include "orders/DalsiNaseCDUnit1.h"
#include "orders/TiskUnit1.h"
#include "platform/Errors.h"
#include "platform/Fonts.h"
#include "settings/FontDialog.h"
#include "widgets/EzRgnBtn.h"

#include <QAbstractItemView>
#include <QComboBox>

namespace katalog {
namespace {

// The Windows colour number of the window-text colour: the font dialog's colour at first.
constexpr int WindowTextColor = int(0x80000008u);

const QString OKHint = QStringLiteral(
    "Po uložení se změny provedené\r\n"
    "v nastavení projeví i při příštím\r\n"
    "spuštění ovládacího programu.\r\n"
    "Jinak jsou platné pouze do\r\n"
    "ukončení ovládacího programu.");

// 0x00BBGGRR, as the settings file keeps colours.
int colorToInt(const QColor& c) { return c.red() | (c.green() << 8) | (c.blue() << 16); }

// Controls that show the user's text, by window and object name.
constexpr const char* DalsiTextControls[] = {"PocetKusu", "PopisTitulu", "SeznamTitulu"};
constexpr const char* ProgramyTextControls[] = {"SeznamSekci", "PopisProgramu", "SeznamProgramu"};

void giveFont(QWidget* w, const QFont& font, const QColor& color) {
    if (!w)
        return;
    w->setFont(font);
    QPalette pal = w->palette();
    pal.setColor(QPalette::Text, color);
    pal.setColor(QPalette::WindowText, color);
    // A combo box draws its shown entry with the button text; its open list is a window of
    // its own, which takes nothing from the box.
    pal.setColor(QPalette::ButtonText, color);
    w->setPalette(pal);
    if (auto* box = qobject_cast<QComboBox*>(w)) {
        box->view()->setFont(font);
        QPalette list = box->view()->palette();
        list.setColor(QPalette::Text, color);
        box->view()->setPalette(list);
    }
}

}  // namespace

TNastaveniForm::TNastaveniForm(TMain& main, QWidget* parent) : TContentForm(main, parent) {
    setObjectName(QStringLiteral("NastaveniForm"));
    // Pictures first: the buttons stack above them.
    Pozadi = makePicture(this, QStringLiteral("Pozadi"));
    Ramecek = makePicture(this, QStringLiteral("Ramecek"));
    Nadpis = makePicture(this, QStringLiteral("Nadpis"));
    // The flags of a language choice that the window does not offer.
    CzFlag = makePicture(this, QStringLiteral("CzFlag"));
    SkFlag = makePicture(this, QStringLiteral("SkFlag"));
    CzFlag->hide();
    SkFlag->hide();

    for (int i = 0; i < 6; ++i) {
        Song[i] = makeButton(this, QStringLiteral("Song%1").arg(i + 1));
        connect(Song[i], &TEzRgnBtn::clicked, this, [this, i] { SongClick(i + 1); });
    }
    Hudba = makeButton(this, QStringLiteral("Hudba"));
    Animace = makeButton(this, QStringLiteral("Animace"));
    Pismo = makeButton(this, QStringLiteral("Pismo"));
    OK = makeButton(this, QStringLiteral("OK"));
    OK->setHint(OKHint);
    OK->setShowHint(true);
    connect(Hudba, &TEzRgnBtn::clicked, this, &TNastaveniForm::HudbaChkClick);
    connect(Animace, &TEzRgnBtn::clicked, this, &TNastaveniForm::AnimaceChkClick);
    connect(Pismo, &TEzRgnBtn::clicked, this, &TNastaveniForm::PismoClick);
    connect(OK, &TEzRgnBtn::clicked, this, &TNastaveniForm::OKClick);

    FontDialog1 = new TFontDialog(this);
    FontDialog1->setDialogFont(QFont(QStringLiteral("MS Sans Serif"), 8),
                               platform::colorFromInt(WindowTextColor));
    connect(FontDialog1, &TFontDialog::applied, this, &TNastaveniForm::FontDialog1Apply);
}

void TNastaveniForm::FormCreate() {
    const Shell& s = shell();
    placeOnContentArea();

    const skin::List songs[] = {skin::NastavSong1, skin::NastavSong2, skin::NastavSong3,
                                skin::NastavSong4, skin::NastavSong5, skin::NastavSong6};
    for (int i = 0; i < 6; ++i) {
        main_.NaplnImageList(SongList[i], songs[i]);
        Song[i]->setImageList(&SongList[i]);
    }
    main_.NaplnImageList(OKList, skin::NastavOk);
    OK->setImageList(&OKList);
    main_.NaplnImageList(HudbaChkList, skin::NastavHudbach);
    main_.NaplnImageList(AnimaceChkList, skin::NastavAnimchk);
    main_.NaplnImageList(HudbaNonChkList, skin::NastavHudbanc);
    main_.NaplnImageList(AnimaceNonChkList, skin::NastavAnimnch);
    main_.NaplnImageList(PismoList, skin::NastavPismo);
    Pismo->setImageList(&PismoList);

    // A missing decoration is reported; the window still works without it.
    main_.ShowSkinPictures({{Pozadi, skin::ContentPlocha},
                            {Ramecek, skin::NastavRamecek},
                            {Nadpis, skin::NastavNadpis}});

    layout::apply(this, layout::Nastaveni, s.HighRes);

    for (int i = 0; i < 6; ++i)
        Song[i]->setButtonEnabled(s.SongNumber != i + 1);
    Animace->setImageList(s.AnimOn ? &AnimaceChkList : &AnimaceNonChkList);
    Animace->setChecked(s.AnimOn);
    Hudba->setImageList(s.MusicOn ? &HudbaChkList : &HudbaNonChkList);
    Hudba->setChecked(s.MusicOn);
}

void TNastaveniForm::SongClick(int song) {
    main_.PrehrajKliknuti();
    for (int i = 0; i < 6; ++i)
        Song[i]->setButtonEnabled(i + 1 != song);
    // With music off the button only marks the choice; the current song stays.
    if (shell().MusicOn)
        platform::guarded([&] { main_.PlayMusic(song); });
}

void TNastaveniForm::HudbaChkClick() {
    main_.PrehrajKliknuti();
    Shell& s = shell();
    s.MusicOn = !s.MusicOn;
    Hudba->setChecked(s.MusicOn);
    if (s.MusicOn) {
        Hudba->setImageList(&HudbaChkList);
        platform::guarded([&] { main_.PlayMusic(s.SongNumber); });
    } else {
        Hudba->setImageList(&HudbaNonChkList);
        platform::guarded([&] { main_.PlayMusic(-1); });
    }
}

void TNastaveniForm::AnimaceChkClick() {
    main_.PrehrajKliknuti();
    Shell& s = shell();
    s.AnimOn = !s.AnimOn;
    Animace->setImageList(s.AnimOn ? &AnimaceChkList : &AnimaceNonChkList);
    Animace->setChecked(s.AnimOn);
}

void TNastaveniForm::PismoClick() {
    main_.PrehrajKliknuti();
    if (FontDialog1->Execute())
        TakeDialogFont();
}

void TNastaveniForm::FontDialog1Apply() { TakeDialogFont(); }

void TNastaveniForm::TakeDialogFont() {
    AppFontSpec& f = shell().AppFont;
    const QFont font = FontDialog1->dialogFont();
    const QColor color = FontDialog1->dialogColor();
    f.name = font.family();
    if (font.pointSize() > 0)
        f.size = font.pointSize();
    f.bold = font.bold();
    f.italic = font.italic();
    f.underline = font.underline();
    f.strikeOut = font.strikeOut();
    // A system colour that still looks the same keeps its number.
    if (color != platform::colorFromInt(f.color))
        f.color = colorToInt(color);
    SetFont(toQFont(f), platform::colorFromInt(f.color));
}

void TNastaveniForm::OKClick() {
    main_.PrehrajKliknuti();
    platform::guarded([] { UlozNastaveni(shell()); });
}

void TNastaveniForm::SetFont(const QFont& font, const QColor& color) {
    Forms& forms = main_.forms();
    // The windows' controls are found by name: each window owns its own.
    if (forms.DalsiNaseCDForm)
        for (const char* name : DalsiTextControls)
            giveFont(forms.DalsiNaseCDForm->findChild<QWidget*>(QString::fromLatin1(name)), font,
                     color);
    if (forms.ProgramyForm)
        for (const char* name : ProgramyTextControls)
            giveFont(forms.ProgramyForm->findChild<QWidget*>(QString::fromLatin1(name)), font,
                     color);
    giveFont(forms.TiskForm, font, color);
    giveFont(forms.ProgramyForm, font, color);
    if (forms.ONas)
        giveFont(forms.ONas->findChild<QWidget*>(QStringLiteral("TextClanku")), font, color);
}

}  // namespace katalog

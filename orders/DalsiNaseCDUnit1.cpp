#include "orders/DalsiNaseCDUnit1.h"

#include "app/CdFiles.h"
#include "app/Layouts.h"
#include "app/MainFormUnit1.h"
#include "app/Shell.h"
#include "orders/TiskUnit1.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "platform/Pictures.h"
#include "platform/Rtf.h"
#include "widgets/EzRgnBtn.h"
#include "widgets/ListBox.h"

#include <QLabel>
#include <QListWidget>
#include <QTextEdit>

#include <algorithm>
#include <climits>

namespace katalog {
namespace {

template <class T>
T* named(QWidget* parent, const char* name) {
    auto* w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

const layout::Geometry& placeOf(std::string_view control, bool highRes) {
    const auto& rows = layout::DalsiNaseCD;
    const auto* row =
        std::find_if(std::begin(rows), std::end(rows),
                     [control](const layout::Row& r) { return r.control == control; });
    return highRes ? row->large : row->small;
}

void showPicture(QLabel* label, const QImage& image) {
    label->setPixmap(QPixmap::fromImage(image));
    label->resize(image.size());
}

}  // namespace

TDalsiNaseCDForm::TDalsiNaseCDForm(TMain& main, QWidget* parent) : TContentForm(main, parent) {
    setObjectName(QStringLiteral("DalsiNaseCDForm"));

    // Creation order is stacking order: the background first, the counter text last.
    Plocha = named<QLabel>(this, "Plocha");
    ObjRamecek = named<QLabel>(this, "ObjRamecek");
    Nadpis = named<QLabel>(this, "Nadpis");
    PridatDoObj = named<QLabel>(this, "PridatDoObj");
    PocKusu = named<QLabel>(this, "PocKusu");
    Pocitadlo = named<QLabel>(this, "Pocitadlo");
    BookletCD = named<QLabel>(this, "BookletCD");
    Pozadavky = named<QLabel>(this, "Pozadavky");
    PocetCD = named<QLabel>(this, "PocetCD");
    Data = named<QLabel>(this, "Data");

    SeznamTitulu = named<TListBox>(this, "SeznamTitulu");
    SeznamTitulu->setToolTip(QStringLiteral("Vyberte si"));

    PopisTitulu = named<QTextEdit>(this, "PopisTitulu");
    PopisTitulu->setReadOnly(true);
    PopisTitulu->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    PopisTitulu->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    ObjednavkaChk = named<TEzRgnBtn>(this, "ObjednavkaChk");
    KusuDec = named<TEzRgnBtn>(this, "KusuDec");
    KusuDec->setAutoRepeat(true);
    KusuInc = named<TEzRgnBtn>(this, "KusuInc");
    KusuInc->setAutoRepeat(true);
    ViceInfo = named<TEzRgnBtn>(this, "ViceInfo");
    Tisk = named<TEzRgnBtn>(this, "Tisk");

    PocetKusu = named<QLabel>(this, "PocetKusu");
    PocetKusu->setAlignment(Qt::AlignCenter);
    PocetKusu->setAttribute(Qt::WA_TransparentForMouseEvents);
    // The wide description covers the order box; the count is drawn on the window itself
    // and must not show through it.
    PopisTitulu->raise();

    for (QLabel* picture : {Plocha, ObjRamecek, Nadpis, PridatDoObj, PocKusu, Pocitadlo, BookletCD,
                            Pozadavky, PocetCD, Data})
        picture->setAttribute(Qt::WA_TransparentForMouseEvents);

    // The list box reports keyboard moves like clicks. Keyboard focus makes a row current
    // without selecting it: the details follow the selection.
    connect(SeznamTitulu, &QListWidget::itemSelectionChanged, this,
            &TDalsiNaseCDForm::SeznamTituluClick);
    connect(SeznamTitulu, &QListWidget::itemClicked, this, &TDalsiNaseCDForm::SeznamTituluClick);
    connect(ObjednavkaChk, &TEzRgnBtn::clicked, this, &TDalsiNaseCDForm::ObjednavkaChkClick);
    connect(KusuDec, &TEzRgnBtn::clicked, this, &TDalsiNaseCDForm::KusuDecClick);
    connect(KusuInc, &TEzRgnBtn::clicked, this, &TDalsiNaseCDForm::KusuIncClick);
    connect(ViceInfo, &TEzRgnBtn::clicked, this, &TDalsiNaseCDForm::ViceInfoClick);
    connect(Tisk, &TEzRgnBtn::clicked, this, &TDalsiNaseCDForm::TiskClick);
}

void TDalsiNaseCDForm::FormCreate() {
    const Shell& s = shell();
    placeOnContentArea();

    main_.NaplnImageList(TiskList, skin::DalsiTisk);
    main_.NaplnImageList(ViceInfoList, skin::DalsiViceinf);
    main_.NaplnImageList(ZobrObalList, skin::DalsiObal);
    main_.NaplnImageList(DecList, skin::DalsiKusudec);
    main_.NaplnImageList(IncList, skin::DalsiKusuinc);
    main_.NaplnImageList(PocetCDList, skin::DalsiCd);
    main_.NaplnImageList(PozadavkyList, skin::DalsiPozad);
    main_.NaplnImageList(DataList, skin::DalsiVelik);
    main_.NaplnImageList(Zaskrtnuto, skin::DalsiZaskrt);
    main_.NaplnImageList(Nezaskrtnuto, skin::DalsiNezaskr);
    Tisk->setImageList(&TiskList);
    ViceInfo->setImageList(&ViceInfoList);
    KusuDec->setImageList(&DecList);
    KusuInc->setImageList(&IncList);

    const std::pair<QLabel*, skin::Picture> pictures[] = {
        {Plocha, skin::ContentPlocha},   {Nadpis, skin::DalsiNadpis},
        {ObjRamecek, skin::DalsiObjram}, {PridatDoObj, skin::DalsiPridobj},
        {PocKusu, skin::DalsiPockusu},   {Pocitadlo, skin::DalsiPocitad},
    };
    bool failed = false;
    for (const auto& [label, picture] : pictures) {
        try {
            main_.ShowSkinPicture(label, picture);
        } catch (const platform::KatalogError&) {
            failed = true;
        }
    }
    if (failed)
        main_.ChybaObrazku();

    layout::apply(this, layout::DalsiNaseCD, s.HighRes);

    KusuInc->setButtonEnabled(false);
    KusuDec->setButtonEnabled(false);
    ObjednavkaChk->setButtonEnabled(false);
    inOrderShown_ = false;
    ObjednavkaChk->setImageList(&Nezaskrtnuto);
    ObjednavkaChk->setChecked(false);
    Tisk->setButtonEnabled(false);
    PopisTitulu->clear();
    ViceInfo->setButtonEnabled(false);
    detailMode_ = DetailMode::Normal;

    NactiTituly();
}

platform::ProfileFile TDalsiNaseCDForm::Ini() const {
    const QString& dir = shell().SystemDir;
    return platform::ProfileFile(platform::readablePath(dir, QString::fromLatin1(cdfiles::OtherTitles)));
}

int TDalsiNaseCDForm::selected() const {
    const QList<QListWidgetItem*> items = SeznamTitulu->selectedItems();
    return items.isEmpty() ? -1 : SeznamTitulu->row(items.constFirst());
}

QString TDalsiNaseCDForm::selectedName() const {
    const int row = selected();
    return row >= 0 ? SeznamTitulu->item(row)->text() : QString();
}

void TDalsiNaseCDForm::NactiTituly() {
    const QSignalBlocker quiet(SeznamTitulu);
    SeznamTitulu->clear();
    SeznamTitulu->addItems(Ini().readSection(QStringLiteral("section")));
    SeznamTitulu->setCurrentRow(-1);
    shownTitle_ = -1;
}

void TDalsiNaseCDForm::SeznamTituluClick() { UpdateAll(); }

void TDalsiNaseCDForm::UpdateAll() {
    const Shell& s = shell();
    const int sel = selected();
    if (sel >= 0 && sel != shownTitle_) {
        detailMode_ = DetailMode::Normal;
        ViceInfo->setImageList(&ViceInfoList);
        ViceInfo->setButtonEnabled(true);

        const QString obr = Ini().readString(selectedName(), QStringLiteral("obr"));
        BookletCD->hide();
        QImage cover;
        if (!obr.isEmpty()) {
            if (const auto path = platform::existingFile(s.SystemDir, obr)) {
                // A cover that does not decode is left out without a word.
                try {
                    cover = platform::loadPicture(*path);
                } catch (const platform::KatalogError&) {
                }
            }
        }
        showPicture(BookletCD, cover);
        const int slot = s.HighRes ? layout::CoverSlotLarge : layout::CoverSlotSmall;
        const int left = cover.width() < layout::CoverSlotWidth
                             ? slot + (layout::CoverSlotWidth - cover.width()) / 2
                             : slot;
        BookletCD->move(left, BookletCD->y());
        BookletCD->show();
        shownTitle_ = sel;

        UpdateIcons();
        UpdateText();
        UpdatePurchase();
        SeznamTitulu->setToolTip(selectedName());
    }
    ObjednavkaChk->setButtonEnabled(sel >= 0);
}

void TDalsiNaseCDForm::UpdateIcons() {
    const platform::ProfileFile ini = Ini();
    const QString title = selectedName();
    const struct {
        const char* key;
        const TImageList& strip;
        QLabel* image;
    } rows[] = {
        {"Pozadavky", PozadavkyList, Pozadavky},
        {"CD", PocetCDList, PocetCD},
        {"Data", DataList, Data},
    };
    for (const auto& row : rows) {
        const int value = ini.readInteger(title, QString::fromLatin1(row.key), 0);
        if (value >= 0 && value < row.strip.count()) {
            row.image->setEnabled(true);
            showPicture(row.image, row.strip.image(value));
        } else {
            row.image->clear();
        }
    }
}

void TDalsiNaseCDForm::UpdateText() {
    const Shell& s = shell();
    const QString folder = cdfiles::languageFolder(s.SlovakLang);
    const platform::ProfileFile ini = Ini();
    const QString title = selectedName();
    const bool extended = detailMode_ == DetailMode::Extended;

    const auto descriptionFile = [&](const QString& name) -> std::optional<QString> {
        if (name.isEmpty())
            return std::nullopt;
        return platform::existingFile(s.SystemDir, folder + name);
    };
    std::optional<QString> path = descriptionFile(
        ini.readString(title, extended ? QStringLiteral("filev") : QStringLiteral("file")));
    if (!path)
        path = descriptionFile(ini.readString(title, QStringLiteral("file")));

    const int width =
        extended ? (s.HighRes ? layout::PopisTituluWideLarge : layout::PopisTituluWideSmall)
                 : placeOf("PopisTitulu", s.HighRes).width;
    PopisTitulu->resize(width, PopisTitulu->height());
    BookletCD->setVisible(!extended);

    PopisTitulu->clear();
    if (path)
        platform::loadRtf(*path, *PopisTitulu->document());
    PopisTitulu->moveCursor(QTextCursor::Start);
}

void TDalsiNaseCDForm::showInOrder(bool inOrder) {
    ObjednavkaChk->setImageList(inOrder ? &Zaskrtnuto : &Nezaskrtnuto);
    ObjednavkaChk->setChecked(inOrder);
    inOrderShown_ = inOrder;
    KusuInc->setButtonEnabled(inOrder);
    KusuDec->setButtonEnabled(inOrder);
}

void TDalsiNaseCDForm::UpdatePurchase() {
    Tisk->setButtonEnabled(!Objednavka.IsEmpty());
    if (const TObjednavkaItem* item = Objednavka.FindItem(selected())) {
        if (!inOrderShown_)
            showInOrder(true);
        PocetKusu->setText(QString::number(item->quantity));
    } else {
        if (inOrderShown_)
            showInOrder(false);
        PocetKusu->clear();
    }
}

void TDalsiNaseCDForm::ViceInfoClick() {
    if (selected() < 0)
        return;
    const bool extended = detailMode_ == DetailMode::Normal;
    detailMode_ = extended ? DetailMode::Extended : DetailMode::Normal;
    ViceInfo->setImageList(extended ? &ZobrObalList : &ViceInfoList);
    UpdateText();
}

void TDalsiNaseCDForm::ObjednavkaChkClick() {
    const int sel = selected();
    if (sel < 0)
        return;
    main_.PrehrajKliknuti();
    if (inOrderShown_) {
        showInOrder(false);
        Objednavka.RemoveItem(sel);
        PocetKusu->clear();
    } else {
        const int cena = Ini().readInteger(selectedName(), QStringLiteral("cena"), -1);
        if (cena > 0) {
            Objednavka.AddItem(sel, 1, cena);
            showInOrder(true);
            PocetKusu->setText(QStringLiteral("1"));
        }
    }
    Tisk->setButtonEnabled(!Objednavka.IsEmpty());
}

void TDalsiNaseCDForm::setQuantity(TObjednavkaItem& item, int quantity) {
    item.quantity = quantity;
    PocetKusu->setText(QString::number(quantity));
}

void TDalsiNaseCDForm::KusuIncClick() {
    main_.PrehrajKliknuti();
    TObjednavkaItem* item = Objednavka.FindItem(selected());
    // The count is a 32-bit number: it stops at its largest value instead of wrapping.
    if (item && item->quantity < INT_MAX)
        setQuantity(*item, item->quantity + 1);
}

void TDalsiNaseCDForm::KusuDecClick() {
    TObjednavkaItem* item = Objednavka.FindItem(selected());
    if (!item)
        return;
    // The last piece goes as the tick box would take it.
    if (item->quantity <= 1) {
        ObjednavkaChkClick();
        return;
    }
    main_.PrehrajKliknuti();
    setQuantity(*item, item->quantity - 1);
}

void TDalsiNaseCDForm::TiskClick() {
    main_.PrehrajKliknuti();
    if (TTiskForm* form = main_.forms().TiskForm) {
        form->exec();
        // The form, its message and its save dialog close in a row; a window manager may
        // then leave the keyboard with none of our windows.
        window()->activateWindow();
    }
}

}  // namespace katalog

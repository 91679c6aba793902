#include "catalogue/ProgramyFormUnit1.h"

#include "app/Layouts.h"
#include "app/MainFormUnit1.h"
#include "app/Settings.h"
#include "app/Shell.h"
#include "catalogue/FavouriteMarks.h"
#include "catalogue/InstalledState.h"
#include "catalogue/ProgramOrder.h"
#include "catalogue/Search.h"
#include "catalogue/VysledkyHledaniUnit1.h"
#include "copy/KopirovaniFormUnit1.h"
#include "menu/DesktopUnit1.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "platform/Pictures.h"
#include "platform/ProfileFile.h"
#include "platform/ShellOpen.h"
#include "viewer/PicFormUnit1.h"
#include "widgets/Cursors.h"
#include "widgets/EzRgnBtn.h"
#include "widgets/Keyboard.h"
#include "widgets/ListBox.h"
#include "widgets/PictureBox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QGuiApplication>
#include <QSignalBlocker>

#include <algorithm>
#include <utility>

namespace katalog {
namespace {

const QString AllSections = QStringLiteral("[Všechno]");
const QString Favourites = QStringLiteral("Oblíbené");
const QString ChooseProgram = QStringLiteral("Vyberte program");
const QString HintInstall = QStringLiteral("Nainstaluje Vámi zvolený program");
const QString HintUninstall = QStringLiteral("Odinstaluje Vámi zvolený program");
const QString HintAddFavourite = QStringLiteral("Přidat k oblíbeným");
const QString HintRemoveFavourite = QStringLiteral("Odebrat z oblíbených");
const QString HomePagePrefix = QStringLiteral("Domovská stránka autora: ");

constexpr const char* HintProperty = "katalogHint";

// A control whose hint is switched on and off keeps its text in a property.
template <typename W>
W* withHint(W* w, const char* name, const QString& hint) {
    w->setObjectName(QString::fromLatin1(name));
    w->setProperty(HintProperty, hint);
    return w;
}

void showHint(QWidget* w, bool on) {
    w->setToolTip(on ? w->property(HintProperty).toString() : QString());
}

void setButton(TEzRgnBtn* b, bool enabled) {
    b->setButtonEnabled(enabled);
    b->setShowHint(enabled);
}

}  // namespace

TProgramyForm::TProgramyForm(TMain& main, QWidget* parent)
    : TContentForm(main, parent), registry_(shell().WindowsDir), collator_(listCollator(false)) {
    setObjectName(QStringLiteral("ProgramyForm"));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);

    Desktop = makePicture(this, QStringLiteral("Desktop"));
    Line = makePicture(this, QStringLiteral("Line"));
    bmpLupa = makePicture(this, QStringLiteral("bmpLupa"));

    Nahled = withHint(new TPictureBox(this), "Nahled", QStringLiteral("Klinutím lze obrázek zvětšit"));
    Nahled->setScaledContents(true);
    KonceptPic = withHint(new QLabel(this), "KonceptPic", QStringLiteral("Typ licence programu"));
    HodnoceniPic = withHint(new QLabel(this), "HodnoceniPic", QStringLiteral("Hodnocení programu"));
    VelikostPic = withHint(new QLabel(this), "VelikostPic", QStringLiteral("Požadované místo na pevném disku"));
    OSpic = withHint(new QLabel(this), "OSpic", QStringLiteral("Požadovaná verze operačního systému"));

    PopisProgramu = withHint(new QPlainTextEdit(this), "PopisProgramu",
                             QStringLiteral("Popis funkcí a vlastností programu"));
    PopisProgramu->setReadOnly(true);
    PopisProgramu->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    PopisProgramu->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Releasing a key or the mouse in the description leaves no selection behind.
    PopisProgramu->installEventFilter(this);
    PopisProgramu->viewport()->installEventFilter(this);

    SeznamSekci = new QComboBox(this);
    SeznamSekci->setObjectName(QStringLiteral("SeznamSekci"));
    QPalette sectionPalette = SeznamSekci->palette();
    sectionPalette.setColor(QPalette::Button, QColor(0xFC, 0xCA, 0x2C));
    sectionPalette.setColor(QPalette::Base, QColor(0xFC, 0xCA, 0x2C));
    SeznamSekci->setPalette(sectionPalette);
    // The open list is a window of its own and takes no colour from the box.
    QPalette sectionList = SeznamSekci->view()->palette();
    sectionList.setColor(QPalette::Base, QColor(0xFC, 0xCA, 0x2C));
    SeznamSekci->view()->setPalette(sectionList);
    TypTrideni = new QComboBox(this);
    TypTrideni->setObjectName(QStringLiteral("TypTrideni"));
    TypTrideni->addItems(orderNames());

    SeznamProgramu = new TListBox(this);
    SeznamProgramu->setObjectName(QStringLiteral("SeznamProgramu"));
    // Every row is one line of the same font: laying out a list of 1000 then costs nothing.
    SeznamProgramu->setUniformItemSizes(true);
    SeznamProgramu->setContextMenuPolicy(Qt::CustomContextMenu);
    PopupMenu1 = new QMenu(this);
    Pridat = PopupMenu1->addAction(QStringLiteral("Přidat záložku"));
    Odebrat = PopupMenu1->addAction(QStringLiteral("Odebrat záložku"));
    // Both entries stay disabled: favourites change through the toggle button only.
    Pridat->setEnabled(false);
    Odebrat->setEnabled(false);
    connect(Pridat, &QAction::triggered, this, &TProgramyForm::PridatClick);
    connect(Odebrat, &QAction::triggered, this, &TProgramyForm::OdebratClick);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));

    Spustit = makeButton(this, QStringLiteral("Spustit"), QStringLiteral("Spustí daný program"));
    Instalovat = makeButton(this, QStringLiteral("Instalovat"), HintInstall);
    Kopirovat = makeButton(this, QStringLiteral("Kopirovat"), QStringLiteral("Zkopíruje Vámi zvolený program"));
    Popis = makeButton(this, QStringLiteral("Popis"), QStringLiteral("Dokumentace k programu"));
    Filtr = makeButton(this, QStringLiteral("Filtr"), QStringLiteral("Vyhledá zadaný text"));
    Internet = makeButton(this, QStringLiteral("Internet"));
    btnZalozky = makeButton(this, QStringLiteral("btnZalozky"));
    TovanaLogo = makeButton(this, QStringLiteral("TovanaLogo"));

    connect(SeznamSekci, &QComboBox::activated, this, &TProgramyForm::SeznamSekciChange);
    connect(TypTrideni, &QComboBox::activated, this, &TProgramyForm::TypTrideniChange);
    // A Windows list box reports a keyboard selection like a click; a click on the row that
    // is already selected is a click too. A press makes its row current before it selects
    // it, so with a button down the new selection is what reports the click.
    connect(SeznamProgramu, &QListWidget::currentRowChanged, this, [this] {
        if (QGuiApplication::mouseButtons() == Qt::NoButton)
            SeznamProgramuClick();
    });
    connect(SeznamProgramu, &QListWidget::itemSelectionChanged, this, [this] {
        if (QGuiApplication::mouseButtons() == Qt::NoButton)
            return;
        selectedByPress_ = true;
        SeznamProgramuClick();
    });
    connect(SeznamProgramu, &QListWidget::itemPressed, this, [this] {
        if (!std::exchange(selectedByPress_, false))
            SeznamProgramuClick();
    });
    connect(SeznamProgramu, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->exec(SeznamProgramu->viewport()->mapToGlobal(pos)); });
    // Space shows the current row as a click on it does, also the one row left by a search;
    // Enter does the first action that is on offer; the context menu also opens from the
    // keyboard, below the current row.
    keys::bind(SeznamProgramu, {QKeySequence(Qt::Key_Space)}, [this] {
        if (QListWidgetItem* item = SeznamProgramu->currentItem()) {
            item->setSelected(true);
            SeznamProgramuClick();
        }
    }, Qt::WidgetShortcut);
    keys::bind(SeznamProgramu, {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)},
               [this] { (Spustit->buttonEnabled() ? Spustit : Instalovat)->Click(); }, Qt::WidgetShortcut);
    keys::bind(SeznamProgramu, {QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)},
               [this] { OpenListMenu(); }, Qt::WidgetShortcut);
    connect(Edit1, &QLineEdit::textChanged, this, &TProgramyForm::Edit1Change);
    connect(Edit1, &QLineEdit::returnPressed, this, &TProgramyForm::Edit1KeyPress);
    connect(Filtr, &TEzRgnBtn::clicked, this, &TProgramyForm::FiltrClick);
    connect(Spustit, &TEzRgnBtn::clicked, this, &TProgramyForm::SpustitClick);
    connect(Instalovat, &TEzRgnBtn::clicked, this, &TProgramyForm::InstalovatClick);
    connect(Kopirovat, &TEzRgnBtn::clicked, this, &TProgramyForm::KopirovatClick);
    connect(Popis, &TEzRgnBtn::clicked, this, &TProgramyForm::PopisClick);
    connect(Internet, &TEzRgnBtn::clicked, this, &TProgramyForm::InternetClick);
    connect(btnZalozky, &TEzRgnBtn::clicked, this, &TProgramyForm::ZalClick);
    connect(TovanaLogo, &TEzRgnBtn::clicked, this, &TProgramyForm::TovanaLogoClick);

    const auto openViewer = [this] {
        if (Nahled->isEnabled())
            runModal(main_.forms().PicForm);
    };
    connect(Nahled, &TPictureBox::clicked, this, [this, openViewer] {
        if (!shell().AnimOn)
            openViewer();
    });
    connect(Nahled, &TPictureBox::doubleClicked, this, [this, openViewer] {
        if (!shell().AnimOn)
            openViewer();
    });
    connect(Nahled, &TPictureBox::mouseMoved, this, [this, openViewer] {
        if (shell().AnimOn)
            openViewer();
    });
    Nahled->setFocusPolicy(Qt::TabFocus);
    connect(Nahled, &TPictureBox::keyPressed, this, openViewer);
}

void TProgramyForm::FormCreate() {
    const Shell& s = shell();
    collator_ = listCollator(s.SlovakLang);

    // 1. The magnifier cursor of the preview.
    Nahled->setCursor(lupaCursor());

    // 2. Bounds, before anything that can fail: a window left at 0,0 would cover the menu.
    placeOnContentArea();

    // 3. Image lists.
    main_.NaplnImageList(PopisList, skin::ProgDokumen);
    Popis->setImageList(&PopisList);
    main_.NaplnImageList(HledatList, skin::ProgHledat);
    Filtr->setImageList(&HledatList);
    main_.NaplnImageList(Instalace, skin::ProgInstal);
    Instalovat->setImageList(&Instalace);
    main_.NaplnImageList(KopirovatList, skin::ProgKopirov);
    Kopirovat->setImageList(&KopirovatList);
    main_.NaplnImageList(SpustitList, skin::ProgSpust);
    Spustit->setImageList(&SpustitList);
    main_.NaplnImageList(InternetList, skin::ProgWwwaut);
    Internet->setImageList(&InternetList);
    main_.NaplnImageList(TovanaList, skin::ProgLogo);
    TovanaLogo->setImageList(&TovanaList);
    main_.NaplnImageList(PridZalList, skin::ProgPridzal);
    main_.NaplnImageList(OdebZalList, skin::ProgOdebzal);
    btnZalozky->setImageList(&PridZalList);
    main_.NaplnImageList(OdInstalace, skin::ProgOdinst);
    main_.NaplnImageList(OSList, skin::ProgOs);
    main_.NaplnImageList(VelikostList, skin::ProgVelik);
    main_.NaplnImageList(HodnoceniList, skin::ProgHodnoc);
    main_.NaplnImageList(KonceptList, skin::ProgLicence);

    // 4. Layout; the action buttons and the preview start disabled. A missing picture is
    // reported and the window works without it.
    layout::apply(this, layout::Programy, s.HighRes);
    Desktop->move(0, 0);
    main_.ShowSkinPictures(
        {{Desktop, skin::ContentPlocha}, {Line, skin::ProgLine}, {bmpLupa, skin::ProgLupa}});
    Desktop->lower();
    for (TEzRgnBtn* b : {Spustit, Instalovat, Kopirovat, Popis, btnZalozky, Internet})
        b->setButtonEnabled(false);
    Nahled->setEnabled(false);

    // 5. The catalogue.
    FullDecrypt();

    // 6. The main menu's title.
    if (auto* desktop = main_.forms().DesktopForm) {
        desktop->Titulek->setText(title());
        desktop->Titulek->adjustSize();
        desktop->Titulek->move(s.HighRes ? layout::TitulekLeftLarge : layout::TitulekLeftSmall,
                               desktop->Titulek->y());
    }

    // 7. Sections, everything listed, alphabetical order.
    NactiSekce();
    NastavSekci(AllSections);
    SeznamSekci->setCurrentIndex(SeznamSekci->count() - 1);
    sectionTag_ = SeznamSekci->count() - 1;
    TypTrideni->setCurrentIndex(0);
    orderTag_ = 0;
    Filtr->setButtonEnabled(!Edit1->text().isEmpty());

    // 8. Coming back from another application refreshes the buttons.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive && isVisible())
            FormActivate();
    });
}

void TProgramyForm::FullDecrypt() {
    loader_ = std::make_unique<CatalogueLoader>(store_, descriptions_);
    const Shell& s = shell();
    if (loader_->open(s.ProgramDir, s.SystemDir)) {
        LoadINI();
        LoadTXT();
        loader_->close();
    } else {
        main_.EndWithError(containerDamagedMessage());
    }
    loader_.reset();
    folded_.clear();
}

void TProgramyForm::LoadINI() {
    if (loader_)
        loader_->LoadINI();
}

void TProgramyForm::LoadTXT() {
    if (loader_)
        loader_->LoadTXT(shell().SlovakLang);
}

QString TProgramyForm::title() const {
    return store_.ReadString(QStringLiteral("Title"), QStringLiteral("Name"), QString());
}

QString TProgramyForm::ReadString(const QString& program, const char* key) const {
    return store_.ReadString(program, QString::fromLatin1(key), QString());
}

int TProgramyForm::ReadInteger(const QString& program, const char* key) const {
    return store_.ReadInteger(program, QString::fromLatin1(key), -1);
}

platform::ProfileFile TProgramyForm::settings() const { return platform::ProfileFile(settingsPath(shell())); }

void TProgramyForm::NactiSekce() {
    SeznamSekci->clear();
    QStringList sections = store_.ReadSection(QStringLiteral("sections"));
    sortAlphabetically(sections, collator_);
    sections << Favourites << AllSections;
    SeznamSekci->addItems(sections);
}

void TProgramyForm::setRows(QStringList rows, bool sorted) {
    if (sorted)
        sortAlphabetically(rows, collator_);
    listSorted_ = sorted;
    const QSignalBlocker block(SeznamProgramu);
    SeznamProgramu->clear();
    SeznamProgramu->addItems(rows);
    // A list filled anew starts at its top; Qt would keep where the old one was scrolled.
    SeznamProgramu->scrollToTop();
}

QStringList TProgramyForm::programRows() const {
    QStringList rows;
    rows.reserve(SeznamProgramu->count());
    for (int i = 0; i < SeznamProgramu->count(); ++i)
        rows.append(SeznamProgramu->item(i)->text());
    return rows;
}

QString TProgramyForm::selectedProgram() const {
    const QListWidgetItem* item = SeznamProgramu->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

void TProgramyForm::NastavSekci(const QString& name) {
    QStringList rows;
    if (name == AllSections) {
        // The catalogue's own sections: a catalogue section named like one of the last two
        // entries would list programs that loading gave no description slot.
        for (int i = 0; i < SeznamSekci->count() - 2; ++i)
            rows += store_.ReadSection(SeznamSekci->itemText(i));
    } else if (name == Favourites) {
        rows = favourites::programs(settings(), title());
    } else {
        rows = store_.ReadSection(name);
    }
    setRows(rows, true);
    if (SeznamProgramu->count() == 0) {
        SetNeutral();
        return;
    }
    {
        const QSignalBlocker block(SeznamProgramu);
        SeznamProgramu->setCurrentRow(0);
    }
    listTag_ = -5;
    SeznamProgramuClick();
}

void TProgramyForm::SeznamSekciChange(int index) {
    if (index == sectionTag_)
        return;
    NastavSekci(SeznamSekci->itemText(index));
    sectionTag_ = index;
}

void TProgramyForm::SetNeutral() {
    PopisProgramu->clear();
    {
        const QSignalBlocker block(SeznamProgramu);
        SeznamProgramu->setCurrentRow(-1);
        SeznamProgramu->clearSelection();
    }
    listTag_ = -1;

    Nahled->clear();
    Nahled->setEnabled(false);
    showHint(Nahled, false);

    setButton(Spustit, false);
    Instalovat->setImageList(&Instalace);
    setButton(Instalovat, false);
    setButton(Kopirovat, false);
    setButton(Popis, false);

    for (QLabel* icon : {VelikostPic, HodnoceniPic, KonceptPic, OSpic})
        hideIcon(icon);

    Filtr->setButtonEnabled(!Edit1->text().isEmpty());

    setButton(Internet, false);
    Internet->setCursor(Qt::ArrowCursor);

    SeznamProgramu->setToolTip(ChooseProgram);
    showHint(PopisProgramu, false);

    btnZalozky->hide();
    btnZalozky->setShowHint(false);
    btnZalozky->setTag(0);
}

void TProgramyForm::SeznamProgramuClick() {
    const int row = SeznamProgramu->currentRow();
    const bool selected = row >= 0 && SeznamProgramu->item(row)->isSelected();
    if (selected && row != listTag_) {
        const QString name = SeznamProgramu->item(row)->text();
        // A registry error stops the button update for this selection only.
        platform::guarded([&] { NastavTlacitka(name); });
        NastavText(name);
        NastavNahled(name);
        NastavMenuZalozek();
    }
    SeznamProgramu->setToolTip(selected ? SeznamProgramu->item(row)->text() : ChooseProgram);
}

void TProgramyForm::showIcon(QLabel* icon, const TImageList& list, int index) {
    icon->setPixmap(QPixmap::fromImage(list.image(index)));
    icon->adjustSize();
    icon->setEnabled(true);
    showHint(icon, true);
}

void TProgramyForm::hideIcon(QLabel* icon) {
    icon->clear();
    icon->setEnabled(false);
    showHint(icon, false);
}

void TProgramyForm::NastavTlacitka(const QString& name) {
    const QString run = ReadString(name, "run");
    const QString setup = ReadString(name, "setup");
    const QString doc = ReadString(name, "doc");
    const QString www = ReadString(name, "WWW");

    int os = -1;
    const char* systems[] = {"win95", "win31", "DOS", "winnt"};
    for (int i = 0; i < 4 && os < 0; ++i)
        if (ReadInteger(name, systems[i]) >= 1)
            os = i;

    setButton(Spustit, !run.isEmpty());

    Instalovat->setTag(0);
    // A registry that cannot answer is reported, but only after the rest of the detail view
    // shows this program: half of it would otherwise still show the previous one.
    std::optional<platform::KatalogError> lookupFailed;
    if (!setup.isEmpty()) {
        try {
            if (InstalledCheck(name))
                Instalovat->setTag(1);
        } catch (const platform::KatalogError& e) {
            lookupFailed = e;
        }
        Instalovat->setHint(HintInstall);
        Instalovat->setShowHint(true);
        if (Instalovat->tag() == 0) {
            Instalovat->setButtonEnabled(true);
            Instalovat->setImageList(&Instalace);
        } else {
            Instalovat->setButtonEnabled(true);
            // An installed program runs even without a run file on the CD.
            setButton(Spustit, true);
            Instalovat->setImageList(&OdInstalace);
            Instalovat->setHint(HintUninstall);
        }
    } else {
        Instalovat->setImageList(&Instalace);
        setButton(Instalovat, false);
    }

    setButton(Popis, !doc.isEmpty());

    if (os >= 0)
        showIcon(OSpic, OSList, os);
    else
        hideIcon(OSpic);

    setButton(Kopirovat, true);

    const int rating = ReadInteger(name, "Hodnoceni");
    if (rating >= 1 && rating <= 5)
        showIcon(HodnoceniPic, HodnoceniList, rating);
    else
        hideIcon(HodnoceniPic);

    const QString licence = ReadString(name, "Licence").toLower();
    const QStringList licences{QStringLiteral("freeware"), QStringLiteral("shareware"),
                               QStringLiteral("public domain"), QStringLiteral("demoverze")};
    if (const qsizetype l = licences.indexOf(licence); l >= 0)
        showIcon(KonceptPic, KonceptList, int(l));
    else
        hideIcon(KonceptPic);

    const int size = ReadInteger(name, "Velikost");
    if (size >= 0 && size <= 6)
        showIcon(VelikostPic, VelikostList, size);
    else
        hideIcon(VelikostPic);

    if (!www.isEmpty()) {
        setButton(Internet, true);
        Internet->setHint(HomePagePrefix + www);
        shell().AuthorHomePage = www;
        Internet->setCursor(Qt::PointingHandCursor);
    } else {
        setButton(Internet, false);
        Internet->setCursor(Qt::ArrowCursor);
    }
    if (lookupFailed)
        throw *lookupFailed;
}

void TProgramyForm::NastavText(const QString& name) {
    const int index = ReadInteger(name, "Index");
    if (index == -1)
        return;
    PopisProgramu->setPlainText(descriptions_.lines(index).join(QLatin1Char('\n')));
    showHint(PopisProgramu, true);
}

std::optional<QString> TProgramyForm::programFile(const QString& source, const QString& file) const {
    return programFolderFile(shell().ProgramDir, source, file);
}

void TProgramyForm::NastavNahled(const QString& name) {
    Shell& s = shell();
    s.ViewerPictures.clear();
    const QString obr = ReadString(name, "obr");
    const QString source = ReadString(name, "source");
    Nahled->clear();
    if (obr.isEmpty() || source.isEmpty()) {
        Nahled->setEnabled(false);
        return;
    }
    const auto path = programFile(source, obr);
    if (!path) {
        Nahled->setEnabled(false);
        showHint(Nahled, false);
        return;
    }
    const QString ext = platform::lowerExtension(*path);
    QImage picture;
    if (ext == QLatin1String(".bmp") || ext == QLatin1String(".jpg") || ext == QLatin1String(".jpeg")) {
        // A picture that exists but cannot be decoded counts as an unsupported one.
        try {
            picture = platform::loadPicture(*path);
        } catch (const platform::KatalogError&) {
        }
    }
    if (!picture.isNull()) {
        Nahled->setPixmap(QPixmap::fromImage(picture));
        Nahled->setEnabled(true);
        showHint(Nahled, true);
        s.ViewerPictures.append(*path);
    } else {
        Nahled->setEnabled(false);
        showHint(Nahled, false);
    }

    // Further pictures obr1 to obr<PocetObr>. A count of millions names no more pictures than
    // the record has keys: only the numbers that are keys are looked up, in order.
    const int count = ReadInteger(name, "PocetObr");
    QList<int> numbers;
    for (const QString& key : store_.ReadSection(name)) {
        if (!key.startsWith(QLatin1String("obr"), Qt::CaseInsensitive))
            continue;
        bool ok = false;
        const int n = key.mid(3).toInt(&ok);
        if (ok && n >= 1 && n <= count && key.mid(3) == QString::number(n))
            numbers.append(n);
    }
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    for (const int i : std::as_const(numbers)) {
        const QString further = store_.ReadString(name, QStringLiteral("obr%1").arg(i), QString());
        if (further.isEmpty())
            continue;
        if (const auto p = programFile(source, further))
            s.ViewerPictures.append(*p);
    }
    s.ViewerIndex = 0;
}

void TProgramyForm::showEvent(QShowEvent* event) {
    TContentForm::showEvent(event);
    FormActivate();
}

void TProgramyForm::FormActivate() {
    const QString name = selectedProgram();
    if (!name.isEmpty())
        platform::guarded([&] { NastavTlacitka(name); });
}

void TProgramyForm::runModal(QDialog* dialog) {
    if (!dialog)
        return;
    dialog->exec();
    // The copy dialog closes right after its progress window; a window manager may then
    // leave the keyboard with none of our windows.
    window()->activateWindow();
    FormActivate();
}

bool TProgramyForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == PopisProgramu || watched == PopisProgramu->viewport()) {
        if (event->type() == QEvent::KeyRelease)
            PopisProgramuKeyUp();
        else if (event->type() == QEvent::MouseButtonRelease)
            PopisProgramuMouseUp();
    }
    return TContentForm::eventFilter(watched, event);
}

void TProgramyForm::OpenListMenu() {
    QListWidgetItem* item = SeznamProgramu->currentItem();
    const QRect row = item ? SeznamProgramu->visualItemRect(item) : QRect();
    const QPoint at = row.isValid() ? row.bottomLeft() : QPoint(0, 0);
    PopupMenu1->exec(SeznamProgramu->viewport()->mapToGlobal(at));
}

void TProgramyForm::PopisProgramuKeyUp() { clearDescriptionSelection(); }

void TProgramyForm::PopisProgramuMouseUp() { clearDescriptionSelection(); }

void TProgramyForm::clearDescriptionSelection() {
    QTextCursor c = PopisProgramu->textCursor();
    c.clearSelection();
    PopisProgramu->setTextCursor(c);
}

// Sorting.

void TProgramyForm::TypTrideniChange(int index) {
    if (index == orderTag_)
        return;
    QStringList rows = programRows();
    sortAlphabetically(rows, collator_);
    if (index == 0)
        setRows(rows, true);
    else
        setRows(groupPrograms(rows, index, store_), false);
    orderTag_ = index;
    SetNeutral();
}

// Search.

void TProgramyForm::Edit1Change(const QString& text) { Filtr->setButtonEnabled(!text.isEmpty()); }

// The line edit reports Enter on its own; other keys are typed as usual.
void TProgramyForm::Edit1KeyPress() { FiltrClick(); }

const QString& TProgramyForm::foldedDescription(int index) {
    // The slot comes from the CD: only slots of the table are cached, the others all read
    // "Bez popisu.".
    static const QString none = foldAscii(descriptions_.text(-1));
    if (index < 0 || index >= descriptions_.size())
        return none;
    if (folded_.size() != descriptions_.size())
        folded_.resize(descriptions_.size());
    QString& text = folded_[index];
    if (text.isNull())
        // Lines end in LF here rather than CR LF: the search text is one line, so no hit
        // depends on it.
        text = foldAscii(descriptions_.text(index));
    return text;
}

void TProgramyForm::FiltrClick() {
    main_.PrehrajKliknuti();
    const QString needle = Edit1->text();
    if (needle.isEmpty())
        return;
    auto* result = main_.forms().VysledkyHledaniForm;
    {
        const OverrideCursor hourGlass(Qt::WaitCursor);
        const QString folded = foldAscii(needle);
        QStringList hits;
        for (const QString& row : programRows()) {
            const int index = ReadInteger(row, "Index");
            if (index >= 0 && matchesSearch(foldedDescription(index), folded))
                hits.append(row);
        }

        if (hits.isEmpty()) {
            if (result)
                result->SetMessage(VysledkyHledaniMessages::NotFound, Qt::AlignHCenter);
        } else {
            setRows(hits, listSorted_);
            {
                const QSignalBlocker block(SeznamProgramu);
                SeznamProgramu->setCurrentRow(-1);
                SeznamProgramu->clearSelection();
            }
            listTag_ = -2;
            PopisProgramu->clear();
            if (result)
                result->SetMessage(VysledkyHledaniMessages::Found(int(SeznamProgramu->count())), Qt::AlignLeft);
        }
        if (!selectedProgram().isEmpty())
            SeznamProgramuClick();
        else
            SetNeutral();
    }
    sectionTag_ = -5;
    runModal(result);
}

// Program actions.

InstalledState TProgramyForm::installedState() {
    return InstalledState(
        settings(), registry_, title(),
        [this](const QString& p) { return InstallKeys{ReadString(p, "AppName"), ReadString(p, "UnInstallReg")}; },
        shell().InstalledPath, shell().UninstallCommand);
}

bool TProgramyForm::InstalledCheck(const QString& name) { return installedState().InstalledCheck(name); }

void TProgramyForm::SpustitClick() {
    main_.PrehrajKliknuti();
    const QString name = selectedProgram();
    const platform::StartResult started =
        Instalovat->tag() >= 1
            ? launchInstalledCommand(shell().InstalledPath)
            : openProgramFolderFile(shell().ProgramDir, ReadString(name, "source"), ReadString(name, "run"));
    platform::reportStartFailure(started, shell().SlovakLang);
}

void TProgramyForm::InstalovatClick() {
    main_.PrehrajKliknuti();
    const QString name = selectedProgram();
    if (Instalovat->tag() < 1) {
        const QString setup = ReadString(name, "setup");
        const QString source = ReadString(name, "source");
        if (!setup.isEmpty() && !source.isEmpty()) {
            // The marker comes first: even a missing setup file makes later refreshes look
            // the program up.
            installedState().markInstalling(name);
            RefreshWhenEnded(openProgramFolderFile(shell().ProgramDir, source, setup));
        }
    } else {
        RefreshWhenEnded(launchInstalledCommand(shell().UninstallCommand));
        Instalovat->setTag(0);
        Instalovat->setImageList(&Instalace);
    }
    Instalovat->repaint();
}

// A setup or uninstaller may show no window, so its end brings no activation: the buttons
// are refreshed when the process that was started ends.
void TProgramyForm::RefreshWhenEnded(const platform::StartResult& started) {
    platform::reportStartFailure(started, shell().SlovakLang);
    platform::whenProcessEnds(started.pid, this, [this] { FormActivate(); });
}

void TProgramyForm::KopirovatClick() {
    main_.PrehrajKliknuti();
    const QString name = selectedProgram();
    shell().CopySource = ReadString(name, "source");
    shell().CopyTarget = ReadString(name, "target");
    runModal(main_.forms().KopirovaniForm);
}

void TProgramyForm::PopisClick() {
    main_.PrehrajKliknuti();
    const QString name = selectedProgram();
    platform::reportStartFailure(
        openProgramFolderDocument(shell().ProgramDir, ReadString(name, "source"), ReadString(name, "doc")),
        shell().SlovakLang);
}

void TProgramyForm::InternetClick() {
    main_.PrehrajKliknuti();
    platform::reportStartFailure(platform::openAddress(shell().AuthorHomePage, platform::ShowMode::Maximized),
                                 shell().SlovakLang);
}

void TProgramyForm::TovanaLogoClick() {
    if (auto* desktop = main_.forms().DesktopForm)
        desktop->mnuONasClick();
}

// Favourites.

void TProgramyForm::NastavMenuZalozek() {
    btnZalozky->show();
    btnZalozky->setButtonEnabled(true);
    btnZalozky->setShowHint(true);
    if (!favourites::isFavourite(settings(), title(), selectedProgram())) {
        btnZalozky->setImageList(&PridZalList);
        btnZalozky->setHint(HintAddFavourite);
        btnZalozky->setTag(0);
    } else {
        btnZalozky->setImageList(&OdebZalList);
        btnZalozky->setHint(HintRemoveFavourite);
        btnZalozky->setTag(1);
    }
}

void TProgramyForm::ZalClick() {
    if (btnZalozky->tag() != 0)
        OdebratClick();
    else
        PridatClick();
}

void TProgramyForm::PridatClick() {
    const QString name = selectedProgram();
    platform::ProfileFile ini = settings();
    favourites::add(ini, title(), name);
    btnZalozky->setImageList(&OdebZalList);
    btnZalozky->setHint(HintRemoveFavourite);
    btnZalozky->setTag(1);
    if (SeznamSekci->currentText() == Favourites)
        NastavSekci(Favourites);
}

void TProgramyForm::OdebratClick() {
    const QString name = selectedProgram();
    platform::ProfileFile ini = settings();
    favourites::remove(ini, title(), name);
    btnZalozky->setImageList(&PridZalList);
    btnZalozky->setHint(HintAddFavourite);
    btnZalozky->setTag(0);
    if (SeznamSekci->currentText() == Favourites)
        NastavSekci(Favourites);
}

}  // namespace katalog

#include "menu/DesktopUnit1.h"

#include "app/CdFiles.h"
#include "app/Forms.h"
#include "app/Layouts.h"
#include "app/MainFormUnit1.h"
#include "app/Shell.h"
#include "catalogue/ProgramyFormUnit1.h"
#include "about/ONasUnit1.h"
#include "orders/DalsiNaseCDUnit1.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "platform/ShellOpen.h"
#include "settings/NastaveniUnit1.h"
#include "widgets/EzRgnBtn.h"
#include "widgets/Keyboard.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QWindow>

namespace katalog {

TDesktopForm::TDesktopForm(TMain& main) : QWidget(nullptr, Qt::FramelessWindowHint), main_(main) {
    setObjectName(QStringLiteral("DesktopForm"));
    setWindowTitle(platform::applicationTitle());
    setWhiteBackground(this);

    Plocha = makePicture(this, QStringLiteral("Plocha"));
    Plocha->setAttribute(Qt::WA_TransparentForMouseEvents);

    Titulek = makePicture(this, QStringLiteral("Titulek"));
    QFont f(QStringLiteral("Verdana"));
    f.setBold(true);
    f.setPixelSize(15);
    Titulek->setFont(f);
    Titulek->setAttribute(Qt::WA_TranslucentBackground);
    Titulek->setAttribute(Qt::WA_TransparentForMouseEvents);
    Titulek->move(50, 2);

    mnuProgramy = makeButton(this, QStringLiteral("mnuProgramy"), QStringLiteral("Programy na tomto CD"));
    mnuONas = makeButton(this, QStringLiteral("mnuONas"), QStringLiteral("Informace o vydavateli, autorech..."));
    mnuDalsiTituly = makeButton(this, QStringLiteral("mnuDalsiTituly"), QStringLiteral("Další naše tituly"));
    mnuNastaveni = makeButton(this, QStringLiteral("mnuNastaveni"), QStringLiteral("Nastavení hudby, animace..."));
    mnuNapoveda = makeButton(this, QStringLiteral("mnuNapoveda"), QStringLiteral("Nápověda k ovládacímu programu"));
    Minimalizace = makeButton(this, QStringLiteral("Minimalizace"), QStringLiteral("Minimalizovat ovládací program"));
    Quit = makeButton(this, QStringLiteral("Quit"), QStringLiteral("Ukončení práce s ovládacím programem"));
    // Design sizes; each button takes its picture's size once it has one.
    for (TEzRgnBtn* b : {mnuProgramy, mnuONas, mnuDalsiTituly, mnuNastaveni, mnuNapoveda})
        b->resize(124, 42);
    Minimalizace->resize(30, 30);
    Quit->resize(30, 30);

    connect(mnuProgramy, &TEzRgnBtn::clicked, this, &TDesktopForm::mnuProgramyClick);
    connect(mnuONas, &TEzRgnBtn::clicked, this, &TDesktopForm::mnuONasClick);
    connect(mnuDalsiTituly, &TEzRgnBtn::clicked, this, &TDesktopForm::mnuDalsiTitulyClick);
    connect(mnuNastaveni, &TEzRgnBtn::clicked, this, &TDesktopForm::mnuNastaveniClick);
    connect(mnuNapoveda, &TEzRgnBtn::clicked, this, &TDesktopForm::mnuNapovedaClick);
    connect(Minimalizace, &TEzRgnBtn::clicked, this, &TDesktopForm::MinimalizaceClick);
    connect(Quit, &TEzRgnBtn::clicked, this, &TDesktopForm::KonecClick);

    // Escape is left alone: in the main menu it ends nothing.
    keys::bind(this, {QKeySequence(Qt::CTRL | Qt::Key_Tab)}, [this] { NextWindow(1); });
    keys::bind(this, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)}, [this] { NextWindow(-1); });
    keys::bind(this, {QKeySequence(Qt::Key_F1)}, [this] { mnuNapovedaClick(); });
}

void TDesktopForm::ChainFocus() {
    const Forms& f = main_.forms();
    QList<QWidget*> order = layout::focusOrder(this, layout::MenuFocus);
    const auto add = [&order](QWidget* form, std::span<const layout::Focus> rows) {
        if (form)
            order += layout::focusOrder(form, rows);
    };
    add(f.ProgramyForm, layout::ProgramyFocus);
    add(f.ONas, layout::ONasFocus);
    add(f.DalsiNaseCDForm, layout::DalsiNaseCDFocus);
    add(f.NastaveniForm, layout::NastaveniFocus);
    order += layout::focusOrder(this, layout::MenuWindowFocus);
    keys::setFocusOrder(order);
}

void TDesktopForm::NextWindow(int step) {
    const Forms& f = main_.forms();
    const std::pair<QWidget*, TEzRgnBtn*> windows[] = {
        {f.ProgramyForm, mnuProgramy},
        {f.ONas, mnuONas},
        {f.DalsiNaseCDForm, mnuDalsiTituly},
        {f.NastaveniForm, mnuNastaveni},
    };
    const int count = int(std::size(windows));
    int current = 0;
    while (current < count && windows[current].first != main_.CurrentWindow())
        ++current;
    if (current == count)
        current = 0;
    for (int k = 1; k < count; ++k) {
        const auto& [window, button] = windows[((current + step * k) % count + count) % count];
        if (window && button->buttonEnabled()) {
            button->Click();
            // The keyboard user goes on in the window just shown.
            if (window->isVisible())
                keys::focusFirstIn(window);
            return;
        }
    }
}

void TDesktopForm::FormCreate() {
    const Shell& s = shell();
    const auto& g = s.HighRes ? layout::MenuLarge : layout::MenuSmall;
    // The window refuses every size change, whatever its origin.
    setFixedSize(g.width, g.height);
    move(centredOnScreen(QSize(g.width, g.height)));
    UpdateContentArea();

    if (auto corners = NactiPoleBoduRgn(g.outline))
        setMask(QRegion(*corners, Qt::WindingFill));
    layout::apply(this, layout::Menu, s.HighRes);

    main_.NaplnImageList(ProgramyList, skin::MenuProgram);
    mnuProgramy->setImageList(&ProgramyList);
    main_.NaplnImageList(OnasList, skin::MenuOnas);
    mnuONas->setImageList(&OnasList);
    main_.NaplnImageList(DalsiCDList, skin::MenuDaltit);
    mnuDalsiTituly->setImageList(&DalsiCDList);
    main_.NaplnImageList(NastaveniList, skin::MenuNastav);
    mnuNastaveni->setImageList(&NastaveniList);
    main_.NaplnImageList(NapovedaList, skin::MenuNapoved);
    mnuNapoveda->setImageList(&NapovedaList);
    main_.NaplnImageList(MinimList, skin::MenuMinim);
    Minimalizace->setImageList(&MinimList);
    main_.NaplnImageList(QuitList, skin::MenuQuit);
    Quit->setImageList(&QuitList);

    // A missing background is reported; the buttons are in their places already.
    Plocha->move(0, 0);
    main_.ShowSkinPictureOrReport(Plocha, skin::MenuPlocha);
    Plocha->lower();
}

std::optional<QPolygon> TDesktopForm::NactiPoleBoduRgn(std::string_view outline) {
    const QStringList items = QString::fromLatin1(outline.data(), outline.size()).split(QLatin1Char(','));
    if (items.size() % 2 != 0) {
        main_.EndWithError(QStringLiteral("Neočekávaná chyba - nepodařilo se vytvořit hlavní formulář aplikace"));
        return std::nullopt;
    }
    QPolygon corners;
    for (qsizetype k = 0; k + 1 < items.size(); k += 2)
        corners.append(QPoint(items[k].trimmed().toInt(), items[k + 1].trimmed().toInt()));
    return corners;
}

void TDesktopForm::UpdateContentArea() {
    const auto& g = shell().HighRes ? layout::MenuLarge : layout::MenuSmall;
    Shell& s = shell();
    s.ContentLeft = x() + g.contentDx;
    s.ContentTop = y() + g.contentDy;
    s.ContentWidth = g.contentWidth;
    s.ContentHeight = g.contentHeight;
}

bool TDesktopForm::InTitleStrip(QPoint screenPos) const {
    const auto& g = shell().HighRes ? layout::MenuLarge : layout::MenuSmall;
    return screenPos.x() > x() + g.stripDx && screenPos.y() < y() + g.stripDy;
}

void TDesktopForm::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    UpdateContentArea();
}

// The title strip moves the window as a title bar would; the buttons in it are children
// and take their own presses.
void TDesktopForm::mousePressEvent(QMouseEvent* event) {
    const QPoint global = event->globalPosition().toPoint();
    if (event->button() != Qt::LeftButton || !InTitleStrip(global)) {
        QWidget::mousePressEvent(event);
        return;
    }
    QWindow* window = windowHandle();
    if (window && window->startSystemMove())
        return;
    dragOffset_ = global - pos();
}

void TDesktopForm::mouseMoveEvent(QMouseEvent* event) {
    if (dragOffset_ && (event->buttons() & Qt::LeftButton))
        move(event->globalPosition().toPoint() - *dragOffset_);
    QWidget::mouseMoveEvent(event);
}

void TDesktopForm::mouseReleaseEvent(QMouseEvent* event) {
    dragOffset_.reset();
    QWidget::mouseReleaseEvent(event);
}

void TDesktopForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // A window manager that maximises or restores may have moved us.
    if (event->type() == QEvent::WindowStateChange)
        UpdateContentArea();
}

void TDesktopForm::closeEvent(QCloseEvent* event) {
    event->accept();
    hide();
    main_.UnLoadForms();
}

void TDesktopForm::mnuProgramyClick() {
    main_.PrehrajKliknuti();
    main_.ZobrazOkno(main_.forms().ProgramyForm, mnuProgramy);
}

void TDesktopForm::mnuONasClick() {
    main_.PrehrajKliknuti();
    main_.ZobrazOkno(main_.forms().ONas, mnuONas);
}

void TDesktopForm::mnuDalsiTitulyClick() {
    main_.PrehrajKliknuti();
    main_.ZobrazOkno(main_.forms().DalsiNaseCDForm, mnuDalsiTituly);
}

void TDesktopForm::mnuNastaveniClick() {
    main_.PrehrajKliknuti();
    main_.ZobrazOkno(main_.forms().NastaveniForm, mnuNastaveni);
}

void TDesktopForm::mnuNapovedaClick() {
    main_.PrehrajKliknuti();
    platform::reportStartFailure(platform::openHelp(shell().SystemDir, QString::fromLatin1(cdfiles::HelpFile)),
                                 shell().SlovakLang);
}

void TDesktopForm::MinimalizaceClick() {
    main_.PrehrajKliknuti();
    showMinimized();
}

void TDesktopForm::KonecClick() {
    hide();
    main_.PrehrajKliknuti();
    main_.UnLoadForms();
}

}  // namespace katalog

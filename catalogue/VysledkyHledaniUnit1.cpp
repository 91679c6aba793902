#include "catalogue/VysledkyHledaniUnit1.h"

#include "app/Layouts.h"
#include "app/MainFormUnit1.h"
#include "widgets/EzRgnBtn.h"

#include <QFontMetrics>
#include <QKeyEvent>

namespace katalog {
namespace {
constexpr int LabelFontPixels = 15;
}

namespace VysledkyHledaniMessages {
const QString NotFound = QStringLiteral("\n\rV aktuální sekci nebyl zadaný text nalezen!");

QString Found(int hits) {
    return QStringLiteral("V aktuální sekci byl zadaný text nalezen u ") + QString::number(hits) +
           (hits == 1 ? QStringLiteral(" záznamu.") : QStringLiteral(" záznamů.")) +
           QStringLiteral("\n\rPokud se budete chtít") +
           QStringLiteral(" vrátit k původně zvolené sekci, vyberte ji z rozbalovacího seznamu v levém horním rohu.");
}
}  // namespace VysledkyHledaniMessages

TVysledkyHledaniForm::TVysledkyHledaniForm(TMain& main, QWidget* parent) : TSkinDialog(main, parent) {
    centreOnScreenWhenShown(this);
    setObjectName(QStringLiteral("VysledkyHledaniForm"));
    Plocha = makePicture(this, QStringLiteral("Plocha"));
    Label1 = makePicture(this, QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Label1->setAttribute(Qt::WA_TranslucentBackground);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(LabelFontPixels);
    font.setBold(true);
    Label1->setFont(font);
    const auto& g = layout::VysledkyLabel;
    Label1->setGeometry(g.left, g.top, g.width, g.height);
    btnOK = makeButton(this, QStringLiteral("btnOK"));
    connect(btnOK, &TEzRgnBtn::clicked, this, &TVysledkyHledaniForm::btnOKClick);
    layout::focusOrder(this, layout::VysledkyFocus);
}

void TVysledkyHledaniForm::FormCreate() {
    Plocha->move(0, 0);
    const QSize background = main_.ShowSkinPictureOrReport(Plocha, skin::HledaniPlocha);
    Plocha->lower();
    setFixedSize(background);
    centreOnScreen();
    Label1->raise();
    main_.NaplnImageList(OKList, skin::HledaniOk);
    btnOK->setImageList(&OKList);
    btnOK->move((background.width() - btnOK->width()) / 2, layout::VysledkyOkTop);
    btnOK->raise();
}

void TVysledkyHledaniForm::SetMessage(const QString& text, Qt::Alignment alignment) {
    message_ = text;
    // A line break is written "\n\r"; on screen it is one line break.
    QString shown = text;
    shown.remove(QLatin1Char('\r'));
    Label1->setText(shown);
    Label1->setAlignment(alignment | Qt::AlignTop);
    // The substitute for the narrow Windows font is wider: a long message steps down in
    // size rather than losing its last lines below the label.
    QFont font = Label1->font();
    for (int px = LabelFontPixels; px >= 8; --px) {
        font.setPixelSize(px);
        const QRect needed = QFontMetrics(font).boundingRect(QRect(0, 0, Label1->width(), 10000),
                                                             int(Label1->alignment()) | Qt::TextWordWrap, shown);
        if (needed.height() <= Label1->height())
            break;
    }
    Label1->setFont(font);
}

void TVysledkyHledaniForm::keyPressEvent(QKeyEvent* event) {
    // Enter confirms as the OK button does; Escape closes the window as well.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !event->modifiers()) {
        btnOKClick();
        return;
    }
    TSkinDialog::keyPressEvent(event);
}

void TVysledkyHledaniForm::btnOKClick() {
    main_.PrehrajKliknuti();
    accept();
}

}  // namespace katalog

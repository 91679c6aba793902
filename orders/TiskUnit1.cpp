#include "orders/TiskUnit1.h"

#include "app/CdFiles.h"
#include "app/Forms.h"
#include "app/MainFormUnit1.h"
#include "app/Shell.h"
#include "orders/DalsiNaseCDUnit1.h"
#include "platform/Codec.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "platform/PrintChannel.h"
#include "platform/ProfileFile.h"

#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

#include <algorithm>

namespace katalog {
namespace {

struct Field {
    const char* edit;
    const char* caption;
    int left, top, width;
};

// In tab order, the buttons (9 and 10) left out: the postal code comes last.
constexpr Field Fields[] = {
    {"ICOEdit", "IČO:", 112, 40, 121},
    {"DICEdit", "DIČ:", 448, 40, 121},
    {"FirmaEdit", "Firma:", 112, 72, 489},
    {"JmenoEdit", "Jméno:", 112, 104, 489},
    {"AdresaEdit", "Ulice, čp:", 112, 136, 489},
    {"MestoEdit", "Město:", 112, 168, 209},
    {"EmailEdit", "E-mail:", 112, 232, 121},
    {"FaxEdit", "Fax:", 480, 232, 121},
    {"TelefonEdit", "Telefon:", 480, 200, 121},
    {"PSCEdit", "PSČ:", 112, 200, 121},
};
constexpr int EditHeight = 24;
constexpr int LabelHeight = 20;
constexpr int LabelWidth = 96;
constexpr int LabelGap = 8;

// Each line break (CR LF counted once) and each tab becomes a space.
QString oneLine(QString text) {
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    for (QChar& c : text) {
        switch (c.unicode()) {
        case u'\t': case u'\n': case u'\v': case u'\f': case u'\r':
        case 0x85: case 0x2028: case 0x2029:
            c = QLatin1Char(' ');
            break;
        default:
            break;
        }
    }
    return text;
}

// The buttons' small pictures: a tick and a cross; Qt derives the disabled state.
QIcon glyph(bool tick) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(tick ? QColor(0, 128, 0) : QColor(192, 0, 0), 2.5, Qt::SolidLine, Qt::RoundCap));
    if (tick) {
        p.drawPolyline(QPolygonF({QPointF(3, 8.5), QPointF(6.5, 12), QPointF(13, 4)}));
    } else {
        p.drawLine(QPointF(4, 4), QPointF(12, 12));
        p.drawLine(QPointF(12, 4), QPointF(4, 12));
    }
    return QIcon(pm);
}

}  // namespace

TTiskForm::TTiskForm(TMain& main, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      main_(main),
      dialogs_(systemDialogs()) {
    setObjectName(QStringLiteral("TiskForm"));
    setWindowTitle(QStringLiteral("Tisk"));
    setModal(true);
    centreOnScreenWhenShown(this);

    // The labels' font and colour are their own: the user's font (SetFont) reaches the form
    // but would not fit the 20-pixel labels, and a pale colour would not read on the grey.
    QFont bold = font();
    bold.setBold(true);
    bold.setResolveMask(QFont::AllPropertiesResolved);
    QPalette labelColours = palette();
    labelColours.setColor(QPalette::WindowText, labelColours.color(QPalette::WindowText));
    QList<QLineEdit*> edits;
    for (const Field& f : Fields) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(f.edit));
        edit->setGeometry(f.left, f.top, f.width, EditHeight);
        // A Windows edit never holds a line break or a tab; a pasted one would break the
        // document's columns.
        connect(edit, &QLineEdit::textChanged, edit, [edit](const QString& text) {
            const QString line = oneLine(text);
            if (line != text) {
                const int cursor = edit->cursorPosition();
                edit->setText(line);
                edit->setCursorPosition(std::min(cursor, int(line.size())));
            }
        });
        auto* label = new QLabel(QString::fromUtf8(f.caption), this);
        label->setFont(bold);
        label->setPalette(labelColours);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setGeometry(f.left - LabelGap - LabelWidth, f.top + (EditHeight - LabelHeight) / 2,
                           LabelWidth, LabelHeight);
        label->setBuddy(edit);
        edits.append(edit);
    }
    ICOEdit = edits[0];
    DICEdit = edits[1];
    FirmaEdit = edits[2];
    JmenoEdit = edits[3];
    AdresaEdit = edits[4];
    MestoEdit = edits[5];
    EmailEdit = edits[6];
    FaxEdit = edits[7];
    TelefonEdit = edits[8];
    PSCEdit = edits[9];
    // Five optional digits, unfilled places shown as blanks.
    PSCEdit->setInputMask(QStringLiteral("00000; "));

    Tisk = new QPushButton(glyph(true), QStringLiteral("Tisk"), this);
    Tisk->setObjectName(QStringLiteral("Tisk"));
    Tisk->setGeometry(115, 330, 102, 25);
    Tisk->setDefault(true);
    Zrusit = new QPushButton(glyph(false), QStringLiteral("Zrušit"), this);
    Zrusit->setObjectName(QStringLiteral("Zrusit"));
    Zrusit->setGeometry(451, 330, 110, 25);

    // The fields in their own tab order, the postcode after the telephone, the buttons last.
    for (qsizetype i = 0; i + 1 < edits.size(); ++i)
        setTabOrder(edits[i], edits[i + 1]);
    setTabOrder(PSCEdit, Zrusit);
    setTabOrder(Zrusit, Tisk);

    connect(Tisk, &QPushButton::clicked, this, &TTiskForm::TiskClick);
    connect(Zrusit, &QPushButton::clicked, this, &TTiskForm::ZrusitClick);
}

void TTiskForm::FormCreate() { setFixedSize(683, 438); }

TTiskForm::PlatformDialogs TTiskForm::systemDialogs() {
    PlatformDialogs d;
    d.printerNames = [] { return QPrinterInfo::availablePrinterNames(); };
    d.printDialog = [](QPrinter& printer, QWidget* parent) {
        QPrintDialog dialog(&printer, parent);
        return dialog.exec() == QDialog::Accepted;
    };
    d.saveFileName = [](QWidget* parent) -> std::optional<QString> {
        QFileDialog dialog(parent, QString(), QDir::homePath(),
                           QStringLiteral("Textové soubory (*.txt)"));
        dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().constFirst();
    };
    return d;
}

QString TTiskForm::CtiCastAdresy(const QString& key) const {
    const QString& dir = shell().SystemDir;
    return platform::ProfileFile(platform::readablePath(dir, QString::fromLatin1(cdfiles::OtherTitles)))
        .readString(QStringLiteral("adresa"), key);
}

QString TTiskForm::MakePrintLine(const QString& label, const QString& customer,
                                 const QString& publisher) const {
    return platform::fromCp1250(katalog::MakePrintLine(label, customer, publisher));
}

OrderDocumentInputs TTiskForm::DocumentInputs() const {
    OrderDocumentInputs in;
    in.ico = ICOEdit->text();
    in.dic = DICEdit->text();
    in.firma = FirmaEdit->text();
    in.jmeno = JmenoEdit->text();
    in.adresa = AdresaEdit->text();
    // What the mask shows, blanks included: always five characters.
    in.psc = PSCEdit->displayText();
    in.mesto = MestoEdit->text();
    in.telefon = TelefonEdit->text();
    in.fax = FaxEdit->text();
    in.email = EmailEdit->text();
    in.publisher = [this](const QString& key) { return CtiCastAdresy(key); };
    TMain& m = main_;
    in.titleName = [&m](int position) {
        const auto* form = m.forms().DalsiNaseCDForm;
        const QListWidgetItem* item = form ? form->SeznamTitulu->item(position) : nullptr;
        return item ? item->text() : QString();
    };
    return in;
}

void TTiskForm::TiskClick() {
    main_.PrehrajKliknuti();
    platform::guarded([this] { Print(); });
    // Also when nothing was produced.
    done(QDialog::Accepted);
}

void TTiskForm::Print() {
    const TDalsiNaseCDForm* titles = main_.forms().DalsiNaseCDForm;
    if (!titles)
        return;
    const TObjednavkaClass& order = titles->Objednavka;
    if (dialogs_.printerNames().isEmpty()) {
        platform::showMessage(
            QStringLiteral("Není nainstalována žádná tiskárna - objednávku bude "
                           "možno pouze uložit do textového souboru!"));
        const std::optional<QString> name = dialogs_.saveFileName(this);
        if (!name || name->isEmpty())
            return;
        platform::FileChannel channel(platform::withDefaultExtension(*name, QStringLiteral("txt")));
        order.WriteDocument(channel, DocumentInputs());
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    if (!dialogs_.printDialog(printer, this))
        return;
    platform::PrinterChannel channel(printer, platform::documentPrinterFont());
    order.WriteDocument(channel, DocumentInputs());
}

void TTiskForm::ZrusitClick() {
    main_.PrehrajKliknuti();
    done(QDialog::Rejected);
}

void TTiskForm::keyPressEvent(QKeyEvent* event) {
    // The cancel button's key: the same as pressing it, click sound included.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        Zrusit->click();
        return;
    }
    QDialog::keyPressEvent(event);
}



}  // namespace katalog

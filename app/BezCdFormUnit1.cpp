#include "app/BezCdFormUnit1.h"

#include "app/CdImageOpen.h"
#include "app/CdSearch.h"
#include "app/Forms.h"
#include "app/Settings.h"
#include "platform/Errors.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace katalog {
namespace {

struct Texts {
    const char16_t* heading;
    const char16_t* text;
    const char16_t* folder;
    const char16_t* image;
    const char16_t* demo;
    const char16_t* end;
    const char16_t* choose;
    const char16_t* open;
    const char16_t* cancel;
    const char16_t* folderCaption;
    const char16_t* notACd;
    const char16_t* imageCaption;
    const char16_t* imageFilter;
};

constexpr Texts Czech{
    u"CD nebylo nalezeno",
    u"Katalog nenašel své CD ve složce programu ani v žádné připojené mechanice. Vložte CD, "
    u"nebo vyberte složku, ve které je jeho obsah.",
    u"&Vybrat složku…",
    u"Vybrat &obraz CD…",
    u"Otevřít &ukázkové CD",
    u"U&končit",
    u"Katalog našel více CD. Vyberte, které chcete otevřít:",
    u"Otevřít",
    u"Zrušit",
    u"Vyberte složku s CD",
    u"Ve složce „%1“ není CD katalogu: chybí v ní složka SYSTEM se souborem MAP.PIC.",
    u"Vyberte obraz CD",
    u"Obrazy CD (*.iso *.bin *.cue *.img);;Všechny soubory (*)",
};

constexpr Texts Slovak{
    u"CD sa nenašlo",
    u"Katalóg nenašiel svoje CD v priečinku programu ani v žiadnej pripojenej mechanike. "
    u"Vložte CD alebo vyberte priečinok, v ktorom je jeho obsah.",
    u"&Vybrať priečinok…",
    u"Vybrať &obraz CD…",
    u"Otvoriť &ukážkové CD",
    u"U&končiť",
    u"Katalóg našiel viac CD. Vyberte, ktoré chcete otvoriť:",
    u"Otvoriť",
    u"Zrušiť",
    u"Vyberte priečinok s CD",
    u"V priečinku „%1“ nie je CD katalógu: chýba v ňom priečinok SYSTEM so súborom MAP.PIC.",
    u"Vyberte obraz CD",
    u"Obrazy CD (*.iso *.bin *.cue *.img);;Všetky súbory (*)",
};

const Texts& texts(bool slovak) { return slovak ? Slovak : Czech; }

QString text(const char16_t* t) { return QString::fromUtf16(t); }

}  // namespace

TBezCdForm::TBezCdForm(bool slovak, bool demoAvailable, QWidget* parent) : QDialog(parent) {
    const Texts& t = texts(slovak);
    setObjectName(QStringLiteral("BezCdForm"));
    setWindowTitle(platform::applicationTitle());

    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_DriveCDIcon).pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop);
    Nadpis = new QLabel(text(t.heading), this);
    Nadpis->setObjectName(QStringLiteral("Nadpis"));
    QFont bold = Nadpis->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    Nadpis->setFont(bold);
    Text = new QLabel(text(t.text), this);
    Text->setObjectName(QStringLiteral("Text"));
    Text->setWordWrap(true);

    Slozka = new QPushButton(text(t.folder), this);
    Slozka->setObjectName(QStringLiteral("Slozka"));
    Obraz = new QPushButton(text(t.image), this);
    Obraz->setObjectName(QStringLiteral("Obraz"));
    Ukazka = new QPushButton(text(t.demo), this);
    Ukazka->setObjectName(QStringLiteral("Ukazka"));
    Ukazka->setVisible(demoAvailable);
    Konec = new QPushButton(text(t.end), this);
    Konec->setObjectName(QStringLiteral("Konec"));
    Slozka->setDefault(true);

    auto* words = new QVBoxLayout;
    words->addWidget(Nadpis);
    words->addWidget(Text);
    words->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addSpacing(8);
    top->addLayout(words, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Slozka);
    buttons->addWidget(Obraz);
    buttons->addWidget(Ukazka);
    buttons->addStretch();
    buttons->addWidget(Konec);
    auto* column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addSpacing(12);
    column->addLayout(buttons);
    Text->setMinimumWidth(380);
    column->setSizeConstraint(QLayout::SetFixedSize);

    centreOnScreenWhenShown(this);
    connect(Slozka, &QPushButton::clicked, this, [this] { done(ChooseFolder); });
    connect(Obraz, &QPushButton::clicked, this, [this] { done(ChooseImage); });
    connect(Ukazka, &QPushButton::clicked, this, [this] { done(OpenDemo); });
    connect(Konec, &QPushButton::clicked, this, [this] { done(End); });
}

int VyberCd(const QStringList& names, bool slovak, QWidget* parent) {
    const Texts& t = texts(slovak);
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("VyberCd"));
    dialog.setWindowTitle(platform::applicationTitle());
    auto* label = new QLabel(text(t.choose), &dialog);
    auto* list = new QListWidget(&dialog);
    list->setObjectName(QStringLiteral("SeznamCd"));
    list->addItems(names);
    list->setCurrentRow(0);
    auto* buttons = new QDialogButtonBox(&dialog);
    buttons->addButton(text(t.open), QDialogButtonBox::AcceptRole);
    buttons->addButton(text(t.cancel), QDialogButtonBox::RejectRole);
    auto* column = new QVBoxLayout(&dialog);
    column->addWidget(label);
    column->addWidget(list);
    column->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemActivated, &dialog, &QDialog::accept);
    dialog.resize(480, 260);
    centreOnScreenWhenShown(&dialog);
    if (dialog.exec() != QDialog::Accepted || !list->currentItem())
        return -1;
    return list->currentRow();
}

QString installedDemoCd() {
    const QString demo =
        QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/katalog/demo-cd"));
    return holdsCd(demo) ? platform::withTrailingSlash(demo) : QString();
}

namespace {

// The folder or CD image the user named, when it holds a CD; otherwise the user is told.
std::optional<QString> namedCd(const QString& named, const Texts& t, bool slovak) {
    const QString absolute = QFileInfo(named).absoluteFilePath();
    if (QFileInfo(absolute).isFile())
        return openCdImage(absolute, slovak);
    if (holdsCd(absolute))
        return platform::withTrailingSlash(absolute);
    platform::showMessage(text(t.notACd).arg(QDir::toNativeSeparators(absolute)));
    return std::nullopt;
}

// A CD the user chose is looked for first when none is found at the next start.
std::optional<QString> chosen(const QString& root, const QString& settings) {
    // Not being able to remember it costs only a search at the next start.
    rememberCd(settings, root);
    return root;
}

std::optional<QString> found(const QStringList& arguments, const QString& settings, const Texts& t,
                             bool slovak) {
    if (arguments.size() > 1) {
        const auto named = namedCd(arguments[1], t, slovak);
        return named ? chosen(*named, settings) : std::nullopt;
    }
    const CdSearch search = CdSearch::onThisMachine(QCoreApplication::applicationDirPath(), settings);
    if (auto cd = search.programFolder())
        return cd->root;
    const QList<FoundCd> media = search.onMedia();
    if (media.size() == 1)
        return media[0].root;
    if (media.size() > 1) {
        QStringList names;
        for (const FoundCd& cd : media)
            names << cd.name;
        const int picked = VyberCd(names, slovak);
        return picked >= 0 ? chosen(media[picked].root, settings) : std::nullopt;
    }
    if (auto cd = search.remembered())
        return cd->root;
    return std::nullopt;
}

}  // namespace

std::optional<QString> NajdiCd(const QStringList& arguments) {
    const QString settings = settingsFolder();
    const bool slovak = slovakLanguage(settings);
    const Texts& t = texts(slovak);
    if (auto root = found(arguments, settings, t, slovak))
        return root;

    const QString demo = installedDemoCd();
    for (;;) {
        TBezCdForm form(slovak, !demo.isEmpty());
        switch (form.exec()) {
        case TBezCdForm::ChooseFolder: {
            const QString folder =
                QFileDialog::getExistingDirectory(nullptr, text(t.folderCaption), QDir::homePath());
            if (folder.isEmpty())
                continue;
            if (auto root = namedCd(folder, t, slovak))
                return chosen(*root, settings);
            continue;
        }
        case TBezCdForm::ChooseImage: {
            const QString file =
                QFileDialog::getOpenFileName(nullptr, text(t.imageCaption), QDir::homePath(), text(t.imageFilter));
            if (file.isEmpty())
                continue;
            if (auto root = namedCd(file, t, slovak))
                return chosen(*root, settings);
            continue;
        }
        case TBezCdForm::OpenDemo:
            return chosen(demo, settings);
        default:
            return std::nullopt;
        }
    }
}

}  // namespace katalog

#include "settings/FontDialog.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include <array>

namespace katalog {
namespace {

struct NamedColour {
    const char* name;
    QRgb rgb;
};

// The sixteen colours a Windows font dialog offers.
constexpr std::array<NamedColour, 16> Colours{{
    {"Černá", 0x000000},
    {"Tmavě červená", 0x800000},
    {"Zelená", 0x008000},
    {"Olivová", 0x808000},
    {"Tmavě modrá", 0x000080},
    {"Fialová", 0x800080},
    {"Modrozelená", 0x008080},
    {"Šedá", 0x808080},
    {"Stříbrná", 0xC0C0C0},
    {"Červená", 0xFF0000},
    {"Světle zelená", 0x00FF00},
    {"Žlutá", 0xFFFF00},
    {"Modrá", 0x0000FF},
    {"Purpurová", 0xFF00FF},
    {"Azurová", 0x00FFFF},
    {"Bílá", 0xFFFFFF},
}};

// Qt's dialog texts in the program's language.
constexpr std::array<std::pair<const char*, const char*>, 8> Captions{{
    {"&Font", "&Písmo:"},
    {"Font st&yle", "Řez &písma:"},
    {"&Size", "&Velikost:"},
    {"Wr&iting System", "&Skript:"},
    {"Effects", "Efekty"},
    {"Sample", "Ukázka"},
    {"Stri&keout", "Přeš&krtnuté"},
    {"&Underline", "&Podtržené"},
}};

QIcon swatch(const QColor& colour) {
    QPixmap pm(24, 12);
    pm.fill(colour);
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.drawRect(0, 0, 23, 11);
    return QIcon(pm);
}

void translate(QWidget* w, const char* english, const char* czech) {
    const QString from = QString::fromUtf8(english);
    for (auto* label : w->findChildren<QLabel*>())
        if (label->text() == from)
            label->setText(QString::fromUtf8(czech));
    for (auto* box : w->findChildren<QGroupBox*>())
        if (box->title() == from)
            box->setTitle(QString::fromUtf8(czech));
    for (auto* check : w->findChildren<QCheckBox*>())
        if (check->text() == from)
            check->setText(QString::fromUtf8(czech));
}

}  // namespace

TFontDialog::TFontDialog(QWidget* parent)
    : QFontDialog(parent), font_(QStringLiteral("MS Sans Serif"), 8), color_(Qt::black) {
    setObjectName(QStringLiteral("FontDialog1"));
    setOption(QFontDialog::DontUseNativeDialog);
    setWindowTitle(QStringLiteral("Písmo"));
    for (const auto& [english, czech] : Captions)
        translate(this, english, czech);

    // The family box is the dialog's first read-only line; the sample has a name of its own.
    for (auto* edit : findChildren<QLineEdit*>(Qt::FindDirectChildrenOnly)) {
        if (edit->isReadOnly()) {
            familyEdit_ = edit;
            break;
        }
    }
    sampleEdit_ = findChild<QLineEdit*>(QStringLiteral("qt_fontDialog_sampleEdit"));

    colors_ = new QComboBox(this);
    colors_->setObjectName(QStringLiteral("Barva"));
    for (const auto& c : Colours)
        colors_->addItem(swatch(QColor(c.rgb)), QString::fromUtf8(c.name), QColor(c.rgb));
    auto* colourLabel = new QLabel(QStringLiteral("&Barva:"), this);
    colourLabel->setBuddy(colors_);
    // Below strike-out and underline, as in the Windows dialog; on its own if Qt's layout
    // ever changes.
    QGroupBox* effects = nullptr;
    for (auto* box : findChildren<QGroupBox*>())
        if (box->findChild<QCheckBox*>())
            effects = box;
    if (effects && qobject_cast<QBoxLayout*>(effects->layout())) {
        colourLabel->setParent(effects);
        colors_->setParent(effects);
        auto* box = static_cast<QBoxLayout*>(effects->layout());
        box->addWidget(colourLabel);
        box->addWidget(colors_);
    } else if (auto* box = qobject_cast<QBoxLayout*>(layout())) {
        box->addWidget(colourLabel);
        box->addWidget(colors_);
    }
    connect(colors_, &QComboBox::currentIndexChanged, this, &TFontDialog::colourChanged);

    if (auto* buttons = findChild<QDialogButtonBox*>()) {
        apply_ = buttons->addButton(QDialogButtonBox::Apply);
        if (auto* cancel = buttons->button(QDialogButtonBox::Cancel))
            cancel->setText(QStringLiteral("Storno"));
    } else {
        apply_ = new QPushButton(this);
    }
    apply_->setText(QStringLiteral("P&oužít"));
    apply_->setObjectName(QStringLiteral("Apply"));
    connect(apply_, &QPushButton::clicked, this, [this] {
        takeShown();
        Q_EMIT applied();
    });
    // The colour row makes the dialog taller than Qt sized it; a few more rows of each list
    // make choosing easier.
    resize(minimumSizeHint().expandedTo(QSize(560, 440)));
}

void TFontDialog::setDialogFont(const QFont& font, const QColor& color) {
    font_ = font;
    color_ = color;
}

bool TFontDialog::Execute() {
    present(font_, color_);
    if (exec() != QDialog::Accepted)
        return false;
    takeShown();
    return true;
}

void TFontDialog::present(const QFont& font, const QColor& color) {
    setCurrentFont(font);
    // Qt lists only installed families; a substituted Windows name is shown as it is.
    if (familyEdit_ && familyEdit_->text().compare(font.family(), Qt::CaseInsensitive) != 0)
        familyEdit_->setText(font.family());
    int index = colors_->findData(color);
    if (index < 0) {
        colors_->addItem(swatch(color), QStringLiteral("Vlastní"), color);
        index = colors_->count() - 1;
    }
    colors_->setCurrentIndex(index);
    colourChanged();
}

QFont TFontDialog::shownFont() const {
    QFont f = currentFont();
    if (familyEdit_ && familyEdit_->text() == font_.family() &&
        f.family().compare(font_.family(), Qt::CaseInsensitive) != 0)
        f.setFamily(font_.family());
    return f;
}

QColor TFontDialog::shownColor() const { return colors_->currentData().value<QColor>(); }

void TFontDialog::takeShown() {
    const QFont f = shownFont();
    color_ = shownColor();
    font_ = f;
    if (familyEdit_)
        familyEdit_->setText(f.family());
}

void TFontDialog::colourChanged() {
    if (!sampleEdit_)
        return;
    QPalette pal = sampleEdit_->palette();
    pal.setColor(QPalette::Text, shownColor());
    sampleEdit_->setPalette(pal);
}

}  // namespace katalog

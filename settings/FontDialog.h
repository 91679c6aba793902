#pragma once
// The font chooser of the settings window: Qt's own (non-native) font dialog with an Apply
// button and a colour choice. It keeps its own font between openings: the last one
// confirmed or applied. A Windows font name it cannot list ("MS Sans Serif") stays the
// chosen name while a substitute draws it, until the user picks another family.
#include <QColor>
#include <QFont>
#include <QFontDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace katalog {

class TFontDialog : public QFontDialog {
    Q_OBJECT
public:
    explicit TFontDialog(QWidget* parent = nullptr);

    // The dialog's own font and colour: what it opens with.
    QFont dialogFont() const { return font_; }
    QColor dialogColor() const { return color_; }
    void setDialogFont(const QFont& font, const QColor& color);

    // Shows the dialog modally with its own font; true when the user confirmed, and then the
    // dialog's font is the one chosen.
    bool Execute();

    // What the dialog shows now.
    QFont shownFont() const;
    QColor shownColor() const;

    QPushButton* applyButton() const { return apply_; }
    QComboBox* colorBox() const { return colors_; }

Q_SIGNALS:
    // Apply was pressed; the dialog's font is already the one shown.
    void applied();

private:
    void present(const QFont& font, const QColor& color);
    void takeShown();
    void colourChanged();

    QFont font_;
    QColor color_;
    QLineEdit* familyEdit_ = nullptr;
    QLineEdit* sampleEdit_ = nullptr;
    QComboBox* colors_ = nullptr;
    QPushButton* apply_ = nullptr;
};

}  // namespace katalog

#include "orders/TiskUnit1.h"

namespace katalog {

TTiskForm::TTiskForm(TMain& main, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), main_(main) {
    setObjectName(QStringLiteral("TiskForm"));
    setWindowTitle(QStringLiteral("Tisk"));
}

void TTiskForm::FormCreate() { setFixedSize(683, 438); }

}  // namespace katalog

#include "copy/KopirovaniFormUnit1.h"

namespace katalog {

TKopirovaniForm::TKopirovaniForm(TMain& main, QWidget* parent) : TSkinDialog(main, parent) {
    setObjectName(QStringLiteral("KopirovaniForm"));
}

void TKopirovaniForm::FormCreate() {}

}  // namespace katalog

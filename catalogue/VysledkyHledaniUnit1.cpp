#include "catalogue/VysledkyHledaniUnit1.h"

namespace katalog {

TVysledkyHledaniForm::TVysledkyHledaniForm(TMain& main, QWidget* parent) : TSkinDialog(main, parent) {
    setObjectName(QStringLiteral("VysledkyHledaniForm"));
}

void TVysledkyHledaniForm::FormCreate() {}

}  // namespace katalog

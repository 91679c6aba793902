#include "viewer/PicFormUnit1.h"

namespace katalog {

TPicForm::TPicForm(TMain& main, QWidget* parent) : TSkinDialog(main, parent) {
    setObjectName(QStringLiteral("PicForm"));
}

void TPicForm::FormCreate() {}

}  // namespace katalog

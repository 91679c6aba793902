#pragma once
#include "app/Forms.h"

namespace katalog {

class TPicForm : public TSkinDialog {
    Q_OBJECT
public:
    TPicForm(TMain& main, QWidget* parent);
    void FormCreate();
};

}  // namespace katalog

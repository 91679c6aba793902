#pragma once
#include "app/Forms.h"

namespace katalog {

class TProgramyForm : public TContentForm {
    Q_OBJECT
public:
    TProgramyForm(TMain& main, QWidget* parent);
    void FormCreate();
};

}  // namespace katalog

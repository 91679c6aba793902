#pragma once
#include "app/Forms.h"

namespace katalog {

class TDalsiNaseCDForm : public TContentForm {
    Q_OBJECT
public:
    TDalsiNaseCDForm(TMain& main, QWidget* parent);
    void FormCreate();
};

}  // namespace katalog

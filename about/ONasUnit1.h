#pragma once
#include "app/Forms.h"

namespace katalog {

class TONas : public TContentForm {
    Q_OBJECT
public:
    TONas(TMain& main, QWidget* parent);
    void FormCreate();
};

}  // namespace katalog

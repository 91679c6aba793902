#pragma once
#include "app/Forms.h"

namespace katalog {

class TKopirovaniForm : public TSkinDialog {
    Q_OBJECT
public:
    TKopirovaniForm(TMain& main, QWidget* parent);
    void FormCreate();
};

}  // namespace katalog

#pragma once
#include "app/Forms.h"

namespace katalog {

class TVysledkyHledaniForm : public TSkinDialog {
    Q_OBJECT
public:
    TVysledkyHledaniForm(TMain& main, QWidget* parent);
    void FormCreate();
};

}  // namespace katalog

#pragma once
#include "app/Forms.h"

namespace katalog {

class TTiskForm : public QDialog {
    Q_OBJECT
public:
    TTiskForm(TMain& main, QWidget* parent);

private:
    TMain& main_;

public:
    void FormCreate();
};

}  // namespace katalog

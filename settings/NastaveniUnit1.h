#pragma once
#include "app/Forms.h"

namespace katalog {

class TNastaveniForm : public TContentForm {
    Q_OBJECT
public:
    TNastaveniForm(TMain& main, QWidget* parent);
    void FormCreate();
    // Gives the user's font to every control that shows text.
    void SetFont(const QFont& font, const QColor& color);
};

}  // namespace katalog

#pragma once
// The retry/cancel dialog shown while a drive is not ready. Its message is painted into
// its background picture.
#include "app/Forms.h"
#include "widgets/ImageList.h"

#include <QLabel>

namespace katalog {

class TEzRgnBtn;

class TErrorDialog : public TSkinDialog {
    Q_OBJECT
public:
    enum Result { Retry = 4, Cancel = QDialog::Rejected };

    TErrorDialog(TMain& main, QWidget* parent);

    void FormCreate();
    // Once the program is ending the dialog is not shown: cancel.
    int exec() override;
    void OpakovatClick();
    void ZrusitClick();

    QLabel* EPlocha;
    TEzRgnBtn* Opakovat;
    TEzRgnBtn* Zrusit;
    TImageList OpakovatList, ZrusitList;

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace katalog

#pragma once
// The small modal window that announces a search's result.
#include "app/Forms.h"
#include "widgets/ImageList.h"

#include <QLabel>

namespace katalog {

class TEzRgnBtn;

namespace VysledkyHledaniMessages {
extern const QString NotFound;
// The text for N hits (N >= 1).
QString Found(int hits);
}  // namespace VysledkyHledaniMessages

class TVysledkyHledaniForm : public TSkinDialog {
    Q_OBJECT
public:
    TVysledkyHledaniForm(TMain& main, QWidget* parent);
    void FormCreate();
    // The label's text and alignment for the next showing.
    void SetMessage(const QString& text, Qt::Alignment alignment);
    const QString& message() const { return message_; }
    void btnOKClick();

    QLabel* Plocha;
    QLabel* Label1;
    TEzRgnBtn* btnOK;
    TImageList OKList;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString message_;
};

}  // namespace katalog

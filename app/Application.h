#pragma once
#include <QApplication>

namespace katalog {

// Errors that escape an event handler end that event with the default error report; the
// program goes on.
class KatalogApplication : public QApplication {
public:
    KatalogApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Hints show as soon as the pointer rests on a control.
void installHintStyle(QApplication& app);
// Qt's own dialog texts in Czech, when Qt's translations are installed.
bool installQtTranslation(QApplication& app);

}  // namespace katalog

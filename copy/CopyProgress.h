#pragma once
// The copy's own window: one bar over all bytes, the file being copied and a cancel button
// that answers while the copy runs on a worker thread. Errors are put to the user with
// retry, skip and cancel.
#include "platform/FileCopy.h"

#include <QDialog>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace katalog {

class TCopyProgress : public QDialog {
    Q_OBJECT
public:
    explicit TCopyProgress(QWidget* parent);

    // Shows done of total bytes and the file being copied.
    void showProgress(qint64 done, qint64 total, const QString& current);
    bool cancelRequested() const { return cancelRequested_; }

    QLabel* Soubor;
    QProgressBar* Prubeh;
    QPushButton* Storno;

Q_SIGNALS:
    void cancelClicked();

protected:
    // Escape and the close box cancel the copy; the window closes when the copy has stopped.
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void requestCancel();
    bool cancelRequested_ = false;
};

// Copies the contents of from into to with the progress window above parent, waiting
// (with events running) until the copy has finished.
platform::CopyReport copyWithProgress(QWidget* parent, const QString& from, const QString& to,
                                      const platform::CopyOptions& options = {});

// The question put to the user for a copy error (retry, skip or cancel).
platform::CopyDecision askCopyError(QWidget* parent, const platform::CopyError& error);

// What to do with the entries of the destination whose names the copy would take.
enum class Collisions { Replace, KeepBoth, Cancel };
// Asked once, before anything is written; taken: the names, relative to destination.
Collisions askCollisions(QWidget* parent, const QString& destination, const QStringList& taken);

// Test seams: who answers the error question, what runs once the progress window is shown
// (on the user-interface thread), and what runs on the copying thread at every progress.
using CopyQuestion = std::function<platform::CopyDecision(QWidget*, const platform::CopyError&)>;
void setCopyQuestionForTests(CopyQuestion question);
using CollisionQuestion = std::function<Collisions(const QString& destination, const QStringList& taken)>;
void setCollisionQuestionForTests(CollisionQuestion question);
void setCopyShownHookForTests(std::function<void(TCopyProgress*)> hook);
void setCopyWorkerHookForTests(std::function<void(qint64 done)> hook);

}  // namespace katalog

#include "copy/CopyProgress.h"

#include "platform/Errors.h"
#include "widgets/Cursors.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace katalog {
namespace {

constexpr int BarSteps = 1000;
constexpr int RefreshMs = 50;

CopyQuestion& questionForTests() {
    static CopyQuestion q;
    return q;
}
CollisionQuestion& collisionQuestionForTests() {
    static CollisionQuestion q;
    return q;
}
std::function<void(TCopyProgress*)>& shownHook() {
    static std::function<void(TCopyProgress*)> h;
    return h;
}
std::function<void(qint64)>& workerHook() {
    static std::function<void(qint64)> h;
    return h;
}

// What the copying thread and the window share.
struct Shared {
    std::atomic<qint64> done{0};
    std::atomic<qint64> total{0};
    std::atomic<bool> cancel{false};
    std::mutex mutex;
    std::condition_variable answered;
    QString current;
    std::optional<platform::CopyDecision> answer;
    bool abandoned = false;

    QString currentFile() {
        std::lock_guard lock(mutex);
        return current;
    }
};

// Asks with the buttons given, the last of which cancels (Escape too); returns the index of
// the button pressed. Once the end is requested nobody is asked any more: the last.
int ask(QWidget* parent, QMessageBox::Icon icon, const QString& text, const QStringList& buttons, int defaultButton) {
    const int cancel = int(buttons.size()) - 1;
    if (platform::ending())
        return cancel;
    // While the user is asked, the pointer is an arrow, whatever the copy set.
    const OverrideCursor arrow(Qt::ArrowCursor, QGuiApplication::overrideCursor() != nullptr);
    QMessageBox box(icon, platform::applicationTitle(), text, QMessageBox::NoButton, parent);
    QList<QPushButton*> pushed;
    for (int i = 0; i <= cancel; ++i)
        pushed.append(box.addButton(buttons[i], i == cancel ? QMessageBox::RejectRole : QMessageBox::AcceptRole));
    box.setDefaultButton(pushed[defaultButton]);
    box.setEscapeButton(pushed[cancel]);
    box.exec();
    const int answer = int(pushed.indexOf(box.clickedButton()));
    return answer < 0 ? cancel : answer;
}

}  // namespace

TCopyProgress::TCopyProgress(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("CopyProgress"));
    setWindowTitle(QStringLiteral("Kopírování"));
    setModal(true);

    Soubor = new QLabel(QStringLiteral("Příprava kopírování…"), this);
    Soubor->setObjectName(QStringLiteral("Soubor"));
    Soubor->setMinimumWidth(360);
    Prubeh = new QProgressBar(this);
    Prubeh->setObjectName(QStringLiteral("Prubeh"));
    Prubeh->setRange(0, BarSteps);
    Prubeh->setValue(0);
    Storno = new QPushButton(QStringLiteral("Storno"), this);
    Storno->setObjectName(QStringLiteral("Storno"));
    Storno->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Storno);
    auto* column = new QVBoxLayout(this);
    column->addWidget(Soubor);
    column->addWidget(Prubeh);
    column->addLayout(buttons);
    // A progress window has nothing to show in more room: the window manager offers no
    // maximising for a fixed size.
    column->setSizeConstraint(QLayout::SetFixedSize);

    connect(Storno, &QPushButton::clicked, this, &TCopyProgress::requestCancel);
}

void TCopyProgress::showProgress(qint64 done, qint64 total, const QString& current) {
    Prubeh->setValue(total > 0 ? int(qMin(done, total) * BarSteps / total) : 0);
    if (!cancelRequested_ && !current.isEmpty()) {
        const QString text = QStringLiteral("Kopíruje se „%1“").arg(QFileInfo(current).fileName());
        Soubor->setText(Soubor->fontMetrics().elidedText(text, Qt::ElideMiddle, Soubor->width()));
    }
}

void TCopyProgress::requestCancel() {
    if (cancelRequested_)
        return;
    cancelRequested_ = true;
    Storno->setEnabled(false);
    Soubor->setText(QStringLiteral("Kopírování se přerušuje…"));
    Q_EMIT cancelClicked();
}

void TCopyProgress::reject() {
    requestCancel();
}

void TCopyProgress::closeEvent(QCloseEvent* event) {
    event->ignore();
    requestCancel();
}

platform::CopyDecision askCopyError(QWidget* parent, const platform::CopyError& error) {
    if (questionForTests())
        return questionForTests()(parent, error);
    // Skipping the destination itself would skip everything.
    const bool skipOffered = error.step != platform::CopyStep::Destination;
    const QStringList buttons = skipOffered ? QStringList{QStringLiteral("Opakovat"), QStringLiteral("Přeskočit"),
                                                          QStringLiteral("Storno")}
                                            : QStringList{QStringLiteral("Opakovat"), QStringLiteral("Storno")};
    const int answer = ask(parent, QMessageBox::Warning, platform::describeCopyError(error), buttons, skipOffered ? 1 : 0);
    if (answer == 0)
        return platform::CopyDecision::Retry;
    if (skipOffered && answer == 1)
        return platform::CopyDecision::Skip;
    return platform::CopyDecision::Cancel;
}

Collisions askCollisions(QWidget* parent, const QString& destination, const QStringList& taken) {
    if (collisionQuestionForTests())
        return collisionQuestionForTests()(destination, taken);
    constexpr qsizetype Shown = 8;
    QString names = QStringList(taken.mid(0, Shown)).join(QLatin1Char('\n'));
    if (taken.size() > Shown)
        names += QStringLiteral("\n… a %1 dalších").arg(taken.size() - Shown);
    const QString text =
        QStringLiteral("Ve složce „%1“ už jsou položky se stejnými jmény, jaké má kopírovaný program:\n\n%2\n\n"
                       "Nahradit je kopiemi z CD, nebo ponechat obojí (kopie z CD pak dostanou nová jména)?")
            .arg(QDir::toNativeSeparators(destination), names);
    const int answer = ask(parent, QMessageBox::Question, text,
                           {QStringLiteral("Nahradit"), QStringLiteral("Ponechat obojí"), QStringLiteral("Storno")}, 0);
    if (answer == 0)
        return Collisions::Replace;
    if (answer == 1)
        return Collisions::KeepBoth;
    return Collisions::Cancel;
}

platform::CopyReport copyWithProgress(QWidget* parent, const QString& from, const QString& to,
                                      const platform::CopyOptions& options) {
    TCopyProgress dialog(parent);
    auto shared = std::make_shared<Shared>();
    QObject::connect(&dialog, &TCopyProgress::cancelClicked, &dialog,
                     [shared] { shared->cancel = true; });

    platform::CopyCallbacks callbacks;
    callbacks.progress = [shared, hook = workerHook()](qint64 done, qint64 total,
                                                       const QString& current) {
        shared->done = done;
        shared->total = total;
        {
            std::lock_guard lock(shared->mutex);
            shared->current = current;
        }
        if (hook)
            hook(done);
    };
    callbacks.cancelled = [shared] { return shared->cancel.load(); };
    // The copying thread waits while the window's thread asks the user.
    callbacks.error = [shared, &dialog](const platform::CopyError& error) {
        std::unique_lock lock(shared->mutex);
        if (shared->abandoned)
            return platform::CopyDecision::Cancel;
        shared->answer.reset();
        QMetaObject::invokeMethod(
            &dialog,
            [shared, &dialog, error] {
                const platform::CopyDecision d = askCopyError(&dialog, error);
                {
                    std::lock_guard answerLock(shared->mutex);
                    shared->answer = d;
                }
                shared->answered.notify_all();
            },
            Qt::QueuedConnection);
        shared->answered.wait(lock,
                              [&] { return shared->answer.has_value() || shared->abandoned; });
        return shared->answer.value_or(platform::CopyDecision::Cancel);
    };

    QTimer refresh;
    refresh.setInterval(RefreshMs);
    QObject::connect(&refresh, &QTimer::timeout, &dialog, [&] {
        dialog.showProgress(shared->done, shared->total, shared->currentFile());
    });
    dialog.show();
    refresh.start();
    if (shownHook())
        shownHook()(&dialog);

    QEventLoop loop;
    std::atomic<bool> finished{false};
    platform::CopyReport report;
    std::thread worker([&] {
        report = platform::copyFolderContents(from, to, callbacks, options);
        finished = true;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    if (!finished) {
        // The application is ending: stop the copy and release a waiting question.
        shared->cancel = true;
        {
            std::lock_guard lock(shared->mutex);
            shared->abandoned = true;
        }
        shared->answered.notify_all();
    }
    worker.join();
    refresh.stop();
    dialog.showProgress(shared->done, shared->total, QString());
    dialog.hide();
    return report;
}

void setCopyQuestionForTests(CopyQuestion question) {
    questionForTests() = std::move(question);
}
void setCollisionQuestionForTests(CollisionQuestion question) {
    collisionQuestionForTests() = std::move(question);
}
void setCopyShownHookForTests(std::function<void(TCopyProgress*)> hook) {
    shownHook() = std::move(hook);
}
void setCopyWorkerHookForTests(std::function<void(qint64)> hook) {
    workerHook() = std::move(hook);
}

}  // namespace katalog

#include "platform/Errors.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

namespace platform {
namespace {

bool messagesOnTop = false;
bool endRequested = false;

MessageHook& hook() {
    static MessageHook h;
    return h;
}

void show(MessageKind kind, const QString& text) {
    if (endRequested)
        return;
    if (hook()) {
        hook()(kind, text);
        return;
    }
    // Modal above the window that is in use, which keeps it above the program's windows
    // without staying above other applications.
    QWidget* owner = messagesOnTop ? nullptr : QApplication::activeModalWidget();
    if (!owner && !messagesOnTop)
        owner = QApplication::activeWindow();
    QMessageBox box(kind == MessageKind::ErrorReport ? QMessageBox::Critical : QMessageBox::NoIcon,
                    applicationTitle(), text, QMessageBox::Ok, owner);
    // During start-up the intro window stays on top: a message must not hide behind it.
    box.setWindowFlag(Qt::WindowStaysOnTopHint, messagesOnTop);
    box.exec();
}

}  // namespace

QString applicationTitle() { return QStringLiteral("Katalog"); }

void showMessage(const QString& text) { show(MessageKind::Plain, text); }

void reportError(const QString& text) {
    QString t = text;
    if (!t.endsWith(QLatin1Char('.')))
        t += QLatin1Char('.');
    show(MessageKind::ErrorReport, t);
}

bool guarded(const std::function<void()>& body) {
    try {
        body();
        return true;
    } catch (const KatalogError& e) {
        reportError(e.text());
    } catch (const std::exception& e) {
        reportError(QString::fromLocal8Bit(e.what()));
    }
    return false;
}

void setEnding(bool ending) { endRequested = ending; }
bool ending() { return endRequested; }

void setMessagesOnTop(bool onTop) { messagesOnTop = onTop; }

void setMessageHook(MessageHook h) { hook() = std::move(h); }

}  // namespace platform

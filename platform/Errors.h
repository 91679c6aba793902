#pragma once
// Errors raised by platform services and not handled where they arise travel as
// KatalogError to the application's default error report.
#include <QString>

#include <functional>
#include <stdexcept>

namespace platform {

class KatalogError : public std::runtime_error {
public:
    explicit KatalogError(const QString& text)
        : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& text() const { return text_; }

private:
    QString text_;
};

enum class MessageKind { Plain, ErrorReport };

// The application's title, shown as the caption of every message box.
QString applicationTitle();

// Plain message box: OK button, the application's title as caption.
void showMessage(const QString& text);
// The default error report: error icon, OK, a full stop appended when the text has none.
void reportError(const QString& text);
// Runs body; a KatalogError or std::exception it throws becomes the default error report.
// Returns false when body failed.
bool guarded(const std::function<void()>& body);

// Once the program is ending no message box is shown any more: the user has been told why,
// once.
void setEnding(bool ending);
bool ending();

// While the intro window is up, message boxes are raised above it.
void setMessagesOnTop(bool onTop);

// Test seam: while a hook is set, messages go to it instead of a modal box.
using MessageHook = std::function<void(MessageKind, const QString&)>;
void setMessageHook(MessageHook hook);

}  // namespace platform

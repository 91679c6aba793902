#pragma once
// Keyboard use of the skinned windows in one place: the focus mark that shows only once
// the keyboard is used, focus orders declared as lists of control names, the keys that
// press a focused control, and the accessibility of the region buttons.
#include <QKeySequence>
#include <QList>
#include <QRect>

#include <functional>
#include <initializer_list>

class QPainter;
class QWidget;
class QKeyEvent;

namespace katalog::keys {

// Focus marks are hidden until a key is pressed and hidden again by a mouse press, as
// desktop toolkits do. install() watches the application's input for that and makes the
// region buttons known to assistive technology; the windows call it once.
void install();
bool cuesShown();
void setCuesShown(bool shown);

// The mark over a focused control: a light and a dark dotted ring just inside its edge,
// so that it stands out on light and dark skins alike.
void drawFocusMark(QPainter& p, QRect bounds);
// True when the control should show its mark now.
bool showsMark(const QWidget* control);

// Space, Enter and Return press a focused control.
bool isPressKey(const QKeyEvent* event);

// Tab follows the list; controls that take no focus or are hidden are passed over by Qt.
void setFocusOrder(const QList<QWidget*>& order);

// Focuses the first control inside container that Tab would stop at.
void focusFirstIn(QWidget* container);

// A shortcut that works anywhere in window and its child windows, or with
// Qt::WidgetShortcut only while the widget itself has the focus.
void bind(QWidget* widget, std::initializer_list<QKeySequence> keys, std::function<void()> action,
          Qt::ShortcutContext context = Qt::WindowShortcut);

}  // namespace katalog::keys

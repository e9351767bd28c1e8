// Acting on a window's controls by object name, as a user does: typing,
// choosing, clicking, spinning, scrolling and reading what a control shows.
// The driver and the window tests share these actions, so a driver script and a
// test do the same thing to a window when they say the same thing.
#pragma once

#include <QObject>
#include <QString>
#include <QWidget>
#include <chrono>
#include <optional>

namespace automation {

// The one control of that name in `window`: the window itself, a widget of it
// (not of a window it owns, such as a dialog over it) or a menu action. Null
// with a reason when there is none, or when more than one control carries the
// name: a name must say which control it means.
QObject* FindControl(QWidget* window, const QString& name, QString* error);

// An action that cannot be done throws a common::UserError that says why
// ("no item Deep", "disabled btnCompute"): the script or test asked for it, as
// a user types a value a field refuses. Each checks before it acts, so a
// refused action leaves the window as it was.
void SetText(QObject* control, const QString& text); // one change, as a paste
void Type(QObject* control, const QString& text);    // one keystroke per character at the end
void Backspace(QObject* control, int count);         // at the end of the text
void Key(QObject* control, const QString& keyName);  // "Return", "Ctrl+C", or one character as typed
void Click(QObject* control);                        // button, check box, radio button, menu action
void Choose(QObject* control, const QString& item);  // drop-down, list, radio group, tab set
void Spin(QObject* control, bool up);                // one click on the spinner's arrow
void Scroll(QObject* control, int position);         // scroll bar or track bar

// What a control shows: an edit's, label's or drop-down's text; a memo's or
// list's lines joined by line feeds; a radio group's chosen item, a tab set's
// current tab; "checked" or "unchecked" for a check box or radio button; the
// file of a document view that has read its document.
std::optional<QString> ShownText(QObject* control);

// Runs the event loop until `control` shows `text` (as ShownText reads it) or
// `timeout` has passed; true when it does. A control destroyed meanwhile never
// shows it.
bool WaitForText(QObject* control, const QString& text, std::chrono::milliseconds timeout);
// Until one line of the shown text ends with `text`: a log line whose time
// stamp in front is not known in advance.
bool WaitForLine(QObject* control, const QString& text, std::chrono::milliseconds timeout);

} // namespace automation

// The two modal boxes every window uses: the ordinary message box (the handler
// carries on after it) and the general error box (the handler stops). Both carry
// the application title as caption. The window kit installs the modal boxes at
// start-up; tests and the driver install a presenter that records a box instead
// of waiting for a click.
#pragma once

#include <QString>
#include <functional>

namespace common {

inline constexpr const char* kApplicationTitle = "Tormalind UTILITY";

enum class MessageKind { Message, Error };

using MessagePresenter = std::function<void(MessageKind, const QString&)>;

void ShowMessage(const QString& text);

// The error text gets a full stop when it does not already end in one.
void ShowError(const QString& text);

// Installs a presenter and returns the previous one.
MessagePresenter SetMessagePresenter(MessagePresenter presenter);

// Runs a handler body; a conversion error (or any other std::exception) ends the
// handler and reaches the general error box, the window stays usable.
void RunGuarded(const std::function<void()>& body);

} // namespace common

// The two modal boxes every window uses: the ordinary message box (the handler
// carries on after it) and the general error box (the handler stops). Both carry
// the application title as caption. The window kit installs the modal boxes at
// start-up; tests and the driver install a presenter that records a box instead
// of waiting for a click.
#pragma once

#include <QString>
#include <functional>
#include <stdexcept>

namespace common {

inline constexpr const char* kApplicationTitle = "Tormalind UTILITY";

enum class MessageKind { Message, Error };

using MessagePresenter = std::function<void(MessageKind, const QString&)>;

void ShowMessage(const QString& text);

// The error text gets a full stop when it does not already end in one.
void ShowError(const QString& text);

// Installs a presenter and returns the previous one.
MessagePresenter SetMessagePresenter(MessagePresenter presenter);

// A question before an action the user may still call off (a file that will
// not hold every character typed): true when the user goes on. Asked in a
// modal box with Yes and No; tests and the driver install a presenter that
// records the question and answers it.
bool AskToProceed(const QString& text);

using QuestionPresenter = std::function<bool(const QString&)>;
QuestionPresenter SetQuestionPresenter(QuestionPresenter presenter);

// What the surveyor is told when an action cannot be done (a field that cannot
// be read, a port that cannot be opened): the text is for the general error
// box, in the surveyor's words. Anything else thrown is a fault of the program.
class UserError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    explicit UserError(const QString& text) : std::runtime_error(text.toStdString()) {}
};

// A fault of the program, not of the input: the general error box says so, with
// the library's text, and asks for a report; the window stays usable.
void ShowFault(const std::exception& fault);

// Runs a handler body; a UserError ends the handler and reaches the general
// error box, any other exception is shown as a fault; the window stays usable.
void RunGuarded(const std::function<void()>& body);

} // namespace common

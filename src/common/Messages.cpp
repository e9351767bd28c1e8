#include "common/Messages.h"

#include "common/NumberFormat.h"

#include <cstdio>
#include <exception>

namespace common {

namespace {

MessagePresenter& CurrentPresenter() {
    static MessagePresenter presenter;
    return presenter;
}

void Present(MessageKind kind, const QString& text) {
    if (const auto& presenter = CurrentPresenter()) {
        presenter(kind, text);
    } else {
        // No window kit started (a tool or test without a desktop): the text
        // still reaches someone.
        std::fprintf(stderr, "%s: %s\n", kind == MessageKind::Error ? "error" : "message",
                     text.toLocal8Bit().constData());
    }
}

} // namespace

void ShowMessage(const QString& text) { Present(MessageKind::Message, text); }

void ShowError(const QString& text) {
    Present(MessageKind::Error, text.endsWith(QLatin1Char('.')) ? text : text + QLatin1Char('.'));
}

MessagePresenter SetMessagePresenter(MessagePresenter presenter) {
    MessagePresenter previous = std::move(CurrentPresenter());
    CurrentPresenter() = std::move(presenter);
    return previous;
}

namespace {

QuestionPresenter& CurrentQuestionPresenter() {
    static QuestionPresenter presenter;
    return presenter;
}

} // namespace

bool AskToProceed(const QString& text) {
    if (const auto& presenter = CurrentQuestionPresenter()) {
        return presenter(text);
    }
    // Nobody to ask: nothing is done that the user did not agree to.
    std::fprintf(stderr, "question: %s\n", text.toLocal8Bit().constData());
    return false;
}

QuestionPresenter SetQuestionPresenter(QuestionPresenter presenter) {
    QuestionPresenter previous = std::move(CurrentQuestionPresenter());
    CurrentQuestionPresenter() = std::move(presenter);
    return previous;
}

void ShowFault(const std::exception& fault) {
    ShowError(QStringLiteral("Internal error: %1\nThe last action was not completed. Please report this with "
                             "the steps that led to it")
                  .arg(QString::fromUtf8(fault.what())));
}

void RunGuarded(const std::function<void()>& body) {
    try {
        body();
    } catch (const UserError& error) {
        ShowError(QString::fromUtf8(error.what()));
    } catch (const std::exception& fault) {
        ShowFault(fault);
    }
}

} // namespace common

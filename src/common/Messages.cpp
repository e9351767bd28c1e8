#include "Messages.h"

#include "NumberFormat.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>

namespace common {

namespace {

MessagePresenter& CurrentPresenter() {
    static MessagePresenter presenter;
    return presenter;
}

void PresentModal(MessageKind kind, const QString& text) {
    QMessageBox box(kind == MessageKind::Error ? QMessageBox::Critical : QMessageBox::NoIcon,
                    QString::fromLatin1(kApplicationTitle), text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

void Present(MessageKind kind, const QString& text) {
    if (const auto& presenter = CurrentPresenter()) {
        presenter(kind, text);
    } else {
        PresentModal(kind, text);
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

void RunGuarded(const std::function<void()>& body) {
    try {
        body();
    } catch (const std::exception& error) {
        ShowError(QString::fromUtf8(error.what()));
    }
}

} // namespace common

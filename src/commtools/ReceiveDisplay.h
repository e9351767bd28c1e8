// A memo bound to a channel as a terminal screen: received bytes appear at the
// caret as a device would have typed them (a lone backspace deletes, a lone CR
// starts a line), and every key the surveyor types into the memo goes to the
// device as one byte. Only keystrokes are sent, never what the memo shows.
#pragma once

#include <QByteArray>
#include <QObject>

#include <functional>

class QPlainTextEdit;

namespace commtools {

class ReceiveDisplay : public QObject {
    Q_OBJECT
public:
    using Sender = std::function<void(const QByteArray&)>;

    ReceiveDisplay(QPlainTextEdit* memo, Sender send);

    // One byte is a typed key; more are inserted as text without NUL bytes.
    // Each byte is the character with the same code.
    void Show(const QByteArray& bytes);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPlainTextEdit* memo_;
    Sender send_;
};

} // namespace commtools

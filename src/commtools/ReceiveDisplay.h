// A memo bound to a channel as a terminal screen: received bytes appear at the
// caret as a device would have typed them (a lone backspace deletes, a lone CR
// starts a line), and every key the surveyor types into the memo goes to the
// device as one byte. Only keystrokes are sent, never what the memo shows.
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>

#include <functional>

class QPlainTextEdit;

namespace commtools {

// Drops the oldest text of a memo beyond about `characters` characters. Trims
// in steps of a sixteenth, so a memo at its limit is not cut on every byte.
void KeepLastCharacters(QPlainTextEdit* memo, qsizetype characters);

class ReceiveDisplay : public QObject {
    Q_OBJECT
public:
    using Sender = std::function<void(const QByteArray&)>;

    ReceiveDisplay(QPlainTextEdit* memo, Sender send);

    // One byte is a typed key; more are inserted as text without NUL bytes.
    // Each byte is the character with the same code. The reads of one pass of
    // the event loop go into the memo together, in order, as one edit: a peer
    // that floods the line then costs one layout per pass, not one per read.
    void Show(const QByteArray& bytes);

    // A peer that never stops must not eat the memory: the memo keeps about
    // its last `characters` characters (0: all).
    void SetLimit(qsizetype characters) { limit_ = characters; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowPending();

    QPlainTextEdit* memo_;
    QList<QByteArray> pending_;
    Sender send_;
    qsizetype limit_ = 0;
};

} // namespace commtools

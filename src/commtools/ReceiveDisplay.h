// The memos of the communication tools. A receive memo bound to a channel acts
// as a terminal screen: received bytes appear at the caret as a device would
// have typed them (a lone backspace deletes, a lone CR starts a line), and
// every key the surveyor types into the memo goes to the device as one byte.
// Only keystrokes are sent, never what the memo shows. A status or log memo
// shows the entries of a status log, newest at the bottom.
//
// Both run for a whole survey shift beside a device that never stops, so what
// they cost must not grow with what they already show: they keep no undo
// history, keep only their last characters, and a line that never ends is
// broken at a fixed length (a text layout is redone for the whole paragraph
// on every insert).
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class QPlainTextEdit;

namespace commtools {

// The longest paragraph a memo grows by received data before it starts a new
// one: wide enough that the break is rarely seen in text, short enough that
// laying it out again on every read stays well under a millisecond.
inline constexpr qsizetype kLongestShownLine = 1024;

// Drops the oldest text of a memo beyond about `characters` characters. Trims
// in steps of a sixteenth, so a memo at its limit is not cut on every byte.
void KeepLastCharacters(QPlainTextEdit* memo, qsizetype characters);

class ReceiveDisplay : public QObject {
    Q_OBJECT
public:
    using Sender = std::function<void(const QByteArray&)>;

    ReceiveDisplay(QPlainTextEdit* memo, Sender send);

    // One byte is a typed key; more are inserted as text without NUL bytes.
    // Each byte is the character with the same code. The reads of one refresh
    // go into the memo together, in order, as one edit: a peer that floods
    // the line then costs one edit per refresh, not one per read.
    void Show(const QByteArray& bytes);

    // A peer that never stops must not eat the memory: the memo keeps about
    // its last `characters` characters (0: all), and no more than that waits
    // to be shown.
    void SetLimit(qsizetype characters) { limit_ = characters; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowPending();

    QPlainTextEdit* memo_;
    QList<QByteArray> pending_;
    qsizetype pendingBytes_ = 0;
    Sender send_;
    qsizetype limit_ = 0;
};

// A status or log memo fed with entries ("\r\n" and the entry, as a status log
// hands them over) on the window's thread. The entries of one refresh go in as one
// edit, and no more than the memo keeps waits to be shown, so a flood of
// entries costs one edit per refresh and bounded memory.
class LogDisplay : public QObject {
    Q_OBJECT
public:
    LogDisplay(QPlainTextEdit* memo, qsizetype limit);

    void Append(const QString& lineBreakAndEntry);
    // Empties the memo, with the entries still on their way to it.
    void Clear();

private:
    void ShowPending();

    QPlainTextEdit* memo_;
    const qsizetype limit_;
    QString pending_;
    QString shown_;        // the text of the refresh under way
    bool dropped_ = false; // the oldest pending text went: the memo starts afresh
};

} // namespace commtools

// The network tool's data memo: what arrives over UDP, as a terminal screen
// shows it (a lone backspace deletes, a lone CR starts a line), and every key
// the surveyor types in it goes to the latest sender as one byte and shows
// where it was typed. A GNSS or motion sensor sends a sentence every few
// milliseconds while the memo shows three lines: a text memo laid every
// sentence out as it came, which cost the tool more than reading, logging
// and analysing it together. This view keeps the lines as plain strings and
// lays out only those it paints, as the log memo below it does.
#pragma once

#include "commtools/LogView.h"

#include <QByteArray>

#include <functional>

namespace commtools {

class DataView : public LogView {
    Q_OBJECT
    Q_PROPERTY(QString plainText READ toPlainText WRITE setPlainText)
public:
    using Sender = std::function<void(const QByteArray&)>;

    explicit DataView(QWidget* parent = nullptr);

    void SetSender(Sender send) { send_ = std::move(send); }

    // One byte is a key typed at the far end; more are text without NUL
    // bytes, a device's line end (CR LF, or a lone CR or LF) one new line.
    // Each byte is the character with the same code. A line that never ends
    // is broken at the longest shown line.
    void Show(const QByteArray& bytes);

    // Text set as a whole leaves the caret at its start, as in any memo: what
    // arrives then goes before it.
    void setPlainText(const QString& text);
    void clear();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Key(char16_t key);
    void Put(QChar character);
    // Characters without line ends, as Put each in turn.
    void PutText(QLatin1String text);
    void NewLine();
    QString& CaretLine();
    void KeepCaretInside();

    Sender send_;
    // Where the caret is, counted from the end: the lines below its line and
    // the characters after it on its line. Both are 0 once anything arrived at
    // the end of what shows, the usual place.
    qsizetype linesAfter_ = 0;
    qsizetype tail_ = 0;
    bool afterCr_ = false; // an LF that follows ends no second line
};

} // namespace commtools

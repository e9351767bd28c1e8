// The network tool's log memo. Under a busy peer the socket layer makes an
// entry for every read and datagram, each with its bytes in hex, and a text
// memo lays every one of them out as it arrives although the memo shows four
// or five lines: that layout cost the tool as much as the socket, the log
// file and the data memo together. This view keeps the entries as plain
// strings and lays out only those it paints, from the newest shown upwards,
// wrapped at the view's width as a memo wraps them.
#pragma once

#include <QAbstractScrollArea>
#include <QString>

#include <deque>

namespace commtools {

class LogView : public QAbstractScrollArea {
    Q_OBJECT
    // What automation and the form read and set, as on a text memo.
    Q_PROPERTY(QString plainText READ toPlainText WRITE setPlainText)
public:
    explicit LogView(QWidget* parent = nullptr);

    // Keeps about the newest `characters` characters of entries (0: all);
    // the oldest whole entries go first.
    void SetLimit(qsizetype characters);

    // "\r\n" and the entry, as a status log hands them over: a new line.
    void Append(const QString& lineBreakAndEntry);

    QString toPlainText() const;
    void setPlainText(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    // Drops the oldest lines beyond the limit.
    void Trim();
    // The lines changed: shown at the next refresh, however many changes come
    // before it.
    void Changed();

    // Every line with its line end counts one character more.
    std::deque<QString> lines_;
    qsizetype characters_ = 0;

private:
    void Refresh();

    qsizetype limit_ = 0;
    bool refreshPending_ = false;
};

} // namespace commtools

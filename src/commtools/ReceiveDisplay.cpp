#include "commtools/ReceiveDisplay.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

namespace commtools {
namespace {

// A memo is brought up to date at most every 20 ms: quicker than the eye
// follows, and a flood then costs one edit and one repaint a refresh instead
// of one every pass of the event loop.
constexpr int kDisplayRefreshMs = 20;

// Characters the paragraph at the caret can still take before it is broken.
qsizetype RoomInLine(const QTextCursor& cursor) {
    // A block's length counts its paragraph separator.
    return kLongestShownLine - (cursor.block().length() - 1);
}

// Inserts text whose line ends are '\n', starting a new paragraph wherever a
// line would grow past the longest shown line.
void InsertBroken(QTextCursor& cursor, QStringView text) {
    // Lines of ordinary length, as from any instrument that ends its lines,
    // go in with one insert.
    const qsizetype firstEnd = text.indexOf(QLatin1Char('\n'));
    if ((firstEnd < 0 ? text.size() : firstEnd) <= RoomInLine(cursor)) {
        bool fits = true;
        for (qsizetype start = firstEnd + 1; fits && firstEnd >= 0 && start <= text.size();) {
            qsizetype end = text.indexOf(QLatin1Char('\n'), start);
            if (end < 0) {
                end = text.size();
            }
            fits = end - start <= kLongestShownLine;
            start = end + 1;
        }
        if (fits) {
            cursor.insertText(text.toString());
            return;
        }
    }
    for (qsizetype start = 0;;) {
        const qsizetype lineEnd = text.indexOf(QLatin1Char('\n'), start);
        QStringView piece = text.mid(start, (lineEnd < 0 ? text.size() : lineEnd) - start);
        while (!piece.isEmpty()) {
            const qsizetype room = RoomInLine(cursor);
            if (room <= 0) {
                cursor.insertBlock();
                continue;
            }
            cursor.insertText(piece.left(room).toString());
            piece = piece.mid(std::min(room, piece.size()));
        }
        if (lineEnd < 0) {
            return;
        }
        cursor.insertBlock();
        start = lineEnd + 1;
    }
}

// Received text as a device means it: no NUL bytes, and a line end of a
// device (CR LF, or a lone CR or LF) is one new line. Empties `text`.
void ShowText(QTextCursor& cursor, QByteArray& text) {
    if (text.isEmpty()) {
        return;
    }
    // One pass over the bytes of a refresh, which under a flood are a few
    // thousand sentences.
    const char* bytes = text.constData();
    const qsizetype size = text.size();
    QString shown(size, Qt::Uninitialized);
    QChar* out = shown.data();
    for (qsizetype i = 0; i < size; ++i) {
        if (bytes[i] == '\0') {
            continue;
        }
        if (bytes[i] == '\r') {
            *out++ = QLatin1Char('\n');
            // NUL bytes never show, so a CR, NULs and an LF are one line end.
            qsizetype next = i + 1;
            while (next < size && bytes[next] == '\0') {
                ++next;
            }
            if (next < size && bytes[next] == '\n') {
                i = next;
            }
            continue;
        }
        *out++ = QLatin1Char(bytes[i]);
    }
    shown.truncate(out - shown.constData());
    InsertBroken(cursor, shown);
    text.clear();
}

void ScrollToEnd(QPlainTextEdit* memo) { memo->verticalScrollBar()->setValue(memo->verticalScrollBar()->maximum()); }

} // namespace

void KeepLastCharacters(QPlainTextEdit* memo, qsizetype characters) {
    QTextDocument* document = memo->document();
    const qsizetype count = document->characterCount();
    if (characters <= 0 || count <= characters + characters / 16) {
        return;
    }
    QTextCursor cut(document);
    cut.setPosition(static_cast<int>(count - characters), QTextCursor::KeepAnchor);
    cut.removeSelectedText();
}

ReceiveDisplay::ReceiveDisplay(QPlainTextEdit* memo, Sender send) : QObject(memo), memo_(memo), send_(std::move(send)) {
    memo_->setUndoRedoEnabled(false);
    memo_->installEventFilter(this);
}

void ReceiveDisplay::Show(const QByteArray& bytes) {
    if (bytes.isEmpty()) {
        return;
    }
    if (pending_.isEmpty()) {
        QTimer::singleShot(kDisplayRefreshMs, this, &ReceiveDisplay::ShowPending);
    }
    pending_.append(bytes);
    pendingBytes_ += bytes.size();
    // Reads the memo would cut again at once need not be shown at all.
    while (limit_ > 0 && pending_.size() > 1 && pendingBytes_ - pending_.front().size() >= limit_) {
        pendingBytes_ -= pending_.front().size();
        pending_.removeFirst();
    }
}

void ReceiveDisplay::ShowPending() {
    if (pending_.isEmpty()) {
        return;
    }
    pendingBytes_ = 0;
    QTextCursor cursor = memo_->textCursor();
    cursor.beginEditBlock();
    QByteArray text;
    for (const QByteArray& bytes : std::exchange(pending_, {})) {
        if (bytes.size() == 1) {
            ShowText(cursor, text);
            const auto byte = static_cast<unsigned char>(bytes[0]);
            switch (byte) {
            case '\b':
                cursor.deletePreviousChar();
                break;
            case '\r':
            case '\n':
                cursor.insertBlock();
                break;
            default:
                // Other control keys type nothing in a memo.
                if (byte == '\t' || (byte >= 0x20 && byte != 0x7F)) {
                    InsertBroken(cursor, QString(QChar(byte)));
                }
                break;
            }
        } else {
            // Reads that follow one another go in together: an NMEA stream's
            // sentences then cost one insert a refresh, not one each.
            text += bytes;
        }
    }
    ShowText(cursor, text);
    cursor.endEditBlock();
    memo_->setTextCursor(cursor);
    KeepLastCharacters(memo_, limit_);
    memo_->ensureCursorVisible();
}

bool ReceiveDisplay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == memo_ && event->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        if (!typed.isEmpty() && send_) {
            QByteArray bytes;
            for (QChar c : typed) {
                bytes.append(static_cast<char>(c.unicode() & 0xFF));
            }
            send_(bytes);
        }
    }
    return false;
}

LogDisplay::LogDisplay(QPlainTextEdit* memo, qsizetype limit) : QObject(memo), memo_(memo), limit_(limit) {
    memo_->setUndoRedoEnabled(false);
}

void LogDisplay::Append(const QString& lineBreakAndEntry) {
    if (pending_.isEmpty()) {
        QTimer::singleShot(kDisplayRefreshMs, this, &LogDisplay::ShowPending);
    }
    pending_ += lineBreakAndEntry;
    if (limit_ > 0 && pending_.size() > 2 * limit_) {
        // Only the newest `limit_` characters would stay in the memo; keep
        // them from a line start so no entry shows cut.
        const qsizetype lineStart = pending_.indexOf(QLatin1Char('\n'), pending_.size() - limit_);
        pending_.remove(0, lineStart < 1 ? pending_.size() - limit_ : lineStart - 1);
        dropped_ = true;
    }
}

void LogDisplay::Clear() {
    pending_.clear();
    dropped_ = false;
    memo_->clear();
}

void LogDisplay::ShowPending() {
    // The two buffers trade places, so neither is grown afresh every refresh.
    QString& text = shown_;
    text.swap(pending_);
    const bool dropped = std::exchange(dropped_, false);
    if (text.isEmpty()) {
        return;
    }
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (dropped) {
        // Older entries than these were never shown: a gap in the middle of the
        // memo would read as if nothing had happened there.
        memo_->clear();
        if (text.startsWith(QLatin1Char('\n'))) {
            text.remove(0, 1);
        }
    }
    QTextCursor cursor(memo_->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(text);
    KeepLastCharacters(memo_, limit_);
    // The newest entry is what the surveyor looks for.
    ScrollToEnd(memo_);
    text.resize(0);
}

} // namespace commtools

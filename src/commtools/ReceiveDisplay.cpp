#include "commtools/ReceiveDisplay.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

namespace commtools {

void KeepLastCharacters(QPlainTextEdit* memo, qsizetype characters) {
    QTextDocument* document = memo->document();
    const qsizetype count = document->characterCount();
    if (characters <= 0 || count <= characters + characters / 16)
        return;
    QTextCursor cut(document);
    cut.setPosition(static_cast<int>(count - characters), QTextCursor::KeepAnchor);
    cut.removeSelectedText();
}

ReceiveDisplay::ReceiveDisplay(QPlainTextEdit* memo, Sender send) : QObject(memo), memo_(memo), send_(std::move(send)) {
    memo_->installEventFilter(this);
}

void ReceiveDisplay::Show(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return;
    if (pending_.isEmpty())
        QMetaObject::invokeMethod(this, &ReceiveDisplay::ShowPending, Qt::QueuedConnection);
    pending_.append(bytes);
}

void ReceiveDisplay::ShowPending() {
    if (pending_.isEmpty())
        return;
    QTextCursor cursor = memo_->textCursor();
    cursor.beginEditBlock();
    for (const QByteArray& bytes : std::exchange(pending_, {})) {
        if (bytes.size() == 1) {
            const auto byte = static_cast<unsigned char>(bytes[0]);
            switch (byte) {
            case '\b':
                cursor.deletePreviousChar();
                break;
            case '\r':
            case '\n':
                cursor.insertBlock();
                break;
            case '\t':
                cursor.insertText(QStringLiteral("\t"));
                break;
            default:
                // Other control keys type nothing in a memo.
                if (byte >= 0x20 && byte != 0x7F)
                    cursor.insertText(QString(QChar(byte)));
                break;
            }
        } else {
            QByteArray text = bytes;
            text.replace('\0', QByteArray());
            // A line end of a device (CR LF, or a lone CR or LF) is one new line.
            text.replace("\r\n", "\n");
            text.replace('\r', '\n');
            cursor.insertText(QString::fromLatin1(text));
        }
    }
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
            for (QChar c : typed)
                bytes.append(static_cast<char>(c.unicode() & 0xFF));
            send_(bytes);
        }
    }
    return false;
}

} // namespace commtools

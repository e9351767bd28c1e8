#include "commtools/ReceiveDisplay.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace commtools {

ReceiveDisplay::ReceiveDisplay(QPlainTextEdit* memo, Sender send) : QObject(memo), memo_(memo), send_(std::move(send)) {
    memo_->installEventFilter(this);
}

void ReceiveDisplay::Show(const QByteArray& bytes) {
    if (bytes.isEmpty())
        return;
    QTextCursor cursor = memo_->textCursor();
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
    memo_->setTextCursor(cursor);
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

#include "commtools/DataView.h"

#include "commtools/ReceiveDisplay.h"

#include <QKeyEvent>

#include <algorithm>

namespace commtools {

DataView::DataView(QWidget* parent) : LogView(parent) { setPlainText(QString()); }

void DataView::Show(const QByteArray& bytes) {
    if (bytes.isEmpty()) {
        return;
    }
    if (bytes.size() == 1) {
        afterCr_ = false;
        Key(static_cast<unsigned char>(bytes[0]));
    } else {
        // A sentence's text goes onto its line in one piece, not byte by byte:
        // only NUL and the line ends break the run.
        qsizetype runStart = 0;
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            const char byte = bytes[i];
            if (byte != '\0' && byte != '\r' && byte != '\n') {
                continue;
            }
            if (i > runStart) {
                afterCr_ = false;
                PutText(QLatin1String(bytes.constData() + runStart, i - runStart));
            }
            runStart = i + 1;
            if (byte == '\r') {
                NewLine();
                afterCr_ = true;
            } else if (byte == '\n' && !std::exchange(afterCr_, false)) {
                NewLine();
            }
        }
        if (bytes.size() > runStart) {
            afterCr_ = false;
            PutText(QLatin1String(bytes.constData() + runStart, bytes.size() - runStart));
        }
    }
    Trim();
    KeepCaretInside();
    Changed();
}

void DataView::setPlainText(const QString& text) {
    LogView::setPlainText(text);
    afterCr_ = false;
    linesAfter_ = static_cast<qsizetype>(lines_.size()) - 1;
    tail_ = lines_.front().size();
}

void DataView::clear() { setPlainText(QString()); }

QString& DataView::CaretLine() { return lines_[lines_.size() - 1 - static_cast<std::size_t>(linesAfter_)]; }

void DataView::KeepCaretInside() {
    // Trimming may take the lines the caret stood on: it goes to the top.
    linesAfter_ = std::min(linesAfter_, static_cast<qsizetype>(lines_.size()) - 1);
    tail_ = std::min(tail_, CaretLine().size());
}

void DataView::Key(char16_t key) {
    switch (key) {
    case u'\b': {
        QString& line = CaretLine();
        if (line.size() > tail_) {
            line.remove(line.size() - tail_ - 1, 1);
            --characters_;
        } else if (static_cast<qsizetype>(lines_.size()) - 1 > linesAfter_) {
            // At the start of a line it joins the line above, as in an editor.
            const auto at = lines_.end() - 1 - linesAfter_;
            QString rest = std::move(*at);
            lines_.erase(at);
            CaretLine() += rest;
            --characters_;
        }
        break;
    }
    case u'\r':
    case u'\n':
        NewLine();
        break;
    default:
        // Other control keys type nothing in a memo.
        if (key == u'\t' || (key >= 0x20 && key != 0x7F)) {
            Put(QChar(key));
        }
        break;
    }
}

void DataView::Put(QChar character) {
    if (CaretLine().size() - tail_ >= kLongestShownLine) {
        NewLine();
    }
    QString& line = CaretLine();
    if (tail_ == 0) {
        line += character;
    } else {
        line.insert(line.size() - tail_, character);
    }
    ++characters_;
}

void DataView::PutText(QLatin1String text) {
    while (!text.isEmpty()) {
        if (CaretLine().size() - tail_ >= kLongestShownLine) {
            NewLine();
        }
        QString& line = CaretLine();
        const qsizetype room = kLongestShownLine - (line.size() - tail_);
        const QLatin1String part = text.first(std::min(room, text.size()));
        line.insert(line.size() - tail_, part);
        characters_ += part.size();
        text = text.sliced(part.size());
    }
}

void DataView::NewLine() {
    if (tail_ == 0 && linesAfter_ == 0) {
        lines_.emplace_back();
    } else {
        // What stood after the caret moves down with it.
        QString& line = CaretLine();
        QString rest = line.right(tail_);
        line.chop(tail_);
        lines_.insert(lines_.end() - linesAfter_, std::move(rest));
    }
    ++characters_;
}

void DataView::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    if (typed.isEmpty()) {
        LogView::keyPressEvent(event);
        return;
    }
    // Only keystrokes are sent, never what the memo shows.
    QByteArray bytes;
    for (const QChar c : typed) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
    }
    if (send_) {
        send_(bytes);
    }
    if (event->matches(QKeySequence::Copy)) {
        LogView::keyPressEvent(event);
        return;
    }
    afterCr_ = false;
    for (const QChar c : typed) {
        Key(c.unicode());
    }
    Trim();
    KeepCaretInside();
    Changed();
}

} // namespace commtools

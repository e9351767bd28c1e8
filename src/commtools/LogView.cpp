#include "commtools/LogView.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>
#include <QTimer>

namespace commtools {
namespace {

// New entries show at most every 20 ms: quicker than the eye follows, and a
// burst of entries then costs one scroll-bar change and one paint.
constexpr int kLogRefreshMs = 20;
constexpr int kMargin = 4;

} // namespace

LogView::LogView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The scroll bar counts entries: its value is the entry at the bottom.
    verticalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setPageStep(1);
    verticalScrollBar()->setRange(0, 0);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, viewport(), [this] { viewport()->update(); });
}

void LogView::SetLimit(qsizetype characters) {
    limit_ = characters;
    Trim();
    Refresh();
}

void LogView::Append(const QString& lineBreakAndEntry) {
    const bool broken = lineBreakAndEntry.startsWith(QLatin1String("\r\n"));
    QString entry = broken ? lineBreakAndEntry.sliced(2) : lineBreakAndEntry;
    characters_ += entry.size() + 1;
    lines_.push_back(std::move(entry));
    Trim();
    Changed();
}

void LogView::Changed() {
    if (!std::exchange(refreshPending_, true)) {
        QTimer::singleShot(kLogRefreshMs, this, &LogView::Refresh);
    }
}

void LogView::Trim() {
    while (limit_ > 0 && lines_.size() > 1 && characters_ > limit_) {
        characters_ -= lines_.front().size() + 1;
        lines_.pop_front();
    }
}

void LogView::Refresh() {
    refreshPending_ = false;
    QScrollBar* bar = verticalScrollBar();
    // A surveyor who scrolled back to read an entry keeps it in view; at the
    // end, the newest entry is what is looked for.
    const bool following = bar->value() == bar->maximum();
    const int oldMaximum = bar->maximum();
    const int maximum = lines_.empty() ? 0 : static_cast<int>(lines_.size()) - 1;
    {
        const QSignalBlocker quiet(bar);
        bar->setRange(0, maximum);
        if (following) {
            bar->setValue(maximum);
        } else {
            // Entries that fell off the top moved the one in view up.
            bar->setValue(std::max(0, bar->value() - (oldMaximum - maximum)));
        }
    }
    viewport()->update();
}

QString LogView::toPlainText() const {
    QString text;
    text.reserve(characters_);
    for (const QString& line : lines_) {
        if (&line != &lines_.front()) {
            text += QLatin1Char('\n');
        }
        text += line;
    }
    return text;
}

void LogView::setPlainText(const QString& text) {
    lines_.clear();
    characters_ = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        characters_ += line.size() + 1;
        lines_.push_back(line);
    }
    Trim();
    Refresh();
}

void LogView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    const qreal width = viewport()->width() - 2 * kMargin;
    if (lines_.empty() || width <= 0) {
        return;
    }
    QTextOption wrapping;
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    // From the entry at the scroll bar upwards until the view is full: only
    // what shows is laid out.
    qreal bottom = viewport()->height() - kMargin;
    const auto last = std::min<qsizetype>(verticalScrollBar()->value(), static_cast<qsizetype>(lines_.size()) - 1);
    for (qsizetype i = last; i >= 0 && bottom > 0; --i) {
        QTextLayout layout(lines_[static_cast<std::size_t>(i)], font(), viewport());
        layout.setTextOption(wrapping);
        layout.beginLayout();
        qreal height = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, height));
            height += line.height();
        }
        layout.endLayout();
        bottom -= height;
        layout.draw(&painter, QPointF(kMargin, bottom));
    }
}

void LogView::keyPressEvent(QKeyEvent* event) {
    // The log is for sending in: Ctrl+C takes every entry the view keeps.
    if (event->matches(QKeySequence::Copy)) {
        QApplication::clipboard()->setText(toPlainText());
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

} // namespace commtools

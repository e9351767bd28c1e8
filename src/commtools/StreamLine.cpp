#include "commtools/StreamLine.h"

#include <QFontMetrics>
#include <QLabel>

namespace commtools {

namespace {

std::string_view View(const QByteArray& bytes) {
    return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace

void StreamLine::Start() {
    streams_.Reset(StreamMonitor::Clock::now());
    running_ = true;
    Refresh();
}

void StreamLine::Stop() {
    running_ = false;
    label_->clear();
    label_->setToolTip(QString());
}

void StreamLine::FeedFrom(quint64 connection, const QByteArray& bytes) {
    if (running_) {
        streams_.Feed(connection, View(bytes), StreamMonitor::Clock::now());
    }
}

void StreamLine::FeedDatagram(const QByteArray& bytes) {
    if (running_) {
        streams_.FeedRecord(0, View(bytes), StreamMonitor::Clock::now());
    }
}

void StreamLine::End(quint64 connection) { streams_.End(connection); }

void StreamLine::Refresh() {
    if (!running_) {
        return;
    }
    const StreamSummary summary = streams_.Summarize(StreamMonitor::Clock::now());
    const QFontMetrics metrics = label_->fontMetrics();
    const int width = label_->width();
    QString shown = QString::fromStdString(summary.Fitted(
        [&](const std::string& line) { return metrics.horizontalAdvance(QString::fromStdString(line)) <= width; }));
    // Even the fix and GGA alone overflow a very narrow window: cut the end.
    shown = metrics.elidedText(shown, Qt::ElideRight, width);
    label_->setText(shown);
    QString whole = QString::fromStdString(summary.Whole());
    if (!summary.sinceOpened.empty()) {
        whole += QLatin1Char('\n') + QString::fromStdString(summary.sinceOpened);
    }
    label_->setToolTip(whole);
}

} // namespace commtools

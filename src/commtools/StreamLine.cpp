#include "commtools/StreamLine.h"

#include <QFontMetrics>
#include <QLabel>

namespace commtools {

void StreamLine::Start() {
    monitor_.Reset(StreamMonitor::Clock::now());
    running_ = true;
    Refresh();
}

void StreamLine::Stop() {
    running_ = false;
    label_->clear();
    label_->setToolTip(QString());
}

void StreamLine::Feed(const QByteArray& bytes) {
    if (running_) {
        monitor_.Feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                      StreamMonitor::Clock::now());
    }
}

void StreamLine::Refresh() {
    if (!running_) {
        return;
    }
    const QString summary = QString::fromStdString(monitor_.Summary(StreamMonitor::Clock::now()));
    const QString shown = label_->fontMetrics().elidedText(summary, Qt::ElideMiddle, label_->width());
    label_->setText(shown);
    label_->setToolTip(shown == summary ? QString() : summary);
}

} // namespace commtools

#include "kit/ChartZoom.h"

#include "kit/ChartView.h"

#include <QMouseEvent>
#include <QRubberBand>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace kit {

namespace {

// Zoom per wheel notch, and how long a run of notches counts as one undo step.
constexpr double kWheelZoomPerNotch = 0.8;
constexpr qint64 kWheelStepMs = 800;

// A middle click that moves less than this is a click, not a zoom rectangle.
constexpr int kMinimumBand = 4;

} // namespace

QRect ZoomBand(const QPoint& from, const QPoint& to, const QRectF& plot) {
    const double aspect = plot.height() > 0 ? plot.width() / plot.height() : 1.0;
    const double dx = to.x() - from.x();
    const double dy = to.y() - from.y();
    const double w = std::max(std::abs(dx), std::abs(dy) * aspect);
    const double h = w / aspect;
    const QPointF corner(from.x() + (dx < 0 ? -w : w), from.y() + (dy < 0 ? -h : h));
    return QRectF(QPointF(from), corner).normalized().toRect();
}

QRectF WheelZoom(const QRectF& range, const QPointF& centre, double notches) {
    const double factor = std::pow(kWheelZoomPerNotch, notches);
    return QRectF(
        QPointF(centre.x() + (range.left() - centre.x()) * factor, centre.y() + (range.top() - centre.y()) * factor),
        QPointF(centre.x() + (range.right() - centre.x()) * factor,
                centre.y() + (range.bottom() - centre.y()) * factor));
}

ChartZoom::ChartZoom(ChartView* view) : view_(view), band_(new QRubberBand(QRubberBand::Rectangle, view)) {}

void ChartZoom::ZoomTo(const QRectF& valueRect) {
    const QRectF target = valueRect.normalized();
    if (!(target.width() > 0) || !(target.height() > 0)) {
        return;
    }
    history_.push_back(view_->AxisRange());
    lastWheel_.invalidate();
    view_->ShowRange(target);
}

void ChartZoom::Undo() {
    if (history_.empty()) {
        return;
    }
    const QRectF previous = history_.back();
    history_.pop_back();
    lastWheel_.invalidate();
    // Back at the first step the axes follow the points again, which may have
    // changed while the user looked closer.
    view_->ShowRange(history_.empty() ? view_->AutoRange() : previous);
}

void ChartZoom::Reset() {
    history_.clear();
    lastWheel_.invalidate();
    view_->ShowRange(view_->AutoRange());
}

bool ChartZoom::Press(const QMouseEvent& event) {
    if (event.button() == Qt::MiddleButton) {
        dragging_ = true;
        bandOrigin_ = event.position().toPoint();
        band_->setGeometry(QRect(bandOrigin_, QSize()));
        band_->show();
        return true;
    }
    if (event.button() == Qt::RightButton) {
        Undo();
        return true;
    }
    return false;
}

bool ChartZoom::Move(const QMouseEvent& event) {
    if (!dragging_) {
        return false;
    }
    band_->setGeometry(ZoomBand(bandOrigin_, event.position().toPoint(), view_->PlotArea()));
    return true;
}

bool ChartZoom::Release(const QMouseEvent& event) {
    if (dragging_ && event.button() == Qt::MiddleButton) {
        dragging_ = false;
        band_->hide();
        const QRect rect = ZoomBand(bandOrigin_, event.position().toPoint(), view_->PlotArea());
        if (rect.width() < kMinimumBand && rect.height() < kMinimumBand) {
            Undo();
        } else {
            ZoomTo(QRectF(view_->ToValue(rect.topLeft()), view_->ToValue(rect.bottomRight())));
        }
        return true;
    }
    // The right button's press undid a step; its release is no click on the chart.
    return event.button() == Qt::RightButton;
}

void ChartZoom::Wheel(const QWheelEvent& event) {
    const double notches = event.angleDelta().y() / 120.0;
    if (notches == 0.0) {
        return;
    }
    const QRectF range = view_->AxisRange();
    QPointF centre = view_->ToValue(event.position());
    if (!range.contains(centre)) {
        centre = range.center();
    }
    const QRectF target = WheelZoom(range, centre, notches);
    // A turn of the wheel is one step of the history, however many notches.
    if (!lastWheel_.isValid() || lastWheel_.elapsed() > kWheelStepMs) {
        history_.push_back(range);
    }
    lastWheel_.start();
    view_->ShowRange(target);
}

} // namespace kit

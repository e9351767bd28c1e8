// Zoom on a chart view: drag a rectangle with the middle mouse button (it
// keeps the plot's aspect ratio); a right click, or a middle click without
// dragging, undoes the last zoom step; the wheel zooms in and out about the
// pointer and never pans. The history holds the range before each step.
#pragma once

#include <QElapsedTimer>
#include <QPoint>
#include <QRect>
#include <QRectF>

#include <vector>

class QMouseEvent;
class QRubberBand;
class QWheelEvent;

namespace kit {

class ChartView;

// The rectangle a middle-button drag from `from` to `to` zooms to, in view
// pixels: it keeps the proportions of `plot`, so a zoom enlarges both axes by
// the same factor and a slope keeps its look.
QRect ZoomBand(const QPoint& from, const QPoint& to, const QRectF& plot);

// The range after turning the wheel `notches` notches (positive: in) about
// `centre`, which stays where it is.
QRectF WheelZoom(const QRectF& range, const QPointF& centre, double notches);

class ChartZoom {
public:
    explicit ChartZoom(ChartView* view);

    bool IsZoomed() const { return !history_.empty(); }
    int Steps() const { return static_cast<int>(history_.size()); }
    void ZoomTo(const QRectF& valueRect);
    void Undo();
    void Reset();

    // The gestures: each returns true when the event was one of the zoom's
    // and is not to be handed on to the chart.
    bool Press(const QMouseEvent& event);
    bool Move(const QMouseEvent& event);
    bool Release(const QMouseEvent& event);
    void Wheel(const QWheelEvent& event);

private:
    ChartView* view_;
    std::vector<QRectF> history_; // the range before each step
    QElapsedTimer lastWheel_;     // wheel notches close together make one undo step
    QRubberBand* band_ = nullptr; // owned by the view
    QPoint bandOrigin_;
    bool dragging_ = false;
};

} // namespace kit

#include "lineplan/PlanDiagramView.h"

#include "kit/WindowParts.h"

#include <QPainter>

namespace lineplan {

namespace {

QRect ToRect(const PixelRect& r) { return {QPoint(r.left, r.top), QPoint(r.right, r.bottom)}; }

} // namespace

PlanDiagramView::PlanDiagramView(QWidget* parent) : QWidget(parent) {}

void PlanDiagramView::SetDiagrams(const std::optional<PlannerDiagrams>& diagrams) {
    diagrams_ = diagrams;
    update();
}

void PlanDiagramView::paintEvent(QPaintEvent*) {
    if (!diagrams_) {
        return;
    }
    const PlannerDiagrams& d = *diagrams_;
    QPainter painter(this);
    // Hatch lines keep their phase on the layout's pixel grid, as they were always drawn.
    painter.setBrushOrigin(-pos());
    // The outline's last column and row are the frame's right and bottom
    // (a pen of one pixel strokes a rectangle one pixel beyond its width), so
    // the introduction panel, of the frame's size, hides it whole.
    const QRect frame(d.frame.left, d.frame.top, d.frame.right - d.frame.left, d.frame.bottom - d.frame.top);
    painter.setPen(Qt::black);
    painter.setBrush(kit::kCream);
    painter.drawRect(frame);
    painter.drawLine(d.frame.left, d.divider, d.frame.right, d.divider);
    // Nothing a scale makes of a strange plan draws outside the frame.
    painter.setClipRect(frame.adjusted(1, 1, 0, 0));
    const QBrush crossHatch(Qt::yellow, Qt::DiagCrossPattern);
    const auto arrowRight = [&](QPoint tip) {
        painter.drawLine(tip, tip + QPoint(-10, -5));
        painter.drawLine(tip + QPoint(-10, -5), tip + QPoint(-5, 0));
        painter.drawLine(tip + QPoint(-5, 0), tip + QPoint(-10, 5));
        painter.drawLine(tip + QPoint(-10, 5), tip);
    };
    const auto arrowUp = [&](QPoint tip) {
        painter.drawLine(tip, tip + QPoint(-5, 10));
        painter.drawLine(tip + QPoint(-5, 10), tip + QPoint(0, 5));
        painter.drawLine(tip + QPoint(0, 5), tip + QPoint(5, 10));
        painter.drawLine(tip + QPoint(5, 10), tip);
    };
    // Along track: four footprints a ping apart on the survey line.
    painter.drawLine(25, 50, 249, 50);
    arrowRight(QPoint(249, 50));
    if (d.footprints) {
        painter.setBrush(crossHatch);
        for (const PixelRect& footprint : *d.footprints) {
            painter.drawEllipse(ToRect(footprint));
        }
    }
    // Across track: two survey lines a line spacing apart with their swaths.
    if (d.lineOffset) {
        const int p = *d.lineOffset;
        if (d.overlap) {
            painter.setPen(kit::kCream);
            painter.setBrush(crossHatch);
            painter.drawRect(ToRect(*d.overlap));
        }
        for (const int line : {75, 75 + p}) {
            painter.setPen(Qt::black);
            painter.drawLine(line, 305, line, 160);
            arrowUp(QPoint(line, 160));
        }
        painter.setPen(Qt::red);
        painter.drawLine(25, 305, 25, 160);
        painter.drawLine(125, 305, 125, 160);
        painter.setPen(Qt::blue);
        painter.drawLine(25 + p, 305, 25 + p, 160);
        painter.drawLine(125 + p, 305, 125 + p, 160);
    }
}

} // namespace lineplan

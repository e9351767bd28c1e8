#include "coverage/SwathView.h"

#include "kit/WindowParts.h"

#include <QPainter>
#include <QPolygon>

namespace coverage {

namespace {

QPoint ToPoint(const PicturePoint& p) { return {p.x, p.y}; }

// The water: the desktop's gradient colour of an inactive caption.
const QColor kWater(215, 228, 242);
const QColor kSeabedColour = kit::kPaleGreen;

} // namespace

SwathView::SwathView(QWidget* parent) : QWidget(parent) {}

void SwathView::SetPicture(const SwathPicture& picture) {
    picture_ = picture;
    update();
}

void SwathView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Hatch lines keep their phase on the layout's pixel grid, as they were always drawn.
    painter.setBrushOrigin(-pos());
    painter.setPen(Qt::black);
    // A rectangle's outline ends one pixel inside its bottom-right corner, as a
    // pen of one pixel strokes it around the rectangle's width and height.
    const auto rect = [](const PictureRect& r) {
        return QRect(r.topLeft.x, r.topLeft.y, r.bottomRight.x - r.topLeft.x - 1, r.bottomRight.y - r.topLeft.y - 1);
    };
    painter.setBrush(kWater);
    painter.drawRect(rect(picture_.water));
    painter.setBrush(kSeabedColour);
    painter.drawRect(rect(picture_.seabed));
    painter.setBrush(Qt::black);
    for (const auto& head : picture_.heads) {
        QPolygon bar;
        for (const PicturePoint& p : head) {
            bar << ToPoint(p);
        }
        painter.drawPolygon(bar);
    }
    // Hatches are open between their lines: the water, and where two fans
    // overlap the other fan, show through.
    for (const SwathFan& fan : picture_.fans) {
        QPolygon outline;
        for (const PicturePoint& p : fan.points) {
            outline << ToPoint(p);
        }
        const bool red = fan.hatch == FanHatch::RedRising;
        painter.setBrush(
            QBrush(red ? QColor(255, 0, 0) : QColor(0, 128, 0), red ? Qt::BDiagPattern : Qt::FDiagPattern));
        painter.drawPolygon(outline);
    }
}

} // namespace coverage

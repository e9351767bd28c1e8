#include "lineplan/SurveyPlanView.h"

#include "common/NumberFormat.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace lineplan {

namespace {

const QColor kPaper(255, 255, 250);
const QColor kInk(20, 20, 20);
const QColor kGridLine(205, 205, 205);
const QColor kWater(170, 205, 240, 110); // the grid shows through
const QColor kEdge(0, 0, 128);
const QColor kLine(176, 16, 16);

// 1, 2 or 5 times a power of ten, the smallest at least `value`.
double RoundStep(double value) {
    const double power = std::pow(10.0, std::floor(std::log10(value)));
    for (const double step : {1.0, 2.0, 5.0, 10.0}) {
        if (step * power >= value) {
            return step * power;
        }
    }
    return 10 * power;
}

QString Distance(double metres) {
    return metres >= 1000 ? QString::fromStdString(common::FormatGeneral(metres / 1000)) + QStringLiteral(" km")
                          : QString::fromStdString(common::FormatGeneral(metres)) + QStringLiteral(" m");
}

} // namespace

SurveyPlanView::SurveyPlanView(QWidget* parent) : QWidget(parent) { setMinimumSize(240, 200); }

void SurveyPlanView::SetPlan(std::vector<surveylines::Point> area, std::vector<surveylines::SurveyLine> lines) {
    area_ = std::move(area);
    lines_ = std::move(lines);
    update();
}

void SurveyPlanView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kPaper);
    painter.setPen(kInk);
    QFont small = font();
    small.setPixelSize(11);
    painter.setFont(small);
    const QFontMetrics metrics(small);

    const QRect plot =
        rect().adjusted(metrics.horizontalAdvance(QStringLiteral("0000000")) + 10, 12, -16, -(metrics.height() + 10));
    double left = HUGE_VAL, right = -HUGE_VAL, bottom = HUGE_VAL, top = -HUGE_VAL;
    const auto take = [&](const surveylines::Point& p) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        bottom = std::min(bottom, p.y);
        top = std::max(top, p.y);
    };
    std::for_each(area_.begin(), area_.end(), take);
    for (const surveylines::SurveyLine& line : lines_) {
        take(line.start);
        take(line.end);
    }
    if (area_.size() < 3 || plot.width() < 20 || plot.height() < 20 || !(right - left + top - bottom > 0)) {
        return;
    }
    // One scale both ways, the area in the middle of the plot.
    const double span = std::max(right - left, top - bottom) * 1e-9 + 1e-9;
    const double scale =
        std::min(plot.width() / std::max(right - left, span), plot.height() / std::max(top - bottom, span));
    const double midX = (left + right) / 2, midY = (bottom + top) / 2;
    const QPointF centre = QRectF(plot).center();
    const auto at = [&](const surveylines::Point& p) {
        return QPointF(centre.x() + (p.x - midX) * scale, centre.y() - (p.y - midY) * scale);
    };
    const double westEdge = midX - (centre.x() - plot.left()) / scale;
    const double eastEdge = midX + (plot.right() - centre.x()) / scale;
    const double southEdge = midY - (plot.bottom() - centre.y()) / scale;
    const double northEdge = midY + (centre.y() - plot.top()) / scale;

    // The grid, at a round step some 90 pixels apart, its figures outside the plot.
    const double step = RoundStep(90 / scale);
    painter.setPen(QPen(kGridLine, 1));
    for (double e = std::ceil(westEdge / step) * step; e <= eastEdge; e += step) {
        const double x = at({e, 0}).x();
        painter.setPen(QPen(kGridLine, 1));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        painter.setPen(kInk);
        const QString text = QString::fromStdString(common::FormatGeneral(e));
        painter.drawText(QPointF(x - metrics.horizontalAdvance(text) / 2.0, plot.bottom() + metrics.ascent() + 4),
                         text);
    }
    for (double n = std::ceil(southEdge / step) * step; n <= northEdge; n += step) {
        const double y = at({0, n}).y();
        painter.setPen(QPen(kGridLine, 1));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(kInk);
        const QString text = QString::fromStdString(common::FormatGeneral(n));
        painter.drawText(QPointF(plot.left() - metrics.horizontalAdvance(text) - 4, y + metrics.ascent() / 2.0), text);
    }
    painter.setPen(QPen(kInk, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);

    painter.setRenderHint(QPainter::Antialiasing);
    QPolygonF outline;
    for (const surveylines::Point& corner : area_) {
        outline << at(corner);
    }
    painter.setPen(QPen(kEdge, 1.5));
    painter.setBrush(kWater);
    painter.drawPolygon(outline);

    // Thousands of lines are drawn in one call, without smoothing: a survey's
    // worth stays within a keystroke's time.
    std::vector<QLineF> segments;
    segments.reserve(lines_.size());
    for (const surveylines::SurveyLine& line : lines_) {
        segments.emplace_back(at(line.start), at(line.end));
    }
    painter.setRenderHint(QPainter::Antialiasing, lines_.size() < 400);
    painter.setPen(QPen(kLine, 1));
    painter.drawLines(segments.data(), int(segments.size()));

    // Numbers and start arrows on as many lines as can carry them legibly:
    // every line where they stand apart, every few where they would overlap.
    painter.setRenderHint(QPainter::Antialiasing);
    double trackPixels = HUGE_VAL;
    for (std::size_t i = 1; i < lines_.size(); ++i) {
        if (lines_[i].track != lines_[i - 1].track) {
            const auto& a = lines_[i - 1];
            const auto& b = lines_[i];
            const double dx = b.start.x - a.start.x, dy = b.start.y - a.start.y;
            const double ux = std::sin(a.heading * M_PI / 180), uy = std::cos(a.heading * M_PI / 180);
            trackPixels = std::min(trackPixels, std::abs(dx * uy - dy * ux) * scale);
        }
    }
    const std::size_t every = std::isfinite(trackPixels)
                                  ? std::max<std::size_t>(1, std::size_t(std::ceil(16 / std::max(trackPixels, 1e-3))))
                                  : 1;
    painter.setBrush(kLine);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const surveylines::SurveyLine& line = lines_[i];
        if (line.track % every != 0 && i + 1 != lines_.size()) {
            continue;
        }
        const QPointF start = at(line.start);
        const QPointF end = at(line.end);
        const QLineF direction(start, end);
        if (direction.length() < 1) {
            continue;
        }
        const QPointF unit = (end - start) / direction.length();
        const QPointF side(-unit.y(), unit.x());
        QPolygonF arrow;
        arrow << start + unit * 9 << start + side * 4 << start - side * 4;
        painter.setPen(Qt::NoPen);
        painter.drawPolygon(arrow);
        painter.setPen(kLine);
        const QString number = QString::number(line.number);
        const QPointF label = start - unit * 10;
        painter.drawText(QRectF(label.x() - 20, label.y() - 8, 40, 16), Qt::AlignCenter, number);
    }

    // The scale bar, a round length near a quarter of the plot, at its foot.
    painter.setRenderHint(QPainter::Antialiasing, false);
    const double barMetres = RoundStep(plot.width() / 4.0 / scale) / 2;
    const double barPixels = barMetres * scale;
    const QPointF foot(plot.left() + 12, plot.bottom() - 12);
    painter.setPen(QPen(kInk, 1));
    painter.fillRect(QRectF(foot.x(), foot.y() - 4, barPixels / 2, 4), kInk);
    painter.fillRect(QRectF(foot.x() + barPixels / 2, foot.y() - 4, barPixels / 2, 4), Qt::white);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(foot.x(), foot.y() - 4, barPixels, 4));
    painter.drawText(QPointF(foot.x(), foot.y() - 8), QStringLiteral("0"));
    const QString barText = Distance(barMetres);
    painter.drawText(QPointF(foot.x() + barPixels - metrics.horizontalAdvance(barText), foot.y() - 8), barText);

    // Grid north, at the plot's top right.
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF tip(plot.right() - 22, plot.top() + 10);
    QPolygonF north;
    north << tip << tip + QPointF(7, 24) << tip + QPointF(0, 18) << tip + QPointF(-7, 24);
    painter.setPen(QPen(kInk, 1));
    painter.setBrush(kInk);
    painter.drawPolygon(north);
    QFont bold = small;
    bold.setBold(true);
    painter.setFont(bold);
    painter.drawText(QRectF(tip.x() - 10, tip.y() + 24, 20, 16), Qt::AlignCenter, QStringLiteral("N"));
}

} // namespace lineplan

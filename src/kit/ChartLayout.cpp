#include "kit/ChartLayout.h"

#include "kit/ChartScale.h"

#include <algorithm>
#include <cmath>

namespace kit {

namespace {

// Margins around the chart's contents, before any room for titles.
constexpr double kMarginLeft = 4;
constexpr double kMarginTop = 6;
constexpr double kMarginRight = 8;
constexpr double kMarginBottom = 2;
// Label widths are rounded up to this, so the plot edge does not creep by a
// pixel each time a label changes.
constexpr double kLabelWidthStep = 8;

// Roughly how many pixels apart the axis labels may sit before they crowd.
constexpr double kPixelsPerXTick = 70.0;
constexpr double kPixelsPerYTick = 30.0;

// The legend's layout: room around it, the line sample and the gaps.
constexpr double kLegendLeft = 10;
constexpr double kLegendTop = 12;
constexpr double kLegendRight = 8;
constexpr double kLegendRowGap = 2;
constexpr double kLegendSample = 10;
constexpr double kLegendSampleGap = 5;
constexpr double kLegendSpacing = 10;

double RoundUp(double width) { return std::ceil(width / kLabelWidthStep) * kLabelWidthStep; }

} // namespace

ChartLayout LayOutChart(const ChartLayoutInput& input) {
    const QRectF range = input.range;
    const QSizeF size = input.size;
    const double titleRoom = input.titleLines.isEmpty() ? 0.0 : input.titleHeight * double(input.titleLines.size()) + 2;
    const double yTitleRoom = input.leftTitle.isEmpty() ? 0.0 : input.axisTitleHeight + 2;
    const double xTitleRoom = input.bottomTitle.isEmpty() ? 0.0 : input.axisTitleHeight + 2;

    QRectF plot = input.lastPlot.isEmpty() ? QRectF(QPointF(40, 10), size - QSizeF(50, 30)) : input.lastPlot;
    Ticks xTicks;
    Ticks yTicks;
    std::vector<double> xWidths;
    std::vector<double> yWidths;
    for (int round = 0; round < 2; ++round) {
        xTicks = MakeTicks(range.left(), range.right(), plot.width() / kPixelsPerXTick);
        yTicks = MakeTicks(range.top(), range.bottom(), plot.height() / kPixelsPerYTick);
        yWidths.clear();
        double yLabelWidth = 0;
        for (const QString& text : yTicks.texts) {
            yWidths.push_back(input.measure(ChartText::Label, text));
            yLabelWidth = std::max(yLabelWidth, yWidths.back());
        }
        xWidths.clear();
        double xLabelHalf = 0;
        for (const QString& text : xTicks.texts) {
            xWidths.push_back(input.measure(ChartText::Label, text));
            xLabelHalf = std::max(xLabelHalf, xWidths.back() / 2);
        }
        const double left =
            kMarginLeft + (input.titleRotated ? titleRoom : 0.0) + yTitleRoom + RoundUp(yLabelWidth) + kChartTickRoom;
        const double top = kMarginTop + (input.titleRotated ? 0.0 : titleRoom);
        const double right = size.width() - std::max(kMarginRight, RoundUp(xLabelHalf) + 2);
        const double bottom = size.height() - kMarginBottom - xTitleRoom - input.labelHeight - kChartTickRoom;
        plot = QRectF(QPointF(left, top), QPointF(std::max(right, left + 10), std::max(bottom, top + 10)));
    }
    ChartLayout out;
    // A plot the same to within rounding stays as it was, so the lines mapped
    // into it are not laid out again.
    out.plot = plot != input.lastPlot ? plot : input.lastPlot;
    const QRectF& p = out.plot;

    // Lines on whole pixels: without anti-aliasing they stay one crisp pixel.
    const QRect frame(QPoint(int(std::floor(p.left())), int(std::floor(p.top()))),
                      QPoint(int(std::floor(p.right())), int(std::floor(p.bottom()))));
    out.frame = frame;
    const auto xPixel = [&](double value) {
        return int(std::floor(p.left() + (value - range.left()) / range.width() * p.width()));
    };
    const auto yPixel = [&](double value) {
        return int(std::floor(p.bottom() - (value - range.top()) / range.height() * p.height()));
    };
    const int tick = int(kChartTickRoom) - 2;
    // One-pixel rectangles where a cosmetic pen would have drawn the lines: the
    // frame covers its right and bottom edge too, a tick mark both its ends.
    out.outline = {QRect(frame.left(), frame.top(), frame.width() + 1, 1),
                   QRect(frame.left(), frame.bottom() + 1, frame.width() + 1, 1),
                   QRect(frame.left(), frame.top(), 1, frame.height() + 1),
                   QRect(frame.right() + 1, frame.top(), 1, frame.height() + 1)};
    for (std::size_t i = 0; i < xTicks.values.size(); ++i) {
        const int x = xPixel(xTicks.values[i]);
        if (x > frame.left() && x < frame.right()) {
            out.grid.append(QRect(x, frame.top() + 1, 1, frame.height() - 1));
        }
        out.outline.append(QRect(x, frame.bottom(), 1, tick + 1));
        out.texts.push_back(
            {ChartText::Label, xTicks.texts[i], QPointF(x - xWidths[i] / 2, p.bottom() + kChartTickRoom)});
    }
    for (std::size_t i = 0; i < yTicks.values.size(); ++i) {
        const int y = yPixel(yTicks.values[i]);
        if (y > frame.top() && y < frame.bottom()) {
            out.grid.append(QRect(frame.left() + 1, y, frame.width() - 1, 1));
        }
        out.outline.append(QRect(frame.left() - tick, y, tick + 1, 1));
        out.texts.push_back({ChartText::Label, yTicks.texts[i],
                             QPointF(p.left() - kChartTickRoom - yWidths[i], y - input.labelHeight / 2)});
    }
    if (!input.bottomTitle.isEmpty()) {
        const double width = input.measure(ChartText::BottomTitle, input.bottomTitle);
        out.texts.push_back(
            {ChartText::BottomTitle, input.bottomTitle,
             QPointF(p.center().x() - width / 2, size.height() - kMarginBottom - input.axisTitleHeight)});
    }
    if (!input.leftTitle.isEmpty()) {
        const double width = input.measure(ChartText::LeftTitle, input.leftTitle);
        const double x = kMarginLeft + (input.titleRotated ? titleRoom : 0.0);
        out.texts.push_back({ChartText::LeftTitle, input.leftTitle, QPointF(x, p.center().y() + width / 2)});
    }
    for (qsizetype i = 0; i < input.titleLines.size(); ++i) {
        const double length = input.measure(ChartText::Title, input.titleLines[i]);
        const double line = input.titleHeight * double(i);
        QPointF at;
        if (input.titleRotated) {
            // Turned a quarter back, the text runs up the left edge; the first
            // line is the outermost, and "left" is the bottom, where reading
            // starts.
            double bottom = p.bottom();
            if (input.titleAlignment & Qt::AlignHCenter) {
                bottom = p.center().y() + length / 2;
            } else if (input.titleAlignment & Qt::AlignRight) {
                bottom = p.top() + length;
            }
            at = QPointF(kMarginLeft + line, bottom);
        } else {
            double left = p.left();
            if (input.titleAlignment & Qt::AlignHCenter) {
                left = p.center().x() - length / 2;
            } else if (input.titleAlignment & Qt::AlignRight) {
                left = p.right() - length;
            }
            at = QPointF(left, kMarginTop + line);
        }
        out.texts.push_back({ChartText::Title, input.titleLines[i], at + input.titleOffset});
    }
    return out;
}

LegendFlow FlowLegend(const LegendFlowInput& input) {
    const double rowHeight = input.textHeight + kLegendRowGap;
    const double left = input.origin.x() + kLegendLeft;
    const double right = input.right - kLegendRight;
    double x = left;
    double y = input.origin.y() + kLegendTop;
    LegendFlow flow;
    for (const double textWidth : input.widths) {
        const double width = kLegendSample + kLegendSampleGap + textWidth;
        if (x > left && x + width > right) {
            x = left;
            y += rowHeight;
        }
        const double middle = y + input.textHeight / 2;
        flow.entries.push_back({QLineF(x, middle, x + kLegendSample, middle),
                                QPointF(x + kLegendSample + kLegendSampleGap, y),
                                QRectF(x, y, width, input.textHeight)});
        x += width + kLegendSpacing;
    }
    flow.bottom = flow.entries.empty() ? input.origin.y() : y + rowHeight;
    return flow;
}

} // namespace kit

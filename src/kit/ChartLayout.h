// Where a chart's parts go, free of any drawing: the plot area inside the
// margins, tick labels and titles, the grid and tick marks on whole pixels, and
// the rows of the legend over the top of the plot. The chart view measures its
// texts, hands the widths in, and draws what comes out.
#pragma once

#include <QLineF>
#include <QList>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace kit {

// Tick marks reach this far out of the plot; labels sit beyond them.
inline constexpr double kChartTickRoom = 6;

// Which of the chart's fonts a text is set in, and so how it is measured.
enum class ChartText {
    Label,       // a tick label
    BottomTitle, // the bottom axis title
    LeftTitle,   // the left axis title, reading upward
    Title,       // a line of the chart's title
};

struct ChartLayoutInput {
    QSizeF size;     // the whole chart
    QRectF range;    // the axes' values, (x min, y min) to (x max, y max)
    QRectF lastPlot; // the plot of the last layout; empty after a resize or at first
    // The width of `words` in the font of `role`.
    std::function<double(ChartText role, const QString& words)> measure;
    double labelHeight = 0.0;     // line height of the tick labels' font
    double axisTitleHeight = 0.0; // line height of the axis titles' font
    double titleHeight = 0.0;     // line height of the title's font
    QString bottomTitle;          // empty: no bottom axis title
    QString leftTitle;            // empty: no left axis title
    QStringList titleLines;
    Qt::Alignment titleAlignment = Qt::AlignHCenter;
    bool titleRotated = false; // reads upward along the left edge; "left" is then the bottom
    QPointF titleOffset;
};

// A text as placed: its top left, or with an upward text its bottom left.
struct PlacedText {
    ChartText role;
    QString words;
    QPointF at;
};

struct ChartLayout {
    QRectF plot;                   // the plot area; the last plot when the new one is the same to within rounding
    QRect frame;                   // the plot's frame on whole pixels: its right and bottom edges lie one pixel out
    QList<QRect> grid;             // one-pixel rectangles inside the frame, at the ticks
    QList<QRect> outline;          // one-pixel rectangles: the frame's four sides and the tick marks
    std::vector<PlacedText> texts; // x labels, y labels, axis titles, title lines: in drawing order
};

// The tick spacing depends on the plot's size and the plot's left edge on the
// widest tick label: the layout starts from the last plot and settles in two
// rounds, so a chart laid out again with the same input keeps its plot.
ChartLayout LayOutChart(const ChartLayoutInput& input);

// The legend over the top of the plot: one row of entries from the left, a
// new row where the next entry would pass the plot's right edge.
struct LegendFlowInput {
    QPointF origin;             // the legend's top-left corner: the plot's, moved by the legend offset
    double right = 0.0;         // the right edge of the room the legend may use
    double textHeight = 0.0;    // line height of the legend's font
    std::vector<double> widths; // each entry's text width, in order
};

struct LegendFlowEntry {
    QLineF sample;  // the short line in the series' pen
    QPointF textAt; // top left of the text
    QRectF place;   // sample and text together
};

struct LegendFlow {
    std::vector<LegendFlowEntry> entries;
    double bottom = 0.0; // the lowest row's bottom, gap included; the origin's y without entries
};

LegendFlow FlowLegend(const LegendFlowInput& input);

} // namespace kit

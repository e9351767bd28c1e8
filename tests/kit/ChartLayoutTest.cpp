#include "kit/ChartLayout.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace chart_layout_test {

using kit::ChartLayoutInput;
using kit::ChartText;
using kit::LayOutChart;

namespace {

// Every character 6 pixels wide, axis titles 7, title characters 9; lines 12,
// 14 and 16 pixels high: round figures that show which room each part takes.
ChartLayoutInput Chart(double width, double height) {
    ChartLayoutInput input;
    input.size = QSizeF(width, height);
    input.range = QRectF(QPointF(0, 0), QPointF(100, 10));
    input.measure = [](ChartText role, const QString& words) {
        const double perCharacter = role == ChartText::Title ? 9.0 : role == ChartText::Label ? 6.0 : 7.0;
        return perCharacter * double(words.size());
    };
    input.labelHeight = 12;
    input.axisTitleHeight = 14;
    input.titleHeight = 16;
    return input;
}

std::vector<kit::PlacedText> Texts(const kit::ChartLayout& layout, ChartText role) {
    std::vector<kit::PlacedText> texts;
    std::copy_if(layout.texts.begin(), layout.texts.end(), std::back_inserter(texts),
                 [role](const kit::PlacedText& text) { return text.role == role; });
    return texts;
}

} // namespace

// The plot takes what the margins, the widest tick labels and the titles leave.
// Left: 4 margin, the y labels ("10" is 12 wide, rounded up to 16), 6 tick room.
// Right: half the widest x label ("100": 9, rounded up to 16) and 2, or the 8
// margin. Top: 6 margin. Bottom: 2 margin, 12 label height, 6 tick room.
TEST(ChartLayout, PlotTakesWhatTheMarginsLabelsAndTitlesLeave) {
    struct Case {
        const char* why;
        const char* bottomTitle;
        const char* leftTitle;
        int titleLines;
        bool rotated;
        QRectF plot;
    };
    const Case cases[] = {
        {"labels only", "", "", 0, false, QRectF(QPointF(26, 6), QPointF(582, 380))},
        {"a bottom axis title lifts the plot by its line and 2", "Depth (m)", "", 0, false,
         QRectF(QPointF(26, 6), QPointF(582, 364))},
        {"a left axis title moves the plot right by its line and 2", "", "TVU (m)", 0, false,
         QRectF(QPointF(42, 6), QPointF(582, 380))},
        {"two title lines on top push the plot down", "", "", 2, false, QRectF(QPointF(26, 40), QPointF(582, 380))},
        {"a rotated title takes its room on the left instead", "", "", 2, true,
         QRectF(QPointF(60, 6), QPointF(582, 380))},
    };
    for (const Case& c : cases) {
        ChartLayoutInput input = Chart(600, 400);
        input.bottomTitle = QString::fromLatin1(c.bottomTitle);
        input.leftTitle = QString::fromLatin1(c.leftTitle);
        for (int i = 0; i < c.titleLines; ++i) {
            input.titleLines << QStringLiteral("Order %1").arg(i);
        }
        input.titleRotated = c.rotated;
        const kit::ChartLayout layout = LayOutChart(input);
        EXPECT_EQ(layout.plot, c.plot) << c.why;
        // Laid out again from its own plot, a chart keeps it.
        input.lastPlot = layout.plot;
        EXPECT_EQ(LayOutChart(input).plot, layout.plot) << c.why;
    }
}

TEST(ChartLayout, PlotInAChartTooSmallForItKeepsTenPixelsEachWay) {
    const kit::ChartLayout layout = LayOutChart(Chart(30, 20));
    EXPECT_EQ(layout.plot.topLeft(), QPointF(26, 6));
    EXPECT_DOUBLE_EQ(layout.plot.width(), 10.0);
    EXPECT_DOUBLE_EQ(layout.plot.height(), 10.0);
}

TEST(ChartLayout, GridAndTicksLieOnWholePixelsInsideTheFrame) {
    const kit::ChartLayout layout = LayOutChart(Chart(600, 400));
    const QRect frame = layout.frame;
    EXPECT_EQ(frame, QRect(QPoint(26, 6), QPoint(582, 380)));
    // The frame's four one-pixel sides, its right and bottom one pixel out.
    ASSERT_GE(layout.outline.size(), 4);
    EXPECT_EQ(layout.outline[0], QRect(26, 6, 558, 1));
    EXPECT_EQ(layout.outline[1], QRect(26, 381, 558, 1));
    EXPECT_EQ(layout.outline[2], QRect(26, 6, 1, 376));
    EXPECT_EQ(layout.outline[3], QRect(583, 6, 1, 376));
    // A tick mark and a label per tick; a grid line only strictly inside, so
    // the ticks at 0 and at the range's ends draw none over the frame.
    const auto labels = Texts(layout, ChartText::Label);
    EXPECT_EQ(layout.outline.size() - 4, qsizetype(labels.size()));
    EXPECT_LT(layout.grid.size(), qsizetype(labels.size()));
    for (const QRect& line : layout.grid) {
        EXPECT_TRUE(line.width() == 1 || line.height() == 1);
        EXPECT_TRUE(frame.adjusted(1, 1, 0, 0).contains(line)) << line.x() << "," << line.y();
    }
    // The x label "0" is centred under the left edge, below the tick room.
    EXPECT_EQ(labels.front().words, QStringLiteral("0"));
    EXPECT_EQ(labels.front().at, QPointF(26 - 3, 380 + kit::kChartTickRoom));
}

TEST(ChartLayout, TitlesFollowTheirAlignment) {
    struct Case {
        const char* why;
        Qt::Alignment alignment;
        bool rotated;
        QPointF at; // of "TVU" (27 wide): top left, or bottom left when rotated
    };
    // The plot lies from (26, 24) to (582, 380) with one line on top, from
    // (44, 6) to (582, 380) with one on the left.
    const Case cases[] = {
        {"left: at the plot's left edge, moved by the offset", Qt::AlignLeft, false, QPointF(26 + 1, 6 + 2)},
        {"centred over the plot", Qt::AlignHCenter, false, QPointF(304 - 13.5 + 1, 6 + 2)},
        {"right: ending at the plot's right edge", Qt::AlignRight, false, QPointF(582 - 27 + 1, 6 + 2)},
        {"rotated left: starting at the plot's bottom", Qt::AlignLeft, true, QPointF(4 + 1, 380 + 2)},
        {"rotated centred along the plot", Qt::AlignHCenter, true, QPointF(4 + 1, 193 + 13.5 + 2)},
        {"rotated right: ending at the plot's top", Qt::AlignRight, true, QPointF(4 + 1, 6 + 27 + 2)},
    };
    for (const Case& c : cases) {
        ChartLayoutInput input = Chart(600, 400);
        input.titleLines = {QStringLiteral("TVU")};
        input.titleAlignment = c.alignment;
        input.titleRotated = c.rotated;
        input.titleOffset = QPointF(1, 2);
        const auto titles = Texts(LayOutChart(input), ChartText::Title);
        ASSERT_EQ(titles.size(), 1U) << c.why;
        EXPECT_EQ(titles[0].at, c.at) << c.why;
    }
}

TEST(ChartLayout, LegendWrapsWhereTheNextEntryWouldPassTheRightEdge) {
    struct Case {
        const char* why;
        double right;
        std::vector<double> widths;
        std::vector<QPointF> textAt;
        double bottom;
    };
    // Entries start 10 right of and 12 below the origin (100, 50); an entry is a
    // 10-pixel sample, a 5-pixel gap and its text, 10 apart; rows are 14 apart.
    const Case cases[] = {
        {"no entries: no height", 400, {}, {}, 50},
        {"two entries on one row", 400, {40, 60}, {{125, 62}, {190, 62}}, 76},
        {"the second would pass 292, so a new row", 300, {100, 100}, {{125, 62}, {125, 76}}, 90},
        {"a first entry wider than the room stays on the first row", 150, {200}, {{125, 62}}, 76},
    };
    for (const Case& c : cases) {
        kit::LegendFlowInput input;
        input.origin = QPointF(100, 50);
        input.right = c.right;
        input.textHeight = 12;
        input.widths = c.widths;
        const kit::LegendFlow flow = kit::FlowLegend(input);
        ASSERT_EQ(flow.entries.size(), c.textAt.size()) << c.why;
        for (std::size_t i = 0; i < c.textAt.size(); ++i) {
            const kit::LegendFlowEntry& entry = flow.entries[i];
            EXPECT_EQ(entry.textAt, c.textAt[i]) << c.why;
            // The sample ends where the gap before the text begins, at the text's middle height.
            EXPECT_EQ(entry.sample,
                      QLineF(c.textAt[i].x() - 15, c.textAt[i].y() + 6, c.textAt[i].x() - 5, c.textAt[i].y() + 6))
                << c.why;
            EXPECT_EQ(entry.place, QRectF(entry.sample.p1().x(), c.textAt[i].y(), 15 + c.widths[i], 12)) << c.why;
        }
        EXPECT_DOUBLE_EQ(flow.bottom, c.bottom) << c.why;
    }
}

} // namespace chart_layout_test

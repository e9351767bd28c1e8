#include "kit/ChartScale.h"

#include <gtest/gtest.h>
#include <limits>

namespace chart_scale_test {

using kit::MakeTicks;
using kit::ThinnedLine;
using kit::WidenRange;

TEST(ChartScale, TicksAreRoundStepsWithTheDecimalsTheStepNeeds) {
    struct Case {
        double low, high, count;
        double step;
        std::vector<const char*> texts;
    };
    const Case cases[] = {
        {0, 10, 5, 2, {"0", "2", "4", "6", "8", "10"}},
        {0, 1, 4, 0.25, {"0.00", "0.25", "0.50", "0.75", "1.00"}},
        {-1, 1, 4, 0.5, {"-1.0", "-0.5", "0.0", "0.5", "1.0"}}, // zero without a sign
        {1, 200, 7.7, 25, {"25", "50", "75", "100", "125", "150", "175", "200"}},
        {0.1234, 0.1236, 2, 0.0001, {"0.1234", "0.1235", "0.1236"}},
        {-3500, -1200, 3, 1000, {"-3000", "-2000"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.low << " to " << c.high << " in about " << c.count);
        const kit::Ticks ticks = MakeTicks(c.low, c.high, c.count);
        EXPECT_DOUBLE_EQ(ticks.step, c.step);
        std::vector<std::string> texts;
        for (const QString& text : ticks.texts) {
            texts.push_back(text.toStdString());
        }
        EXPECT_EQ(texts, std::vector<std::string>(c.texts.begin(), c.texts.end()));
        EXPECT_EQ(ticks.values.size(), ticks.texts.size());
    }
    // A range far too wide for its count stops at about two hundred labels.
    EXPECT_LE(MakeTicks(0, 1e6, 1e6).values.size(), 201U);
}

TEST(ChartScale, RangesWithoutRoomAreWidened) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        double low, high, expectedLow, expectedHigh;
    };
    const Case cases[] = {
        {3, 7, 3, 7},         // room already
        {5, 5, 4.5, 5.5},     // half a unit of the leading digit either side
        {200, 200, 150, 250}, //
        {0, 0, -1, 1},        //
        {-0.02, -0.02, -0.025, -0.015},
        {inf, -inf, 0, 1}, // no points at all
        {7, 3, 0, 1},      //
        {nan, 1, 0, 1},    //
    };
    for (const Case& c : cases) {
        double low = c.low;
        double high = c.high;
        WidenRange(low, high);
        EXPECT_DOUBLE_EQ(low, c.expectedLow) << c.low << " " << c.high;
        EXPECT_DOUBLE_EQ(high, c.expectedHigh) << c.low << " " << c.high;
    }
}

TEST(ChartScale, ThinningKeepsCornersAndDropsWhatTheEyeCannotSee) {
    QList<QPointF> straight;
    for (int x = 0; x <= 1000; ++x) {
        straight.append(QPointF(x, 2.0 * x + 1.0));
    }
    const QList<QPointF> bump{{0, 0}, {1, 0.1}, {2, 0}};
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* what;
        QList<QPointF> points;
        QSizeF scale;
        QList<QPointF> drawn;
    };
    const Case cases[] = {
        {"a straight run shrinks to its ends", straight, {1, 1}, {{0, 1}, {1000, 2001}}},
        {"every corner stays", {{0, 0}, {1, 1}, {2, 2}, {3, 1}, {4, 0}}, {1, 1}, {{0, 0}, {2, 2}, {4, 0}}},
        {"a tenth of a pixel goes", bump, {1, 1}, {{0, 0}, {2, 0}}},
        {"the same bump a whole pixel high stays", bump, {1, 10}, bump},
        {"points off the plot go", {{0, 0}, {1, nan}, {2, 5}, {inf, 1}}, {1, 1}, {{0, 0}, {2, 5}}},
        {"one point is a line of its own", {{3, 4}}, {1, 1}, {{3, 4}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ThinnedLine(c.points, c.scale, 0.2), c.drawn) << c.what;
    }
}

} // namespace chart_scale_test

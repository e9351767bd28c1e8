#include "survey/SurveyOrders.h"

#include <gtest/gtest.h>

namespace survey_orders_test {

using namespace survey;

namespace {

struct Case {
    int row;
    int depth;
    const char* tvu; // what the calculator shows, "±" and " m" included
    const char* thu;
};

void ExpectTexts(const Case& c) {
    const SurveyOrder& order = SurveyOrderTable[static_cast<std::size_t>(c.row)];
    EXPECT_EQ(ToleranceText(order, c.depth, Tolerance::TVU), c.tvu) << order.selectorText << " at " << c.depth;
    EXPECT_EQ(ToleranceText(order, c.depth, Tolerance::THU), c.thu) << order.selectorText << " at " << c.depth;
}

} // namespace

TEST(SurveyOrders, EveryOrderAtTheDefaultDepthOfTenMetres) {
    const Case cases[] = {
        {0, 10, "±0.26 m", "± 2.0 m"}, {1, 10, "±0.52 m", "±5.5 m"},  {2, 10, "±0.5 m", "±5.5 m"},
        {3, 10, "±1.0 m", "± 21 m"},   {4, 10, "±0.16 m", "± 2.0 m"}, {5, 10, "±0.26 m", "± 2.0 m"},
        {6, 10, "±0.13 m", "± 0.4 m"}, // the exact half 0.125 rounds up
        {7, 10, "±0.2 m", "± 0.4 m"},  {8, 10, "±0.15 m", "±0.7 m"},
    };
    for (const Case& c : cases) {
        ExpectTexts(c);
    }
}

TEST(SurveyOrders, RoundingFollowsTheComputedDouble) {
    const Case cases[] = {
        {1, 5, "±0.50 m", "±5.3 m"},  // THU 5.25 exactly: half away from zero
        {2, 1, "±0.5 m", "±5.0 m"},   // 5 + 0.05 is held just below 5.05
        {0, 0, "±0.25 m", "± 2.0 m"}, // depth 0 leaves a alone
        {6, 0, "±0.10 m", "± 0.4 m"}, // NL Order A's a of 0.1 m
        {7, 0, "±0.1 m", "± 0.4 m"},  // 0.15 is held just below 0.15
    };
    for (const Case& c : cases) {
        ExpectTexts(c);
    }
}

TEST(SurveyOrders, DeepAndNegativeDepths) {
    const Case cases[] = {
        {0, 100, "±0.79 m", "± 2.0 m"},      {1, 100, "±1.39 m", "±10.0 m"}, {3, 100, "±2.5 m", "± 30 m"},
        {4, 100, "±0.43 m", "± 2.0 m"},      {8, 100, "±0.25 m", "±2.5 m"},  {3, 795, "±18.3 m", "±100 m"},
        {3, 800, "±18.4 m", "±100 m"},       // three digits: no blank before the number
        {1, 15000, "±195.00 m", "±755.0 m"}, // the spinner's upper limit
        {1, -10, "±0.52 m", "±4.5 m"},       // the square removes the sign, the linear THU keeps it
        {3, -10, "±1.0 m", "± 19 m"},
    };
    for (const Case& c : cases) {
        ExpectTexts(c);
    }
}

TEST(SurveyOrders, OrstedTvuStepsAtTwentyAndFortyMetres) {
    const SurveyOrder& orsted = SurveyOrderTable[8];
    const std::pair<int, double> steps[] = {{1, 0.15}, {20, 0.15}, {21, 0.20}, {40, 0.20}, {41, 0.25}, {5000, 0.25}};
    for (const auto& [depth, tvu] : steps) {
        EXPECT_EQ(MaxAllowableTVU(orsted, depth), tvu) << depth;
    }
    EXPECT_DOUBLE_EQ(MaxAllowableTHU(orsted, 30), 1.1);
    EXPECT_DOUBLE_EQ(MaxAllowableTHU(orsted, 50), 1.5);
}

TEST(SurveyOrders, GraphCurvesAreTheSevenDistinctRules) {
    const char* legends[] = {"IHO Special", "IHO 1", "IHO 2", "FSIS Exclusive", "NL-A", "NL-B", "Orsted"};
    for (std::size_t i = 0; i < kGraphRows.size(); ++i) {
        EXPECT_EQ(SurveyOrderTable[static_cast<std::size_t>(kGraphRows[i])].graphCurve, legends[i]);
    }
    EXPECT_EQ(MaxAllowableTHU(SurveyOrderTable[0], 123), 2.0); // a constant THU is still a number for the graph
}

} // namespace survey_orders_test

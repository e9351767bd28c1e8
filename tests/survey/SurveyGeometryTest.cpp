// The geometry the line planner and the TPU calculator's order fit share.
#include "survey/SurveyGeometry.h"

#include <gtest/gtest.h>

namespace survey_geometry_test {

namespace {

TEST(SurveyGeometry, LineSpacingLeavesHalfTheOverlapOnEachSide) {
    EXPECT_DOUBLE_EQ(survey::LineSpacing(200, 30), 170); // 30 % overlap: 85 % of the swath
    EXPECT_DOUBLE_EQ(survey::LineSpacing(200, 0), 200);
    EXPECT_DOUBLE_EQ(survey::LineSpacing(200, 100), 100);
}

TEST(SurveyGeometry, AFlatSeabedSwathIsTwiceTheDepthTimesTheTangent) {
    EXPECT_NEAR(survey::FlatSeabedSwath(10, 45), 20.0, 1e-12);
    EXPECT_NEAR(survey::FlatSeabedSwath(100, 60), 346.41016151377545, 1e-9);
    EXPECT_EQ(survey::FlatSeabedSwath(10, 0), 0.0);
}

} // namespace

} // namespace survey_geometry_test

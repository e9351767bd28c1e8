#include "coverage/CoverageReport.h"

#include <gtest/gtest.h>

namespace coverage_report_test {

using namespace coverage;

namespace {

// The texts of the window at its start, single head.
const CoverageReportTexts kStartTexts = {
    .sonarType = "Sonic 2024 - 170/450 kHz",
    .mountingAngle = "0",
    .frequency = "400",
    .alongBeamWidth = " 1.0 \u00B0",
    .acrossBeamWidth = " 0.5 \u00B0",
    .sector = "140",
    .rotation = "0",
    .missionMode = " Equiangle (EA)",
    .range = "100",
    .altitude = "10",
    .headSeparation = "1",
    .dualCoverage = "",
    .overlap = "",
    .singleCoverage = "  55",
    .alongFootprint = "0.17",
    .acrossFootprint = "0.09",
    .worstAcrossFootprint = "2.30",
    .worstAcrossAngle = "70",
    .coverageRatio = "5.5",
    .headMode = "(Single Head)",
    .speed = "6",
    .boxAngle = "0",
    .pingRate = "6.6 p/s",
    .metreBox = {.total = "20", .along = "2", .across = "10"},
    .boxSide = "2",
    .box = {.total = "84", .along = "4", .across = "21"},
    .centimetreBoxSide = "1",
    .centimetreBox = {.total = "1", .along = "1", .across = "1"},
};

QStringList Lines(const ReportChoices& choices) { return CoverageReportLines(kStartTexts, choices); }

} // namespace

TEST(CoverageReport, SingleHeadEquiangleInKnots) {
    const QStringList lines = Lines({});
    ASSERT_EQ(lines.size(), 63); // 67 less the four dual-head lines
    EXPECT_EQ(lines[1], "    " + QString(78, '-'));
    EXPECT_EQ(lines[3], "    Sonar Type: Sonic 2024 - 170/450 kHz");
    EXPECT_EQ(lines[8], "           Sound velocity (default): 1500 m/sec");
    EXPECT_EQ(lines[13], "           Sonar head tilt:.........0\u00B0  (mounting angle) ");
    EXPECT_EQ(lines[18], "           Alongtrack beamwidh:..... 1.0 \u00B0 (centre beam)");
    EXPECT_EQ(lines[25], "           Altitude/depth:.......10 m");
    EXPECT_EQ(lines[26], "");
    EXPECT_EQ(lines[27], "    Calculations:");
    EXPECT_EQ(lines[29], "           Single head seabed coverage:.....  55 m");
    EXPECT_EQ(lines[33], "           Coverage ratio:....5.5 x waterdepth  (Single Head)");
    EXPECT_EQ(lines[35], "    Beam footprint hits in area - At survey speed 6 knots");
    EXPECT_EQ(lines[37], "           Outer edge of box at 0\u00B0 from nadir");
    EXPECT_EQ(lines[39], "           Max ping rate: 6.6 p/s     Number of Soundings per ping: 256");
    EXPECT_EQ(lines[41], "           1 x 1 m box: 20 beam centre hits     (2 along track and 10 across track)");
    EXPECT_EQ(lines[42], "           2 x 2 m box: 84 beam centre hits    (4 along track and 21 across track)");
    EXPECT_EQ(lines[43], "           1 x 1 cm box: 1 beam centre hits    (1 along track and 1 across track)");
    EXPECT_EQ(lines[57], "    Tormalind ApS - Hydrographic Consultancy");
    for (int blank = 44; blank < 57; ++blank) {
        EXPECT_EQ(lines[blank], "") << blank;
    }
}

TEST(CoverageReport, DualHeadEquidistantInMetresPerSecond) {
    const QStringList lines = Lines({true, false, false, 1024});
    ASSERT_EQ(lines.size(), 66); // all 67 but the equiangle line
    EXPECT_EQ(lines[26], "           Dual head separation:.1 m (horizontal distance between heads)");
    EXPECT_EQ(lines[30], "           Dual head seabed coverage:.... m");
    EXPECT_EQ(lines[32], "");
    EXPECT_EQ(lines[39], "    Beam footprint hits in area - At survey speed 6 m/sec:");
    EXPECT_EQ(lines[40], "");
    EXPECT_EQ(lines[41], "");
    EXPECT_EQ(lines[42], "           Max ping rate: 6.6 p/s     Number of Soundings per ping: 1024");
}

} // namespace coverage_report_test

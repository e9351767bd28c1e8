#include "coverage/CoverageReport.h"

#include <gtest/gtest.h>
#include <map>
#include <string>

using namespace coverage;

namespace {

// The texts of the window at its start, single head.
const std::map<std::string, QString> kStartTexts = {
    {"lblSonar_type", "Sonic 2024 - 170/450 kHz"},
    {"edtmount_ang", "0"},
    {"edtFreq", "400"},
    {"edtAlongbeam", " 1.0 \u00B0"},
    {"edtAcrossbeam", " 0.5 \u00B0"},
    {"edtSector", "140"},
    {"edtRotate", "0"},
    {"lblmissionmode", " Equiangle (EA)"},
    {"edtRange_select", "100"},
    {"edtAltitude", "10"},
    {"edtSelect_distance", "1"},
    {"edtNo_1", ""},
    {"edtNo_4", ""},
    {"edtNo_5", "  55"},
    {"edtNo_6", "0.17"},
    {"edtNo_7", "0.09"},
    {"edtNo_14", "2.30"},
    {"lblW_acrossangle", "70"},
    {"lblCoverage_2", "5.5"},
    {"lbl_Dual_or_single", "(Single Head)"},
    {"edtSpeed_input", "6"},
    {"edtSelect_Beam_Angle", "0"},
    {"stPingrate", "6.6 p/s"},
    {"edt_1x1total_A3", "20"},
    {"edt_1along_A1", "2"},
    {"edt_1across_A2", "10"},
    {"edtLengthAlong", "2"},
    {"edt_xxxtotal_B3", "84"},
    {"edt_xalong_B1", "4"},
    {"edt_xacross_B2", "21"},
    {"edtLengthAlong_cm", "1"},
    {"edt_xxxtotal_C3_cm", "1"},
    {"edt_xalong_C1_cm", "1"},
    {"edt_xacross_C2_cm", "1"},
};

QStringList Lines(const ReportChoices& choices) {
    return CoverageReportLines([](std::string_view name) { return kStartTexts.at(std::string(name)); }, choices);
}

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

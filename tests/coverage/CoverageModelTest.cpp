#include "coverage/CoverageModel.h"

#include "common/NumberFormat.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace coverage_model_test {

using namespace coverage;

namespace {

constexpr double kDegree = 0.017453292519943295769;

const survey::SonarModel& Model(std::string_view caption) {
    for (const survey::SonarModel& model : survey::kSonarModels) {
        if (model.caption == caption) {
            return model;
        }
    }
    throw std::runtime_error("no model " + std::string(caption));
}

// Prepared and computed as a window run does.
CoverageResult RunCoverage(CoverageInput input, std::string_view model = "Sonic 2024") {
    const Preparation preparation = PrepareCoverage(input, Model(model), std::to_string(input.frequency));
    return ComputeCoverage(input, preparation.beamWidths);
}

std::string Fixed(double value, int width, int decimals) { return common::FormatFixed(value, width, decimals); }

} // namespace

TEST(CoverageModel, StartValuesOfTheWindow) {
    const CoverageResult r = RunCoverage(CoverageInput{});
    EXPECT_EQ(Fixed(r.beamWidths.along, 4, 1), " 1.0");
    EXPECT_EQ(Fixed(r.beamWidths.across, 4, 1), " 0.5");
    EXPECT_NEAR(r.edge1, 70 * kDegree, 1e-12);
    EXPECT_NEAR(r.sector, 140 * kDegree, 1e-12);
    EXPECT_EQ(Fixed(r.single, 4, 0), "  55");
    EXPECT_EQ(Fixed(r.ratio, 0, 1), "5.5");
    EXPECT_EQ(Fixed(r.footprintAlong, 4, 2), "0.17");
    EXPECT_EQ(Fixed(r.footprintAcross, 4, 2), "0.09");
    EXPECT_EQ(Fixed(r.pingRate, 2, 1), "6.6");
    EXPECT_EQ(r.worstEdgeDegrees, 70);
    EXPECT_EQ(r.hits.one, (std::array<long long, 3>{2, 10, 20}));
    EXPECT_EQ(r.hits.smallBox, (std::array<long long, 3>{1, 1, 1})); // raised to 1 in equiangle sampling
}

TEST(CoverageModel, EdgesSectorsAndSwathsOfWorkedGeometries) {
    struct Case {
        const char* what;
        int sector, mounting, rotation, altitude, range;
        bool dual;
        double edge1, edge2, effective; // degrees
        const char* single;             // FormatFixed(W, 4, 2)
        bool nadir;
    };
    const Case cases[] = {
        {"tilted by rotation", 100, 0, 30, 10, 100, false, 80, 20, 60, "60.35", true},
        {"edge beyond the horizontal", 160, 30, 0, 10, 100, false, 70, 50, 120, "39.39", true},
        {"tilt beyond half the sector", 40, 0, 30, 10, 100, false, 50, 10, 40, "10.15", false},
        {"range at the altitude", 140, 0, 0, 10, 10, false, 0, 0, 0, "0.00", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CoverageInput in;
        in.sector = c.sector;
        in.mounting = c.mounting;
        in.rotation = c.rotation;
        in.altitude = c.altitude;
        in.range = c.range;
        in.dual = c.dual;
        const CoverageResult r = RunCoverage(in);
        EXPECT_NEAR(r.edge1 / kDegree, c.edge1, 1e-9);
        EXPECT_NEAR(r.edge2 / kDegree, c.edge2, 1e-9);
        EXPECT_NEAR(r.sector / kDegree, c.effective, 1e-9);
        EXPECT_EQ(Fixed(r.single, 4, 2), c.single);
        EXPECT_EQ(r.nadirCovered, c.nadir);
    }
}

TEST(CoverageModel, TwoHeadsCrossOrSpreadByTheirMounting) {
    CoverageInput in;
    in.dual = true;
    in.mounting = -10;
    const CoverageResult outward = RunCoverage(in);
    EXPECT_EQ(Fixed(outward.dual, 4, 1), "114.4");
    EXPECT_EQ(Fixed(outward.overlap, 4, 1), "33.6");
    EXPECT_EQ(Fixed(outward.ratio, 0, 1), Fixed(outward.dual / 10, 0, 1));

    in.mounting = 20;
    in.sector = 30; // the sector no longer reaches under its own head
    const CoverageResult crossed = RunCoverage(in);
    EXPECT_EQ(crossed.dual, 2 * crossed.single);
    EXPECT_LT(crossed.overlap, 0);

    in = CoverageInput{};
    in.dual = true;
    in.range = 10; // range at the altitude: nothing beyond nadir
    const CoverageResult flat = RunCoverage(in);
    EXPECT_EQ(flat.dual, 0);
    EXPECT_LT(flat.overlap, 0);
    EXPECT_EQ(Fixed(flat.ratio, 0, 1), "0.0");
}

TEST(CoverageModel, PingRateAndHitsBySampling) {
    CoverageInput in;
    in.altitude = 1;
    in.range = 2;
    EXPECT_EQ(RunCoverage(in).pingRate, 60.0); // 136.6 held at the cap

    in = CoverageInput{};
    in.sampling = Sampling::Equidistant;
    const CoverageResult ed = RunCoverage(in);
    EXPECT_EQ(ed.hits.one[0], 2);
    EXPECT_EQ(ed.hits.smallBox[0], 0); // round(0.02), not raised in equidistant sampling
    EXPECT_EQ(ed.hits.one[1], 256 / 54);
    EXPECT_EQ(ed.hits.smallBox[1], 1); // round(0.04), raised to one sounding across track
    in.sampling = Sampling::Equiangle;
    EXPECT_EQ(RunCoverage(in).hits.smallBox[0], 1);

    in.speedUnit = SpeedUnit::MetresPerSecond;
    in.speed = 1;
    EXPECT_EQ(RunCoverage(in).hits.one[0], 6); // trunc(6.64 / 1)
    in.speed = 0;                              // no way made: endless hits along track, shown as 0
    EXPECT_EQ(RunCoverage(in).hits.one, (std::array<long long, 3>{0, 10, 0}));
}

// The ping cycle alone, as the reference sheets print it: held at the ceiling up
// to 8 m, then falling with the two-way travel; the coverage takes exactly it.
TEST(CoverageModel, PingRateByRangeSetting) {
    struct Case {
        int range;
        const char* rate;
    } cases[] = {{1, "60.00"}, {8, "60.00"}, {9, "56.97"}, {100, "6.64"}, {500, "1.36"}, {1200, "0.57"}};
    for (const Case& c : cases) {
        EXPECT_EQ(Fixed(PingRateAt(c.range), 0, 2), c.rate) << c.range << " m";
        CoverageInput in;
        in.altitude = 1;
        in.range = c.range;
        EXPECT_EQ(RunCoverage(in).pingRate, PingRateAt(c.range)) << c.range << " m";
    }
    EXPECT_EQ(PingRateAt(8), kMaxPingRate);
    EXPECT_LT(PingRateAt(9), kMaxPingRate);
}

TEST(CoverageModel, SonarRowsRewriteFrequencySectorRotationAndAltitude) {
    struct Case {
        const char* model;
        const char* frequencyText;
        int sector, rotation, altitude;
        std::vector<std::string> adjustments; // "message" or "field=text", in order
        double along, across;
    };
    const Case cases[] = {
        {"Sonic 2022", "700", 140, 0, 10, {"frequency=400"}, 1.0, 1.0},
        {"Sonic 2026", "100", 140, 0, 10, {"frequency=400"}, 0.5, 0.5},
        {"Sonic 2024 - UHR", "400", 140, 15, 10, {"frequency=700", "sector=70", "rotation=0"}, 0.6, 0.3},
        {"Sonic 2022 - UHR", "400", 60, 0, 10, {"frequency=700", "rotation=0"}, 0.6, 0.6},
        {"Sonic 2020",
         "180",
         140,
         0,
         350,
         {"message=Probably no coverage on this altitude!", "altitude=200"},
         2.0 * 400 / 180,
         2.0 * 400 / 180},
        {"Sonic 2026", "400", 140, 0, 350, {}, 0.5, 0.5},
        {"Sonic 2024",
         "300",
         140,
         0,
         0,
         {"message=Invalid altitude - use positive integers!", "altitude=1"},
         1.0 * 400 / 300,
         0.5 * 400 / 300},
    };
    const char* names[] = {"frequency", "sector", "rotation", "altitude", "range"};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " " + c.frequencyText);
        CoverageInput in;
        in.frequency = std::stoi(c.frequencyText);
        in.sector = c.sector;
        in.rotation = c.rotation;
        in.altitude = c.altitude;
        in.range = 1200;
        const Preparation p = PrepareCoverage(in, Model(c.model), c.frequencyText);
        std::vector<std::string> seen;
        for (const Adjustment& a : p.adjustments) {
            seen.push_back(a.message ? "message=" + a.text : names[static_cast<int>(a.field)] + ("=" + a.text));
        }
        EXPECT_EQ(seen, c.adjustments);
        EXPECT_DOUBLE_EQ(p.beamWidths.along, c.along);
        EXPECT_DOUBLE_EQ(p.beamWidths.across, c.across);
    }
    // A range typed below the altitude is raised to it.
    CoverageInput in;
    in.range = 4;
    const Preparation raised = PrepareCoverage(in, Model("Sonic 2024"), "400");
    ASSERT_EQ(raised.adjustments.size(), 1U);
    EXPECT_EQ(raised.adjustments[0].field, Field::Range);
    EXPECT_EQ(raised.adjustments[0].text, "10");
    EXPECT_EQ(in.range, 10);
    EXPECT_EQ(RotationLimit(Model("Sonic 2024"), 140), 10);
    EXPECT_EQ(RotationLimit(Model("Sonic 2026"), 10), 70);
}

TEST(CoverageModel, SwathGraphRunsToTheRangeSetting) {
    CoverageInput in;
    const CoverageResult r = RunCoverage(in);
    const SwathGraphCurves curves = SwathGraph(in, r);
    ASSERT_EQ(curves.single.size(), 100U);
    ASSERT_EQ(curves.dual.size(), 100U);
    EXPECT_EQ(curves.single.front().depth, 1);
    EXPECT_NEAR(curves.single.front().width, 2 * std::tan(70 * kDegree), 1e-9);
    EXPECT_EQ(curves.single.back().depth, 100);
    EXPECT_EQ(curves.single.back().width, 0); // cut by the range
    // Where the range cuts the swath, one head's half-width goes in whole metres.
    for (const GraphPoint& p : curves.single) {
        if (p.depth / std::cos(70 * kDegree) > 100) {
            EXPECT_EQ(std::fmod(p.width, 2.0), 0.0) << p.depth;
        }
    }
    // A range far beyond any sonar's is drawn without a point for every metre.
    // Up to the largest whole number a field takes, where the step would overflow.
    for (const int range : {999999999, 2147054237, 2147483647}) {
        in.range = range;
        const SwathGraphCurves huge = SwathGraph(in, r);
        EXPECT_LE(huge.single.size(), 5001U) << range;
        EXPECT_EQ(huge.single.back().depth, range);
    }
}

} // namespace coverage_model_test

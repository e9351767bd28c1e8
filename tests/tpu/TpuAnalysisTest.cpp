#include "tpu/TpuAnalysis.h"
#include "tpu/TpuStartInputs.h"

#include "common/NumberFormat.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace tpu;

namespace {

// The start installation in DGNSS with a vessel budget: the vertical terms
// that do not grow with depth weigh in.
TpuInputs DgnssInputs() {
    TpuInputs in = StartInputs();
    in.draft = 0.05;
    in.squat = 0.03;
    in.settlement = 0.02;
    in.load = 0.02;
    in.tidalSd = 0.1;
    in.positionVertical = 0.5;
    in.positionHorizontal = 0.5;
    return in;
}

bool Passes(const TpuInputs& in, int depth, int angle, const OrderLimit& order) {
    const BeamTerms beam = EvaluateBeam(in, depth, angle);
    return beam.tvu <= TvuLimit(order, depth) && beam.thu <= ThuLimit(order, depth);
}

} // namespace

// Worked by hand from the beam formulas (README, "Checking the order fit").
TEST(OrderFit, WorkedInstallations) {
    struct Case {
        TpuInputs inputs;
        int depth;
        std::size_t order;
        std::optional<int> angle;
        const char* reason;
    };
    TpuInputs narrow = StartInputs();
    narrow.swathWidth = 91; // half of it truncated: 45
    TpuInputs none = StartInputs();
    none.swathWidth = -2;
    const Case cases[] = {
        {StartInputs(), 10, 0, 65, "the whole 130° swath meets Special Order at 10 m"},
        {StartInputs(), 100, 0, 40, "at 100 m the 41° beam's THU, 2.02 m, exceeds Special Order's 2 m"},
        {StartInputs(), 100, 1, 65, "Order 1 allows the whole swath at 100 m"},
        {narrow, 10, 0, 45, "never beyond half the swath"},
        {DgnssInputs(), 10, 4, std::nullopt, "NL Order A: 0.4 m THU, the 0.5 m positioning fails at nadir"},
        {none, 10, 1, std::nullopt, "a swath below nothing has no beam to count"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UsableAngle(c.inputs, c.depth, kOrderLimits[c.order]), c.angle) << c.reason;
    }
}

// The usable angle is where the first beam fails, not where the last passes:
// beams inside it are checked too.
TEST(OrderFit, EveryBeamUpToTheAngleMeetsTheOrderAndTheNextDoesNot) {
    for (const TpuInputs& in : {StartInputs(), DgnssInputs()}) {
        for (const int depth : {1, 7, 40, 120, 499}) {
            for (const OrderLimit& order : kOrderLimits) {
                const std::optional<int> angle = UsableAngle(in, depth, order);
                const int top = std::min(in.swathWidth / 2, kSteepestUsableBeam);
                const int last = angle.value_or(-1);
                for (int beam = 0; beam <= last; ++beam) {
                    ASSERT_TRUE(Passes(in, depth, beam, order)) << order.caption << " " << depth << " m " << beam;
                }
                if (last < top) {
                    EXPECT_FALSE(Passes(in, depth, last + 1, order)) << order.caption << " " << depth << " m";
                }
            }
        }
    }
}

TEST(OrderFit, InputsThatGiveNoNumberFitNothing) {
    struct Case {
        void (*change)(TpuInputs&);
        const char* reason;
    };
    const Case cases[] = {
        {[](TpuInputs& in) { in.soundVelocity = 0; }, "no sound velocity: the profile term has no value"},
        {[](TpuInputs& in) { in.frequency = 0; }, "no frequency: the footprint has no value"},
        {[](TpuInputs& in) { in.patchYaw = std::numeric_limits<double>::quiet_NaN(); }, "a term that is no number"},
    };
    for (const Case& c : cases) {
        TpuInputs in = StartInputs();
        c.change(in);
        EXPECT_EQ(UsableAngle(in, 10, kOrderLimits[1]), std::nullopt) << c.reason;
        EXPECT_EQ(UsableSwathByDepth(in, 20)[1][9].swath, 0.0) << c.reason;
    }
}

// The chart's shortcut (P + Q D² per beam) gives UsableAngle's answer at every
// depth, for installations where vertical and horizontal, fixed and growing
// terms each decide somewhere.
TEST(OrderFit, TheDepthCurvesAgreeWithTheFitAtEveryDepth) {
    TpuInputs wide = DgnssInputs();
    wide.swathWidth = 360; // up to the steepest beam that meets the seabed
    TpuInputs coarse = StartInputs();
    coarse.frequency = 200; // twice the beamwidths
    coarse.patchYaw = 1.0;
    for (const TpuInputs& in : {StartInputs(), DgnssInputs(), wide, coarse}) {
        const FitCurves curves = UsableSwathByDepth(in, 500);
        for (std::size_t order = 0; order < kOrderLimits.size(); ++order) {
            ASSERT_EQ(curves[order].size(), 500U);
            for (const FitPoint& point : curves[order]) {
                const std::optional<int> angle = UsableAngle(in, point.depth, kOrderLimits[order]);
                ASSERT_EQ(point.swath, angle ? UsableSwath(point.depth, *angle) : 0.0)
                    << kOrderLimits[order].caption << " at " << point.depth << " m";
            }
        }
    }
    EXPECT_TRUE(UsableSwathByDepth(StartInputs(), 0)[0].empty());
}

TEST(OrderFit, UsableSwathOnAFlatSeabed) {
    EXPECT_NEAR(UsableSwath(10, 45), 20.0, 1e-12);
    EXPECT_EQ(UsableSwath(10, 0), 0.0);
}

TEST(ErrorBudget, SharesLargestFirstAndTotalsWithout) {
    struct Case {
        std::vector<double> terms;
        std::vector<std::size_t> order;
        std::vector<double> percent;
        const char* reason;
    };
    const Case cases[] = {
        {{3, 4}, {1, 0}, {64, 36}, "squares, not the terms, are shared"},
        {{1, 0, 1}, {0, 2, 1}, {50, 50, 0}, "equal shares keep the model's order"},
        {{-2, 0}, {0, 1}, {100, 0}, "a negative figure counts by its square"},
        {{0, 0}, {0, 1}, {0, 0}, "nothing to share"},
    };
    for (const Case& c : cases) {
        const std::vector<BudgetShare> shares = BudgetShares(c.terms);
        ASSERT_EQ(shares.size(), c.terms.size()) << c.reason;
        for (std::size_t i = 0; i < shares.size(); ++i) {
            EXPECT_EQ(shares[i].term, c.order[i]) << c.reason;
            EXPECT_NEAR(shares[i].percent, c.percent[i], 1e-12) << c.reason;
        }
    }

    const BeamTerms beam = EvaluateBeam(DgnssInputs(), 40, 60);
    EXPECT_EQ(TotalWithout(beam.tvuTerms, {}), beam.tvu);
    std::vector<bool> withoutTide(beam.tvuTerms.size());
    withoutTide[12] = true;
    EXPECT_NEAR(TotalWithout(beam.tvuTerms, withoutTide),
                std::sqrt(beam.tvu * beam.tvu - beam.tvuTerms[12] * beam.tvuTerms[12]), 1e-12);
    EXPECT_EQ(TotalWithout(beam.tvuTerms, std::vector<bool>(13, true)), 0.0);
}

TEST(ErrorBudget, TheLargestTermByName) {
    TpuInputs in = StartInputs();
    in.maxHeave = 10; // 0.5 m of heave residual
    const BeamTerms beam = EvaluateBeam(in, 10, 0);
    const std::vector<BudgetShare> shares = BudgetShares(beam.tvuTerms);
    EXPECT_EQ(kBeamTvuTermNames[shares.front().term], "Heave");
    EXPECT_EQ(TopTermText(kBeamTvuTermNames, shares).substr(0, 7), "Heave: ");
    const std::vector<BudgetShare> even = BudgetShares(std::vector<double>{0.3, 0.4});
    EXPECT_EQ(TopTermText(kNadirThuTermNames, even), "Sonar X offset: 64 %");
    EXPECT_EQ(TopTermText(kNadirThuTermNames, BudgetShares(std::vector<double>{0, 0})), "\u2014");
    EXPECT_EQ(kNadirTvuTermNames.size(), EvaluateNadir(in, 10).tvuTerms.size());
    EXPECT_EQ(kNadirThuTermNames.size(), EvaluateNadir(in, 10).thuTerms.size());
}

TEST(SweepTable, EveryBeamWithEveryTermUnderANamedColumn) {
    const std::vector<std::string> lines = SweepTable(StartInputs(), 40);
    ASSERT_EQ(lines.size(), 1U + 66U); // the header, then 0° to 65°
    const auto columns = [](const std::string& line) { return std::count(line.begin(), line.end(), ',') + 1; };
    EXPECT_EQ(columns(lines[0]), 4 + 13 + 13);
    EXPECT_EQ(lines[0].substr(0, 52), "Depth (m),Angle (deg),TVU (m),THU (m),TVU Range (m),");
    for (const std::string& line : lines) {
        EXPECT_EQ(columns(line), columns(lines[0])) << line;
    }
    // The 30° beam as the model gives it, with six decimals.
    const BeamTerms beam = EvaluateBeam(StartInputs(), 40, 30);
    const std::string expected = "40,30," + common::FormatFixed(beam.tvu, 0, 6) + "," +
                                 common::FormatFixed(beam.thu, 0, 6) + "," +
                                 common::FormatFixed(beam.tvuTerms[0], 0, 6) + ",";
    EXPECT_EQ(lines[31].substr(0, expected.size()), expected);
    EXPECT_EQ(lines[31].find(';'), std::string::npos);

    TpuInputs none = StartInputs();
    none.swathWidth = -4;
    EXPECT_EQ(SweepTable(none, 40).size(), 1U) << "no beam: the header alone";
}

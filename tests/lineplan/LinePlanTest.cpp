#include "lineplan/LinePlan.h"

#include <cmath>
#include <gtest/gtest.h>

namespace line_plan_test {

using namespace lineplan;

namespace {

// The window's start: no system chosen, beam widths of a degree.
PlannerInput StartInput() {
    PlannerInput in;
    in.minDepthText = in.maxDepthText = "50";
    return in;
}

PlannerResult Plan(const PlannerInput& in) {
    const PlanRun run = ComputeLinePlan(in);
    EXPECT_TRUE(run.messages.empty());
    return run.result.value_or(PlannerResult{});
}

} // namespace

TEST(LinePlan, StartValuesGiveTheWorkedPlan) {
    const PlannerTexts t = ResultTexts(Plan(StartInput()));
    EXPECT_EQ(t.minSwath, " 214");
    EXPECT_EQ(t.footprintAlong, "0.87");
    EXPECT_EQ(t.footprintAcross, "0.87");
    EXPECT_EQ(t.edge, "  65");
    EXPECT_EQ(t.swathWidth, " 130");
    EXPECT_EQ(t.range, " 118");
    EXPECT_EQ(t.pingRate, "5.64");
    EXPECT_EQ(t.nadirCoverage, "159");
    EXPECT_EQ(t.lineSpacing, "182");
    EXPECT_EQ(t.maxSpeed, "9.5");
    EXPECT_EQ(t.worstAcross, "11.59");
    EXPECT_EQ(t.worstAlong, "2.06");
    EXPECT_EQ(t.maxSwathAtSpacing, "  214");
    EXPECT_EQ(t.maxCover, "214");
    EXPECT_EQ(t.minCover, "214");

    PlannerInput metres = StartInput();
    metres.knots = false;
    EXPECT_EQ(ResultTexts(Plan(metres)).maxSpeed, "4.9");
}

TEST(LinePlan, EdgeCasesOfTheArithmetic) {
    PlannerInput in = StartInput();
    const double wmin = Plan(in).minSwath;
    in.overlap = 0;
    EXPECT_EQ(Plan(in).lineSpacing, std::nearbyint(wmin));
    in.overlap = 100;
    EXPECT_EQ(Plan(in).lineSpacing, std::nearbyint(wmin / 2));

    in = StartInput();
    in.knots = false;
    const double full = Plan(in).maxSpeed;
    in.alongCoverage = 200;
    EXPECT_NEAR(Plan(in).maxSpeed, full / 2, 0.051); // each rounded to a decimal

    in = StartInput();
    in.lineSpacing = static_cast<int>(wmin);
    EXPECT_EQ(ResultTexts(Plan(in)).minCover, "100");

    // A wide swath at depth: the range setting cuts the outer beam.
    in = StartInput();
    in.swath = 160;
    in.maxDepth = 200;
    in.maxRange = 500;
    const PlannerResult cut = Plan(in);
    EXPECT_NEAR(cut.edgeDegrees, std::acos(0.4) * 180 / M_PI, 1e-9);
    EXPECT_EQ(cut.suggestedRange, 500);
}

TEST(LinePlan, ARangeThatCannotReachADepthIsReportedAndComputesNothing) {
    struct Case {
        int minDepth, maxDepth;
        std::vector<std::string> messages;
        const char* reason;
    };
    const std::string beyond = "m  -  No coverage at this altitude!";
    const Case cases[] = {
        {500, 500, {"500" + beyond, "500" + beyond}, "both depths beyond the 450 m range"},
        {450, 450, {"450" + beyond}, "a minimum depth at the range reaches no swath edge; a maximum depth there does"},
        {449, 449, {}, "just within the range"},
    };
    for (const Case& c : cases) {
        PlannerInput in = StartInput();
        in.minDepth = c.minDepth;
        in.maxDepth = c.maxDepth;
        in.minDepthText = std::to_string(c.minDepth);
        in.maxDepthText = std::to_string(c.maxDepth);
        in.maxRange = 450;
        const PlanRun run = ComputeLinePlan(in);
        EXPECT_EQ(run.messages, c.messages) << c.reason;
        EXPECT_EQ(run.result.has_value(), c.messages.empty()) << c.reason;
    }
}

TEST(LinePlan, ThePingRateStopsAtTheMaxPingRateSetting) {
    // In 5 m of water the two-way travel allows far more than 40 pings a
    // second; the sonar's setting caps it, and the speed follows from the cap.
    PlannerInput in = StartInput();
    in.minDepth = in.maxDepth = 5;
    in.minDepthText = in.maxDepthText = "5";
    const PlannerResult capped = Plan(in);
    EXPECT_EQ(capped.pingRate, 40);
    const PlannerTexts t = ResultTexts(capped);
    EXPECT_EQ(t.pingRate, "40.00");
    EXPECT_EQ(t.maxSpeed, "6.8"); // 40 pings/s x 0.087 m footprint = 3.5 m/s
    in.knots = false;
    EXPECT_EQ(ResultTexts(Plan(in)).maxSpeed, "3.5");
    in.maxPingRate = 20;
    EXPECT_EQ(ResultTexts(Plan(in)).maxSpeed, "1.7");
}

TEST(LinePlan, WorkingBeamWidthsAsTheFieldsShowThem) {
    struct Case {
        std::optional<std::size_t> system;
        int frequency;
        const char *along, *across;
    };
    const Case cases[] = {
        {std::nullopt, 400, " 1.0", " 1.0"}, // no system: a degree
        {4, 400, " 1.0", " 0.5"},
        {4, 700, " 0.6", " 0.3"}, // the 2024 at 700 kHz, scaled
        {5, 700, "0.6", "0.3"},
        {1, 700, "1.0", "1.0"}, // a UHR head's own widths
        {0, 100, "2", "2"},
        {0, 170, " 4.7", " 4.7"},
    };
    for (const Case& c : cases) {
        const BeamWidthTexts texts = WorkingBeamWidths(c.system, c.frequency);
        EXPECT_EQ(texts.along, c.along) << c.frequency;
        EXPECT_EQ(texts.across, c.across) << c.frequency;
    }
    // The planner's systems use the survey floor's sonar configurations.
    EXPECT_EQ(kPlannerSystems[4].Model().caption, "Sonic 2024");
    EXPECT_EQ(kPlannerSystems[0].Model().freqMin, 200);
    EXPECT_EQ(kPlannerSystems[7].Model().maxSector, 160);
}

TEST(LinePlan, DiagramsAreScaledToTheirFrameOrLeftOut) {
    const PlannerDiagrams start = ComputeDiagrams(Plan(StartInput()));
    ASSERT_TRUE(start.footprints);
    // Equal footprints: 50 pixels long; the ping spacing 0.547 m in that scale.
    EXPECT_EQ((*start.footprints)[0].left, 25);
    EXPECT_EQ((*start.footprints)[0].right, 75);
    EXPECT_EQ((*start.footprints)[1].left, 25 + 31);
    ASSERT_TRUE(start.lineOffset);
    EXPECT_EQ(*start.lineOffset, 85); // 182 m lines for a 214 m swath
    ASSERT_TRUE(start.overlap);
    EXPECT_EQ(start.overlap->left, 111);

    PlannerInput far = StartInput();
    far.overlap = 0;
    far.lineSpacing = 500;
    PlannerResult wide = Plan(far);
    wide.lineSpacing = 400; // lines further apart than a swath: no overlap
    EXPECT_FALSE(ComputeDiagrams(wide).overlap);

    PlannerResult none{};
    const PlannerDiagrams empty = ComputeDiagrams(none);
    EXPECT_FALSE(empty.footprints);
    EXPECT_FALSE(empty.lineOffset);
}

} // namespace line_plan_test

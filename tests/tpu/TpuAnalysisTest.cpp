#include "tpu/TpuAnalysis.h"
#include "tpu/TpuStartInputs.h"

#include "common/NumberFormat.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <type_traits>

namespace tpu_analysis_test {

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

// An installation with nothing but the positioning's horizontal figure: every
// beam's THU, and the nadir's, is that figure exactly, at every depth.
TpuInputs OnlyPositioning(double horizontal, int swath) {
    TpuInputs in;
    in.swathWidth = swath;
    in.frequency = in.referenceFrequency = 400;
    in.soundVelocity = 1500;
    in.positionHorizontal = horizontal;
    return in;
}

// The fit worked beam by beam, independently of FitOrder: the nadir by its own
// formulas, then each beam by the beam formula until one fails.
std::optional<int> BeamByBeam(const TpuInputs& in, int depth, const OrderLimit& order) {
    const double tvuLimit = TvuLimit(order, depth);
    const double thuLimit = ThuLimit(order, depth);
    const NadirValues nadir = EvaluateNadir(in, depth);
    const int outermost = std::min(std::min(in.swathWidth, kWidestSwath) / 2, kSteepestUsableBeam);
    if (outermost < 0 || !(nadir.tvu <= tvuLimit && nadir.thu <= thuLimit)) {
        return std::nullopt;
    }
    int angle = 0;
    while (angle < outermost) {
        const BeamTerms beam = EvaluateBeam(in, depth, angle + 1);
        if (!(beam.tvu <= tvuLimit && beam.thu <= thuLimit)) {
            break;
        }
        ++angle;
    }
    return angle;
}

OrderFit Fit(const TpuInputs& in, int depth, std::size_t order) {
    return FitOrder(RunTpuSweep(in, depth), kOrderLimits[order]);
}

} // namespace

// Worked by hand (README, "Checking the order fit"): the usable angle and why
// it stops there.
TEST(OrderFit, UsableAngleAndWhyItStops) {
    struct Case {
        TpuInputs inputs;
        int depth;
        std::size_t order;
        std::optional<int> angle;
        const char* stop;
        const char* reason;
    };
    TpuInputs narrow = StartInputs();
    narrow.swathWidth = 91; // half of it truncated: 45
    TpuInputs none = StartInputs();
    none.swathWidth = -2;
    TpuInputs single = OnlyPositioning(2.0, 1);
    TpuInputs rolling = StartInputs();
    rolling.motionRoll = 1.0;
    const Case cases[] = {
        {StartInputs(), 10, 0, 65, "full swath", "the whole 130° swath meets Special Order at 10 m"},
        {StartInputs(), 100, 0, 40, "THU \u00B1 2.022 > 2.00 m at 41\u00B0", "the 41° beam's THU exceeds 2 m"},
        {StartInputs(), 100, 1, 65, "full swath", "Order 1 allows the whole swath at 100 m"},
        {StartInputs(), 180, 0, 0, "THU \u00B1 2.020 > 2.00 m at 1\u00B0",
         "the nadir's THU, 1.732 m as Min THU shows it, is within 2 m: the nadir fits, the 1° beam not"},
        {StartInputs(), 300, 0, std::nullopt, "THU \u00B1 2.885 > 2.00 m at 0\u00B0", "the nadir fails: none"},
        {rolling, 10, 0, 54, "TVU \u00B1 0.263 > 0.26 m at 55\u00B0", "a poor roll sensor: TVU decides"},
        {narrow, 10, 0, 45, "full swath", "never beyond half the swath"},
        {DgnssInputs(), 10, 4, std::nullopt, "TVU \u00B1 0.518 > 0.13 m at 0\u00B0",
         "NL Order A: both fail at the nadir, TVU by the larger ratio (4.1 against 1.35)"},

        {single, 10, 0, 0, "full swath", "on its limit is within: the nadir alone is the whole swath"},
        {none, 10, 1, std::nullopt, "\u2014", "a swath below nothing has no beam to count"},
    };
    for (const Case& c : cases) {
        const OrderFit fit = Fit(c.inputs, c.depth, c.order);
        EXPECT_EQ(fit.angle, c.angle) << c.reason;
        EXPECT_EQ(StopText(fit), c.stop) << c.reason;
    }
}

// The nadir is judged by the results column's figures, the beams by the beam
// formula: "none" exactly when Min TVU or Min THU exceeds the order's limit.
TEST(OrderFit, AgreesWithTheBeamByBeamFitAndTheResultsColumn) {
    TpuInputs wide = DgnssInputs();
    wide.swathWidth = 360; // up to the steepest beam that meets the seabed
    TpuInputs coarse = StartInputs();
    coarse.frequency = 200; // twice the beamwidths
    coarse.patchYaw = 1.0;
    for (const TpuInputs& in : {StartInputs(), DgnssInputs(), wide, coarse}) {
        for (const int depth : {1, 7, 40, 120, 178, 180, 250, 499}) {
            const TpuSweep sweep = RunTpuSweep(in, depth);
            for (const OrderLimit& order : kOrderLimits) {
                const OrderFit fit = FitOrder(sweep, order);
                ASSERT_EQ(fit.angle, BeamByBeam(in, depth, order)) << order.caption << " at " << depth << " m";
                const bool nadirFails =
                    sweep.nadir.tvu > TvuLimit(order, depth) || sweep.nadir.thu > ThuLimit(order, depth);
                EXPECT_EQ(!fit.angle.has_value(), nadirFails) << order.caption << " at " << depth << " m";
            }
        }
    }
}

TEST(OrderFit, InputsThatGiveNoNumberFitNothing) {
    struct Case {
        void (*change)(TpuInputs&);
        const char* stop;
        const char* reason;
    };
    const Case cases[] = {
        {[](TpuInputs& in) { in.soundVelocity = 0; }, "TVU \u00B1 +Inf > 0.52 m at 0\u00B0",
         "no sound velocity: the profile term has no value"},
        {[](TpuInputs& in) { in.frequency = 0; }, "THU \u00B1 Nan > 5.50 m at 0\u00B0",
         "no frequency: the footprint has no value"},
        {[](TpuInputs& in) { in.patchYaw = std::numeric_limits<double>::quiet_NaN(); },
         "THU \u00B1 Nan > 5.50 m at 1\u00B0", "a beam term that is no number"},
    };
    for (const Case& c : cases) {
        TpuInputs in = StartInputs();
        c.change(in);
        const OrderFit fit = Fit(in, 10, 1);
        EXPECT_EQ(StopText(fit), c.stop) << c.reason;
        const DepthFits fits = FitOverDepth(in, RunTpuSweep(in, 10), 20);
        EXPECT_EQ(fits[1].curve[9].angle, fit.angle) << c.reason;
        EXPECT_EQ(fits[1].fullSwathTo, 0) << c.reason;
    }
}

// The shortcut (each beam's TVU² and THU² as P + Q D², read off one sweep)
// gives at every depth the fit of a sweep at that depth, and the two depth
// columns follow from it; also where beams lie on a limit to within rounding,
// where the shortcut alone could not tell.
TEST(OrderFit, OverDepthAgreesWithASweepAtEveryDepth) {
    TpuInputs wide = DgnssInputs();
    wide.swathWidth = 360;
    TpuInputs coarse = StartInputs();
    coarse.frequency = 200;
    coarse.patchYaw = 1.0;
    // NL Order A's 0.4 m THU limit and Special Order's 2 m, met exactly.
    const TpuInputs onNl = OnlyPositioning(0.4, 130);
    const TpuInputs onSpecial = OnlyPositioning(2.0, 130);
    // Special Order's TVU limit √(0.25² + (0.0075 D)²) met at the nadir to
    // within rounding: 0.25 m of fixed terms, and a range and profile term
    // that grow as 0.0075 D together.
    TpuInputs onTvu = OnlyPositioning(0.0, 130);
    onTvu.positionVertical = 0.25;
    onTvu.svpSd = std::sqrt(0.0075 * 0.0075 - 0.002 * 0.002) * 1500;
    for (const TpuInputs& in : {StartInputs(), DgnssInputs(), wide, coarse, onNl, onSpecial, onTvu}) {
        for (const int sweptAt : {1, 100}) {
            const DepthFits fits = FitOverDepth(in, RunTpuSweep(in, sweptAt), 500);
            for (std::size_t order = 0; order < kOrderLimits.size(); ++order) {
                const DepthFit& fit = fits[order];
                ASSERT_EQ(fit.curve.size(), 500U);
                int fullTo = 0;
                int nadirTo = 0;
                for (const FitPoint& point : fit.curve) {
                    const OrderFit direct = Fit(in, point.depth, order);
                    ASSERT_EQ(point.angle, direct.angle)
                        << kOrderLimits[order].caption << " at " << point.depth << " m";
                    EXPECT_EQ(point.swath, direct.angle ? UsableSwath(point.depth, *direct.angle) : 0.0);
                    fullTo = fullTo == point.depth - 1 && direct.angle && !direct.stop ? point.depth : fullTo;
                    nadirTo = nadirTo == point.depth - 1 && direct.angle ? point.depth : nadirTo;
                }
                EXPECT_EQ(fit.fullSwathTo, fullTo) << kOrderLimits[order].caption;
                EXPECT_EQ(fit.nadirTo, nadirTo) << kOrderLimits[order].caption;
            }
        }
    }
    EXPECT_TRUE(FitOverDepth(StartInputs(), RunTpuSweep(StartInputs(), 10), 0)[0].curve.empty());
}

// What the two columns read at the start installation (README, "Checking the
// order fit"): Special Order over the full swath to 20 m, at the nadir to
// 207 m, where 0.0096 m of THU per metre of depth reaches 2 m.
TEST(OrderFit, DepthColumns) {
    struct Case {
        TpuInputs inputs;
        std::size_t order;
        const char* fullTo;
        const char* nadirTo;
    };
    const Case cases[] = {
        {StartInputs(), 0, "20 m", "207 m"},
        {StartInputs(), 1, "110 m", "\u2265 500 m"},
        {StartInputs(), 2, "\u2265 500 m", "\u2265 500 m"},
        {DgnssInputs(), 4, "\u2014", "\u2014"},
    };
    for (const Case& c : cases) {
        const DepthFits fits = FitOverDepth(c.inputs, RunTpuSweep(c.inputs, 10), 500);
        EXPECT_EQ(ReachText(fits[c.order].fullSwathTo, 500), c.fullTo) << kOrderLimits[c.order].caption;
        EXPECT_EQ(ReachText(fits[c.order].nadirTo, 500), c.nadirTo) << kOrderLimits[c.order].caption;
    }
    EXPECT_EQ(ReachText(62, 100), "62 m");
}

TEST(OrderFit, UsableSwathOnAFlatSeabed) {
    EXPECT_NEAR(UsableSwath(10, 45), 20.0, 1e-12);
    EXPECT_EQ(UsableSwath(10, 0), 0.0);
}

// A term's name and value are made together: the values are given with their
// terms as tags, in the model's order, or the budget does not compile.
template <typename Term, Term... Tags>
constexpr bool Constructible = std::is_constructible_v<TermValues<Term>, Tagged<Tags>...>;
static_assert(
    Constructible<NadirThu, NadirThu::AlongTrackFootprint, NadirThu::SonarXOffset, NadirThu::AcrossTrackFootprint,
                  NadirThu::SonarYOffset, NadirThu::PatchPitch, NadirThu::PositionHorizontal, NadirThu::PositionXOffset,
                  NadirThu::PositionYOffset, NadirThu::MotionPitch>);
static_assert(
    !Constructible<NadirThu, NadirThu::SonarXOffset, NadirThu::AlongTrackFootprint, NadirThu::AcrossTrackFootprint,
                   NadirThu::SonarYOffset, NadirThu::PatchPitch, NadirThu::PositionHorizontal,
                   NadirThu::PositionXOffset, NadirThu::PositionYOffset, NadirThu::MotionPitch>,
    "two values swapped");
static_assert(!Constructible<NadirThu, NadirThu::AlongTrackFootprint, NadirThu::SonarXOffset,
                             NadirThu::AcrossTrackFootprint, NadirThu::SonarYOffset, NadirThu::PatchPitch,
                             NadirThu::PositionHorizontal, NadirThu::PositionXOffset, NadirThu::PositionYOffset>,
              "a value missing");
static_assert(!std::is_constructible_v<TermValues<NadirTvu>, double, double>, "values without their terms");
static_assert(TermName(BeamTvu::Tide) == "Tide" &&
              TermName(BeamThu::BeamAngle) == "Beam angle (surface sound velocity)" &&
              TermName(NadirThu::AcrossTrackFootprint) == "Across-track footprint");

TEST(ErrorBudget, EachValueUnderItsName) {
    TpuInputs in = DgnssInputs();
    in.maxHeave = 10; // 0.5 m of heave residual
    const BeamTerms beam = EvaluateBeam(in, 40, 30);
    const std::vector<NamedTerm> tvu = Named(beam.tvuTerms);
    ASSERT_EQ(tvu.size(), 13U);
    const auto value = [&tvu](std::string_view name) {
        return std::find_if(tvu.begin(), tvu.end(), [name](const NamedTerm& t) { return t.name == name; })->value;
    };
    EXPECT_EQ(value("Heave"), 0.5);
    EXPECT_EQ(value("Tide"), 0.1);
    EXPECT_EQ(value("Draft"), 0.05);
    EXPECT_EQ(value("Position vertical"), 0.5);
    EXPECT_EQ(std::count_if(tvu.begin(), tvu.end(), [](const NamedTerm& t) { return t.vessel; }), 5);
    const std::vector<NamedTerm> nadir = Named(EvaluateNadir(in, 40).thuTerms);
    EXPECT_EQ(nadir[2].name, "Across-track footprint");
    EXPECT_NEAR(nadir[2].value, 0.9 * 40 * std::tan(0.25 * 0.017453292519943295769), 1e-12);
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
    withoutTide[static_cast<std::size_t>(BeamTvu::Tide)] = true;
    const double tide = beam.tvuTerms[BeamTvu::Tide];
    EXPECT_NEAR(TotalWithout(beam.tvuTerms, withoutTide), std::sqrt(beam.tvu * beam.tvu - tide * tide), 1e-12);
    EXPECT_EQ(TotalWithout(beam.tvuTerms, std::vector<bool>(13, true)), 0.0);
}

TEST(ErrorBudget, TheLargestTermByName) {
    TpuInputs in = StartInputs();
    in.maxHeave = 10; // 0.5 m of heave residual
    EXPECT_EQ(TopTermText(Named(EvaluateBeam(in, 10, 0).tvuTerms)).substr(0, 7), "Heave: ");
    const std::vector<NamedTerm> two{{"Sonar X offset", 0.3}, {"Sonar Y offset", 0.4}};
    EXPECT_EQ(TopTermText(two), "Sonar Y offset: 64 %");
    EXPECT_EQ(TopTermText(std::vector<NamedTerm>{{"Range", 0.0}}), "\u2014");
}

TEST(SweepTable, TheInstallationAboveEveryBeamWithItsTermsAndOrders) {
    SweepContext context;
    context.figures = {{"Sonar", "Sonic 2024"}, {"Contractor", "\"Tormalind ApS\", Esbjerg"}};
    context.orders = {0, 6};
    const std::vector<std::string> lines = SweepTable(StartInputs(), 180, context);
    ASSERT_EQ(lines.size(), 2U + 4U + 14U + 1U + 1U + 66U); // context, beamwidths, nadir, limits, a blank line,
    // the header, 0° to 65°
    EXPECT_EQ(lines[0], "Sonar,Sonic 2024");
    EXPECT_EQ(lines[1], "Contractor,\"\"\"Tormalind ApS\"\", Esbjerg\"") << "quoted for a spreadsheet";
    EXPECT_EQ(lines[6], "IHO Special Order TVU limit (m),1.372953");
    EXPECT_EQ(lines[7], "IHO Special Order THU limit (m),2.000000");
    EXPECT_EQ(lines[4], "Nadir TVU (m)," + common::FormatFixed(EvaluateNadir(StartInputs(), 180).tvu, 0, 6));
    EXPECT_EQ(lines[20], "");
    const std::string& header = lines[21];
    const auto columns = [](const std::string& line) { return std::count(line.begin(), line.end(), ',') + 1; };
    EXPECT_EQ(columns(header), 4 + 13 + 13 + 2);
    EXPECT_EQ(header.substr(0, 52), "Depth (m),Angle (deg),TVU (m),THU (m),TVU Range (m),");
    EXPECT_EQ(header.substr(header.size() - 25), ",IHO Special Order,Orsted");
    for (std::size_t i = 22; i < lines.size(); ++i) {
        EXPECT_EQ(columns(lines[i]), columns(header)) << lines[i];
    }
    // The 30° beam as the model gives it, with six decimals.
    const BeamTerms beam = EvaluateBeam(StartInputs(), 180, 30);
    const std::string expected = "180,30," + common::FormatFixed(beam.tvu, 0, 6) + "," +
                                 common::FormatFixed(beam.thu, 0, 6) + "," +
                                 common::FormatFixed(beam.tvuTerms[BeamTvu::Range], 0, 6) + ",";
    EXPECT_EQ(lines[22 + 30].substr(0, expected.size()), expected);
    // At 180 m the nadir meets Special Order by its own figures, though the
    // 0° beam's THU does not; Orsted's 0.25 m TVU fails everywhere.
    EXPECT_EQ(lines[22].substr(lines[22].size() - 10), ",pass,fail");
    EXPECT_EQ(lines[23].substr(lines[23].size() - 10), ",fail,fail");

    TpuInputs none = StartInputs();
    none.swathWidth = -4;
    EXPECT_EQ(SweepTable(none, 40, {}).size(), 4U + 14U + 2U) << "no beam: the figures and the header alone";
}

} // namespace tpu_analysis_test

#include "tpu/TpuModel.h"
#include "tpu/TpuPresets.h"
#include "tpu/TpuStartInputs.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace tpu_model_test {

using namespace tpu;

namespace {

struct Shown {
    std::string along, across, maxTvu, minTvu, maxThu, minThu;
    std::size_t passes;
};

// The texts the window shows for a sweep: the outer beam is the last pass.
Shown Show(const TpuSweep& sweep) {
    Shown shown{sweep.alongText, sweep.acrossText, "", "", "", "", sweep.points.size()};
    if (!sweep.points.empty()) {
        shown.maxTvu = ResultText(sweep.points.back().tvu);
        shown.maxThu = ResultText(sweep.points.back().thu);
    }
    shown.minTvu = ResultText(sweep.nadir.tvu);
    shown.minThu = ResultText(sweep.nadir.thu);
    return shown;
}

void ExpectShown(const Shown& actual, const Shown& expected) {
    EXPECT_EQ(actual.along, expected.along);
    EXPECT_EQ(actual.across, expected.across);
    EXPECT_EQ(actual.maxTvu, expected.maxTvu);
    EXPECT_EQ(actual.minTvu, expected.minTvu);
    EXPECT_EQ(actual.maxThu, expected.maxThu);
    EXPECT_EQ(actual.minThu, expected.minThu);
    EXPECT_EQ(actual.passes, expected.passes);
}

} // namespace

TEST(TpuSweep, WorkedInstallations) {
    struct Case {
        const char* what;
        TpuInputs inputs;
        int depth;
        Shown shown;
    };
    TpuInputs at700 = StartInputs(); // Sonic 2024 700 kHz
    at700.swathWidth = 70;
    at700.frequency = at700.referenceFrequency = 700;
    at700.alongBeamwidth = 0.6;
    at700.acrossBeamwidth = 0.3;
    TpuInputs dgnss = StartInputs(); // DGNSS figures, the vessel defaults, a tide SD typed
    dgnss.positionHorizontal = 0.5;
    dgnss.positionVertical = 0.0;
    dgnss.positionZOffset = 0.0;
    dgnss.draft = 0.05;
    dgnss.squat = 0.0;
    dgnss.settlement = 0.10;
    dgnss.load = 0.05;
    dgnss.tidalSd = 0.25;
    const Case cases[] = {
        {"start",
         StartInputs(),
         10,
         {" 1.0 \u00B0", " 0.5 \u00B0", "\u00B1 0.091", "\u00B1 0.078", "\u00B1 0.954", "\u00B1 0.110", 67}},
        {"700 kHz at 50 m",
         at700,
         50,
         {" 0.6 \u00B0", " 0.3 \u00B0", "\u00B1 0.147", "\u00B1 0.125", "\u00B1 0.518", "\u00B1 0.296", 37}},
        {"DGNSS with a tide",
         dgnss,
         10,
         {" 1.0 \u00B0", " 0.5 \u00B0", "\u00B1 0.289", "\u00B1 0.285", "\u00B1 1.076", "\u00B1 0.510", 67}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExpectShown(Show(RunTpuSweep(c.inputs, c.depth)), c.shown);
    }
}

TEST(TpuSweep, BeamwidthsScaleFromThePresetsReferenceFrequency) {
    TpuInputs at200 = StartInputs();
    at200.frequency = 200;
    EXPECT_EQ(RunTpuSweep(at200, 10).alongText, " 2.0 \u00B0");
    EXPECT_EQ(RunTpuSweep(at200, 10).acrossText, " 1.0 \u00B0");

    const SonarPreset& ninety = kSonarPresets[8];
    TpuInputs in = StartInputs();
    in.frequency = 90; // the preset's frequency text
    in.referenceFrequency = ninety.referenceFrequency;
    in.alongBeamwidth = ninety.alongBeamwidth;
    in.acrossBeamwidth = ninety.acrossBeamwidth;
    const TpuSweep sweep = RunTpuSweep(in, 10);
    EXPECT_EQ(sweep.alongText, " 2.2 \u00B0");
    EXPECT_EQ(sweep.acrossText, " 2.2 \u00B0");
    EXPECT_DOUBLE_EQ(sweep.alongBeamwidth, 100.0 * 2.0 / 90.0);
}

TEST(TpuSweep, PassesRunFromMinusOneDegreeToTheOuterBeam) {
    const TpuInputs in = StartInputs();
    const TpuSweep sweep = RunTpuSweep(in, 10);
    ASSERT_EQ(sweep.points.size(), 67U);
    // The point at 0 and the point at 2 are both the beam at ±1°; the point at 1
    // is the 0° beam, which is not the nadir: the nadir has formulas of its own.
    EXPECT_EQ(sweep.points[0].abscissa, 0);
    EXPECT_EQ(sweep.points[0].tvu, sweep.points[2].tvu);
    EXPECT_EQ(sweep.points[0].thu, sweep.points[2].thu);
    EXPECT_EQ(sweep.points[1].tvu, EvaluateBeam(in, 10, 0).tvu);
    EXPECT_GT(sweep.points[1].thu, sweep.nadir.thu);
    EXPECT_EQ(sweep.points.back().abscissa, 66);
    EXPECT_EQ(sweep.points.back().thu, EvaluateBeam(in, 10, 65).thu);

    // Odd, tiny, zero and negative swaths: T is half the swath truncated toward zero.
    struct Case {
        int swath;
        std::size_t passes;
    };
    for (const Case c : {Case{131, 67}, Case{1, 2}, Case{0, 2}, Case{-2, 1}, Case{-3, 1}, Case{-4, 0}, Case{-160, 0}}) {
        TpuInputs odd = in;
        odd.swathWidth = c.swath;
        EXPECT_EQ(RunTpuSweep(odd, 10).points.size(), c.passes) << c.swath;
    }
}

TEST(TpuSweep, BeamTermsAreSummedInTheirOrder) {
    TpuInputs in = StartInputs();
    in.draft = 0.3;
    const BeamTerms beam = EvaluateBeam(in, 40, 30.0);
    // Terms that are inputs stand at their places in the budget.
    EXPECT_EQ(beam.tvuTerms[BeamTvu::SonarZOffset], 0.01);
    EXPECT_EQ(beam.tvuTerms[BeamTvu::Draft], 0.3);
    EXPECT_EQ(beam.tvuTerms[BeamTvu::Heave], 0.05); // 5 % of the maximum heave
    EXPECT_EQ(beam.thuTerms[BeamThu::PositionHorizontal], 0.05);
    // 30° at 40 m: slant range 46.19 m, 23.09 m across.
    const double range = 40.0 / std::cos(30.0 * 0.017453292519943295769);
    EXPECT_NEAR(beam.thuTerms[BeamThu::AlongTrackFootprint], range * std::tan(0.5 * 0.017453292519943295769), 1e-12);
    EXPECT_NEAR(beam.tvuTerms[BeamTvu::PatchRoll], std::tan(0.05 * 0.017453292519943295769) * range * 0.5, 1e-12);
    // A profile 2 m/s off: the slant range's travel time error, split into its
    // vertical (D / c x S) and across-track (D tan 30 / c x S) parts.
    TpuInputs profile = in;
    profile.svpSd = 2.0;
    const BeamTerms off = EvaluateBeam(profile, 40, 30.0);
    EXPECT_NEAR(off.tvuTerms[BeamTvu::SoundVelocityProfile], 40.0 / 1500 * 2.0, 1e-12);
    EXPECT_NEAR(off.thuTerms[BeamThu::SoundVelocityProfile],
                40.0 * std::tan(30.0 * 0.017453292519943295769) / 1500 * 2.0, 1e-12);
    double tvu = 0;
    for (const double term : beam.tvuTerms) {
        tvu += term * term;
    }
    EXPECT_NEAR(beam.tvu, std::sqrt(tvu), 1e-15);
}

TEST(TpuSweep, ZeroFrequencyOrSoundVelocityFlowsIntoTheTextsWithoutAnError) {
    TpuInputs in = StartInputs();
    in.frequency = 0;
    const TpuSweep sweep = RunTpuSweep(in, 10);
    EXPECT_EQ(sweep.alongText, "+Inf \u00B0");
    EXPECT_EQ(sweep.acrossText, "+Inf \u00B0");
    EXPECT_EQ(sweep.points.size(), 67U);
    EXPECT_FALSE(std::isfinite(sweep.nadir.thu));
    EXPECT_EQ(ResultText(sweep.nadir.tvu), "\u00B1 0.078"); // the vertical budget has no beamwidth in it

    in = StartInputs();
    in.soundVelocity = 0;
    const TpuSweep silent = RunTpuSweep(in, 10);
    EXPECT_EQ(silent.points.size(), 67U);
    EXPECT_FALSE(std::isfinite(silent.nadir.tvu));
}

TEST(OrderLimits, TheSurveyOrdersAtTheTpuDepth) {
    struct Case {
        int depth;
        std::array<const char*, 7> tvu, thu;
    };
    const Case cases[] = {
        {10,
         {"\u00B1  0.26 m", "\u00B1  0.52 m", "\u00B1  1.03 m", "\u00B1  0.16 m", "\u00B1  0.13 m", "\u00B1  0.17 m",
          "\u00B1  0.15 m"},
         {"\u00B1  2.00 m", "\u00B1  5.50 m", "\u00B1  21.00 m", "\u00B1  2.00 m", "\u00B1  0.40 m", "\u00B1  0.40 m",
          "\u00B1  0.70 m"}},
    };
    for (const Case& c : cases) {
        for (std::size_t i = 0; i < kOrderLimits.size(); ++i) {
            EXPECT_EQ(LimitText(TvuLimit(kOrderLimits[i], c.depth)), c.tvu[i]) << kOrderLimits[i].caption;
            EXPECT_EQ(LimitText(ThuLimit(kOrderLimits[i], c.depth)), c.thu[i]) << kOrderLimits[i].caption;
        }
    }
    // The Orsted TVU steps after 20 and 40 m.
    const OrderLimit& orsted = kOrderLimits[6];
    EXPECT_EQ(LimitText(TvuLimit(orsted, 20)), "\u00B1  0.15 m");
    EXPECT_EQ(LimitText(TvuLimit(orsted, 21)), "\u00B1  0.20 m");
    EXPECT_EQ(LimitText(TvuLimit(orsted, 40)), "\u00B1  0.20 m");
    EXPECT_EQ(LimitText(TvuLimit(orsted, 41)), "\u00B1  0.25 m");
}

TEST(TpuPresets, TablesHoldTheirRowsInListOrder) {
    EXPECT_EQ(kSonarPresets[kStartSonar].item, "Sonic 2024");
    EXPECT_FALSE(kSonarPresets[0].applies);
    EXPECT_EQ(kSonarPresets[8].item, "Sonic 2026   90 kHz");
    EXPECT_EQ(kMotionPresets[kStartMotion].selectedText, "I2NS v.II (WaveMaster)");
    EXPECT_EQ(kHeadingPresets[5].item, "6 - Phins ");
    // An inertial system's motion row points at its own heading row.
    for (const MotionPreset& motion : kMotionPresets) {
        if (motion.headingIndex >= 0) {
            EXPECT_EQ(kHeadingPresets[static_cast<std::size_t>(motion.headingIndex)].selectedText, motion.headingText)
                << motion.item;
            EXPECT_EQ(kHeadingPresets[static_cast<std::size_t>(motion.headingIndex)].headingSd, motion.headingSd)
                << motion.item;
        }
    }
}

} // namespace tpu_model_test

#include "tpu/TpuModel.h"

#include "common/Angles.h"
#include "common/NumberFormat.h"

#include <algorithm>
#include <cmath>

namespace tpu {

namespace {

using common::kRadiansPerDegree;

// Pulse length in metres: the range resolution a pulse of that duration gives.
double PulseMetres(const TpuInputs& inputs) {
    return static_cast<double>(inputs.soundVelocity) * inputs.pulseDuration / 1000000.0;
}

} // namespace

double HalfPulseLength(const TpuInputs& inputs) { return PulseMetres(inputs) / 2.0; }

namespace {

// Heave residual: 5 % of the largest heave expected.
double HeaveTerm(const TpuInputs& inputs) { return inputs.maxHeave * 5.0 / 100.0; }

} // namespace

double RootSumSquare(std::span<const double> terms) {
    // Summed in extended precision in the order given: the terms are small and
    // many, and the order is that of the budget.
    long double sum = 0.0L;
    for (const double term : terms) {
        sum += static_cast<long double>(term) * term;
    }
    return static_cast<double>(std::sqrt(sum));
}

// Beamwidths scale inversely with frequency from the preset's reference point.
double AlongBeamwidthAt(const TpuInputs& inputs) {
    return static_cast<double>(inputs.referenceFrequency) * inputs.alongBeamwidth / inputs.frequency;
}

double AcrossBeamwidthAt(const TpuInputs& inputs) {
    return static_cast<double>(inputs.referenceFrequency) * inputs.acrossBeamwidth / inputs.frequency;
}

std::string BeamwidthText(double degrees) { return common::FormatFixed(degrees, 4, 1) + " \u00B0"; }

BeamTerms EvaluateBeam(const TpuInputs& inputs, int depth, double angle) {
    const double d = depth;
    const double c = inputs.soundVelocity;
    const double theta = angle * kRadiansPerDegree;
    const double pulse = PulseMetres(inputs);
    const double alongBeam = AlongBeamwidthAt(inputs) * kRadiansPerDegree;
    const double acrossBeam = AcrossBeamwidthAt(inputs) * kRadiansPerDegree;

    const double range = d / std::cos(theta);
    const double across = range * std::sin(theta);
    // A beam steered off nadir widens by the secant of its angle.
    const double steeredBeam = acrossBeam / std::cos(theta);
    const double footprint = d * std::tan(theta + steeredBeam) - d * std::tan(theta - steeredBeam);
    const double profileError = range / c * inputs.svpSd;
    // A wrong sound velocity at the face refracts the beam by this much; at
    // nadir the cotangent is that of the double nearest 90°, so it is 0.
    const double refraction = std::atan(inputs.svsSd / (std::tan((90.0 - angle) * kRadiansPerDegree) * c));

    BeamTerms beam;
    {
        using enum BeamTvu;
        beam.tvuTerms = TermValues<BeamTvu>{
            TermValue<Range>(std::sqrt(std::pow(range * 0.2 / 100.0, 2) + std::pow(pulse / 2.0, 2))),
            TermValue<SonarZOffset>(inputs.sonarZOffset),
            TermValue<PatchRoll>(std::tan(inputs.patchRoll * kRadiansPerDegree) * across),
            TermValue<MotionRoll>(std::tan(inputs.motionRoll * kRadiansPerDegree) * across),
            TermValue<PositionVertical>(inputs.positionVertical),
            TermValue<PositionZOffset>(inputs.positionZOffset),
            TermValue<Draft>(inputs.draft),
            TermValue<Squat>(inputs.squat),
            TermValue<Settlement>(inputs.settlement),
            TermValue<Load>(inputs.load),
            TermValue<Heave>(HeaveTerm(inputs)),
            TermValue<SoundVelocityProfile>(std::cos(theta) * profileError),
            TermValue<Tide>(inputs.tidalSd),
        };
    }
    {
        using enum BeamThu;
        beam.thuTerms = TermValues<BeamThu>{
            TermValue<AlongTrackFootprint>(range * std::tan(alongBeam / 2.0)),
            TermValue<AcrossTrackFootprint>(0.8 * footprint / 2.0),
            TermValue<SonarXOffset>(inputs.sonarXOffset),
            TermValue<SonarYOffset>(inputs.sonarYOffset),
            TermValue<PatchPitch>(std::tan(inputs.patchPitch * kRadiansPerDegree) * range),
            TermValue<PatchYaw>(std::tan(inputs.patchYaw * kRadiansPerDegree) * across),
            TermValue<PositionHorizontal>(inputs.positionHorizontal),
            TermValue<PositionXOffset>(inputs.positionXOffset),
            TermValue<PositionYOffset>(inputs.positionYOffset),
            TermValue<MotionPitch>(std::tan(inputs.motionPitch * kRadiansPerDegree) * range),
            TermValue<Heading>(std::tan(inputs.headingSd * kRadiansPerDegree) * across),
            TermValue<SoundVelocityProfile>(std::cos((90.0 - angle) * kRadiansPerDegree) * profileError),
            TermValue<BeamAngle>(d * std::tan(theta + refraction) - d * std::tan(theta)),
        };
    }
    beam.tvu = RootSumSquare(beam.tvuTerms);
    beam.thu = RootSumSquare(beam.thuTerms);
    return beam;
}

NadirValues EvaluateNadir(const TpuInputs& inputs, int depth) {
    const double d = depth;
    const double pulse = PulseMetres(inputs);
    NadirValues nadir;
    {
        using enum NadirTvu;
        nadir.tvuTerms = TermValues<NadirTvu>{
            TermValue<Range>(std::sqrt(std::pow(d * 0.2 / 100.0, 2) + std::pow(pulse / 2.0, 2))),
            TermValue<SonarZOffset>(inputs.sonarZOffset),
            TermValue<PositionVertical>(inputs.positionVertical),
            TermValue<PositionZOffset>(inputs.positionZOffset),
            TermValue<Draft>(inputs.draft),
            TermValue<Squat>(inputs.squat),
            TermValue<Settlement>(inputs.settlement),
            TermValue<Load>(inputs.load),
            TermValue<Heave>(HeaveTerm(inputs)),
            TermValue<SoundVelocityProfile>(d * inputs.svpSd / inputs.soundVelocity),
            TermValue<Tide>(inputs.tidalSd),
        };
    }
    {
        using enum NadirThu;
        nadir.thuTerms = TermValues<NadirThu>{
            TermValue<AlongTrackFootprint>(d * std::tan(AlongBeamwidthAt(inputs) * kRadiansPerDegree / 2.0)),
            TermValue<SonarXOffset>(inputs.sonarXOffset),
            TermValue<AcrossTrackFootprint>(0.9 * d * std::tan(AcrossBeamwidthAt(inputs) * kRadiansPerDegree / 2.0)),
            TermValue<SonarYOffset>(inputs.sonarYOffset),
            TermValue<PatchPitch>(std::tan(inputs.patchPitch * kRadiansPerDegree) * d),
            TermValue<PositionHorizontal>(inputs.positionHorizontal),
            TermValue<PositionXOffset>(inputs.positionXOffset),
            TermValue<PositionYOffset>(inputs.positionYOffset),
            TermValue<MotionPitch>(std::tan(inputs.motionPitch * kRadiansPerDegree) * d),
        };
    }
    nadir.tvu = RootSumSquare(nadir.tvuTerms);
    nadir.thu = RootSumSquare(nadir.thuTerms);
    return nadir;
}

TpuSweep RunTpuSweep(const TpuInputs& inputs, int depth) {
    TpuSweep sweep;
    sweep.depth = depth;
    sweep.alongBeamwidth = AlongBeamwidthAt(inputs);
    sweep.acrossBeamwidth = AcrossBeamwidthAt(inputs);
    sweep.alongText = BeamwidthText(sweep.alongBeamwidth);
    sweep.acrossText = BeamwidthText(sweep.acrossBeamwidth);
    sweep.nadir = EvaluateNadir(inputs, depth);
    const int half = std::min(inputs.swathWidth, kWidestSwath) / 2; // truncated toward zero
    for (int counter = -1; counter < half + 1;) {
        const BeamTerms beam = EvaluateBeam(inputs, depth, counter);
        ++counter;
        sweep.points.push_back({counter, beam.tvu, beam.thu, beam});
    }
    return sweep;
}

std::string ResultText(double value) { return "\u00B1 " + common::FormatFixed(value, 4, 3); }

double TvuLimit(const OrderLimit& order, int depth) {
    return survey::MaxAllowableTVU(survey::SurveyOrderTable.at(order.surveyOrder), depth);
}

double ThuLimit(const OrderLimit& order, int depth) {
    return survey::MaxAllowableTHU(survey::SurveyOrderTable.at(order.surveyOrder), depth);
}

std::string LimitText(double limit) { return "\u00B1  " + common::FormatFixed(limit, 2, 2) + " m"; }

} // namespace tpu

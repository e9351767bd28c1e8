#include "tpu/TpuModel.h"

#include "common/Angles.h"
#include "common/NumberFormat.h"

#include <algorithm>
#include <cmath>

namespace tpu {

namespace {

using common::kRadiansPerDegree;

// Pulse length in metres: the range resolution a pulse of that duration gives.
double PulseLength(const TpuInputs& inputs) {
    return static_cast<double>(inputs.soundVelocity) * inputs.pulseDuration / 1000000.0;
}

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
    const double pulse = PulseLength(inputs);
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
    beam.tvuTerms = {
        std::sqrt(std::pow(range * 0.2 / 100.0, 2) + std::pow(pulse / 2.0, 2)),
        inputs.sonarZOffset,
        std::tan(inputs.patchRoll * kRadiansPerDegree) * across,
        std::tan(inputs.motionRoll * kRadiansPerDegree) * across,
        inputs.positionVertical,
        inputs.positionZOffset,
        inputs.draft,
        inputs.squat,
        inputs.settlement,
        inputs.load,
        HeaveTerm(inputs),
        std::cos(theta) * profileError,
        inputs.tidalSd,
    };
    beam.thuTerms = {
        range * std::tan(alongBeam / 2.0),
        0.8 * footprint / 2.0,
        inputs.sonarXOffset,
        inputs.sonarYOffset,
        std::tan(inputs.patchPitch * kRadiansPerDegree) * range,
        std::tan(inputs.patchYaw * kRadiansPerDegree) * across,
        inputs.positionHorizontal,
        inputs.positionXOffset,
        inputs.positionYOffset,
        std::tan(inputs.motionPitch * kRadiansPerDegree) * range,
        std::tan(inputs.headingSd * kRadiansPerDegree) * across,
        std::cos((90.0 - angle) * kRadiansPerDegree) * profileError,
        d * std::tan(theta + refraction) - d * std::tan(theta),
    };
    beam.tvu = RootSumSquare(beam.tvuTerms);
    beam.thu = RootSumSquare(beam.thuTerms);
    return beam;
}

NadirValues EvaluateNadir(const TpuInputs& inputs, int depth) {
    const double d = depth;
    const double pulse = PulseLength(inputs);
    NadirValues nadir;
    nadir.tvuTerms = {
        std::sqrt(std::pow(d * 0.2 / 100.0, 2) + std::pow(pulse / 2.0, 2)),
        inputs.sonarZOffset,
        inputs.positionVertical,
        inputs.positionZOffset,
        inputs.draft,
        inputs.squat,
        inputs.settlement,
        inputs.load,
        HeaveTerm(inputs),
        d * inputs.svpSd / inputs.soundVelocity,
        inputs.tidalSd,
    };
    nadir.thuTerms = {
        d * std::tan(AlongBeamwidthAt(inputs) * kRadiansPerDegree / 2.0),
        inputs.sonarXOffset,
        0.9 * d * std::tan(AcrossBeamwidthAt(inputs) * kRadiansPerDegree / 2.0),
        inputs.sonarYOffset,
        std::tan(inputs.patchPitch * kRadiansPerDegree) * d,
        inputs.positionHorizontal,
        inputs.positionXOffset,
        inputs.positionYOffset,
        std::tan(inputs.motionPitch * kRadiansPerDegree) * d,
    };
    nadir.tvu = RootSumSquare(nadir.tvuTerms);
    nadir.thu = RootSumSquare(nadir.thuTerms);
    return nadir;
}

TpuSweep RunTpuSweep(const TpuInputs& inputs, int depth) {
    TpuSweep sweep;
    sweep.alongBeamwidth = AlongBeamwidthAt(inputs);
    sweep.acrossBeamwidth = AcrossBeamwidthAt(inputs);
    sweep.alongText = BeamwidthText(sweep.alongBeamwidth);
    sweep.acrossText = BeamwidthText(sweep.acrossBeamwidth);
    sweep.nadir = EvaluateNadir(inputs, depth);
    const int half = std::min(inputs.swathWidth, kWidestSwath) / 2; // truncated toward zero
    for (int counter = -1; counter < half + 1;) {
        const BeamTerms beam = EvaluateBeam(inputs, depth, counter);
        ++counter;
        sweep.points.push_back({counter, beam.tvu, beam.thu});
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

#include "tpu/TpuAnalysis.h"

#include "common/NumberFormat.h"
#include "survey/SurveyGeometry.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tpu {

namespace {

// The outermost beam the fit may count: half the swath, truncated toward zero
// as the sweep does, and never beyond the steepest beam that meets the seabed.
int TopBeam(const TpuInputs& inputs) {
    return std::min(std::min(inputs.swathWidth, kWidestSwath) / 2, kSteepestUsableBeam);
}

// A value that is not a number is no pass.
bool Within(double value, double limit) { return value <= limit; }

bool BeamPasses(const TpuInputs& inputs, int depth, int angle, double tvuLimit, double thuLimit) {
    const BeamTerms beam = EvaluateBeam(inputs, depth, angle);
    return Within(beam.tvu, tvuLimit) && Within(beam.thu, thuLimit);
}

// A beam's TVU² and THU² as P + Q D².
struct BeamSquares {
    double tvuP = 0.0, tvuQ = 0.0, thuP = 0.0, thuQ = 0.0;
    bool exact = true; // false: the inputs give no finite P and Q, evaluate directly
};

// Whether the square `value` of a total is within the square `limit` of a
// limit: nullopt where the two are too close to tell apart by the shortcut.
std::optional<bool> ClearlyWithin(double value, double limit) {
    constexpr double kHair = 1e-9;
    if (std::abs(value - limit) <= kHair * std::max(std::abs(value), std::abs(limit))) {
        return std::nullopt;
    }
    return value < limit;
}

} // namespace

std::optional<int> UsableAngle(const TpuInputs& inputs, int depth, const OrderLimit& order) {
    const double tvuLimit = TvuLimit(order, depth);
    const double thuLimit = ThuLimit(order, depth);
    const int top = TopBeam(inputs);
    int usable = -1;
    while (usable < top && BeamPasses(inputs, depth, usable + 1, tvuLimit, thuLimit)) {
        ++usable;
    }
    return usable < 0 ? std::nullopt : std::optional<int>(usable);
}

double UsableSwath(int depth, int angle) { return survey::FlatSeabedSwath(depth, angle); }

FitCurves UsableSwathByDepth(const TpuInputs& inputs, int deepest) {
    FitCurves curves;
    const int top = TopBeam(inputs);
    std::vector<BeamSquares> beams;
    for (int angle = 0; angle <= top; ++angle) {
        const BeamTerms surface = EvaluateBeam(inputs, 0, angle);
        const BeamTerms oneMetre = EvaluateBeam(inputs, 1, angle);
        BeamSquares beam;
        beam.tvuP = surface.tvu * surface.tvu;
        beam.tvuQ = oneMetre.tvu * oneMetre.tvu - beam.tvuP;
        beam.thuP = surface.thu * surface.thu;
        beam.thuQ = oneMetre.thu * oneMetre.thu - beam.thuP;
        beam.exact = std::isfinite(beam.tvuP) && std::isfinite(beam.tvuQ) && std::isfinite(beam.thuP) &&
                     std::isfinite(beam.thuQ);
        beams.push_back(beam);
    }
    for (auto& curve : curves) {
        curve.reserve(static_cast<std::size_t>(std::max(deepest, 0)));
    }
    for (int depth = 1; depth <= deepest; ++depth) {
        const double d2 = static_cast<double>(depth) * depth;
        for (std::size_t order = 0; order < kOrderLimits.size(); ++order) {
            const double tvuLimit = TvuLimit(kOrderLimits[order], depth);
            const double thuLimit = ThuLimit(kOrderLimits[order], depth);
            const double tvuLimit2 = tvuLimit * tvuLimit;
            const double thuLimit2 = thuLimit * thuLimit;
            int usable = -1;
            for (const BeamSquares& beam : beams) {
                std::optional<bool> passes;
                if (beam.exact) {
                    const std::optional<bool> tvu = ClearlyWithin(beam.tvuP + beam.tvuQ * d2, tvuLimit2);
                    const std::optional<bool> thu = ClearlyWithin(beam.thuP + beam.thuQ * d2, thuLimit2);
                    if ((tvu && !*tvu) || (thu && !*thu)) {
                        passes = false;
                    } else if (tvu && thu) {
                        passes = true;
                    }
                }
                if (!passes) {
                    passes = BeamPasses(inputs, depth, usable + 1, tvuLimit, thuLimit);
                }
                if (!*passes) {
                    break;
                }
                ++usable;
            }
            curves[order].push_back({depth, usable < 0 ? 0.0 : UsableSwath(depth, usable)});
        }
    }
    return curves;
}

std::vector<BudgetShare> BudgetShares(std::span<const double> terms) {
    long double sum = 0.0L;
    for (const double term : terms) {
        sum += static_cast<long double>(term) * term;
    }
    std::vector<BudgetShare> shares(terms.size());
    for (std::size_t i = 0; i < terms.size(); ++i) {
        shares[i].term = i;
        shares[i].percent = sum > 0.0L && std::isfinite(static_cast<double>(sum))
                                ? static_cast<double>(static_cast<long double>(terms[i]) * terms[i] * 100.0L / sum)
                                : 0.0;
    }
    std::stable_sort(shares.begin(), shares.end(),
                     [](const BudgetShare& a, const BudgetShare& b) { return a.percent > b.percent; });
    return shares;
}

double TotalWithout(std::span<const double> terms, const std::vector<bool>& leftOut) {
    std::vector<double> kept;
    kept.reserve(terms.size());
    for (std::size_t i = 0; i < terms.size(); ++i) {
        if (i >= leftOut.size() || !leftOut[i]) {
            kept.push_back(terms[i]);
        }
    }
    return RootSumSquare(kept);
}

std::string TopTermText(std::span<const std::string_view> names, std::span<const BudgetShare> shares) {
    if (shares.empty() || !(shares.front().percent > 0.0) || shares.front().term >= names.size()) {
        return "\u2014";
    }
    return std::string(names[shares.front().term]) + ": " + common::FormatFixed(shares.front().percent, 0, 0) + " %";
}

std::vector<std::string> SweepTable(const TpuInputs& inputs, int depth) {
    std::string header = "Depth (m),Angle (deg),TVU (m),THU (m)";
    for (const std::string_view name : kBeamTvuTermNames) {
        header += ",TVU " + std::string(name) + " (m)";
    }
    for (const std::string_view name : kBeamThuTermNames) {
        header += ",THU " + std::string(name) + " (m)";
    }
    std::vector<std::string> lines{header};
    const int half = std::min(inputs.swathWidth, kWidestSwath) / 2;
    const auto number = [](double value) { return common::FormatFixed(value, 0, 6); };
    for (int angle = 0; angle <= half; ++angle) {
        const BeamTerms beam = EvaluateBeam(inputs, depth, angle);
        std::string line =
            std::to_string(depth) + "," + std::to_string(angle) + "," + number(beam.tvu) + "," + number(beam.thu);
        for (const double term : beam.tvuTerms) {
            line += "," + number(term);
        }
        for (const double term : beam.thuTerms) {
            line += "," + number(term);
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace tpu

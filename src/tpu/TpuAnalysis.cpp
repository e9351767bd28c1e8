#include "tpu/TpuAnalysis.h"

#include "common/NumberFormat.h"
#include "survey/SurveyGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tpu {

namespace {

// The outermost beam the fit may count: half the swath, truncated toward zero
// as the sweep does, and never beyond the steepest beam that meets the seabed.
// The sweep's passes are the beams -1°, 0°, ..., trunc(W / 2).
int OutermostBeam(const TpuSweep& sweep) {
    return std::min(static_cast<int>(sweep.points.size()) - 2, kSteepestUsableBeam);
}

const BeamTerms& SweptBeam(const TpuSweep& sweep, int angle) {
    return sweep.points[static_cast<std::size_t>(angle) + 1].terms;
}

// A figure on its limit is within it; one that is not a number is not.
bool Within(double value, double limit) { return value <= limit; }

// The quantity that exceeds its limit by the larger ratio, given that one does.
FitStop StopAt(int beam, double tvu, double thu, double tvuLimit, double thuLimit) {
    const double tvuRatio = tvu / tvuLimit;
    const double thuRatio = thu / thuLimit;
    bool byThu = !Within(thu, thuLimit);
    if (byThu && !Within(tvu, tvuLimit)) {
        byThu = !std::isnan(tvuRatio) && (std::isnan(thuRatio) || thuRatio > tvuRatio);
    }
    return byThu ? FitStop{beam, true, thu, thuLimit} : FitStop{beam, false, tvu, tvuLimit};
}

// A total's square as P + Q D², read off its terms at one depth.
struct Squares {
    double p = 0.0;
    double q = 0.0;
};

template <typename Term> Squares SquaresOf(const TermValues<Term>& terms, int depth, double halfPulse) {
    long double fixed = 0.0L;
    long double growing = 0.0L;
    for (const TermRow<Term>& row : TermTable<Term>::rows) {
        const long double value = terms[row.term];
        switch (row.growth) {
        case Growth::Fixed:
            fixed += value * value;
            break;
        case Growth::WithDepth:
            growing += value * value;
            break;
        case Growth::Range:
            fixed += static_cast<long double>(halfPulse) * halfPulse;
            growing += value * value - static_cast<long double>(halfPulse) * halfPulse;
            break;
        }
    }
    const long double d = depth;
    return {static_cast<double>(fixed), static_cast<double>(growing / (d * d))};
}

// One beam's TVU² and THU² over depth. Inputs that give no finite P or Q
// (no sound velocity, a term that is no number) are evaluated directly.
struct BeamCurve {
    Squares tvu;
    Squares thu;
    bool exact = true;
};

template <typename Values> BeamCurve CurveOf(const Values& values, int depth, double halfPulse) {
    BeamCurve curve{SquaresOf(values.tvuTerms, depth, halfPulse), SquaresOf(values.thuTerms, depth, halfPulse)};
    curve.exact = std::isfinite(curve.tvu.p) && std::isfinite(curve.tvu.q) && std::isfinite(curve.thu.p) &&
                  std::isfinite(curve.thu.q);
    return curve;
}

// Whether the square `value` of a total is within the square `limit` of a
// limit: nullopt where the two are too close to tell apart by the shortcut.
std::optional<bool> ClearlyWithin(double value, double limit) {
    constexpr double kHair = 1e-9;
    if (!(std::abs(value - limit) > kHair * std::max(std::abs(value), std::abs(limit)))) {
        return std::nullopt;
    }
    return value < limit;
}

// The limits' squares at one depth.
struct Limits {
    double tvu = 0.0;
    double thu = 0.0;
    double tvu2 = 0.0;
    double thu2 = 0.0;
};

std::optional<bool> Judge(const BeamCurve& curve, double d2, const Limits& limits) {
    if (!curve.exact) {
        return std::nullopt;
    }
    const std::optional<bool> tvu = ClearlyWithin(curve.tvu.p + curve.tvu.q * d2, limits.tvu2);
    const std::optional<bool> thu = ClearlyWithin(curve.thu.p + curve.thu.q * d2, limits.thu2);
    if ((tvu && !*tvu) || (thu && !*thu)) {
        return false;
    }
    if (tvu && thu) {
        return true;
    }
    return std::nullopt;
}

} // namespace

OrderFit FitOrder(const TpuSweep& sweep, const OrderLimit& order) {
    OrderFit fit;
    fit.outermost = OutermostBeam(sweep);
    if (fit.outermost < 0) {
        return fit;
    }
    const double tvuLimit = TvuLimit(order, sweep.depth);
    const double thuLimit = ThuLimit(order, sweep.depth);
    const NadirValues& nadir = sweep.nadir;
    if (!Within(nadir.tvu, tvuLimit) || !Within(nadir.thu, thuLimit)) {
        fit.stop = StopAt(0, nadir.tvu, nadir.thu, tvuLimit, thuLimit);
        return fit;
    }
    int usable = 0;
    while (usable < fit.outermost) {
        const BeamTerms& beam = SweptBeam(sweep, usable + 1);
        if (!Within(beam.tvu, tvuLimit) || !Within(beam.thu, thuLimit)) {
            fit.stop = StopAt(usable + 1, beam.tvu, beam.thu, tvuLimit, thuLimit);
            break;
        }
        ++usable;
    }
    fit.angle = usable;
    return fit;
}

std::string StopText(const OrderFit& fit) {
    if (!fit.stop) {
        return fit.angle ? "full swath" : "\u2014";
    }
    const FitStop& stop = *fit.stop;
    return std::string(stop.thu ? "THU" : "TVU") + " \u00B1 " + common::FormatFixed(stop.value, 0, 3) + " > " +
           common::FormatFixed(stop.limit, 2, 2) + " m at " + std::to_string(stop.beam) + "\u00B0";
}

double UsableSwath(int depth, int angle) { return survey::FlatSeabedSwath(depth, angle); }

DepthFits FitOverDepth(const TpuInputs& inputs, const TpuSweep& sweep, int deepest) {
    DepthFits fits;
    const int outermost = OutermostBeam(sweep);
    if (sweep.depth < 1 && outermost >= 0) {
        return FitOverDepth(inputs, RunTpuSweep(inputs, 1), deepest); // no depth to divide by
    }
    const double halfPulse = HalfPulseLength(inputs);
    const BeamCurve nadir = CurveOf(sweep.nadir, sweep.depth, halfPulse);
    // Beams 1° and out, and their running envelope: the largest P and the
    // largest Q of every beam up to each one. Where the envelope is clearly
    // within a limit, so is every beam under it; the fit searches the
    // envelope and looks at single beams only from where it stops.
    std::vector<BeamCurve> beams(static_cast<std::size_t>(std::max(outermost, 0)) + 1);
    std::vector<BeamCurve> envelope(beams.size());
    constexpr double kNone = std::numeric_limits<double>::lowest();
    envelope[0] = {{kNone, kNone}, {kNone, kNone}, true}; // below the 1° beam: nothing
    for (int angle = 1; angle <= outermost; ++angle) {
        const auto k = static_cast<std::size_t>(angle);
        beams[k] = CurveOf(SweptBeam(sweep, angle), sweep.depth, halfPulse);
        const BeamCurve& below = envelope[k - 1];
        envelope[k].exact = beams[k].exact && below.exact;
        envelope[k].tvu = {std::max(below.tvu.p, beams[k].tvu.p), std::max(below.tvu.q, beams[k].tvu.q)};
        envelope[k].thu = {std::max(below.thu.p, beams[k].thu.p), std::max(below.thu.q, beams[k].thu.q)};
    }

    for (std::size_t order = 0; order < kOrderLimits.size(); ++order) {
        DepthFit& fit = fits[order];
        fit.curve.reserve(static_cast<std::size_t>(std::max(deepest, 0)));
        bool fullSoFar = true;
        bool nadirSoFar = true;
        for (int depth = 1; depth <= deepest; ++depth) {
            const double d2 = static_cast<double>(depth) * depth;
            Limits limits;
            limits.tvu = TvuLimit(kOrderLimits[order], depth);
            limits.thu = ThuLimit(kOrderLimits[order], depth);
            limits.tvu2 = limits.tvu * limits.tvu;
            limits.thu2 = limits.thu * limits.thu;
            std::optional<int> angle;
            if (outermost >= 0) {
                std::optional<bool> nadirPasses = Judge(nadir, d2, limits);
                if (!nadirPasses) {
                    const NadirValues direct = EvaluateNadir(inputs, depth);
                    nadirPasses = Within(direct.tvu, limits.tvu) && Within(direct.thu, limits.thu);
                }
                if (*nadirPasses) {
                    // The envelope is clearly within up to `low`, not at `high`.
                    int low = 0;
                    int high = outermost + 1;
                    while (high - low > 1) {
                        const int mid = (low + high) / 2;
                        const std::optional<bool> all = Judge(envelope[static_cast<std::size_t>(mid)], d2, limits);
                        (all && *all ? low : high) = mid;
                    }
                    int usable = low;
                    while (usable < outermost) {
                        const int next = usable + 1;
                        std::optional<bool> passes = Judge(beams[static_cast<std::size_t>(next)], d2, limits);
                        if (!passes) {
                            const BeamTerms direct = EvaluateBeam(inputs, depth, next);
                            passes = Within(direct.tvu, limits.tvu) && Within(direct.thu, limits.thu);
                        }
                        if (!*passes) {
                            break;
                        }
                        usable = next;
                    }
                    angle = usable;
                }
            }
            nadirSoFar = nadirSoFar && angle.has_value();
            fullSoFar = fullSoFar && angle == outermost;
            fit.nadirTo = nadirSoFar ? depth : fit.nadirTo;
            fit.fullSwathTo = fullSoFar ? depth : fit.fullSwathTo;
            fit.curve.push_back({depth, angle, angle ? UsableSwath(depth, *angle) : 0.0});
        }
    }
    return fits;
}

std::string ReachText(int reach, int deepest) {
    if (reach < 1) {
        return "\u2014";
    }
    return (reach >= deepest ? "\u2265 " : "") + std::to_string(reach) + " m";
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

std::string TopTermText(std::span<const NamedTerm> terms) {
    std::vector<double> values;
    values.reserve(terms.size());
    for (const NamedTerm& term : terms) {
        values.push_back(term.value);
    }
    const std::vector<BudgetShare> shares = BudgetShares(values);
    if (shares.empty() || !(shares.front().percent > 0.0)) {
        return "\u2014";
    }
    return std::string(terms[shares.front().term].name) + ": " + common::FormatFixed(shares.front().percent, 0, 0) +
           " %";
}

namespace {

// A spreadsheet's cell: quoted where the text holds a comma, a quote or a
// line end, with its quotes doubled.
std::string Cell(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return quoted + "\"";
}

} // namespace

std::vector<std::string> SweepTable(const TpuInputs& inputs, int depth, const SweepContext& context) {
    const auto number = [](double value) { return common::FormatFixed(value, 0, 6); };
    std::vector<std::string> lines;
    for (const auto& [caption, text] : context.figures) {
        lines.push_back(Cell(caption) + "," + Cell(text));
    }
    const NadirValues nadir = EvaluateNadir(inputs, depth);
    lines.push_back("Along-track beamwidth (deg)," + number(AlongBeamwidthAt(inputs)));
    lines.push_back("Across-track beamwidth (deg)," + number(AcrossBeamwidthAt(inputs)));
    lines.push_back("Nadir TVU (m)," + number(nadir.tvu));
    lines.push_back("Nadir THU (m)," + number(nadir.thu));
    for (const OrderLimit& order : kOrderLimits) {
        lines.push_back(Cell(std::string(order.caption) + " TVU limit (m)") + "," + number(TvuLimit(order, depth)));
        lines.push_back(Cell(std::string(order.caption) + " THU limit (m)") + "," + number(ThuLimit(order, depth)));
    }
    lines.emplace_back();

    std::string header = "Depth (m),Angle (deg),TVU (m),THU (m)";
    for (const TermRow<BeamTvu>& row : TermTable<BeamTvu>::rows) {
        header += "," + Cell("TVU " + std::string(row.name) + " (m)");
    }
    for (const TermRow<BeamThu>& row : TermTable<BeamThu>::rows) {
        header += "," + Cell("THU " + std::string(row.name) + " (m)");
    }
    for (const std::size_t order : context.orders) {
        header += "," + Cell(std::string(kOrderLimits.at(order).caption));
    }
    lines.push_back(header);

    const int half = std::min(inputs.swathWidth, kWidestSwath) / 2;
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
        // The nadir is judged by its own figures, as the order fit judges it.
        const double tvu = angle == 0 ? nadir.tvu : beam.tvu;
        const double thu = angle == 0 ? nadir.thu : beam.thu;
        for (const std::size_t order : context.orders) {
            const OrderLimit& limit = kOrderLimits.at(order);
            const bool passes = Within(tvu, TvuLimit(limit, depth)) && Within(thu, ThuLimit(limit, depth));
            line += passes ? ",pass" : ",fail";
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

} // namespace tpu

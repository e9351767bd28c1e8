// What the uncertainty model means for a survey plan. The order fit answers
// "how wide may I run the swath and still meet this order at this depth": the
// outermost whole-degree beam up to which every beam stays within the order's
// limits and the swath on a flat seabed it gives (the survey floor's line
// spacing then spaces the lines). The
// error budget answers "what would a better sensor buy": each term's share of
// a total, and the total without the terms a surveyor leaves out.
#pragma once

#include "tpu/TpuModel.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tpu {

// ---------------------------------------------------------------------------
// Order fit

// A beam at 90° or beyond never meets the seabed: the fit looks no further.
inline constexpr int kSteepestUsableBeam = 89;

// Where the beams stop meeting an order: the first beam that fails, the
// quantity that exceeds its limit by the larger ratio, its figure and limit.
struct FitStop {
    int beam = 0; // whole degrees; 0 is the nadir
    bool thu = false;
    double value = 0.0;
    double limit = 0.0;
};

// The order's fit at one depth. The nadir is judged by its own figures (the
// results column's Min TVU and Min THU), the beams at 1°, 2°, ... out to
// trunc(swath width / 2) by the beam formula, as the charts draw them. The
// usable angle is the largest whole degree up to which every beam is within
// both limits (a figure on its limit is within it, one that is not a number is
// not); none when the nadir fails.
struct OrderFit {
    std::optional<int> angle;
    int outermost = -1;          // the outermost beam looked at; -1: the swath has none
    std::optional<FitStop> stop; // none: every beam out to the outermost is within
};

// The fit from the beams the sweep evaluated at its depth.
OrderFit FitOrder(const TpuSweep& sweep, const OrderLimit& order);

// Why the usable angle is what it is: "full swath", or the first beam that
// fails as "THU ± 2.022 > 2.00 m at 41°" (the figure as the results column
// shows a TVU or THU, the limit as it shows a limit); "—" without a beam.
std::string StopText(const OrderFit& fit);

// The swath on a flat seabed up to the usable angle on both sides: 2 D tan a.
double UsableSwath(int depth, int angle);

// The fit over depth, for the fit chart and the depth columns. At a given
// depth each term of a beam is either a constant or proportional to the
// depth, and the range term's square is a constant plus a multiple of the
// depth squared; so each beam's TVU² and THU² are P + Q D² exactly, read off
// the terms the sweep already holds instead of a sweep per depth. Where a
// beam lies within a hair of a limit, it is evaluated directly, so every
// depth's answer is that of FitOrder on a sweep at that depth.
struct FitPoint {
    int depth = 0;
    std::optional<int> angle; // the usable angle at that depth
    double swath = 0.0;       // m; 0 where no beam beyond the nadir fits
};
struct DepthFit {
    std::vector<FitPoint> curve; // 1 m, 2 m, ... `deepest`
    // The deepest depth d such that the order holds over the whole swath (or
    // at the nadir) at every whole depth from 1 m to d; 0 when it fails at 1 m.
    int fullSwathTo = 0;
    int nadirTo = 0;
};
using DepthFits = std::array<DepthFit, kOrderLimits.size()>;
DepthFits FitOverDepth(const TpuInputs& inputs, const TpuSweep& sweep, int deepest);

// A depth column's text: "62 m"; "≥ 500 m" when the order holds down to the
// deepest depth looked at; "—" when it fails at 1 m.
std::string ReachText(int reach, int deepest);

// ---------------------------------------------------------------------------
// Error budget

// A term with its name, as the bars and the sweep's columns show it.
struct NamedTerm {
    std::string_view name;
    double value = 0.0;
    bool vessel = false; // zero when the height is RTK's
};

template <typename Term> std::vector<NamedTerm> Named(const TermValues<Term>& values) {
    std::vector<NamedTerm> named;
    named.reserve(values.size());
    for (const TermRow<Term>& row : TermTable<Term>::rows) {
        named.push_back({row.name, values[row.term], row.vessel});
    }
    return named;
}

// One term's part of a total: its square over the sum of the squares.
struct BudgetShare {
    std::size_t term = 0; // index in the model's order
    double percent = 0.0;
};

// Every term's share, largest first (equal shares in the model's order). A
// budget whose squares sum to nothing has every share 0.
std::vector<BudgetShare> BudgetShares(std::span<const double> terms);

// The total of the terms not left out (`leftOut[i]` true leaves term i out;
// a shorter list leaves the rest in).
double TotalWithout(std::span<const double> terms, const std::vector<bool>& leftOut);

// "Heave: 41 %", the largest share in whole percent; "—" when nothing adds up.
std::string TopTermText(std::span<const NamedTerm> terms);

// ---------------------------------------------------------------------------
// The sweep as a table

// What the table is of: the installation's figures as the window shows them,
// each a caption and a text ("Sonar", "Sonic 2024"), and the orders that get a
// pass/fail column.
struct SweepContext {
    std::vector<std::pair<std::string, std::string>> figures;
    std::vector<std::size_t> orders; // in kOrderLimits
};

// The beams at 0°, 1°, ..., trunc(swath width / 2) at the depth as lines of a
// comma-separated table for a spreadsheet: first the context, a caption and a
// text a line, the beamwidths at the working frequency, the nadir's TVU and
// THU and every order's TVU and THU limit at the depth, then an empty
// line, a header and per beam the depth, the angle, TVU, THU, every TVU and THU
// term in the model's order, in metres with six decimals and "." as the
// decimal point whatever the locale, and "pass" or "fail" per order as the
// order fit judges the beam (the nadir by its own figures).
std::vector<std::string> SweepTable(const TpuInputs& inputs, int depth, const SweepContext& context);

} // namespace tpu

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
#include <vector>

namespace tpu {

// ---------------------------------------------------------------------------
// Order fit

// A beam at 90° or beyond never meets the seabed: the fit looks no further.
inline constexpr int kSteepestUsableBeam = 89;

// The largest whole degree a, 0 <= a <= trunc(swath width / 2), such that the
// beams at 0°, 1°, ..., a° all have TVU and THU within the order's limits at
// the depth; none when the 0° beam fails. Each beam is evaluated as the charts
// evaluate it (not with the nadir formulas); a value that is not a number
// fails.
std::optional<int> UsableAngle(const TpuInputs& inputs, int depth, const OrderLimit& order);

// The swath on a flat seabed up to the usable angle on both sides: 2 D tan a.
double UsableSwath(int depth, int angle);

// The usable swath of every order at every depth from 1 m to `deepest`, for
// the fit chart. At a given depth each term of a beam is either a constant or
// proportional to the depth, and the range term's square is a constant plus a
// multiple of the depth squared; so each beam's TVU² and THU² are P + Q D²
// exactly, found once per beam from two evaluations instead of a sweep per
// depth. Where a beam lies within a hair of a limit, it is evaluated directly,
// so every depth's answer is that of UsableAngle.
struct FitPoint {
    int depth = 0;
    double swath = 0.0; // m; 0 where no beam fits
};
using FitCurves = std::array<std::vector<FitPoint>, kOrderLimits.size()>;
FitCurves UsableSwathByDepth(const TpuInputs& inputs, int deepest);

// ---------------------------------------------------------------------------
// Error budget

// The plain names of the terms, in the order the model sums them.
inline constexpr std::array<std::string_view, 13> kBeamTvuTermNames{
    "Range",
    "Sonar Z offset",
    "Patch roll",
    "Motion roll",
    "Position vertical",
    "Position Z offset",
    "Draft",
    "Squat",
    "Settlement",
    "Load",
    "Heave",
    "Sound velocity profile",
    "Tide",
};
inline constexpr std::array<std::string_view, 13> kBeamThuTermNames{
    "Along-track footprint",
    "Across-track footprint",
    "Sonar X offset",
    "Sonar Y offset",
    "Patch pitch",
    "Patch yaw",
    "Position horizontal",
    "Position X offset",
    "Position Y offset",
    "Motion pitch",
    "Heading",
    "Sound velocity profile",
    "Beam angle (surface sound velocity)",
};
inline constexpr std::array<std::string_view, 11> kNadirTvuTermNames{
    "Range",
    "Sonar Z offset",
    "Position vertical",
    "Position Z offset",
    "Draft",
    "Squat",
    "Settlement",
    "Load",
    "Heave",
    "Sound velocity profile",
    "Tide",
};
inline constexpr std::array<std::string_view, 9> kNadirThuTermNames{
    "Along-track footprint", "Sonar X offset",    "Across-track footprint", "Sonar Y offset", "Patch pitch",
    "Position horizontal",   "Position X offset", "Position Y offset",      "Motion pitch",
};

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
std::string TopTermText(std::span<const std::string_view> names, std::span<const BudgetShare> shares);

// ---------------------------------------------------------------------------
// The sweep as a table

// The beams at 0°, 1°, ..., trunc(swath width / 2) at the depth as lines of a
// comma-separated table for a spreadsheet: a header, then per beam the depth,
// the angle, TVU, THU and every TVU and THU term in the model's order, in
// metres with six decimals and "." as the decimal point whatever the locale.
std::vector<std::string> SweepTable(const TpuInputs& inputs, int depth);

} // namespace tpu

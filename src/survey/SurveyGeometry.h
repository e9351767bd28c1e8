// The geometry every survey tool shares: how wide a swath lies on a flat
// seabed and how far apart survey lines lie for a wanted overlap. The TPU
// calculator's order fit and the line planner both plan with it, so the two
// give the same spacing for the same swath.
#pragma once

namespace survey {

// The knot the planners compute with, in metres per second.
inline constexpr double kKnot = 0.51444;

// The swath on a flat seabed `depth` metres down, out to `halfAngle` degrees
// from the vertical on both sides: 2 D tan a.
double FlatSeabedSwath(double depth, double halfAngle);

// The spacing between neighbouring lines that leaves `overlapPercent` % of a
// swath `swath` metres wide overlapping, half of it on each side of the line:
// w - w (o / 200). 30 % gives 85 % of the swath.
double LineSpacing(double swath, double overlapPercent);

} // namespace survey

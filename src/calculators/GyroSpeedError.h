// The speed error of a gyrocompass: a north-seeking gyro settles where the
// earth's rotation and the vessel's own north-going motion together put north,
// so it reads off by V·cos C / (5π·cos φ) degrees (V in knots, C the course, φ the
// latitude). The horizontal errors show what that angle does to a position fixed
// by range and bearing.
#pragma once

#include <array>

namespace calculators {

// The ranges of the example table, in metres.
inline constexpr std::array<int, 11> kGyroRanges{10, 20, 30, 50, 100, 200, 300, 500, 1000, 5000, 10000};

// Decimals kept for the horizontal error at a range: centimetres up to 300 m,
// decimetres beyond, where centimetres would be false precision.
constexpr int GyroRangeDecimals(int range) { return range <= 300 ? 2 : 1; }

struct GyroInput {
    double latitude = 0.0; // degrees, north positive
    double speed = 0.0;    // knots
    double course = 0.0;   // gyro course, degrees
};

struct GyroResult {
    double error = 0.0;                                  // degrees, already rounded to 2 decimals
    std::array<double, kGyroRanges.size()> horizontal{}; // metres, one per kGyroRanges entry
};

// Rounds to `decimals` places with halves to the even neighbour, deciding on the
// exact value of the double (0.125 gives 0.12, 0.135 held slightly above gives 0.14).
double RoundHalfEven(double value, int decimals);

// The latitude is limited to ±89°: the secant runs away towards the poles, where a
// gyrocompass is of no use anyway.
GyroResult ComputeGyroSpeedError(const GyroInput& input);

} // namespace calculators

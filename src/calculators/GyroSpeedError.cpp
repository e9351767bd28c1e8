#include "calculators/GyroSpeedError.h"

#include "common/Angles.h"

#include <algorithm>
#include <cmath>

namespace calculators {

namespace {

using common::kRadiansPerDegree;
constexpr double kFivePi = 15.707963267948966192;
constexpr double kMaxLatitude = 89.0;

} // namespace

double RoundHalfEven(double value, int decimals) {
    // In extended precision the product of a double and a small power of ten is
    // exact, so a value stored a hair above a half rounds up and one a hair below
    // rounds down, as its exact value says; only true halves go to the even side.
    const long double scale = std::pow(10.0L, decimals);
    const long double whole = std::nearbyint(static_cast<long double>(value) * scale);
    return static_cast<double>(whole * std::pow(10.0L, -decimals));
}

GyroResult ComputeGyroSpeedError(const GyroInput& input) {
    const double latitude = std::clamp(input.latitude, -kMaxLatitude, kMaxLatitude);
    const double raw =
        std::cos(input.course * kRadiansPerDegree) * input.speed / (std::cos(latitude * kRadiansPerDegree) * kFivePi);

    GyroResult result;
    // The error is rounded first and the table is worked from the rounded angle, so
    // the table agrees with the angle the surveyor reads.
    result.error = RoundHalfEven(raw, 2);
    const double sine = std::sin(result.error * kRadiansPerDegree);
    for (std::size_t i = 0; i < kGyroRanges.size(); ++i) {
        const double range = kGyroRanges[i];
        result.horizontal[i] = RoundHalfEven(sine * range, GyroRangeDecimals(kGyroRanges[i]));
    }
    return result;
}

} // namespace calculators

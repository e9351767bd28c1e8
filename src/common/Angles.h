// Angles: every tool types them in degrees and computes with radians.
#pragma once

namespace common {

// π/180, to the last digit a double holds.
inline constexpr double kRadiansPerDegree = 0.017453292519943295769;

} // namespace common

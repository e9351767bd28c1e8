#include "survey/SurveyGeometry.h"

#include "common/Angles.h"

#include <cmath>

namespace survey {

double FlatSeabedSwath(double depth, double halfAngle) {
    return 2.0 * depth * std::tan(halfAngle * common::kRadiansPerDegree);
}

double LineSpacing(double swath, double overlapPercent) { return swath - swath * (overlapPercent / 200); }

} // namespace survey

#include "survey/SurveyOrders.h"

#include "common/NumberFormat.h"

#include <cmath>

namespace survey {

double MaxAllowableTVU(const SurveyOrder& order, int depth) {
    if (order.tvuRule == TvuRule::DepthSteps) {
        if (depth <= 20) {
            return 0.15;
        }
        return depth <= 40 ? 0.20 : 0.25;
    }
    // Kept in this order of operations: the shown digits follow the double that
    // results, and 0.125 at 10 m for NL Order A must stay an exact half.
    const double p = order.b * static_cast<double>(depth);
    const double s = p * p + order.aSquared;
    return std::sqrt(s);
}

double MaxAllowableTHU(const SurveyOrder& order, int depth) {
    if (order.thuRule == ThuRule::Constant) {
        return order.thuC;
    }
    return order.thuK * static_cast<double>(depth) + order.thuC;
}

std::string ToleranceText(const SurveyOrder& order, int depth, Tolerance which) {
    if (which == Tolerance::THU && order.thuRule == ThuRule::Constant) {
        return std::string(order.thuFixedText);
    }
    const double value = which == Tolerance::TVU ? MaxAllowableTVU(order, depth) : MaxAllowableTHU(order, depth);
    const int decimals = which == Tolerance::TVU ? order.tvuDecimals : order.thuDecimals;
    return "\u00B1" + common::FormatFixed(value, 3, decimals) + " m";
}

} // namespace survey

// The survey orders the suite knows: IHO S-44 and the national and client
// standards derived from it. Each order fixes the largest total vertical and
// horizontal uncertainty (TVU, THU, 95 % confidence) a sounding may have at a
// depth. The calculator, its graph overview and the TPU calculator all read the
// same rows.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace survey {

enum class TvuRule {
    RootSumSquare, // sqrt(a² + (b·d)²)
    DepthSteps,    // fixed values per depth band
};

enum class ThuRule {
    Constant, // c metres at every depth
    Linear,   // c + k·d
};

struct SurveyOrder {
    std::string_view selectorText;
    TvuRule tvuRule;
    double aSquared; // the constant term as stored, in m²; a itself is its root
    double b;        // metres of TVU per metre of depth
    int tvuDecimals;
    ThuRule thuRule;
    double thuC;
    double thuK;
    std::string_view thuFixedText; // shown for a constant THU
    int thuDecimals;               // for a linear THU
    std::string_view graphCurve;   // legend text in the overview, empty for none
};

// Row order is the order of the calculator's selector and of its pages.
inline constexpr std::array<SurveyOrder, 9> SurveyOrderTable = {{
    {"IHO Special Order", TvuRule::RootSumSquare, 0.0625, 0.0075, 2, ThuRule::Constant, 2.0, 0.0, "\u00B1 2.0 m", 0,
     "IHO Special"},
    {"IHO Order 1a", TvuRule::RootSumSquare, 0.25, 0.013, 2, ThuRule::Linear, 5.0, 0.05, "", 1, "IHO 1"},
    {"IHO Order 1b", TvuRule::RootSumSquare, 0.25, 0.013, 1, ThuRule::Linear, 5.0, 0.05, "", 1, "IHO 1"},
    {"IHO Order 2", TvuRule::RootSumSquare, 1.0, 0.023, 1, ThuRule::Linear, 20.0, 0.1, "", 0, "IHO 2"},
    {"FSIS-44", TvuRule::RootSumSquare, 0.0225, 0.004, 2, ThuRule::Constant, 2.0, 0.0, "\u00B1 2.0 m", 0,
     "FSIS Exclusive"},
    {"LINZ Special Order", TvuRule::RootSumSquare, 0.0625, 0.0075, 2, ThuRule::Constant, 2.0, 0.0, "\u00B1 2.0 m", 0,
     ""},
    {"NL Order A", TvuRule::RootSumSquare, 0.01, 0.0075, 2, ThuRule::Constant, 0.4, 0.0, "\u00B1 0.4 m", 0, "NL-A"},
    {"NL Order B", TvuRule::RootSumSquare, 0.0225, 0.0075, 1, ThuRule::Constant, 0.4, 0.0, "\u00B1 0.4 m", 0, "NL-B"},
    {"Orsted ", TvuRule::DepthSteps, 0.0, 0.0, 2, ThuRule::Linear, 0.5, 0.02, "", 1, "Orsted"},
}};

// The rows drawn as curves, in legend order: Order 1b shares Order 1a's rules and
// the LINZ Special Order the IHO Special Order's, so neither has a curve of its own.
inline constexpr std::array<int, 7> kGraphRows = {0, 1, 3, 4, 6, 7, 8};

double MaxAllowableTVU(const SurveyOrder& order, int depth);
double MaxAllowableTHU(const SurveyOrder& order, int depth);

enum class Tolerance { TVU, THU };

// The calculator's text, "±" then the value and " m" ("±0.26 m", "± 21 m"), or
// the fixed text of a constant THU. UTF-8.
std::string ToleranceText(const SurveyOrder& order, int depth, Tolerance which);

} // namespace survey

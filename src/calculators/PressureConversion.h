// Pressure units for converting gauge and transducer readings. Each unit is
// defined by the value of 1 psi in it, so any conversion is one division and one
// multiplication through psi.
#pragma once

#include <array>
#include <string_view>

namespace calculators {

struct PressureUnit {
    std::string_view name; // as the unit selectors list it
    double perPsi;         // the value of 1 psi in this unit
};

// Selector order. The factors carry seven significant digits, so 1 atmosphere
// comes out at 760.000006 mmHg rather than the textbook 760.
inline constexpr std::array<PressureUnit, 13> kPressureUnits{{
    {"psi", 1.0},
    {"kPa", 6.894757},
    {"hPa", 68.94757},
    {"Pa", 6894.757},
    {"bar", 0.06894757},
    {"millibar", 68.94757},
    {"mmHg", 51.71493},
    {"atmos", 0.06804596},
    {"mWater", 0.7030696},
    {"cmWater", 70.30696},
    {"g/cm2", 70.30696},
    {"Kg/m2", 703.0696},
    {"dyne/cm2", 68947.57},
}};

// `value` in unit `from` expressed in unit `to` (indices into kPressureUnits).
inline double ConvertPressure(double value, std::size_t from, std::size_t to) {
    return kPressureUnits.at(to).perPsi / kPressureUnits.at(from).perPsi * value;
}

} // namespace calculators

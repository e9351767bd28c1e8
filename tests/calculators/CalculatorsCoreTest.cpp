#include "calculators/ConversionRegistry.h"
#include "calculators/GyroSpeedError.h"
#include "calculators/PressureConversion.h"
#include "common/NumberFormat.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace calculators_core_test {

using namespace calculators;

namespace {

std::vector<std::string> GeneralTexts(const GyroResult& result) {
    std::vector<std::string> texts{common::FormatGeneral(result.error)};
    for (const double h : result.horizontal) {
        texts.push_back(common::FormatGeneral(h));
    }
    return texts;
}

} // namespace

TEST(GyroSpeedError, WorkedCasesGiveTheErrorAndTheRoundedHorizontalErrors) {
    struct Case {
        GyroInput input;
        std::vector<std::string> expected; // error, then 10 m ... 10000 m
    };
    const Case cases[] = {
        {{0, 10, 0}, {"0.64", "0.11", "0.22", "0.34", "0.56", "1.12", "2.23", "3.35", "5.6", "11.2", "55.8", "111.7"}},
        {{60, 10, 0},
         {"1.27", "0.22", "0.44", "0.66", "1.11", "2.22", "4.43", "6.65", "11.1", "22.2", "110.8", "221.6"}},
        {{45, 12, 180},
         {"-1.08", "-0.19", "-0.38", "-0.57", "-0.94", "-1.88", "-3.77", "-5.65", "-9.4", "-18.8", "-94.2", "-188.5"}},
        // Beyond 89° the latitude is held at 89°.
        {{95, 20, 0},
         {"72.95", "9.56", "19.12", "28.68", "47.8", "95.6", "191.21", "286.81", "478", "956", "4780.2", "9560.5"}},
        {{89, 20, 0},
         {"72.95", "9.56", "19.12", "28.68", "47.8", "95.6", "191.21", "286.81", "478", "956", "4780.2", "9560.5"}},
        {{0, 0, 0}, {"0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"}},
        {{58.5, 10, 0},
         {"1.22", "0.21", "0.43", "0.64", "1.06", "2.13", "4.26", "6.39", "10.6", "21.3", "106.5", "212.9"}},
        {{0, 0, 180}, {"0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.input.latitude << " " << c.input.speed << " " << c.input.course);
        EXPECT_EQ(GeneralTexts(ComputeGyroSpeedError(c.input)), c.expected);
    }
}

TEST(GyroSpeedError, SouthernLatitudesAreHeldAtTheSameLimitAsNorthern) {
    const GyroResult south = ComputeGyroSpeedError({-95, 20, 0});
    const GyroResult north = ComputeGyroSpeedError({89, 20, 0});
    EXPECT_EQ(south.error, north.error);
    EXPECT_EQ(south.horizontal, north.horizontal);
    // Without the limit the secant at -90° would blow the error up to some 1E17°.
    EXPECT_EQ(common::FormatGeneral(ComputeGyroSpeedError({-90, 10, 0}).error), "36.48");
}

TEST(GyroSpeedError, RoundingTakesHalvesToEvenOnTheStoredValue) {
    struct Case {
        double value;
        int decimals;
        double expected;
    };
    const Case cases[] = {
        {0.125, 2, 0.12},   // a true half: to the even neighbour
        {0.375, 2, 0.38},   // a true half the other way
        {-0.125, 2, -0.12}, // symmetric about zero
        {0.135, 2, 0.14},   // stored a hair above the half
        {0.145, 2, 0.14},   // stored a hair below the half
        {0.165, 2, 0.17},   // stored above; in plain double arithmetic 16.5 would go to 16
        {2.5, 0, 2.0},      {3.5, 0, 4.0}, {0.25, 1, 0.2}, {478.04, 1, 478.0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RoundHalfEven(c.value, c.decimals), c.expected) << c.value << " to " << c.decimals;
    }
}

TEST(PressureConversion, WorkedCasesAsTheResultFieldShowsThem) {
    struct Case {
        double value;
        const char* from;
        const char* to;
        const char* expected;
    };
    const Case cases[] = {
        {1, "psi", "psi", "  1.000000"},      {1, "psi", "kPa", "  6.894757"},
        {1, "bar", "psi", " 14.503774"},      {1, "atmos", "psi", " 14.695950"},
        {1, "atmos", "mmHg", "760.000006"},   {1, "kPa", "psi", "  0.145038"},
        {10, "mWater", "bar", "  0.980665"},  {100, "psi", "Pa", "689475.700000"},
        {-2, "psi", "psi", " -2.000000"},     {0, "dyne/cm2", "hPa", "  0.000000"},
        {1, "hPa", "millibar", "  1.000000"}, {1, "cmWater", "g/cm2", "  1.000000"},
        {1, "Kg/m2", "mWater", "  0.001000"}, {0, "psi", "bar", "  0.000000"},
        {1000, "psi", "kPa", "6894.757000"},
    };
    const auto index = [](const char* name) {
        for (std::size_t i = 0; i < kPressureUnits.size(); ++i) {
            if (kPressureUnits[i].name == name) {
                return i;
            }
        }
        ADD_FAILURE() << "no unit " << name;
        return std::size_t{0};
    };
    for (const Case& c : cases) {
        EXPECT_EQ(common::FormatFixed(ConvertPressure(c.value, index(c.from), index(c.to)), 10, 6), c.expected)
            << c.value << " " << c.from << " to " << c.to;
    }
}

// ---------------------------------------------------------------------------

namespace {

class StandardConversions : public testing::Test {
protected:
    static ConvFamily Family(const std::string& description) {
        for (const ConvFamily family : registry.Families()) {
            if (registry.FamilyDescription(family) == description) {
                return family;
            }
        }
        throw std::runtime_error("no family " + description);
    }
    static ConvType Unit(const std::string& family, const std::string& description) {
        for (const ConvType unit : registry.Units(Family(family))) {
            if (registry.UnitDescription(unit) == description) {
                return unit;
            }
        }
        throw std::runtime_error("no unit " + description);
    }
    static double Convert(const std::string& family, double value, const std::string& from, const std::string& to) {
        return registry.Convert(value, Unit(family, from), Unit(family, to));
    }
    static std::string ConvertText(const std::string& family, double value, const std::string& from,
                                   const std::string& to) {
        return common::FormatGroupedNumber(Convert(family, value, from, to));
    }

    // The registry every window of the run reads.
    static inline const ConversionRegistry& registry = calculators::StandardConversions();
};

} // namespace

TEST_F(StandardConversions, SixFamiliesWithTheirUnitsThenTheEmptyOne) {
    struct Expected {
        const char* family;
        std::size_t units;
        const char* first;
        const char* last;
    };
    const Expected expected[] = {
        {"Distance", 31, "Micromicrons", "Points"},      {"Area", 16, "SquareMillimeters", "SquareRods"},
        {"Volume", 48, "CubicMillimeters", "UKBushels"}, {"Mass", 17, "Nanograms", "Stones"},
        {"Temperature", 5, "Celsius", "Reaumur"},        {"Time", 15, "MilliSeconds", "ModifiedJulianDate"},
    };
    const ConvFamilyArray families = registry.Families();
    ASSERT_EQ(families.size(), 7U);
    ConvType nextUnit = 0;
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(families[i], i);
        EXPECT_EQ(registry.FamilyDescription(families[i]), expected[i].family);
        const ConvTypeArray units = registry.Units(families[i]);
        ASSERT_EQ(units.size(), expected[i].units) << expected[i].family;
        EXPECT_EQ(registry.UnitDescription(units.front()), expected[i].first);
        EXPECT_EQ(registry.UnitDescription(units.back()), expected[i].last);
        for (const ConvType unit : units) {
            EXPECT_EQ(unit, nextUnit++) << "unit numbers run on across families in order of registration";
        }
    }
    EXPECT_EQ(nextUnit, 132);
    EXPECT_EQ(registry.FamilyDescription(families[6]), "Sorry Not Valid1");
    EXPECT_TRUE(registry.Units(families[6]).empty());
}

TEST_F(StandardConversions, FactorUnitsMeetInTheBaseUnit) {
    struct Case {
        const char* family;
        double value;
        const char* from;
        const char* to;
        const char* expected;
    };
    const Case cases[] = {
        {"Area", 1, "Acres", "Ares", "40.47"},
        {"Area", 1, "Acres", "Acres", "1.00"},
        {"Area", 1, "Hectares", "Acres", "2.47"},
        {"Area", 1, "SquareMiles", "SquareKilometers", "2.59"},
        {"Distance", 1, "Meters", "Micromicrons", "1,000,000,000,000.00"},
        {"Distance", 1, "Meters", "Feet", "3.28"},
        {"Distance", 1, "Meters", "Inches", "39.37"},
        {"Distance", 1, "Meters", "Fathoms", "0.55"},
        {"Distance", 1, "Meters", "Kilometers", "0.001"},
        {"Distance", 1, "Meters", "NauticalMiles", "0.00054"},
        {"Distance", 1, "NauticalMiles", "Meters", "1,852.00"},
        {"Distance", -1234.5678, "Meters", "Meters", "-1,234.57"},
        {"Distance", 1e308, "Meters", "Angstroms", "INF"},
        {"Distance", -1e308, "Meters", "Inches", "-INF"},
        {"Distance", 1e308, "Meters", "Meters", "1E308"},
        {"Distance", 1e308, "Meters", "Kilometers", "9.9999999999999994E304"},
        {"Volume", 1, "UKGallons", "Liters", "4.55"},
        {"Volume", 1, "CubicMeters", "FluidGallons", "264.17"},
        {"Mass", 1, "Pounds", "Kilograms", "0.45"},
        {"Mass", 1, "LongTons", "MetricTons", "1.02"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ConvertText(c.family, c.value, c.from, c.to), c.expected)
            << c.value << " " << c.from << " to " << c.to;
    }
}

TEST_F(StandardConversions, TemperatureScalesWithOffsets) {
    struct Case {
        double celsius;
        const char* unit;
        const char* expected;
    };
    const Case cases[] = {
        {1, "Celsius", "1.00"}, {1, "Fahrenheit", "33.80"},    {1, "Kelvin", "274.15"}, {1, "Rankine", "493.47"},
        {1, "Reaumur", "0.80"}, {0, "Fahrenheit", "32.00"},    {0, "Kelvin", "273.15"}, {0, "Rankine", "491.67"},
        {0, "Reaumur", "0.00"}, {-40, "Fahrenheit", "-40.00"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ConvertText("Temperature", c.celsius, "Celsius", c.unit), c.expected) << c.celsius << " " << c.unit;
        // and back again to the same Celsius figure
        const double there = Convert("Temperature", c.celsius, "Celsius", c.unit);
        EXPECT_NEAR(Convert("Temperature", there, c.unit, "Celsius"), c.celsius, 1e-12) << c.unit;
    }
    EXPECT_EQ(Convert("Temperature", 0, "Kelvin", "Celsius"), -273.15);
    EXPECT_EQ(Convert("Temperature", 212, "Fahrenheit", "Celsius"), 100.0);
}

TEST_F(StandardConversions, TimeUnitsAndJulianDates) {
    struct Case {
        double value;
        const char* from;
        const char* to;
        const char* expected;
    };
    const Case cases[] = {
        {1, "Centuries", "Days", "36,525.00"},
        {1, "Centuries", "JulianDate", "2,451,543.50"}, // 1999-12-31 00:00
        {1, "Centuries", "ModifiedJulianDate", "51,543.00"},
        {1, "Centuries", "Months", "1,200.00"},
        {1, "Centuries", "Years", "100.00"},
        {1, "Centuries", "Fortnights", "2,608.93"},
        {1, "Days", "MilliSeconds", "86,400,000.00"},
        {0, "Days", "JulianDate", "2,415,018.50"},       // the day count's own start, 1899-12-30
        {-1.5, "Days", "JulianDate", "2,415,018.00"},    // 1899-12-29 12:00, before that start
        {2451545.0, "JulianDate", "Days", "36,526.50"},  // 2000-01-01 12:00
        {2451544.75, "JulianDate", "Days", "36,526.25"}, // 2000-01-01 06:00
        {2415018.0, "JulianDate", "Days", "-1.50"},      // noon of 1899-12-29 in the day count form
        {2415018.25, "JulianDate", "Days", "-1.75"},     // 1899-12-29 18:00
        {51544.5, "ModifiedJulianDate", "Days", "36,526.50"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ConvertText("Time", c.value, c.from, c.to), c.expected) << c.value << " " << c.from << " to " << c.to;
    }
    // Julian dates and day counts are each other's inverse across the day count's start.
    for (const double days : {-693593.0, -36524.25, -1.75, 0.0, 0.25, 36525.5, 2958465.25}) {
        const double julian = Convert("Time", days, "Days", "JulianDate");
        EXPECT_EQ(Convert("Time", julian, "JulianDate", "Days"), days) << days;
    }
}

TEST_F(StandardConversions, DatesOutsideTheYearsOneTo9999FailAsConversions) {
    struct Case {
        double value;
        const char* from;
        const char* to;
        const char* message;
    };
    const Case cases[] = {
        {1, "JulianDate", "Days", "1.000000 Julian cannot be represented as a DateTime"},
        {1, "JulianDate", "JulianDate", "1.000000 Julian cannot be represented as a DateTime"},
        {-2400000, "ModifiedJulianDate", "Days", "0.500000 Julian cannot be represented as a DateTime"},
        {1e300, "JulianDate", "Days", nullptr},
        {std::numeric_limits<double>::infinity(), "JulianDate", "Days", nullptr},
        {2958466, "Days", "JulianDate", nullptr}, // 10000-01-01
        {-693594, "Days", "JulianDate", nullptr}, // 0000-12-31
        {32000, "Centuries", "JulianDate", nullptr},
        {std::numeric_limits<double>::quiet_NaN(), "Days", "ModifiedJulianDate", nullptr},
    };
    for (const Case& c : cases) {
        try {
            Convert("Time", c.value, c.from, c.to);
            ADD_FAILURE() << c.value << " " << c.from << " to " << c.to << " did not fail";
        } catch (const ConversionError& error) {
            if (c.message != nullptr) {
                EXPECT_STREQ(error.what(), c.message);
            }
        }
    }
    // The last representable moments still convert.
    EXPECT_EQ(ConvertText("Time", 2958465.5, "Days", "JulianDate"), "5,373,484.00");
    EXPECT_EQ(ConvertText("Time", 1721425.5, "JulianDate", "Days"), "-693,593.00");
}

TEST(ConversionRegistry, RefusesDuplicatesUnknownsAndMixedFamilies) {
    ConversionRegistry registry;
    const ConvFamily distance = registry.RegisterFamily("Distance");
    const ConvFamily mass = registry.RegisterFamily("Mass");
    const ConvType meters = registry.RegisterUnit(distance, "Meters", 1.0);
    const ConvType grams = registry.RegisterUnit(mass, "Grams", 1.0);
    // The same name in another family is a different unit.
    const ConvType massMeters = registry.RegisterUnit(mass, "Meters", 2.0);

    const auto message = [](auto&& action) {
        try {
            action();
        } catch (const ConversionError& error) {
            return std::string(error.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message([&] { registry.RegisterFamily("distance"); }), "Conversion family (distance) already registered");
    EXPECT_EQ(message([&] { registry.Convert(1, meters, grams); }), "Incompatible conversion types [Meters, Grams]");
    EXPECT_EQ(message([&] { registry.Convert(1, massMeters, meters); }),
              "Incompatible conversion types [Meters, Meters]");
    EXPECT_NE(message([&] { registry.RegisterUnit(distance, "METERS", 3.0); }), "no error");
    EXPECT_NE(message([&] { registry.RegisterUnit(distance, "Kelvinish", nullptr, nullptr); }), "no error");
    EXPECT_NE(message([&] { registry.RegisterUnit(ConvFamily{7}, "Feet", 0.3048); }), "no error");
    EXPECT_NE(message([&] { registry.Convert(1, meters, ConvType{99}); }), "no error");
    EXPECT_NE(message([&] { registry.UnitDescription(ConvType{99}); }), "no error");
    EXPECT_NE(message([&] { registry.FamilyDescription(ConvFamily{9}); }), "no error");

    // Refused registrations leave no trace and use up no numbers.
    EXPECT_EQ(registry.Families(), (ConvFamilyArray{distance, mass}));
    EXPECT_EQ(registry.Units(distance), ConvTypeArray{meters});
    EXPECT_EQ(registry.RegisterUnit(distance, "Feet", 0.3048), 3);
    EXPECT_EQ(registry.RegisterFamily("Time"), 2);
    EXPECT_EQ(registry.Convert(2, massMeters, grams), 4.0);
}

} // namespace calculators_core_test

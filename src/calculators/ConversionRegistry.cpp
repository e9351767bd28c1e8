#include "calculators/ConversionRegistry.h"

#include "calculators/JulianDates.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace calculators {

namespace {

bool SameText(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

// ---------------------------------------------------------------------------
// Temperatures. The offsets are decimal fractions, so each rule works in
// extended precision and rounds once, at the end.

constexpr long double kKelvinOffset = 273.15L;
constexpr long double kRankineOffset = 459.67L;

long double FahrenheitToCelsiusX(long double f) { return (f - 32.0L) * 5.0L / 9.0L; }
long double CelsiusToFahrenheitX(long double c) { return c * 9.0L / 5.0L + 32.0L; }

double KelvinToCelsius(double x) { return static_cast<double>(x - kKelvinOffset); }
double CelsiusToKelvin(double c) { return static_cast<double>(c + kKelvinOffset); }
double FahrenheitToCelsius(double x) { return static_cast<double>(FahrenheitToCelsiusX(x)); }
double CelsiusToFahrenheit(double c) { return static_cast<double>(CelsiusToFahrenheitX(c)); }
double RankineToCelsius(double x) { return static_cast<double>(FahrenheitToCelsiusX(x - kRankineOffset)); }
double CelsiusToRankine(double c) { return static_cast<double>(CelsiusToFahrenheitX(c) + kRankineOffset); }
double ReaumurToCelsius(double x) {
    return static_cast<double>(FahrenheitToCelsiusX(static_cast<long double>(x) * 9.0L / 4.0L + 32.0L));
}
double CelsiusToReaumur(double c) { return static_cast<double>((CelsiusToFahrenheitX(c) - 32.0L) * 4.0L / 9.0L); }

// ---------------------------------------------------------------------------

struct FactorRow {
    const char* description;
    double factor;
};

const FactorRow kDistance[] = {
    {"Micromicrons", 1e-12},
    {"Angstroms", 1e-10},
    {"Millimicrons", 1e-9},
    {"Microns", 1e-6},
    {"Millimeters", 0.001},
    {"Centimeters", 0.01},
    {"Decimeters", 0.1},
    {"Meters", 1},
    {"Decameters", 10},
    {"Hectometers", 100},
    {"Kilometers", 1000},
    {"Megameters", 1e6},
    {"Gigameters", 1e9},
    {"Inches", 0.0254},
    {"Feet", 0.3048},
    {"Yards", 0.9144},
    {"Miles", 1609.344},
    {"NauticalMiles", 1852},
    {"AstronomicalUnits", 1.49598e11},
    {"LightYears", 9460528404879358.0},
    {"Parsecs", 30856802484953068.0},
    {"Cubits", 0.4572},
    {"Fathoms", 1.8288},
    {"Furlongs", 201.168},
    {"Hands", 0.1016},
    {"Paces", 0.762},
    {"Rods", 5.0292},
    {"Chains", 20.1168},
    {"Links", 0.201168},
    {"Picas", 0.0042175176},
    {"Points", 0.0003514598},
};

const FactorRow kArea[] = {
    {"SquareMillimeters", 1e-6},
    {"SquareCentimeters", 0.0001},
    {"SquareDecimeters", 0.01},
    {"SquareMeters", 1},
    {"SquareDecameters", 100},
    {"SquareHectometers", 10000},
    {"SquareKilometers", 1e6},
    {"SquareInches", 0.00064516},
    {"SquareFeet", 0.09290304},
    {"SquareYards", 0.83612736},
    {"SquareMiles", 2589988.110336},
    {"Acres", 4046.8564224},
    {"Centares", 1},
    {"Ares", 100},
    {"Hectares", 10000},
    {"SquareRods", 25.29285264},
};

const FactorRow kVolume[] = {
    {"CubicMillimeters", 1e-9},
    {"CubicCentimeters", 1e-6},
    {"CubicDecimeters", 0.001},
    {"CubicMeters", 1},
    {"CubicDecameters", 1000},
    {"CubicHectometers", 1e6},
    {"CubicKilometers", 1e9},
    {"CubicInches", 0.000016387064},
    {"CubicFeet", 0.028316846592},
    {"CubicYards", 0.764554857984},
    {"CubicMiles", 4168181825.4405794},
    {"MilliLiters", 1e-6},
    {"CentiLiters", 0.00001},
    {"DeciLiters", 0.0001},
    {"Liters", 0.001},
    {"DecaLiters", 0.01},
    {"HectoLiters", 0.1},
    {"KiloLiters", 1},
    {"AcreFeet", 1233.48183754752},
    {"AcreInches", 102.79015312896},
    {"Cords", 3.624556363776},
    {"CordFeet", 0.453069545472},
    {"Decisteres", 0.1},
    {"Steres", 1},
    {"Decasteres", 10},
    {"FluidGallons", 0.003785411784},
    {"FluidQuarts", 0.000946352946},
    {"FluidPints", 0.000473176473},
    {"FluidCups", 0.0002365882365},
    {"FluidGills", 0.00011829411825},
    {"FluidOunces", 0.0000295735295625},
    {"FluidTablespoons", 0.00001478676478125},
    {"FluidTeaspoons", 4.92892159375e-6},
    {"DryGallons", 0.00440488377086},
    {"DryQuarts", 0.001101220942715},
    {"DryPints", 0.0005506104713575},
    {"DryPecks", 0.00880976754172},
    {"DryBuckets", 0.01761953508344},
    {"DryBushels", 0.03523907016688},
    {"UKGallons", 0.00454609},
    {"UKPottle", 0.002273045},
    {"UKQuarts", 0.0011365225},
    {"UKPints", 0.00056826125},
    {"UKGill", 0.0001420653125},
    {"UKOunces", 0.0000284130625},
    {"UKPecks", 0.00909218},
    {"UKBuckets", 0.01818436},
    {"UKBushels", 0.03636872},
};

const FactorRow kMass[] = {
    {"Nanograms", 1e-9},   {"Micrograms", 1e-6},       {"Milligrams", 0.001},
    {"Centigrams", 0.01},  {"Decigrams", 0.1},         {"Grams", 1},
    {"Decagrams", 10},     {"Hectograms", 100},        {"Kilograms", 1000},
    {"MetricTons", 1e6},   {"Drams", 1.7718451953125}, {"Grains", 0.06479891},
    {"Tons", 907184.74},   {"LongTons", 1016046.9088}, {"Ounces", 28.349523125},
    {"Pounds", 453.59237}, {"Stones", 6350.29318},
};

// The time units in days. Months and years are the mean calendar lengths.
constexpr double kDaysPerYear = 365.25;
const FactorRow kTimeFactors[] = {
    {"MilliSeconds", 1.0 / 86400000.0},
    {"Seconds", 1.0 / 86400.0},
    {"Minutes", 1.0 / 1440.0},
    {"Hours", 1.0 / 24.0},
    {"Days", 1},
    {"Weeks", 7},
    {"Fortnights", 14},
    {"Months", 30.4375},
    {"Years", kDaysPerYear},
    {"Decades", kDaysPerYear * 10},
    {"Centuries", kDaysPerYear * 100},
    {"Millennia", kDaysPerYear * 1000},
    {"DateTime", 1},
};

template <std::size_t N>
void RegisterFactors(ConversionRegistry& registry, const char* family, const FactorRow (&rows)[N]) {
    const ConvFamily number = registry.RegisterFamily(family);
    for (const FactorRow& row : rows) {
        registry.RegisterUnit(number, row.description, row.factor);
    }
}

} // namespace

// ---------------------------------------------------------------------------

ConvFamily ConversionRegistry::RegisterFamily(const std::string& description) {
    for (const auto& family : families_) {
        if (SameText(family->Description(), description)) {
            throw ConversionError("Conversion family (" + description + ") already registered");
        }
    }
    if (families_.size() > std::numeric_limits<ConvFamily>::max()) {
        throw ConversionError("No conversion family number left for (" + description + ")");
    }
    const auto number = static_cast<ConvFamily>(families_.size());
    families_.push_back(std::make_unique<ConvFamilyInfo>(number, description));
    return number;
}

ConvType ConversionRegistry::RegisterUnit(ConvFamily family, const std::string& description, double factor) {
    return Register(std::make_unique<ConvTypeFactor>(family, description, factor));
}

ConvType ConversionRegistry::RegisterUnit(ConvFamily family, const std::string& description, ConversionProc toCommon,
                                          ConversionProc fromCommon) {
    if (toCommon == nullptr || fromCommon == nullptr) {
        throw ConversionError("Conversion type (" + description + ") needs both conversion procedures");
    }
    return Register(std::make_unique<ConvTypeProcs>(family, description, toCommon, fromCommon));
}

ConvType ConversionRegistry::Register(std::unique_ptr<ConvTypeInfo> unit) {
    CheckFamily(unit->Family());
    for (const auto& existing : units_) {
        if (existing->Family() == unit->Family() && SameText(existing->Description(), unit->Description())) {
            // `unit` is freed on the way out.
            throw ConversionError("Conversion type (" + unit->Description() + ") already registered in " +
                                  FamilyDescription(unit->Family()));
        }
    }
    if (units_.size() > std::numeric_limits<ConvType>::max()) {
        throw ConversionError("No conversion type number left for (" + unit->Description() + ")");
    }
    unit->type_ = static_cast<ConvType>(units_.size());
    units_.push_back(std::move(unit));
    return units_.back()->Type();
}

void ConversionRegistry::CheckFamily(ConvFamily family) const {
    if (family >= families_.size()) {
        throw ConversionError("Unknown conversion family " + std::to_string(family));
    }
}

ConvFamilyArray ConversionRegistry::Families() const {
    ConvFamilyArray numbers;
    numbers.reserve(families_.size());
    for (const auto& family : families_) {
        numbers.push_back(family->Family());
    }
    return numbers;
}

ConvTypeArray ConversionRegistry::Units(ConvFamily family) const {
    ConvTypeArray numbers;
    for (const auto& unit : units_) {
        if (unit->Family() == family) {
            numbers.push_back(unit->Type());
        }
    }
    return numbers;
}

std::string ConversionRegistry::FamilyDescription(ConvFamily family) const {
    if (family >= families_.size()) {
        throw ConversionError("Unknown conversion family " + std::to_string(family));
    }
    return families_[family]->Description();
}

std::string ConversionRegistry::UnitDescription(ConvType unit) const { return Unit(unit).Description(); }

const ConvTypeInfo& ConversionRegistry::Unit(ConvType unit) const {
    if (unit >= units_.size()) {
        throw ConversionError("Unknown conversion type " + std::to_string(unit));
    }
    return *units_[unit];
}

double ConversionRegistry::Convert(double value, ConvType from, ConvType to) const {
    const ConvTypeInfo& source = Unit(from);
    const ConvTypeInfo& target = Unit(to);
    if (source.Family() != target.Family()) {
        throw ConversionError("Incompatible conversion types [" + source.Description() + ", " + target.Description() +
                              "]");
    }
    return target.FromCommon(source.ToCommon(value));
}

// ---------------------------------------------------------------------------

void RegisterStandardConversions(ConversionRegistry& registry) {
    RegisterFactors(registry, "Distance", kDistance);
    RegisterFactors(registry, "Area", kArea);
    RegisterFactors(registry, "Volume", kVolume);
    RegisterFactors(registry, "Mass", kMass);

    const ConvFamily temperature = registry.RegisterFamily("Temperature");
    registry.RegisterUnit(temperature, "Celsius", 1.0);
    registry.RegisterUnit(temperature, "Kelvin", &KelvinToCelsius, &CelsiusToKelvin);
    registry.RegisterUnit(temperature, "Fahrenheit", &FahrenheitToCelsius, &CelsiusToFahrenheit);
    registry.RegisterUnit(temperature, "Rankine", &RankineToCelsius, &CelsiusToRankine);
    registry.RegisterUnit(temperature, "Reaumur", &ReaumurToCelsius, &CelsiusToReaumur);

    RegisterFactors(registry, "Time", kTimeFactors);
    const ConvFamily time = registry.Families().back();
    registry.RegisterUnit(time, "JulianDate", &JulianToDays, &DaysToJulian);
    registry.RegisterUnit(time, "ModifiedJulianDate", &ModifiedJulianToDays, &DaysToModifiedJulian);

    registry.RegisterFamily("Sorry Not Valid1");
}

const ConversionRegistry& StandardConversions() {
    static const ConversionRegistry registry = [] {
        ConversionRegistry built;
        RegisterStandardConversions(built);
        return built;
    }();
    return registry;
}

} // namespace calculators

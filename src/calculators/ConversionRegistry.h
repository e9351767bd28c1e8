// The unit conversion registry: families of units (distance, area, volume, mass,
// temperature, time), each meeting in one base unit (metres, square metres, cubic
// metres, grams, degrees Celsius, days). A conversion takes the value into the
// base unit of the source and out again into the target, so n units need n
// definitions, not n² factors. Most units are a plain factor; temperatures and
// Julian dates are formulas.
//
// The registry is filled once at start-up and only read afterwards; it still
// guards its two lists with readers-writer locks so that a reader never sees a
// list in the middle of a registration.
#pragma once

#include <cstdint>
#include <memory>
#include <shared_mutex>
#include <stdexcept>
#include <string>
#include <vector>

namespace calculators {

using TConvFamily = std::uint16_t;
using TConvType = std::uint16_t;
using TConvFamilyArray = std::vector<TConvFamily>;
using TConvTypeArray = std::vector<TConvType>;
using TConversionProc = double (*)(double);

// A registration or conversion that cannot be done; the text says why.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TConvFamilyInfo {
public:
    TConvFamilyInfo(TConvFamily family, std::string description)
        : FConvFamily(family), FDescription(std::move(description)) {}

    TConvFamily ConvFamily() const { return FConvFamily; }
    const std::string& Description() const { return FDescription; }

private:
    TConvFamily FConvFamily;
    std::string FDescription;
};

// One unit. Its number is handed out by the registry when it is registered.
class TConvTypeInfo {
public:
    TConvTypeInfo(TConvFamily family, std::string description)
        : FConvFamily(family), FDescription(std::move(description)) {}
    virtual ~TConvTypeInfo() = default;
    TConvTypeInfo(const TConvTypeInfo&) = delete;
    TConvTypeInfo& operator=(const TConvTypeInfo&) = delete;

    // A value in this unit to the family's base unit, and back.
    virtual double ToCommon(double value) const = 0;
    virtual double FromCommon(double value) const = 0;

    TConvFamily ConvFamily() const { return FConvFamily; }
    TConvType ConvType() const { return FConvType; }
    const std::string& Description() const { return FDescription; }

private:
    friend class ConversionRegistry;
    TConvFamily FConvFamily;
    TConvType FConvType = 0;
    std::string FDescription;
};

// A unit that holds FFactor base units.
class TConvTypeFactor : public TConvTypeInfo {
public:
    TConvTypeFactor(TConvFamily family, std::string description, double factor)
        : TConvTypeInfo(family, std::move(description)), FFactor(factor) {}

    double ToCommon(double value) const override { return value * FFactor; }
    double FromCommon(double value) const override { return value / FFactor; }
    double Factor() const { return FFactor; }

private:
    double FFactor;
};

// A unit whose relation to the base unit is a formula, such as an offset scale.
class TConvTypeProcs : public TConvTypeInfo {
public:
    TConvTypeProcs(TConvFamily family, std::string description, TConversionProc toCommon, TConversionProc fromCommon)
        : TConvTypeInfo(family, std::move(description)), FToCommonProc(toCommon), FFromCommonProc(fromCommon) {}

    double ToCommon(double value) const override { return FToCommonProc(value); }
    double FromCommon(double value) const override { return FFromCommonProc(value); }

private:
    TConversionProc FToCommonProc;
    TConversionProc FFromCommonProc;
};

class ConversionRegistry {
public:
    ConversionRegistry() = default;
    ConversionRegistry(const ConversionRegistry&) = delete;
    ConversionRegistry& operator=(const ConversionRegistry&) = delete;

    // Descriptions are unique among families, and among the units of one family,
    // without regard to case. A duplicate throws ConversionError.
    TConvFamily RegisterFamily(const std::string& description);
    TConvType RegisterUnit(TConvFamily family, const std::string& description, double factor);
    TConvType RegisterUnit(TConvFamily family, const std::string& description, TConversionProc toCommon,
                           TConversionProc fromCommon);

    // In order of registration.
    TConvFamilyArray Families() const;
    TConvTypeArray Units(TConvFamily family) const;

    std::string FamilyDescription(TConvFamily family) const;
    std::string UnitDescription(TConvType unit) const;

    // `value` in unit `from` expressed in unit `to`; both must be of one family.
    // Out-of-range dates throw ConversionError; a result beyond the double range
    // is infinite, not an error.
    double Convert(double value, TConvType from, TConvType to) const;

private:
    TConvType Register(std::unique_ptr<TConvTypeInfo> unit);
    void CheckFamily(TConvFamily family) const;
    const TConvTypeInfo& UnitLocked(TConvType unit) const;

    mutable std::shared_mutex familiesLock_;
    std::vector<std::unique_ptr<TConvFamilyInfo>> families_;
    mutable std::shared_mutex unitsLock_;
    std::vector<std::unique_ptr<TConvTypeInfo>> units_;
};

// The six standard families with their 132 units, in that order, then the family
// "Sorry Not Valid1", which has no units.
void RegisterStandardConversions(ConversionRegistry& registry);

// The registry of this run. FillConversions registers the standard conversions
// into it the first time it is called (at start-up); later calls change nothing.
ConversionRegistry& Conversions();
void FillConversions();

} // namespace calculators

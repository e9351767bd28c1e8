// The unit conversion registry: families of units (distance, area, volume, mass,
// temperature, time), each meeting in one base unit (metres, square metres, cubic
// metres, grams, degrees Celsius, days). A conversion takes the value into the
// base unit of the source and out again into the target, so n units need n
// definitions, not n² factors. Most units are a plain factor; temperatures and
// Julian dates are formulas.
//
// The standard registry is built once, the first time it is asked for, and is
// only read afterwards: it is handed out as a const reference, so it needs no
// locks and no reader can ever see it change.
#pragma once

#include "common/Messages.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace calculators {

using ConvFamily = std::uint16_t;
using ConvType = std::uint16_t;
using ConvFamilyArray = std::vector<ConvFamily>;
using ConvTypeArray = std::vector<ConvType>;
using ConversionProc = double (*)(double);

// A registration or conversion that cannot be done; the text says why.
class ConversionError : public common::UserError {
public:
    using common::UserError::UserError;
};

class ConvFamilyInfo {
public:
    ConvFamilyInfo(ConvFamily family, std::string description)
        : family_(family), description_(std::move(description)) {}

    ConvFamily Family() const { return family_; }
    const std::string& Description() const { return description_; }

private:
    ConvFamily family_;
    std::string description_;
};

// One unit. Its number is handed out by the registry when it is registered.
class ConvTypeInfo {
public:
    ConvTypeInfo(ConvFamily family, std::string description) : family_(family), description_(std::move(description)) {}
    virtual ~ConvTypeInfo() = default;
    ConvTypeInfo(const ConvTypeInfo&) = delete;
    ConvTypeInfo& operator=(const ConvTypeInfo&) = delete;

    // A value in this unit to the family's base unit, and back.
    virtual double ToCommon(double value) const = 0;
    virtual double FromCommon(double value) const = 0;

    ConvFamily Family() const { return family_; }
    ConvType Type() const { return type_; }
    const std::string& Description() const { return description_; }

private:
    friend class ConversionRegistry;
    ConvFamily family_;
    ConvType type_ = 0;
    std::string description_;
};

// A unit that holds factor_ base units.
class ConvTypeFactor : public ConvTypeInfo {
public:
    ConvTypeFactor(ConvFamily family, std::string description, double factor)
        : ConvTypeInfo(family, std::move(description)), factor_(factor) {}

    double ToCommon(double value) const override { return value * factor_; }
    double FromCommon(double value) const override { return value / factor_; }
    double Factor() const { return factor_; }

private:
    double factor_;
};

// A unit whose relation to the base unit is a formula, such as an offset scale.
class ConvTypeProcs : public ConvTypeInfo {
public:
    ConvTypeProcs(ConvFamily family, std::string description, ConversionProc toCommon, ConversionProc fromCommon)
        : ConvTypeInfo(family, std::move(description)), toCommon_(toCommon), fromCommon_(fromCommon) {}

    double ToCommon(double value) const override { return toCommon_(value); }
    double FromCommon(double value) const override { return fromCommon_(value); }

private:
    ConversionProc toCommon_;
    ConversionProc fromCommon_;
};

class ConversionRegistry {
public:
    ConversionRegistry() = default;
    ConversionRegistry(ConversionRegistry&&) = default;
    ConversionRegistry& operator=(ConversionRegistry&&) = default;
    ConversionRegistry(const ConversionRegistry&) = delete;
    ConversionRegistry& operator=(const ConversionRegistry&) = delete;

    // Descriptions are unique among families, and among the units of one family,
    // without regard to case. A duplicate throws ConversionError.
    ConvFamily RegisterFamily(const std::string& description);
    ConvType RegisterUnit(ConvFamily family, const std::string& description, double factor);
    ConvType RegisterUnit(ConvFamily family, const std::string& description, ConversionProc toCommon,
                          ConversionProc fromCommon);

    // In order of registration.
    ConvFamilyArray Families() const;
    ConvTypeArray Units(ConvFamily family) const;

    std::string FamilyDescription(ConvFamily family) const;
    std::string UnitDescription(ConvType unit) const;

    // `value` in unit `from` expressed in unit `to`; both must be of one family.
    // Out-of-range dates throw ConversionError; a result beyond the double range
    // is infinite, not an error.
    double Convert(double value, ConvType from, ConvType to) const;

private:
    ConvType Register(std::unique_ptr<ConvTypeInfo> unit);
    void CheckFamily(ConvFamily family) const;
    const ConvTypeInfo& Unit(ConvType unit) const;

    std::vector<std::unique_ptr<ConvFamilyInfo>> families_;
    std::vector<std::unique_ptr<ConvTypeInfo>> units_;
};

// The six standard families with their 132 units, in that order, then the family
// "Sorry Not Valid1", which has no units.
void RegisterStandardConversions(ConversionRegistry& registry);

// The standard registry of this run, built on first use (thread-safe, as any
// function-local static) and never changed afterwards.
const ConversionRegistry& StandardConversions();

} // namespace calculators

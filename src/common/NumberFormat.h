// Number texts shared by every tool: fixed and general formatting of doubles and
// strict parsing of whole and decimal numbers. Nothing here reads the locale: a
// surveyor's "2.5" is two and a half on every machine, and a "," is refused
// rather than silently read as something else.
#pragma once

#include "common/Messages.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace common {

// Raised when a field's text cannot be read as a number. The message is the text
// the general error box shows.
class ConvertError : public UserError {
public:
    using UserError::UserError;
};

// The value of a hexadecimal digit, upper or lower case; -1 for any other byte.
constexpr int HexDigitValue(unsigned char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Fixed-point text: the exact value of the double taken to `decimals` places with
// halves away from zero, blanks in front up to `width`. "+Inf", "-Inf" and "Nan"
// for the non-finite values.
std::string FormatFixed(double value, int width, int decimals);

// General text: shortest form with at most 15 significant digits, scientific
// ("1.5E20", "2.5E-7") from a decimal exponent of 15 up or below 0.00001.
std::string FormatGeneral(double value);

// Grouped text of a result list: two decimals rounded half away from zero from
// the first 18 significant digits, whole digits grouped by three with ","; from
// 1e18 on, where two decimals mean nothing, up to 17 significant digits and an
// exponent ("1.5E20", "1E308"); below 0.01 in size, three significant digits
// ("0.00405", "1E-10"); "INF", "-INF", "NAN" for the non-finite values.
std::string FormatGroupedNumber(double value);

// Whole number: optional leading blanks, optional sign, decimal digits, within
// the signed 32-bit range. Throws ConvertError otherwise.
std::int32_t ParseInt(std::string_view text);

// Decimal number: optional blanks, optional sign, digits with an optional "."
// and fraction, optional exponent. Throws ConvertError otherwise.
double ParseFloat(std::string_view text);

// Non-throwing forms for callers that fall back on a value of their own.
bool TryParseInt(std::string_view text, std::int32_t& value);
bool TryParseFloat(std::string_view text, double& value);

} // namespace common

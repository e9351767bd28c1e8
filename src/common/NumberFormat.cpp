#include "common/NumberFormat.h"

#include <bit>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <locale.h>
#include <stdlib.h>
#include <vector>

namespace common {

namespace {

std::string PadLeft(std::string text, int width) {
    if (static_cast<int>(text.size()) < width) {
        text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
    }
    return text;
}

// Number of fractional decimal digits in the exact expansion of a finite double:
// the value is m * 2^e with an odd integer m, and 2^-k needs exactly k digits.
int ExactFractionDigits(double magnitude) {
    if (magnitude == 0.0) {
        return 0;
    }
    int exponent = 0;
    const double mantissa = std::frexp(magnitude, &exponent); // magnitude = mantissa * 2^exponent
    const auto bits = static_cast<std::uint64_t>(std::ldexp(mantissa, 53));
    const int binaryExponent = exponent - 53 + std::countr_zero(bits);
    return binaryExponent < 0 ? -binaryExponent : 0;
}

// Rounds a string of decimal digits to its first `keep` digits, halves away from
// zero (decided by the first dropped digit of an exact or long enough expansion).
// A carry out of the first digit makes the result one digit longer.
std::string RoundDigitsAwayFromZero(const std::string& digits, std::size_t keep) {
    std::string kept = digits.substr(0, keep);
    kept.resize(keep, '0');
    if (keep < digits.size() && digits[keep] >= '5') {
        std::size_t i = kept.size();
        while (i > 0 && kept[i - 1] == '9') {
            kept[i - 1] = '0';
            --i;
        }
        if (i > 0) {
            ++kept[i - 1];
        } else {
            kept.insert(kept.begin(), '1');
        }
    }
    return kept;
}

// The first `count` significant digits of |value|, correctly rounded, and the
// decimal exponent of the first one.
int SignificantDigits(double value, int count, std::string& digits) {
    char buffer[40];
    const auto printed =
        std::to_chars(buffer, buffer + sizeof buffer - 1, std::fabs(value), std::chars_format::scientific, count - 1);
    const std::string_view text(buffer, static_cast<std::size_t>(printed.ptr - buffer));
    const std::size_t e = text.find('e');
    digits.assign(1, text[0]);
    if (count > 1) {
        digits.append(text.substr(2, e - 2));
    }
    int exponent = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(), exponent);
    return exponent;
}

// "1.5E20": the digits without trailing zeros around one leading digit.
std::string ScientificText(std::string digits, int exponent, bool negative) {
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    std::string text = negative ? "-" : "";
    text += digits[0];
    if (digits.size() > 1) {
        text += '.';
        text.append(digits, 1);
    }
    return text + 'E' + std::to_string(exponent);
}

} // namespace

std::string FormatFixed(double value, int width, int decimals) {
    if (std::isnan(value)) {
        return PadLeft("Nan", width);
    }
    if (std::isinf(value)) {
        return PadLeft(value > 0 ? "+Inf" : "-Inf", width);
    }
    if (decimals < 0) {
        decimals = 0;
    }
    const bool negative = std::signbit(value);
    const double magnitude = std::fabs(value);

    // Print every digit of the exact binary value, so that the rounding below sees
    // the true remainder: 0.125 is a real half, 0.15 is a little less than one.
    const int precision = std::max(decimals + 1, ExactFractionDigits(magnitude));
    // to_chars is exact and never consults the locale.
    std::vector<char> buffer(static_cast<std::size_t>(precision) + 400);
    const auto printed =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude, std::chars_format::fixed, precision);
    std::string digits(buffer.data(), printed.ptr);

    const std::size_t point = digits.find('.');
    const std::string kept = RoundDigitsAwayFromZero(digits.substr(0, point) + digits.substr(point + 1),
                                                     point + static_cast<std::size_t>(decimals));
    const std::size_t intLength = kept.size() - static_cast<std::size_t>(decimals);
    std::string text = kept.substr(0, intLength);
    if (decimals > 0) {
        text += '.';
        text += kept.substr(intLength);
    }
    // A value that rounds to zero is shown without a sign: "-0.00" would suggest a
    // direction the number does not have.
    const bool allZero = kept.find_first_not_of('0') == std::string::npos;
    if (negative && !allZero) {
        text.insert(text.begin(), '-');
    }
    return PadLeft(std::move(text), width);
}

std::string FormatGeneral(double value) {
    if (std::isnan(value)) {
        return "NAN";
    }
    if (std::isinf(value)) {
        return value > 0 ? "INF" : "-INF";
    }
    if (value == 0.0) {
        return "0";
    }
    std::string mantissa;
    const int exponent = SignificantDigits(value, 15, mantissa);
    if (exponent >= 15 || exponent < -5) {
        return ScientificText(mantissa, exponent, value < 0);
    }
    while (mantissa.size() > 1 && mantissa.back() == '0') {
        mantissa.pop_back();
    }
    std::string text = value < 0 ? "-" : "";
    if (exponent < 0) {
        text += "0.";
        text.append(static_cast<std::size_t>(-exponent - 1), '0');
        text += mantissa;
    } else {
        const auto intDigits = static_cast<std::size_t>(exponent) + 1;
        if (mantissa.size() <= intDigits) {
            text += mantissa;
            text.append(intDigits - mantissa.size(), '0');
        } else {
            text.append(mantissa, 0, intDigits);
            text += '.';
            text.append(mantissa, intDigits);
        }
    }
    return text;
}

std::string FormatGroupedNumber(double value) {
    if (std::isnan(value)) {
        return "NAN";
    }
    if (std::isinf(value)) {
        return value > 0 ? "INF" : "-INF";
    }
    const bool negative = value < 0;
    std::string digits;
    // Below 0.01 in size two decimals read "0.00", which answers nothing (an
    // acre in square kilometres, an angstrom in metres): three significant
    // digits instead, written as the general form writes them (0.00405, 1E-10).
    // What rounds to 0.01 is shown as from 0.01 up.
    if (value != 0.0 && std::fabs(value) < 0.01) {
        const int exponent = SignificantDigits(value, 3, digits);
        if (exponent < -5) {
            return ScientificText(digits, exponent, negative);
        }
        if (exponent < -2) {
            while (digits.back() == '0') {
                digits.pop_back();
            }
            return (negative ? "-0." : "0.") + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
        }
        digits.clear();
    }
    if (std::fabs(value) >= 1e18) {
        // 17 significant digits are all a double holds: an 18th would only show the
        // binary representation (1e308 would read 1.00000000000000001E308).
        const int exponent = SignificantDigits(value, 17, digits);
        return ScientificText(digits, exponent, negative);
    }

    // Below 1e18 the first 18 significant digits of the stored value decide the
    // rounding to two decimals: 2.675 is stored below the half and shows 2.67,
    // and the whole digits of a large double are shown as it holds them.
    std::size_t intDigits = 1;
    if (value != 0.0) {
        const int exponent = SignificantDigits(value, 18, digits);
        if (exponent < 0) {
            digits.insert(0, static_cast<std::size_t>(-exponent), '0'); // "0" and the zeros after the point
        } else {
            intDigits = static_cast<std::size_t>(exponent) + 1;
        }
    }
    const std::string kept = RoundDigitsAwayFromZero(digits, intDigits + 2);
    const std::string whole = kept.substr(0, kept.size() - 2);
    std::string grouped;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0) {
            grouped += ',';
        }
        grouped += whole[i];
    }
    // A value that shows as zero gets no sign, as in every other figure of the suite.
    const bool shownZero = kept.find_first_not_of('0') == std::string::npos;
    return (negative && !shownZero ? "-" : "") + grouped + '.' + kept.substr(kept.size() - 2);
}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string Quoted(std::string_view text, const char* what) {
    return "'" + std::string(text) + "' is not a valid " + what;
}

// The C locale, whatever the user's regional settings say.
locale_t CLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", nullptr);
    return locale;
}

} // namespace

bool TryParseInt(std::string_view text, std::int32_t& value) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) {
        return false;
    }
    std::int64_t result = 0;
    for (; i < text.size(); ++i) {
        if (!IsDigit(text[i])) {
            return false;
        }
        result = result * 10 + (text[i] - '0');
        if (result > 2147483648LL) {
            return false;
        }
    }
    if (negative) {
        result = -result;
    }
    if (result > INT32_MAX || result < INT32_MIN) {
        return false;
    }
    value = static_cast<std::int32_t>(result);
    return true;
}

bool TryParseFloat(std::string_view text, double& value) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && text[begin] == ' ') {
        ++begin;
    }
    while (end > begin && text[end - 1] == ' ') {
        --end;
    }
    std::size_t i = begin;
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t numberStart = i;
    std::size_t mantissaDigits = 0;
    while (i < end && IsDigit(text[i])) {
        ++i;
        ++mantissaDigits;
    }
    if (i < end && text[i] == '.') {
        ++i;
        while (i < end && IsDigit(text[i])) {
            ++i;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) {
        return false;
    }
    if (i < end && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < end && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        std::size_t exponentDigits = 0;
        while (i < end && IsDigit(text[i])) {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0) {
            return false;
        }
    }
    if (i != end) {
        return false;
    }
    // The grammar is checked above; the conversion itself is the C library's
    // correctly rounded one, pinned to the C locale.
    const std::string number(text.substr(numberStart, end - numberStart));
    const double result = strtod_l(number.c_str(), nullptr, CLocale());
    if (std::isinf(result)) {
        return false; // too large for a double: refused rather than read as infinity
    }
    value = negative ? -result : result;
    return true;
}

std::int32_t ParseInt(std::string_view text) {
    std::int32_t value = 0;
    if (!TryParseInt(text, value)) {
        throw ConvertError(Quoted(text, "integer value"));
    }
    return value;
}

double ParseFloat(std::string_view text) {
    double value = 0.0;
    if (!TryParseFloat(text, value)) {
        throw ConvertError(Quoted(text, "floating point value"));
    }
    return value;
}

} // namespace common

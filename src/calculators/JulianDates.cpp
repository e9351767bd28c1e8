#include "calculators/JulianDates.h"

#include "calculators/ConversionRegistry.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace calculators {

namespace {

// The C "%f" form, whatever the locale.
std::string FixedSix(double value) {
    if (std::isnan(value)) {
        return "nan";
    }
    if (std::isinf(value)) {
        return value > 0 ? "inf" : "-inf";
    }
    char buffer[400];
    const auto printed = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    return std::string(buffer, printed.ptr);
}

constexpr std::int64_t kFirstDay = -693593; // 0001-01-01
constexpr std::int64_t kLastDay = 2958465;  // 9999-12-31
constexpr double kMillisecondsPerDay = 86400000.0;

// Days since 1970-01-01 of a proleptic Gregorian date, and back (era arithmetic).
std::int64_t DaysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

struct CivilDate {
    std::int64_t year, month, day;
};

CivilDate CivilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const std::int64_t day = doy - (153 * mp + 2) / 5 + 1;
    const std::int64_t month = mp < 10 ? mp + 3 : mp - 9;
    return {yoe + era * 400 + (month <= 2 ? 1 : 0), month, day};
}

const std::int64_t kEpoch = DaysFromCivil(1899, 12, 30);

bool IsValidDate(std::int64_t y, std::int64_t m, std::int64_t d) {
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1) {
        return false;
    }
    static constexpr int kMonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return d <= kMonthDays[m - 1] + (m == 2 && leap ? 1 : 0);
}

// A moment counted linearly in days from 1899-12-30 00:00, in the day count form:
// before the epoch the day stays whole and the time of day is subtracted.
double EncodeDays(double linear) {
    if (linear >= 0.0) {
        return linear;
    }
    const double day = std::floor(linear);
    return day - (linear - day);
}

constexpr double kModifiedJulianOffset = 2400000.5;

} // namespace

double DaysToJulian(double days) {
    if (!(std::trunc(days) >= static_cast<double>(kFirstDay) && std::trunc(days) <= static_cast<double>(kLastDay))) {
        throw ConversionError(FixedSix(days) + " days cannot be represented as a Julian date");
    }
    const CivilDate date = CivilFromDays(static_cast<std::int64_t>(std::trunc(days)) + kEpoch);
    const std::int64_t y = date.year;
    const std::int64_t m = date.month;
    const std::int64_t q = (m - 14) / 12;
    const std::int64_t dayNumber =
        (1461 * (y + 4800 + q)) / 4 + (367 * (m - 2 - 12 * q)) / 12 - (3 * ((y + 4900 + q) / 100)) / 4 + date.day;
    return static_cast<double>(dayNumber) - 32075.5 + std::fabs(days - std::trunc(days));
}

double JulianToDays(double julian) {
    const auto fail = [julian] {
        return ConversionError(FixedSix(julian) + " Julian cannot be represented as a DateTime");
    };
    // Far beyond the years 1 to 9999; also keeps the integer arithmetic in range.
    if (!(std::fabs(julian) < 1e12)) {
        throw fail();
    }
    std::int64_t l = static_cast<std::int64_t>(std::trunc(julian)) + 68570;
    const std::int64_t n = (4 * l) / 146097;
    l = l - (146097 * n + 3) / 4;
    const std::int64_t y1 = (4000 * (l + 1)) / 1461001;
    l = l - (1461 * y1) / 4 + 31;
    const std::int64_t m1 = (80 * l) / 2447;
    const std::int64_t d = l - (2447 * m1) / 80;
    const std::int64_t k = m1 / 11;
    const std::int64_t m = m1 + 2 - 12 * k;
    const std::int64_t y = 100 * (n - 49) + y1 + k;
    if (!IsValidDate(y, m, d)) {
        throw fail();
    }
    // A Julian day begins at noon: the date found is that of the following
    // midnight, so step back half a day and add the time elapsed since noon.
    const auto dayCount = static_cast<double>(DaysFromCivil(y, m, d) - kEpoch);
    const double milliseconds = std::nearbyint(std::fabs(julian - std::trunc(julian)) * kMillisecondsPerDay);
    return EncodeDays(dayCount - 0.5 + milliseconds / kMillisecondsPerDay);
}

double DaysToModifiedJulian(double days) { return DaysToJulian(days) - kModifiedJulianOffset; }
double ModifiedJulianToDays(double mjd) { return JulianToDays(mjd + kModifiedJulianOffset); }

} // namespace calculators

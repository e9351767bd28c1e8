#include "common/NumberFormat.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace number_format_test {

using namespace common;

namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
} // namespace

TEST(FormatFixed, RoundsTheExactDoubleWithHalvesAwayFromZero) {
    struct Case {
        double value;
        int width;
        int decimals;
        const char* text;
    } cases[] = {
        {0.125, 0, 2, "0.13"}, // an exact half goes up
        {5.25, 0, 1, "5.3"},
        {0.5, 0, 0, "1"},
        {2.5, 0, 0, "3"},        // not to even: the display rounds halves away
        {-0.125, 0, 2, "-0.13"}, // away from zero on the negative side too
        {0.15, 0, 1, "0.1"},     // 0.15 is held just below a half
        {5.05, 0, 1, "5.0"},     // likewise 5.05
        {1.005, 0, 2, "1.00"},
        {9.995, 0, 2, "9.99"},
        {9.9951, 0, 2, "10.00"}, // carry into a new digit
        {0.0, 0, 2, "0.00"},
        {-0.001, 0, 2, "0.00"}, // rounds to zero: no sign
        {21.0, 3, 0, " 21"},    // padded to the width
        {100.0, 3, 0, "100"},
        {0.26, 3, 2, "0.26"}, // width shorter than the text: no padding
        {7.0, 10, 6, "  7.000000"},
        {123456789.0, 0, 0, "123456789"},
        {1e20, 0, 1, "100000000000000000000.0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatFixed(c.value, c.width, c.decimals), c.text)
            << c.value << " w" << c.width << " d" << c.decimals;
    }
}

TEST(FormatFixed, WritesNonFiniteValuesPadded) {
    EXPECT_EQ(FormatFixed(kInf, 0, 2), "+Inf");
    EXPECT_EQ(FormatFixed(-kInf, 0, 2), "-Inf");
    EXPECT_EQ(FormatFixed(kNan, 0, 2), "Nan");
    EXPECT_EQ(FormatFixed(kInf, 6, 2), "  +Inf");
}

TEST(FormatGeneral, ShortestTextWithFifteenDigits) {
    struct Case {
        double value;
        const char* text;
    } cases[] = {
        {0.64, "0.64"},
        {5.6, "5.6"},
        {478.0, "478"},
        {0.0, "0"},
        {-2.75, "-2.75"},
        {1.5e20, "1.5E20"},
        {2.5e-7, "2.5E-7"},
        {1e15, "1E15"},
        {123456789012345.0, "123456789012345"},
        {0.00001, "0.00001"},
        {0.1 + 0.2, "0.3"}, // 15 digits hide the binary noise
        {1.0 / 3.0, "0.333333333333333"},
        {-1e-10, "-1E-10"},
        {999999999999999.9, "1E15"}, // rounding moves the exponent
        {kInf, "INF"},
        {-kInf, "-INF"},
        {kNan, "NAN"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatGeneral(c.value), c.text) << c.value;
    }
}

TEST(FormatGroupedNumber, TwoDecimalsGroupedExponentFromTenToTheEighteenthThreeDigitsBelowAHundredth) {
    struct Case {
        double value;
        const char* expected;
    };
    const Case cases[] = {
        {0, "0.00"},
        {-0.0, "0.00"},
        // Below 0.01, where two decimals would read "0.00", three significant digits.
        {0.004, "0.004"},
        {-0.004, "-0.004"},
        {0.005, "0.005"},
        {0.00404685642, "0.00405"}, // an acre in square kilometres
        {0.0000123456, "0.0000123"},
        {1e-10, "1E-10"}, // an angstrom in metres
        {-2.5e-7, "-2.5E-7"},
        {0.009996, "0.01"}, // three digits round it up to where two decimals hold
        {0.01, "0.01"},
        {0.125, "0.13"}, // a true half goes away from zero
        {-0.125, "-0.13"},
        {2.675, "2.67"},       // stored below the half
        {999.995, "1,000.00"}, // the carry reaches a new group
        {123.0, "123.00"},
        {1234.0, "1,234.00"},
        {-1234567.891, "-1,234,567.89"},
        {1e12, "1,000,000,000,000.00"},
        {1e-300, "1E-300"},
        {999999999999999872.0, "999,999,999,999,999,872.00"}, // every whole digit the double holds
        {1234567890123456.75, "1,234,567,890,123,456.75"},
        {1e18, "1E18"},
        {1.5e20, "1.5E20"},
        {-1.5e20, "-1.5E20"},
        {1e308, "1E308"},
        {1.0 / 3.0 * 1e20, "3.3333333333333332E19"},
        {123456789012345678.0, "123,456,789,012,345,680.00"},
        {std::numeric_limits<double>::infinity(), "INF"},
        {-std::numeric_limits<double>::infinity(), "-INF"},
        {std::numeric_limits<double>::quiet_NaN(), "NAN"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatGroupedNumber(c.value), c.expected) << c.value;
    }
}

TEST(ParseInt, AcceptsSignedDecimalWholeNumbersOnly) {
    struct Case {
        const char* text;
        bool ok;
        std::int32_t value;
    } cases[] = {
        {"10", true, 10},
        {"  42", true, 42},
        {"+7", true, 7},
        {"-20", true, -20},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, -2147483647 - 1},
        {"2147483648", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {"10.5", false, 0},
        {"10x", false, 0},
        {"10 ", false, 0},
        {"1,000", false, 0},
        {"$1F", false, 0},
    };
    for (const auto& c : cases) {
        std::int32_t value = 0;
        EXPECT_EQ(TryParseInt(c.text, value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

TEST(ParseFloat, AcceptsPointDecimalsAndExponentsNeverCommas) {
    struct Case {
        const char* text;
        bool ok;
        double value;
    } cases[] = {
        {"2.5", true, 2.5},    {" -0.75 ", true, -0.75}, {"+3", true, 3.0},       {".5", true, 0.5},
        {"5.", true, 5.0},     {"1e3", true, 1000.0},    {"1.5E-2", true, 0.015}, {"1e308", true, 1e308},
        {"1e-400", true, 0.0}, {"2,5", false, 0},        {"1,000.0", false, 0},   {"1e", false, 0},
        {"e5", false, 0},      {".", false, 0},          {"", false, 0},          {"12abc", false, 0},
        {"1e400", false, 0},   {"inf", false, 0},        {"nan", false, 0},
    };
    for (const auto& c : cases) {
        double value = 0;
        EXPECT_EQ(TryParseFloat(c.text, value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

TEST(Parse, ConversionErrorsQuoteTheText) {
    try {
        ParseInt("10x");
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'10x' is not a valid integer value");
    }
    try {
        ParseFloat("2,5");
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'2,5' is not a valid floating point value");
    }
}

TEST(Parse, IgnoresTheProcessLocale) {
    // A comma-decimal locale must not change how "2.5" reads or how 2.5 is written.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr && std::setlocale(LC_NUMERIC, "da_DK.UTF-8") == nullptr) {
        GTEST_SKIP() << "no comma-decimal locale installed";
    }
    EXPECT_EQ(ParseFloat("2.5"), 2.5);
    EXPECT_EQ(FormatFixed(2.5, 0, 1), "2.5");
    EXPECT_EQ(FormatGeneral(2.5), "2.5");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

} // namespace number_format_test

// The printf-based shortest texts, which the WebAssembly build uses, against
// std::to_chars of this build on doubles of every kind that reports meet and
// on the hard cases of shortest formatting.

#include "matrix/NumberText.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

using namespace talver;

namespace {

std::string ToChars(double value)
{
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

void ExpectSameAsToChars(double value)
{
    ASSERT_EQ(ShortestTextByPrintf(value), ToChars(value)) << "bits " << std::bit_cast<std::uint64_t>(value);
}

TEST(ShortestText, FallbackMatchesToCharsOnSpecialAndBoundaryValues)
{
    const double specials[] = {0.0,
                               -0.0,
                               1.0,
                               -1.0,
                               0.1,
                               0.3,
                               1e5,
                               1e-5,
                               123456.0,
                               1e15,
                               1e16,
                               1e21,
                               1e22,
                               1e23,
                               9007199254740993.0,
                               123456789012345678.0,
                               5e-324,
                               2.2250738585072014e-308,
                               2.2250738585072009e-308,
                               1.7976931348623157e308,
                               0.001,
                               0.0001,
                               std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity()};
    for (double value : specials) {
        ExpectSameAsToChars(value);
    }
    // Powers of two, where the doubles below lie twice as close as those
    // above, and their neighbours.
    for (int exponent = -1074; exponent <= 1023; ++exponent) {
        const double power = std::ldexp(1.0, exponent);
        ExpectSameAsToChars(power);
        ExpectSameAsToChars(std::nextafter(power, 0.0));
        ExpectSameAsToChars(-std::nextafter(power, HUGE_VAL));
    }
    // Powers of ten and the doubles beside them.
    for (int exponent = -320; exponent <= 308; ++exponent) {
        const double power = std::pow(10.0, exponent);
        ExpectSameAsToChars(power);
        ExpectSameAsToChars(std::nextafter(power, 0.0));
        ExpectSameAsToChars(std::nextafter(power, HUGE_VAL));
    }
}

TEST(ShortestText, FallbackMatchesToCharsOnRandomDoubles)
{
    std::mt19937_64 random(20261209);
    // Any bit pattern (every exponent) and values of the size of statistics,
    // whose digits run to the full 17.
    std::uniform_real_distribution<double> statistic(-50.0, 50.0);
    for (int i = 0; i < 30000; ++i) {
        const double anyDouble = std::bit_cast<double>(random());
        if (!std::isnan(anyDouble)) {
            ExpectSameAsToChars(anyDouble);
        }
        ExpectSameAsToChars(statistic(random));
        // Short decimals as data files hold them, after arithmetic.
        ExpectSameAsToChars(static_cast<double>(random() % 100000) / 1000.0);
    }
}

TEST(ShortestText, ReadsBackAndFixedDecimalsRoundLikePrintf)
{
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        const double value = std::bit_cast<double>(random());
        if (std::isfinite(value)) {
            ASSERT_EQ(std::strtod(ShortestText(value).c_str(), nullptr), value);
        }
    }
    // Halfway cases round from the exact binary value: 0.125 is exact, 2.675
    // lies below its decimal text.
    EXPECT_EQ(FixedDecimalsText(0.125, 2), "0.12");
    EXPECT_EQ(FixedDecimalsText(2.675, 2), "2.67");
    EXPECT_EQ(FixedDecimalsText(-0.0004, 3), "-0.000");
    EXPECT_EQ(FixedDecimalsText(1e300, 1).size(), 303u);
}

} // namespace

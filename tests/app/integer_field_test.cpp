#include "app/IntegerField.h"

#include <cstdint>
#include <optional>
#include <string>

#include <gtest/gtest.h>

using namespace talver;

namespace {

using Signed = std::optional<std::int32_t>;
using Unsigned = std::optional<std::uint32_t>;

TEST(IntegerFieldTest, ReadsDecimalNumbersBetweenBlanksAndTabs)
{
    EXPECT_EQ(ParseSignedField("12"), Signed(12));
    EXPECT_EQ(ParseSignedField("  12 \t "), Signed(12));
    EXPECT_EQ(ParseSignedField("\t-7"), Signed(-7));
    EXPECT_EQ(ParseSignedField("+7"), Signed(7));
    EXPECT_EQ(ParseSignedField("007"), Signed(7));
    EXPECT_EQ(ParseUnsignedField(" 5000 "), Unsigned(5000));
    EXPECT_EQ(ParseUnsignedField("+7"), Unsigned(7));
}

TEST(IntegerFieldTest, RefusesTextAroundOrInsideTheNumber)
{
    for (const char* text : {"12a", "12 a", "a12", "1 2", "- 5", "12.0", "1e3", "0x10", "12\n", "\n12", "\r12",
                             "\xef\xbc\x91\xef\xbc\x92" /* fullwidth 12 */}) {
        EXPECT_EQ(ParseSignedField(text), std::nullopt) << text;
        EXPECT_EQ(ParseUnsignedField(text), std::nullopt) << text;
    }
}

TEST(IntegerFieldTest, ZeroNeedsALeadingDigitZero)
{
    EXPECT_EQ(ParseSignedField("0"), Signed(0));
    EXPECT_EQ(ParseSignedField(" 000 "), Signed(0));
    EXPECT_EQ(ParseUnsignedField("\t0"), Unsigned(0));
    for (const char* text : {"", "   ", "\t", "-", "+", "+0", "-0"}) {
        EXPECT_EQ(ParseSignedField(text), std::nullopt) << '"' << text << '"';
        EXPECT_EQ(ParseUnsignedField(text), std::nullopt) << '"' << text << '"';
    }
}

TEST(IntegerFieldTest, UnsignedRefusesAMinusSign)
{
    EXPECT_EQ(ParseUnsignedField("-1"), std::nullopt);
    EXPECT_EQ(ParseUnsignedField(" -5000"), std::nullopt);
}

TEST(IntegerFieldTest, RefusesValuesBeyond32BitsInsteadOfWrapping)
{
    EXPECT_EQ(ParseSignedField("2147483647"), Signed(INT32_MAX));
    EXPECT_EQ(ParseSignedField("-2147483648"), Signed(INT32_MIN));
    EXPECT_EQ(ParseSignedField("2147483648"), std::nullopt);
    EXPECT_EQ(ParseSignedField("-2147483649"), std::nullopt);
    EXPECT_EQ(ParseSignedField("4294967308"), std::nullopt);  // 12 after wrapping

    EXPECT_EQ(ParseUnsignedField("4294967295"), Unsigned(UINT32_MAX));
    EXPECT_EQ(ParseUnsignedField("4294967296"), std::nullopt);
    EXPECT_EQ(ParseUnsignedField("4294967297"), std::nullopt);  // 1 after wrapping

    // Too many digits even for 64 bits; 2^64 + 12 would wrap to 12.
    EXPECT_EQ(ParseSignedField("18446744073709551628"), std::nullopt);
    EXPECT_EQ(ParseUnsignedField("18446744073709551628"), std::nullopt);
    const std::string huge(30, '9');
    EXPECT_EQ(ParseSignedField(huge), std::nullopt);
    EXPECT_EQ(ParseUnsignedField(huge), std::nullopt);
    EXPECT_EQ(ParseSignedField("-" + huge), std::nullopt);
}

TEST(IntegerFieldTest, ReadsTheWholeText)
{
    // Whatever follows past the 31st character still counts.
    const std::string twelve = "12" + std::string(29, ' ');
    EXPECT_EQ(ParseSignedField(twelve + "x"), std::nullopt);
    EXPECT_EQ(ParseUnsignedField(twelve + "-99"), std::nullopt);
    EXPECT_EQ(ParseSignedField(twelve + twelve), std::nullopt);
    EXPECT_EQ(ParseSignedField(twelve + "\t  "), Signed(12));
    EXPECT_EQ(ParseSignedField(std::string(40, ' ') + "7"), Signed(7));
    EXPECT_EQ(ParseSignedField(std::string(31, '0') + "5"), Signed(5));
}

}  // namespace

// Input echoed in messages: nothing a terminal would act on gets through, and
// one huge cell gives a short message.

#include "data/InputShown.h"

#include <gtest/gtest.h>

#include <string>

using namespace talver;

namespace {

// Whether the text holds no byte below 0x20, no DEL and no C1 control.
bool SafeForTerminal(const std::string& text)
{
    for (std::size_t k = 0; k < text.size(); ++k) {
        const unsigned char c = static_cast<unsigned char>(text[k]);
        if (c < 0x20 || c == 0x7F || (c == 0xC2 && k + 1 < text.size() && (unsigned char)text[k + 1] < 0xA0)) {
            return false;
        }
    }
    return true;
}

TEST(InputShown, ControlBytesAndBrokenUtf8AreEscapedAndValidTextKept)
{
    EXPECT_EQ(InputShown("q4"), "q4");
    EXPECT_EQ(InputShown("Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x98\x80"), "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xF0\x9F\x98\x80");
    EXPECT_EQ(InputShown(std::string("a\0b", 3)), "a\\0b");
    EXPECT_EQ(InputShown("\x1B[31mred\x7F"), "\\x1b[31mred\\x7f");
    // Latin-1 bytes, a C1 control (CSI), a cut sequence, an overlong form and a surrogate.
    EXPECT_EQ(InputShown("caf\xE9"), "caf\\xe9");
    EXPECT_EQ(InputShown("\xC2\x9B" "2J"), "\\xc2\\x9b2J");
    EXPECT_EQ(InputShown("\xE2\x82"), "\\xe2\\x82");
    EXPECT_EQ(InputShown("\xC0\xAF"), "\\xc0\\xaf");
    EXPECT_EQ(InputShown("\xED\xA0\x80"), "\\xed\\xa0\\x80");

    // Every single byte and every pair of bytes gives text a terminal can show.
    for (int a = 0; a < 256; ++a) {
        for (int b = 0; b < 256; ++b) {
            const std::string text{static_cast<char>(a), static_cast<char>(b)};
            ASSERT_TRUE(SafeForTerminal(InputShown(text))) << a << " " << b;
        }
    }
}

TEST(InputShown, LongInputIsCutAtCharactersNotBytes)
{
    const std::string huge(50'000'000, 'x');
    EXPECT_EQ(InputShown(huge), std::string(80, 'x') + "\xE2\x80\xA6");
    EXPECT_EQ(InputShown(std::string(80, 'y')), std::string(80, 'y'));
    // Two-byte characters are never cut in half.
    std::string umlauts;
    for (int k = 0; k < 100; ++k) {
        umlauts += "\xC3\xBC";
    }
    EXPECT_EQ(InputShown(umlauts, 10), umlauts.substr(0, 20) + "\xE2\x80\xA6");
}

} // namespace

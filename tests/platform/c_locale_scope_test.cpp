// Numbers written while a CLocaleScope lives use the decimal point, whatever
// locale the process has, and the process's locale is back afterwards.

#include <clocale>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "platform/CLocaleScope.h"

namespace {

std::string Formatted(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// A locale with a decimal comma under the names of each system, or false.
bool UseCommaLocale()
{
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "German_Germany.1252", "de-DE"}) {
        if (std::setlocale(LC_ALL, name) != nullptr) {
            return Formatted(0.5) == "0,50";
        }
    }
    return false;
}

TEST(CLocaleScope, NumbersUseThePointInsideAndTheUsersLocaleAfter)
{
    if (!UseCommaLocale()) {
        std::setlocale(LC_ALL, "C");
        GTEST_SKIP() << "no locale with a decimal comma on this system";
    }
    {
        talver::CLocaleScope scope;
        EXPECT_EQ(Formatted(1.25), "1.25");
        {
            talver::CLocaleScope nested;
            EXPECT_EQ(Formatted(2.5), "2.50");
        }
        EXPECT_EQ(Formatted(1.25), "1.25");
    }
    EXPECT_EQ(Formatted(1.25), "1,25");
    std::setlocale(LC_ALL, "C");
}

} // namespace

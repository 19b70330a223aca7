#pragma once
// What every fuzz target shares: a check that stops the run with the input
// saved, a dialog display that only counts what it is asked to show, and
// field texts that are often close to numbers, so that the rules get past
// their first refusal.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <fuzzer/FuzzedDataProvider.h>

#include "app/DialogPort.h"

using namespace talver;

[[noreturn]] inline void FuzzCheckFailed(const char* condition, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: fuzz check failed: %s\n", file, line, condition);
    std::abort();
}

// Unlike assert, stays on in every build type.
#define FUZZ_REQUIRE(condition) ((condition) ? void() : FuzzCheckFailed(#condition, __FILE__, __LINE__))

class CountingDialogPort : public DialogPort {
public:
    void ShowMessage(const std::string&) override { ++messages; }
    void FocusField(int controlId) override
    {
        ++focuses;
        lastFocus = controlId;
    }

    int messages = 0;
    int focuses = 0;
    int lastFocus = 0;
};

// Arbitrary bytes, or an integer with blanks and a sign around it.
inline std::string FieldTextFrom(FuzzedDataProvider& input)
{
    if (input.ConsumeBool()) {
        return input.ConsumeRandomLengthString(40);
    }
    std::string text(input.ConsumeIntegralInRange<int>(0, 2), ' ');
    switch (input.ConsumeIntegralInRange<int>(0, 3)) {
    case 0: text += std::to_string(input.ConsumeIntegralInRange<int>(-20, 20)); break;
    case 1: text += std::to_string(input.ConsumeIntegralInRange<int>(0, 12000)); break;
    case 2: text += std::to_string(input.ConsumeIntegral<std::int32_t>()); break;
    default: text += "+" + std::to_string(input.ConsumeIntegral<std::uint64_t>()); break;
    }
    text.append(input.ConsumeIntegralInRange<int>(0, 2), '\t');
    return text;
}

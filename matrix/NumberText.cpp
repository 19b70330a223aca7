#include "matrix/NumberText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <version>

namespace talver {

namespace {

// A positive finite double as d1.d2...dn x 10^exponent.
struct DecimalDigits {
    std::string digits;
    int exponent = 0;
};

std::string ScientificText(const DecimalDigits& d)
{
    std::string text(1, d.digits[0]);
    if (d.digits.size() > 1) {
        text += '.';
        text.append(d.digits, 1);
    }
    char exponent[16];
    std::snprintf(exponent, sizeof exponent, "e%c%02d", d.exponent < 0 ? '-' : '+', std::abs(d.exponent));
    return text + exponent;
}

bool ReadsBackAs(const DecimalDigits& d, double value)
{
    return std::strtod(ScientificText(d).c_str(), nullptr) == value;
}

// The decimal one unit of the last digit above (+1) or below (-1) `d`.
DecimalDigits Neighbour(DecimalDigits d, int step)
{
    int i = static_cast<int>(d.digits.size()) - 1;
    if (step > 0) {
        while (i >= 0 && d.digits[i] == '9') {
            d.digits[i--] = '0';
        }
        if (i < 0) {
            d.digits.insert(d.digits.begin(), '1');
            d.digits.pop_back();
            ++d.exponent;
        } else {
            ++d.digits[i];
        }
    } else {
        while (d.digits[i] == '0') {
            d.digits[i--] = '9';
        }
        --d.digits[i];
        if (d.digits[0] == '0') {
            d.digits.erase(0, 1);
            --d.exponent;
        }
    }
    return d;
}

// The fewest significant digits that read back as `value` (positive and
// finite), the nearest such decimal when several have as few. printf rounds
// to the nearest decimal of each length; just above a power of two the
// doubles below lie closer than those above, so that the nearest decimal may
// miss while the one past it on the far side still reads back.
DecimalDigits ShortestDigits(double value)
{
    DecimalDigits found;
    for (int precision = 1; precision <= 17; ++precision) {
        char text[40];
        std::snprintf(text, sizeof text, "%.*e", precision - 1, value);
        const char* e = text;
        while (*e != 'e') {
            ++e;
        }
        DecimalDigits nearest;
        for (const char* c = text; c != e; ++c) {
            if (*c != '.') {
                nearest.digits += *c;
            }
        }
        nearest.exponent = std::atoi(e + 1);
        const double read = std::strtod(text, nullptr);
        if (read == value) {
            found = nearest;
            break;
        }
        const DecimalDigits other = Neighbour(nearest, read < value ? 1 : -1);
        if (!other.digits.empty() && ReadsBackAs(other, value)) {
            found = other;
            break;
        }
    }
    while (found.digits.size() > 1 && found.digits.back() == '0') {
        found.digits.pop_back();
    }
    return found;
}

std::string FixedTextOf(const DecimalDigits& d, double magnitude)
{
    const int count = static_cast<int>(d.digits.size());
    if (d.exponent >= count - 1) {
        // An integer: its exact value has as many characters as the shortest
        // digits padded with zeros, and is nearer.
        char text[400];
        std::snprintf(text, sizeof text, "%.0f", magnitude);
        return text;
    }
    if (d.exponent >= 0) {
        return d.digits.substr(0, d.exponent + 1) + "." + d.digits.substr(d.exponent + 1);
    }
    return "0." + std::string(-d.exponent - 1, '0') + d.digits;
}

} // namespace

std::string ShortestTextByPrintf(double value)
{
    const std::string sign = std::signbit(value) ? "-" : "";
    if (std::isnan(value)) {
        return sign + "nan";
    }
    if (std::isinf(value)) {
        return sign + "inf";
    }
    if (value == 0.0) {
        return sign + "0";
    }
    const double magnitude = std::fabs(value);
    const DecimalDigits digits = ShortestDigits(magnitude);
    const std::string scientific = ScientificText(digits);
    const std::string fixed = FixedTextOf(digits, magnitude);
    return sign + (fixed.size() <= scientific.size() ? fixed : scientific);
}

std::string ShortestText(double value)
{
#if defined(__cpp_lib_to_chars)
    char text[32];
    const std::to_chars_result written = std::to_chars(text, text + sizeof text, value);
    return std::string(text, written.ptr);
#else
    return ShortestTextByPrintf(value);
#endif
}

std::string FixedDecimalsText(double value, int decimals)
{
    // A double's integer part has at most 309 digits.
    char text[400];
#if defined(__cpp_lib_to_chars)
    const std::to_chars_result written =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return std::string(text, written.ptr);
#else
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
#endif
}

} // namespace talver

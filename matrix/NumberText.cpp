#include "matrix/NumberText.h"

#include <cctype>
#include <cerrno>
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

// The end of the text that from_chars reads as a number at `first`, or
// `first` when there is none.
const char* NumberEnd(const char* first, const char* last)
{
    const char* p = first;
    if (p != last && *p == '-') {
        ++p;
    }
    const auto lower = [](char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c); };
    const auto startsWith = [&](const char* at, const char* word) {
        for (; *word != '\0'; ++at, ++word) {
            if (at == last || lower(*at) != *word) {
                return false;
            }
        }
        return true;
    };
    if (startsWith(p, "inf")) {
        return p + (startsWith(p, "infinity") ? 8 : 3);
    }
    if (startsWith(p, "nan")) {
        p += 3;
        // nan(n-char-sequence), taken only when the parenthesis closes.
        if (p != last && *p == '(') {
            const char* q = p + 1;
            while (q != last && (std::isalnum(static_cast<unsigned char>(*q)) || *q == '_')) {
                ++q;
            }
            if (q != last && *q == ')') {
                return q + 1;
            }
        }
        return p;
    }
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    const char* digitsStart = p;
    while (p != last && isDigit(*p)) {
        ++p;
    }
    bool anyDigit = p != digitsStart;
    if (p != last && *p == '.') {
        ++p;
        const char* fraction = p;
        while (p != last && isDigit(*p)) {
            ++p;
        }
        anyDigit = anyDigit || p != fraction;
    }
    if (!anyDigit) {
        return first;
    }
    if (p != last && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        if (q != last && (*q == '+' || *q == '-')) {
            ++q;
        }
        if (q != last && isDigit(*q)) {
            while (q != last && isDigit(*q)) {
                ++q;
            }
            p = q;
        }
    }
    return p;
}

template <typename Real>
NumberRead ReadByStrtod(const char* first, const char* last, Real& value, Real (*convert)(const char*, char**))
{
    const char* end = NumberEnd(first, last);
    if (end == first) {
        return {first, std::errc::invalid_argument};
    }
    const std::string text(first, end);
    errno = 0;
    const Real read = convert(text.c_str(), nullptr);
    if (errno == ERANGE && (read == 0 || std::isinf(read))) {
        return {end, std::errc::result_out_of_range};
    }
    value = read;
    return {end, std::errc{}};
}

} // namespace

NumberRead ReadNumberByStrtod(const char* first, const char* last, float& value)
{
    return ReadByStrtod<float>(first, last, value, std::strtof);
}

NumberRead ReadNumberByStrtod(const char* first, const char* last, double& value)
{
    return ReadByStrtod<double>(first, last, value, std::strtod);
}

#if defined(__cpp_lib_to_chars)
NumberRead ReadNumber(const char* first, const char* last, float& value)
{
    const std::from_chars_result read = std::from_chars(first, last, value, std::chars_format::general);
    return {read.ptr, read.ec};
}

NumberRead ReadNumber(const char* first, const char* last, double& value)
{
    const std::from_chars_result read = std::from_chars(first, last, value, std::chars_format::general);
    return {read.ptr, read.ec};
}
#else
NumberRead ReadNumber(const char* first, const char* last, float& value)
{
    return ReadNumberByStrtod(first, last, value);
}

NumberRead ReadNumber(const char* first, const char* last, double& value)
{
    return ReadNumberByStrtod(first, last, value);
}
#endif

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

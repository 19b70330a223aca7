#pragma once
// Locale-free texts of doubles for reports and messages: the shortest text
// that reads back as the same double, and a fixed number of decimals.
// Where the C++ library has no floating-point std::to_chars (the WebAssembly
// build's), the same texts come from printf and strtod, which the browser
// build runs in the C locale.

#include <string>
#include <system_error>

namespace talver {

// Exactly what std::to_chars(first, last, value) writes: the fewest
// characters that read back as `value`, fixed or scientific ("1e+20"),
// fixed on a tie; "inf", "-inf", "nan" for the others.
std::string ShortestText(double value);

// The same text found by printf with rising precision and strtod, for
// libraries without std::to_chars. Needs the C locale.
std::string ShortestTextByPrintf(double value);

// `value` rounded to `decimals` decimals from its exact binary value, as
// printf's %.*f does in the C locale ("-0.000" for small negatives kept).
std::string FixedDecimalsText(double value, int decimals);

// What std::from_chars(first, last, value) gives for a float or a double in
// the general format: an optional '-', then digits with an optional point
// and exponent, or inf, infinity, nan, nan(...) in any case; no blanks, no
// '+', no hexadecimal. Out of range (0 or infinity from digits that are
// not): the value is left as it was.
struct NumberRead {
    const char* ptr;
    std::errc ec;
};
NumberRead ReadNumber(const char* first, const char* last, float& value);
NumberRead ReadNumber(const char* first, const char* last, double& value);

// The same through strtof and strtod, for libraries without floating-point
// std::from_chars. Needs the C locale.
NumberRead ReadNumberByStrtod(const char* first, const char* last, float& value);
NumberRead ReadNumberByStrtod(const char* first, const char* last, double& value);

} // namespace talver

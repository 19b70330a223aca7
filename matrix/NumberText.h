#pragma once
// Locale-free texts of doubles for reports and messages: the shortest text
// that reads back as the same double, and a fixed number of decimals.
// Where the C++ library has no floating-point std::to_chars (the WebAssembly
// build's), the same texts come from printf and strtod, which the browser
// build runs in the C locale.

#include <string>

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

} // namespace talver

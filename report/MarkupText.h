#pragma once
// Text for the HTML report and its SVG charts: escaped markup and numbers
// with a fixed count of decimals, the same digits as printf's "%.Nf" gives in
// the C locale, whatever the process's locale is.

#include <string>

namespace talver {

// `text` with &, <, >, " and ' written as entities, and valid UTF-8 whatever
// its bytes: control characters (but tab and line ends) and bytes that are no
// part of UTF-8 become the replacement character U+FFFD.
std::string MarkupEscaped(const std::string& text);

// `value` with `decimals` digits after the point; "n/a" when it is not a
// finite number (the JSON has null there). A value that rounds to zero has
// no minus sign.
std::string FixedText(double value, int decimals);

// A p value as papers write it: "< .001", else three decimals without the
// leading zero (".047"); "n/a" when it is not a finite number.
std::string PValueText(double p);

} // namespace talver

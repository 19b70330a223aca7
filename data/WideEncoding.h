#pragma once
// Text files saved in a wide Unicode encoding, which the readers refuse with
// the encoding's name so that the user knows what to save the file as
// instead.

#include <string>
#include <string_view>

namespace talver {

// "UTF-16 (little-endian)", "UTF-32 (big-endian)" and so on, found from a
// byte-order mark or, without one, from the NUL bytes beside the first ASCII
// character; empty for any other start of a file.
std::string WideEncodingOf(std::string_view start);

} // namespace talver

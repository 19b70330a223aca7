#pragma once
// Checks of UTF-8 text, for the writers that must give valid UTF-8 whatever
// bytes the names of files, groups and items hold.

#include <cstddef>
#include <string>

namespace talver {

// The replacement character U+FFFD in UTF-8, written for a byte that is no
// part of UTF-8 text (a name in another encoding).
inline constexpr const char* kReplacementCharacter = "\xEF\xBF\xBD";

// The length of the well-formed UTF-8 sequence at text[i] (Unicode 15,
// table 3-7: no overlong forms, no surrogates, nothing above U+10FFFF), or 0.
std::size_t Utf8SequenceLength(const std::string& text, std::size_t i);

} // namespace talver

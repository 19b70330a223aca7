#pragma once
// Reads the text of a dialog's number field the way the dialogs accept it:
// the whole text counts, blanks and tabs around the number are
// skipped, nothing else may follow it, and a value of 0 needs a leading digit
// 0, so an empty field is refused. Values that do not fit in 32 bits are
// refused rather than wrapped or clamped.

#include <cstdint>
#include <optional>
#include <string_view>

namespace talver {

// A signed decimal integer, with an optional '+' or '-' sign.
std::optional<std::int32_t> ParseSignedField(std::string_view text);

// An unsigned decimal integer; a '+' sign is allowed, a '-' sign is refused.
std::optional<std::uint32_t> ParseUnsignedField(std::string_view text);

} // namespace talver

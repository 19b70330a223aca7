#pragma once
// Text that came from a data file or from the user, made fit to be echoed in
// a message: a terminal acts on control bytes and a log hides them, and one
// huge cell must not make a huge message.

#include <cstddef>
#include <string>
#include <string_view>

namespace talver {

// About this many characters of one piece of input are shown.
inline constexpr std::size_t kMostInputCharacters = 80;

// The text with every control byte (C0, DEL and the C1 controls) and every
// byte that is not part of valid UTF-8 written as an escape: "\0" for NUL,
// "\xNN" for the others. Text longer than `most` characters is cut there and
// ends with "…".
std::string InputShown(std::string_view text, std::size_t most = kMostInputCharacters);

} // namespace talver

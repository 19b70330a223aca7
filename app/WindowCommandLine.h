#pragma once
// The window program's own information switches, answered before any display
// is opened, so that they work on a server and for tools that read them.

#include <optional>
#include <string>

namespace talver {

// The text that `talver --help` or `talver --version` prints, when one of
// them is among the arguments (without its last line end); otherwise
// nothing, and the window starts.
std::optional<std::string> WindowInformationText(int argc, const char* const* argv);

} // namespace talver

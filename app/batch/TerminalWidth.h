#pragma once
// The width of the terminal that a stream writes to, so that a live line can
// stay within it.

#include <cstdio>

namespace talver {

// The terminal's columns; $COLUMNS when the terminal does not say, 80 when
// neither does.
int TerminalColumns(std::FILE* stream);

} // namespace talver

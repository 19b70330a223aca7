#pragma once

#include <string>

#include <windows.h>

namespace talver {

// The system's own words for a Windows error code, without the line end and
// full stop that FormatMessage appends, so that it can stand inside a sentence.
std::string SystemMessage(DWORD code);

} // namespace talver

#pragma once
// The registration switches of the program's command line. There is nothing
// to register on this platform, but a start with either switch still ends at
// once without a window, as installers expect.

#include <string>
#include <string_view>

namespace talver {

enum class StartupSwitch { None, RegServer, UnregServer };

// The command line after the program name: the arguments joined by blanks.
std::string CommandLineAfterProgram(int argc, const char* const* argv);

// Finds each '-' or '/' and compares the whole rest of the line after it,
// ignoring case, with "UnregServer" and then "RegServer"; so a switch counts
// only when it is the last thing on the line.
StartupSwitch FindStartupSwitch(std::string_view commandLine);

} // namespace talver

#pragma once
// What `--version` prints for both programs: the program and its version, the
// compiler that built it, and whether this is the optimised release build, so
// a user can say exactly which build wrote a report.

#include <string>
#include <string_view>

namespace talver {

// The version of TALVER, as the report's title block gives it.
std::string_view ProgramVersion();

// Three lines, the last without a line end: "PROGRAM (TALVER) VERSION", the
// compiler, and the build.
std::string VersionText(std::string_view program);

} // namespace talver

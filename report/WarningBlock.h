#pragma once
// The block that takes the place of a section whose analysis ended early.

#include <string>

#include "report/ReportContext.h"

namespace talver {

// The section heading, "\n\nWARNING: " and the warning, three line ends, and
// the separator followed by an empty line.
void PrintWarningBlock(ReportContext& context, const char* heading, const std::string& warning);

// A heading without its line ends, as the JSON names the section of a warning.
std::string SectionName(const char* heading);

} // namespace talver

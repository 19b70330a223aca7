#include "report/WarningBlock.h"

namespace talver {

void PrintWarningBlock(ReportContext& context, const char* heading, const std::string& warning)
{
    ReportPrintf(context, "%s", heading);
    ReportPrintf(context, "\n\nWARNING: %s\n\n\n", warning.c_str());
    SeparatorLine(context);
    ReportPrintf(context, "\n");
}

std::string SectionName(const char* heading)
{
    std::string section = heading;
    section.erase(section.find_last_not_of('\n') + 1);
    return section;
}

} // namespace talver

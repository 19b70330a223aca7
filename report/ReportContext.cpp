#include "report/ReportContext.h"

#include <cstdarg>

namespace talver {

void SeparatorLine(ReportContext& context)
{
    std::fputs("--------------------------------------------------------------------------------\n", context.report);
}

void ReportPrintf(ReportContext& context, const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(context.report, format, arguments);
    va_end(arguments);
}

} // namespace talver

#pragma once
// The open report of one run, handed to every section writer.

#include <cstdio>
#include <ctime>

namespace talver {

struct ReportContext {
    std::FILE* report = nullptr;
    std::time_t startTime = 0;
    std::time_t endTime = 0;
    // The local date and time of startTime, which the header shows. The
    // caller converts it: the C library's thread-safe conversion differs
    // between systems.
    std::tm startLocal{};
};

// 80 hyphens and a line end: every block of the report ends with it.
void SeparatorLine(ReportContext& context);

// printf-style output into the report.
[[gnu::format(printf, 2, 3)]] void ReportPrintf(ReportContext& context, const char* format, ...);

} // namespace talver

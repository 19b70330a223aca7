#pragma once
// The report's frame: title block, details of the analysis, closing lines.

#include "report/ReportContext.h"
#include "report/ReportDetails.h"

#include <ctime>
#include <string>

namespace talver {

// The local calendar date as "%A, %B %d, %Y" in English, whatever the locale.
std::string EnglishDate(const std::tm& local);

// The heading of the warnings about the data read, after the details.
inline constexpr const char* kDataSection = "DATA READ";

void WriteReportHeader(ReportContext& context);
// The details block, then a warning block for each warning about the data.
void WriteDetailsBlock(ReportContext& context, const ReportDetails& details);
void WriteClosingLines(ReportContext& context);

} // namespace talver

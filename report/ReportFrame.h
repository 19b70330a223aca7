#pragma once
// The report's frame: title block, details of the analysis, closing lines.

#include "report/ReportContext.h"
#include "report/ReportDetails.h"

#include <ctime>
#include <string>

namespace talver {

// The local calendar date as "%A, %B %d, %Y" in English, whatever the locale.
std::string EnglishDate(const std::tm& local);

void WriteReportHeader(ReportContext& context);
void WriteDetailsBlock(ReportContext& context, const ReportDetails& details);
void WriteClosingLines(ReportContext& context);

} // namespace talver

#pragma once
// The report's frame: title block, details of the analysis, closing lines.

#include "app/ReportContext.h"

#include <string>

struct Workspace;

// The local calendar date as "%A, %B %d, %Y" in English, whatever the locale.
std::string EnglishDate(const std::tm& local);

void WriteReportHeader(ReportContext& context);
void WriteDetailsBlock(ReportContext& context, const Workspace& workspace);
void WriteClosingLines(ReportContext& context);

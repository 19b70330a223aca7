#pragma once
// The report as one self-contained HTML page: the details of the analysis,
// every table of the text report with the items' names, the significant
// entries highlighted, the footnotes as legends, the charts as inline SVG and
// what the bootstrap went through. Needs nothing but the file to be viewed.

#include <cstdio>
#include <string>

#include "report/ReportDetails.h"
#include "report/RunResults.h"

namespace talver {

// withCharts false leaves the charts and the bars of the index tables out,
// for viewers that draw them apart.
std::string HtmlReport(const ReportDetails& details, const RunResults& results, bool withCharts = true);

void WriteHtmlReport(std::FILE* out, const ReportDetails& details, const RunResults& results);

// The table of the bootstrap tallies, also part of HtmlReport.
std::string BootstrapHtml(const RunResults& results);

} // namespace talver

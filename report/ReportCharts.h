#pragma once
// The charts of a run as SVG documents, drawn from its result records: the
// HTML report places each beside its table, and the window shows and saves
// them.

#include <string>
#include <vector>

#include "report/ReportDetails.h"
#include "report/RunResults.h"

namespace talver {

// Which section of the report a chart belongs to.
enum class ChartSection { Difficulties, Discriminations, ResidualVariances, Congruence, Discrepancy };

struct ReportChart {
    ChartSection section = ChartSection::Difficulties;
    std::string id;    // unique in the report, also a file name stem
    std::string title;
    std::string svg;
};

// Item means; loadings, one chart per factor; residual variances; congruence
// and discrepancy per item. Only those whose tables the report shows.
std::vector<ReportChart> ReportCharts(const ReportDetails& details, const RunResults& results);

// "Factor 1" for ULS, "Component 1" for PCA and ML, as the text report's
// column letters F and C.
std::string FactorLabel(ExtractionMethod method, int factor);

} // namespace talver

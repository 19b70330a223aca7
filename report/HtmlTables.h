#pragma once
// The tables of the HTML report, one function per section of the text
// report: the same values with the same digits, items by name, "**" entries
// highlighted, footnotes as legends, each chart after its tables.

#include <string>
#include <vector>

#include "report/ReportCharts.h"
#include "report/ReportDetails.h"
#include "report/RunResults.h"

namespace talver {

// The charts to place, by section; empty for a page of tables only.
using ChartsOf = std::vector<const ReportChart*>;

std::string DifficultiesHtml(const ReportDetails& details, const DifficultyResults& results, const ChartsOf& charts);
std::string DiscriminationsHtml(const ReportDetails& details, const DiscriminationResults& results,
                                const ChartsOf& charts);
std::string ResidualVariancesHtml(const ReportDetails& details, const DiscriminationResults& results,
                                  const ChartsOf& charts);
std::string HotellingHtml(const HotellingResults& results);
// congruence: the congruence family, else the discrepancy family; withBars
// adds a bar per factor and overall to their table.
std::string IndicesHtml(const ReportDetails& details, const InvarianceResults& results, bool congruence,
                        const ChartsOf& charts, bool withBars);

// A figure holding an SVG chart with its caption.
std::string FigureHtml(const ReportChart& chart);

} // namespace talver

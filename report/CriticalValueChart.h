#pragma once
// Observed indices against their critical values, one row per item: the
// observed value as a filled diamond, the critical value as a thick bar, a
// thin line between them; rows that differ significantly on a grey band with
// "**".

#include <string>
#include <vector>

namespace talver {

struct CriticalValueRow {
    std::string name;
    double observed = 0.0;
    double critical = 0.0;
    bool flagged = false;
};

struct CriticalValueChart {
    std::string id;
    std::string title;
    std::string axisLabel;
    std::string criticalName; // e.g. "Critical value at alpha = 0.05"
    std::string flagName;
    std::vector<CriticalValueRow> rows;
};

std::string CriticalValueChartSvg(const CriticalValueChart& chart);

// A small bar for a table cell: from the axis's start to the observed value,
// with the critical value as a thick tick, over [low, high].
std::string IndexBarSvg(double observed, double critical, double low, double high, bool flagged);

} // namespace talver

#pragma once
// A dot-and-whisker chart of one statistic per item in both samples: the
// Target value as a filled circle with a solid whisker over its interval, the
// Replication value just below it as an open square with a dashed whisker,
// items that differ significantly on a grey band with "**".

#include <string>
#include <vector>

namespace talver {

struct IntervalEstimate {
    double value = 0.0;
    double lower = 0.0;
    double upper = 0.0;
};

struct IntervalRow {
    std::string name;
    IntervalEstimate target;
    IntervalEstimate replication;
    bool flagged = false;
};

struct IntervalChart {
    std::string id;        // of the svg element
    std::string title;
    std::string axisLabel;
    std::string intervalName; // what the whiskers are, for the legend
    std::string flagName;     // what "**" means, for the legend
    int decimals = 3;         // of the values in the tooltips
    std::vector<IntervalRow> rows;
};

std::string IntervalChartSvg(const IntervalChart& chart);

} // namespace talver

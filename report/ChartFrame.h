#pragma once
// The frame shared by the report's row charts: one row per item, its name on
// the left, a value axis along the bottom with ticks, grid lines and a label,
// a title and a legend on top, and a grey band with "**" after the name for
// rows that differ significantly (readable in black and white).

#include <string>
#include <vector>

#include "report/ChartScale.h"
#include "report/SvgDocument.h"

namespace talver {

// Colours safe for colour-blind readers (Okabe and Ito, 2008), always paired
// with a shape or a dash pattern so that print in grey keeps them apart.
inline constexpr const char* kTargetColour = "#0072B2";
inline constexpr const char* kReplicationColour = "#D55E00";
inline constexpr const char* kFlagBandColour = "#E3E3E3";

struct ChartLayout {
    double width = 720.0;
    double left = 0.0;      // where the plot area starts (after the names)
    double right = 0.0;     // where it ends
    double top = 0.0;       // first row's upper edge
    double rowHeight = 26.0;
    int rows = 0;

    double RowCentre(int row) const { return top + rowHeight * (row + 0.5); }
    double Bottom() const { return top + rowHeight * rows; }
    double Height() const { return Bottom() + 52.0; }
};

// Room for the longest of the names (shortened to 28 characters).
ChartLayout RowChartLayout(const std::vector<std::string>& names);

// A name as the chart shows it: at most 28 characters.
std::string ChartName(const std::string& name);

// Draws the grey bands and the names (with "**" when flagged) of the rows.
void DrawRows(SvgDocument& svg, const ChartLayout& layout, const std::vector<std::string>& names,
              const std::vector<bool>& flagged);

// Grid lines and tick labels of the scale, a dashed line at 0 when 0 is inside,
// and the axis label under the ticks.
void DrawValueAxis(SvgDocument& svg, const ChartLayout& layout, const ChartScale& scale, const std::string& label);

// One legend entry drawn by the caller's mark at (x, y); returns the x after its text.
double LegendText(SvgDocument& svg, double x, double y, const std::string& text);

// The entry for the grey band of significant rows; returns the x after it.
double LegendFlag(SvgDocument& svg, double x, double y, const std::string& text);

// Where the title and the legend go.
inline constexpr double kTitleBaseline = 22.0;
inline constexpr double kLegendBaseline = 44.0;

} // namespace talver

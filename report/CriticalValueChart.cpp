#include "report/CriticalValueChart.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "report/ChartFrame.h"
#include "report/MarkupText.h"

namespace talver {

namespace {

void DrawObserved(SvgDocument& svg, double x, double y)
{
    svg.Polygon(SvgPoint(x, y - 6.0) + SvgPoint(x + 6.0, y) + SvgPoint(x, y + 6.0) + SvgPoint(x - 6.0, y),
                kTargetColour, {"#000000", 0.8, ""});
}

void DrawCritical(SvgDocument& svg, double x, double y)
{
    svg.Rect(x - 2.0, y - 8.0, 4.0, 16.0, kReplicationColour, {"#000000", 0.6, ""});
}

} // namespace

std::string CriticalValueChartSvg(const CriticalValueChart& chart)
{
    std::vector<std::string> names;
    std::vector<bool> flagged;
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (const CriticalValueRow& row : chart.rows) {
        names.push_back(row.name);
        flagged.push_back(row.flagged);
        Widen(row.observed, low, high);
        Widen(row.critical, low, high);
    }
    const ChartLayout layout = RowChartLayout(names);
    const ChartScale scale = NiceScale(low, high, layout.left, layout.right);
    SvgDocument svg(layout.width, layout.Height(), chart.title, chart.id);
    svg.Text(layout.width / 2.0, kTitleBaseline, chart.title, "middle", 15.0, true);
    double x = 24.0;
    DrawObserved(svg, x, kLegendBaseline);
    x = LegendText(svg, x + 12.0, kLegendBaseline, "Observed");
    DrawCritical(svg, x, kLegendBaseline);
    x = LegendText(svg, x + 10.0, kLegendBaseline, chart.criticalName);
    LegendFlag(svg, x, kLegendBaseline, "** " + chart.flagName);

    DrawRows(svg, layout, names, flagged);
    DrawValueAxis(svg, layout, scale, chart.axisLabel);
    for (int r = 0; r < layout.rows; ++r) {
        const CriticalValueRow& row = chart.rows[static_cast<std::size_t>(r)];
        const double y = layout.RowCentre(r);
        svg.BeginGroup("index", row.name + ": observed " + FixedText(row.observed, 3) + ", critical value " +
                                    FixedText(row.critical, 3));
        if (std::isfinite(row.observed) && std::isfinite(row.critical)) {
            svg.Line(scale.Position(row.observed), y, scale.Position(row.critical), y, {"#606060", 1.0, ""});
        }
        if (std::isfinite(row.critical)) {
            DrawCritical(svg, scale.Position(row.critical), y);
        }
        if (std::isfinite(row.observed)) {
            DrawObserved(svg, scale.Position(row.observed), y);
        }
        svg.EndGroup();
    }
    return svg.Finish();
}

std::string IndexBarSvg(double observed, double critical, double low, double high, bool flagged)
{
    constexpr double kWidth = 160.0;
    constexpr double kHeight = 18.0;
    const ChartScale scale{low, high, high - low, 2.0, kWidth - 2.0};
    SvgDocument svg(kWidth, kHeight, "Observed " + FixedText(observed, 3) + ", critical value " +
                                         FixedText(critical, 3));
    svg.Rect(2.0, 4.0, kWidth - 4.0, 10.0, "#FFFFFF", {"#808080", 0.5, ""});
    if (std::isfinite(observed)) {
        const double end = std::clamp(scale.Position(observed), 2.0, kWidth - 2.0);
        // Hatched by a darker edge when significant, so print in grey keeps it.
        svg.Rect(2.0, 4.0, end - 2.0, 10.0, flagged ? kReplicationColour : kTargetColour,
                 {"#000000", flagged ? 1.5 : 0.5, flagged ? "2 1" : ""});
    }
    if (std::isfinite(critical)) {
        const double x = std::clamp(scale.Position(critical), 2.0, kWidth - 2.0);
        svg.Rect(x - 1.5, 1.0, 3.0, 16.0, "#000000");
    }
    return svg.Finish();
}

} // namespace talver

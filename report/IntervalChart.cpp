#include "report/IntervalChart.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "report/ChartFrame.h"
#include "report/MarkupText.h"

namespace talver {

namespace {

constexpr double kSampleOffset = 5.5;

std::string Tooltip(const std::string& name, const char* sample, const IntervalEstimate& estimate, int decimals)
{
    return name + ", " + sample + ": " + FixedText(estimate.value, decimals) + " [" +
           FixedText(estimate.lower, decimals) + "; " + FixedText(estimate.upper, decimals) + "]";
}

// Clamped into the plot, so that a wild bound cannot draw outside it.
double Clamped(const ChartScale& scale, double value)
{
    return std::clamp(scale.Position(value), scale.from, scale.to);
}

void DrawWhisker(SvgDocument& svg, const ChartScale& scale, const IntervalEstimate& e, double y,
                 const SvgStroke& stroke)
{
    if (std::isfinite(e.lower) && std::isfinite(e.upper)) {
        const double x1 = Clamped(scale, e.lower);
        const double x2 = Clamped(scale, e.upper);
        svg.Line(x1, y, x2, y, stroke);
        SvgStroke cap = stroke;
        cap.dashes.clear();
        svg.Line(x1, y - 3.5, x1, y + 3.5, cap);
        svg.Line(x2, y - 3.5, x2, y + 3.5, cap);
    }
}

void DrawTargetMark(SvgDocument& svg, double x, double y)
{
    svg.Circle(x, y, 4.5, kTargetColour, {"#000000", 0.8, ""});
}

void DrawReplicationMark(SvgDocument& svg, double x, double y)
{
    svg.Rect(x - 4.0, y - 4.0, 8.0, 8.0, "#FFFFFF", {kReplicationColour, 2.0, ""});
}

} // namespace

std::string IntervalChartSvg(const IntervalChart& chart)
{
    std::vector<std::string> names;
    std::vector<bool> flagged;
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (const IntervalRow& row : chart.rows) {
        names.push_back(row.name);
        flagged.push_back(row.flagged);
        for (const IntervalEstimate* e : {&row.target, &row.replication}) {
            Widen(e->value, low, high);
            Widen(e->lower, low, high);
            Widen(e->upper, low, high);
        }
    }
    const ChartLayout layout = RowChartLayout(names);
    const ChartScale scale = NiceScale(low, high, layout.left, layout.right);
    SvgDocument svg(layout.width, layout.Height(), chart.title, chart.id);
    svg.Text(layout.width / 2.0, kTitleBaseline, chart.title, "middle", 15.0, true);

    double x = 24.0;
    DrawTargetMark(svg, x, kLegendBaseline);
    x = LegendText(svg, x + 10.0, kLegendBaseline, "Target");
    DrawReplicationMark(svg, x, kLegendBaseline);
    x = LegendText(svg, x + 10.0, kLegendBaseline, "Replication");
    svg.Line(x - 8.0, kLegendBaseline, x + 14.0, kLegendBaseline, {"#000000", 1.5, ""});
    x = LegendText(svg, x + 20.0, kLegendBaseline, chart.intervalName);
    LegendFlag(svg, x, kLegendBaseline, "** " + chart.flagName);

    DrawRows(svg, layout, names, flagged);
    DrawValueAxis(svg, layout, scale, chart.axisLabel);
    for (int r = 0; r < layout.rows; ++r) {
        const IntervalRow& row = chart.rows[static_cast<std::size_t>(r)];
        const double y = layout.RowCentre(r);
        svg.BeginGroup("target", Tooltip(row.name, "Target", row.target, chart.decimals));
        DrawWhisker(svg, scale, row.target, y - kSampleOffset, {kTargetColour, 2.0, ""});
        if (std::isfinite(row.target.value)) {
            DrawTargetMark(svg, Clamped(scale, row.target.value), y - kSampleOffset);
        }
        svg.EndGroup();
        svg.BeginGroup("replication", Tooltip(row.name, "Replication", row.replication, chart.decimals));
        DrawWhisker(svg, scale, row.replication, y + kSampleOffset, {kReplicationColour, 2.0, "5 3"});
        if (std::isfinite(row.replication.value)) {
            DrawReplicationMark(svg, Clamped(scale, row.replication.value), y + kSampleOffset);
        }
        svg.EndGroup();
    }
    return svg.Finish();
}

} // namespace talver

#include "report/ReportCharts.h"

#include "report/CriticalValueChart.h"
#include "report/IntervalChart.h"
#include "report/ItemNames.h"
#include "report/MarkupText.h"

namespace talver {

std::string FactorLabel(ExtractionMethod method, int factor)
{
    return std::string(method == ExtractionMethod::Uls ? "Factor " : "Component ") + std::to_string(factor + 1);
}

namespace {

const char* kBootstrapInterval = "Bias-corrected percentile interval";
const char* kOverlapFlag = "intervals do not overlap";

ReportChart MeansChart(const ReportDetails& details, const DifficultyResults& results)
{
    IntervalChart chart;
    chart.id = "chart-means";
    chart.title = "Item means (difficulties)";
    chart.axisLabel = "Mean score";
    chart.intervalName = "Confidence interval (" +
                         FixedText(100.0 * (1.0 - AlphaValue(details.alpha)), 0) + "%)";
    chart.flagName = "Student's t significant";
    chart.decimals = 2;
    for (std::size_t i = 0; i < results.items.size(); ++i) {
        const DifficultyItem& item = results.items[i];
        chart.rows.push_back({ItemName(details, static_cast<int>(i)),
                              {item.targetMean, item.targetLower, item.targetUpper},
                              {item.replicationMean, item.replicationLower, item.replicationUpper},
                              item.tSignificant});
    }
    return {ChartSection::Difficulties, chart.id, chart.title, IntervalChartSvg(chart)};
}

// Column `column` of one estimate of both samples, with its bounds and the
// flags of their difference, as the rows of an interval chart.
template <typename Table, typename Flags>
void AddSampleRows(IntervalChart& chart, const ReportDetails& details, const DiscriminationResults& results,
                   Table SampleDiscriminations::*value, Table SampleDiscriminations::*lower,
                   Table SampleDiscriminations::*upper, const Flags& flags, int column)
{
    const SampleDiscriminations& t = results.target;
    const SampleDiscriminations& r = results.replication;
    for (int i = 0; i < (t.*value).rows; ++i) {
        chart.rows.push_back({ItemName(details, i),
                              {(t.*value)(i, column), (t.*lower)(i, column), (t.*upper)(i, column)},
                              {(r.*value)(i, column), (r.*lower)(i, column), (r.*upper)(i, column)},
                              flags(i, column)});
    }
}

ReportChart LoadingsChart(const ReportDetails& details, const DiscriminationResults& results, int factor)
{
    const std::string name = FactorLabel(results.method, factor);
    IntervalChart chart;
    chart.id = "chart-loadings-" + std::to_string(factor + 1);
    chart.title = "Item discriminations: loadings on " + name;
    chart.axisLabel = "Loading (rotated)";
    chart.intervalName = kBootstrapInterval;
    chart.flagName = kOverlapFlag;
    AddSampleRows(chart, details, results, &SampleDiscriminations::loadings, &SampleDiscriminations::loadingLower,
                  &SampleDiscriminations::loadingUpper, results.loadingSignificant, factor);
    return {ChartSection::Discriminations, chart.id, chart.title, IntervalChartSvg(chart)};
}

ReportChart ResidualsChart(const ReportDetails& details, const DiscriminationResults& results)
{
    IntervalChart chart;
    chart.id = "chart-residual-variances";
    chart.title = "Item residual variances";
    chart.axisLabel = "Residual variance";
    chart.intervalName = kBootstrapInterval;
    chart.flagName = kOverlapFlag;
    AddSampleRows(chart, details, results, &SampleDiscriminations::residualVariances,
                  &SampleDiscriminations::residualLower, &SampleDiscriminations::residualUpper,
                  results.residualSignificant, 0);
    return {ChartSection::ResidualVariances, chart.id, chart.title, IntervalChartSvg(chart)};
}

ReportChart ItemIndexChart(const ReportDetails& details, const InvarianceResults& results, bool congruence)
{
    const std::vector<double>& observed =
        congruence ? results.observed.itemCongruence : results.observed.itemDiscrepancy;
    const std::vector<double>& critical =
        congruence ? results.critical.itemCongruence : results.critical.itemDiscrepancy;
    const std::vector<bool>& flags =
        congruence ? results.significant.itemCongruence : results.significant.itemDiscrepancy;
    CriticalValueChart chart;
    chart.id = congruence ? "chart-congruence" : "chart-discrepancy";
    chart.title = congruence ? "Congruence per item" : "Discrepancy per item";
    chart.axisLabel = congruence ? "Congruence coefficient (1 = same orientation)"
                                 : "Sum of squared loading differences (0 = same loadings)";
    chart.criticalName = std::string("Critical value at alpha = ") + AlphaText(results.alpha);
    chart.flagName = congruence ? "below its critical value" : "above its critical value";
    for (std::size_t i = 0; i < observed.size(); ++i) {
        chart.rows.push_back({ItemName(details, static_cast<int>(i)), observed[i], critical[i], flags[i]});
    }
    return {congruence ? ChartSection::Congruence : ChartSection::Discrepancy, chart.id, chart.title,
            CriticalValueChartSvg(chart)};
}

} // namespace

std::vector<ReportChart> ReportCharts(const ReportDetails& details, const RunResults& results)
{
    std::vector<ReportChart> charts;
    if (results.difficulties) {
        charts.push_back(MeansChart(details, *results.difficulties));
    }
    if (const DiscriminationResults* d = ReportedLoadings(results)) {
        for (int factor = 0; factor < d->target.loadings.cols; ++factor) {
            charts.push_back(LoadingsChart(details, *d, factor));
        }
    }
    if (const DiscriminationResults* d = ReportedResidualVariances(results)) {
        charts.push_back(ResidualsChart(details, *d));
    }
    if (const InvarianceResults* indices = ReportedIndices(results)) {
        if (indices->showCongruence) {
            charts.push_back(ItemIndexChart(details, *indices, true));
        }
        if (indices->showDiscrepancy) {
            charts.push_back(ItemIndexChart(details, *indices, false));
        }
    }
    return charts;
}

} // namespace talver

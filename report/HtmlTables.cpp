#include "report/HtmlTables.h"

#include <algorithm>
#include <cmath>

#include "report/CriticalValueChart.h"
#include "report/ItemNames.h"
#include "report/MarkupText.h"

namespace talver {

namespace {

constexpr const char* kMark = "<span class=\"mark\">**</span>";

std::string Cell(const std::string& text)
{
    return "<td>" + text + "</td>";
}

// A number as the text report shows it; highlighted with "**" when flagged.
std::string NumberCell(double value, int decimals, bool flagged = false)
{
    return flagged ? "<td class=\"flag\">" + FixedText(value, decimals) + kMark + "</td>"
                   : Cell(FixedText(value, decimals));
}

std::string IntervalCell(double lower, double upper, int decimals)
{
    return Cell("[" + FixedText(lower, decimals) + "; " + FixedText(upper, decimals) + "]");
}

std::string NameCell(const ReportDetails& details, int item)
{
    return "<th scope=\"row\">" + MarkupEscaped(ItemName(details, item)) + "</th>";
}

std::string Header(const std::vector<std::string>& columns)
{
    std::string html = "<thead><tr>";
    for (const std::string& column : columns) {
        html += "<th scope=\"col\">" + column + "</th>";
    }
    return html + "</tr></thead>\n<tbody>\n";
}

// A wide table scrolls inside its box on screen rather than widening the page.
std::string TableStart(const std::string& id, const std::string& caption)
{
    return "<div class=\"table-box\"><table id=\"" + id + "\"><caption>" + caption + "</caption>\n";
}

constexpr const char* kTableEnd = "</tbody></table></div>\n";

std::string Legend(const std::string& text)
{
    return "<p class=\"legend\"><i>Note.</i> <span class=\"flag\">" + std::string(kMark) + "</span> " + text +
           "</p>\n";
}

std::string Figures(const ChartsOf& charts)
{
    std::string html;
    for (const ReportChart* chart : charts) {
        html += FigureHtml(*chart);
    }
    return html;
}

std::string LoadingsTable(const ReportDetails& details, const DiscriminationResults& results,
                          const SampleDiscriminations& sample, const std::string& id, const std::string& caption)
{
    std::vector<std::string> columns{"Item"};
    for (int j = 0; j < sample.loadings.cols; ++j) {
        columns.push_back(FactorLabel(results.method, j));
        columns.push_back("Interval");
    }
    std::string html = TableStart(id, caption) + Header(columns);
    for (int i = 0; i < sample.loadings.rows; ++i) {
        html += "<tr>" + NameCell(details, i);
        for (int j = 0; j < sample.loadings.cols; ++j) {
            html += NumberCell(sample.loadings(i, j), 3) +
                    IntervalCell(sample.loadingLower(i, j), sample.loadingUpper(i, j), 3);
        }
        html += "</tr>\n";
    }
    return html + kTableEnd;
}

// The bar's axis: [0, 1] for congruences, widened to negative values; from 0
// to the largest value for discrepancies.
void BarRange(const std::vector<double>& values, bool congruence, double& low, double& high)
{
    low = 0.0;
    high = congruence ? 1.0 : 0.0;
    for (double v : values) {
        if (std::isfinite(v)) {
            low = std::min(low, v);
            high = std::max(high, v);
        }
    }
    if (high <= low) {
        high = low + 1.0;
    }
}

} // namespace

std::string FigureHtml(const ReportChart& chart)
{
    return "<figure>\n" + chart.svg + "<figcaption>" + MarkupEscaped(chart.title) + "</figcaption>\n</figure>\n";
}

std::string DifficultiesHtml(const ReportDetails& details, const DifficultyResults& results, const ChartsOf& charts)
{
    const std::string confidence = FixedText(100.0 * (1.0 - AlphaValue(details.alpha)), 0) + "% interval";
    std::string html = "<section id=\"difficulties\">\n<h2>Item difficulties</h2>\n" +
                       TableStart("table-difficulties", "Item means of both samples, Student's t and Cohen's d") +
                       Header({"Item", "Target mean", "Target " + confidence, "Replication mean",
                               "Replication " + confidence, "Student's t", "df", "p", "Effect size (Cohen's d)"});
    for (std::size_t i = 0; i < results.items.size(); ++i) {
        const DifficultyItem& item = results.items[i];
        html += "<tr>" + NameCell(details, static_cast<int>(i)) + NumberCell(item.targetMean, 2) +
                IntervalCell(item.targetLower, item.targetUpper, 2) + NumberCell(item.replicationMean, 2) +
                IntervalCell(item.replicationLower, item.replicationUpper, 2) +
                NumberCell(item.t, 2, item.tSignificant) + Cell(std::to_string(item.df)) + Cell(PValueText(item.p)) +
                NumberCell(item.d, 2, item.dSignificant) + "</tr>\n";
    }
    html += kTableEnd;
    html += Legend("Significant differences: |t| or |d| at or above " + FixedText(results.criticalValue, 3) +
                   ". The intervals of the means are the mean plus or minus " +
                   FixedText(results.criticalValue, 3) +
                   " standard errors. The p values are two-sided, from Student's t with the pooled variance.");
    return html + Figures(charts) + "</section>\n";
}

std::string DiscriminationsHtml(const ReportDetails& details, const DiscriminationResults& results,
                                const ChartsOf& charts)
{
    std::string html = "<section id=\"discriminations\">\n<h2>Item discriminations</h2>\n";
    html += LoadingsTable(details, results, results.target, "table-loadings-target",
                          "Target sample: rotated loadings and bias-corrected percentile intervals");
    html += LoadingsTable(details, results, results.replication, "table-loadings-replication",
                          "Replication sample: rotated loadings and bias-corrected percentile intervals");
    std::vector<std::string> columns{"Item"};
    for (int j = 0; j < results.loadingDifferences.cols; ++j) {
        columns.push_back(FactorLabel(results.method, j));
    }
    html += TableStart("table-loadings-differences", "Difference values of item discriminations (Target minus "
                                                     "Replication)") +
            Header(columns);
    for (int i = 0; i < results.loadingDifferences.rows; ++i) {
        html += "<tr>" + NameCell(details, i);
        for (int j = 0; j < results.loadingDifferences.cols; ++j) {
            html += NumberCell(results.loadingDifferences(i, j), 3, results.loadingSignificant(i, j));
        }
        html += "</tr>\n";
    }
    html += kTableEnd;
    html += Legend("Significant differences: the intervals of the two samples do not overlap.");
    return html + Figures(charts) + "</section>\n";
}

std::string ResidualVariancesHtml(const ReportDetails& details, const DiscriminationResults& results,
                                  const ChartsOf& charts)
{
    std::string html = "<section id=\"residual-variances\">\n<h2>Item residual variances</h2>\n" +
                       TableStart("table-residual-variances",
                                  "Residual variances with bias-corrected percentile intervals, and their "
                                  "differences (Target minus Replication)") +
                       Header({"Item", "Target", "Target interval", "Replication", "Replication interval",
                               "Difference"});
    const SampleDiscriminations& t = results.target;
    const SampleDiscriminations& r = results.replication;
    for (int i = 0; i < t.residualVariances.rows; ++i) {
        html += "<tr>" + NameCell(details, i) + NumberCell(t.residualVariances(i, 0), 3) +
                IntervalCell(t.residualLower(i, 0), t.residualUpper(i, 0), 3) +
                NumberCell(r.residualVariances(i, 0), 3) +
                IntervalCell(r.residualLower(i, 0), r.residualUpper(i, 0), 3) +
                NumberCell(results.residualDifferences(i, 0), 3, results.residualSignificant(i, 0)) + "</tr>\n";
    }
    html += kTableEnd;
    html += Legend("Significant differences: the intervals of the two samples do not overlap.");
    return html + Figures(charts) + "</section>\n";
}

std::string HotellingHtml(const HotellingResults& results)
{
    std::string html = "<section id=\"hotelling\">\n<h2>Overall test of the item difficulties</h2>\n" +
                       TableStart("table-hotelling", "Hotelling's T square") +
                       Header({"T square", "Degrees of freedom 1", "Degrees of freedom 2", "F", "p"});
    if (results.computable) {
        html += "<tr>" + NumberCell(results.tSquare, 2) + Cell(std::to_string(results.df1)) +
                Cell(std::to_string(results.df2)) + NumberCell(results.f, 2) + Cell(PValueText(results.pExact)) +
                "</tr>\n";
    } else {
        html += "<tr>" + Cell("n/a") + Cell(std::to_string(results.df1)) + Cell(std::to_string(results.df2)) +
                Cell("n/a") + Cell("n/a") + "</tr>\n";
    }
    html += kTableEnd;
    if (results.computable) {
        html += "<p class=\"legend\"><i>Note.</i> The p value is that of F in the F distribution; the text report's "
                "P comes from a normal approximation and is " +
                FixedText(results.p, 5) + ".</p>\n";
    }
    return html + "</section>\n";
}

std::string IndicesHtml(const ReportDetails& details, const InvarianceResults& results, bool congruence,
                        const ChartsOf& charts, bool withBars)
{
    const InvarianceIndexSet& o = results.observed;
    const InvarianceIndexSet& c = results.critical;
    const InvarianceSignificance& s = results.significant;
    const std::string family = congruence ? "congruence" : "discrepancy";
    const std::string alpha = std::string("Critical value at alpha = ") + AlphaText(results.alpha);
    std::string html = "<section id=\"" + family + "\">\n<h2>" +
                       (congruence ? "Congruence indices" : "Discrepancy indices") + "</h2>\n";
    if (results.requested == DispersionKind::Polychoric) {
        html += "<p class=\"note\">Polychoric correlations were asked for; these indices analyse Pearson "
                "correlations.</p>\n";
    }
    const std::vector<double>& items = congruence ? o.itemCongruence : o.itemDiscrepancy;
    const std::vector<double>& criticalItems = congruence ? c.itemCongruence : c.itemDiscrepancy;
    const std::vector<bool>& itemFlags = congruence ? s.itemCongruence : s.itemDiscrepancy;
    html += TableStart("table-" + family + "-items", "Overall fit indices per item") +
            Header({"Item", "Observed", alpha});
    for (std::size_t i = 0; i < items.size(); ++i) {
        html += "<tr>" + NameCell(details, static_cast<int>(i)) + NumberCell(items[i], 3, itemFlags[i]) +
                NumberCell(criticalItems[i], 3) + "</tr>\n";
    }
    html += kTableEnd + Figures(charts);

    const std::vector<double>& factors = congruence ? o.factorCongruence : o.factorDiscrepancy;
    const std::vector<double>& criticalFactors = congruence ? c.factorCongruence : c.factorDiscrepancy;
    const std::vector<bool>& factorFlags = congruence ? s.factorCongruence : s.factorDiscrepancy;
    const double overall = congruence ? o.overallCongruence : o.overallDiscrepancy;
    const double criticalOverall = congruence ? c.overallCongruence : c.overallDiscrepancy;
    const bool overallFlag = congruence ? s.overallCongruence : s.overallDiscrepancy;
    std::vector<double> all = factors;
    all.insert(all.end(), criticalFactors.begin(), criticalFactors.end());
    all.push_back(overall);
    all.push_back(criticalOverall);
    double low = 0.0;
    double high = 1.0;
    BarRange(all, congruence, low, high);
    const std::string unit = results.method == ExtractionMethod::Uls ? "Factor" : "Component";
    std::vector<std::string> columns{unit, "Observed", alpha};
    if (withBars) {
        columns.push_back("Observed (bar) against critical value (tick)");
    }
    auto bar = [&](double observed, double critical, bool flagged) {
        return withBars ? "<td class=\"bar\">" + IndexBarSvg(observed, critical, low, high, flagged) + "</td>"
                        : std::string();
    };
    html += TableStart("table-" + family + "-factors", "Overall fit indices per " + unit + " and overall") +
            Header(columns);
    for (std::size_t k = 0; k < factors.size(); ++k) {
        html += "<tr><th scope=\"row\">" + FactorLabel(results.method, static_cast<int>(k)) + "</th>" +
                NumberCell(factors[k], 3, factorFlags[k]) + NumberCell(criticalFactors[k], 3) +
                bar(factors[k], criticalFactors[k], factorFlags[k]) + "</tr>\n";
    }
    html += "<tr class=\"overall\"><th scope=\"row\">Overall</th>" + NumberCell(overall, 3, overallFlag) +
            NumberCell(criticalOverall, 3) + bar(overall, criticalOverall, overallFlag) + "</tr>\n";
    html += kTableEnd;
    html += Legend(congruence ? "Significant differences: the observed congruence is below its critical value."
                              : "Significant differences: the observed discrepancy is above its critical value.");
    return html + "</section>\n";
}

} // namespace talver

#include "report/HtmlReport.h"

#include "report/HtmlTables.h"
#include "report/MarkupText.h"
#include "report/ReportCharts.h"
#include "report/ResultsInWords.h"

#include <tuple>

namespace talver {

namespace {

// Print in black and white keeps the highlighting: grey ground and bold.
constexpr const char* kStyle = R"(body { font-family: "DejaVu Sans", Arial, Helvetica, sans-serif; color: #000; background: #fff; max-width: 1100px; margin: 0 auto; padding: 0 1em 2em; line-height: 1.4; }
h1 { margin-bottom: 0; }
h2 { border-bottom: 2px solid #000; margin-top: 2em; }
.table-box { overflow-x: auto; max-width: 100%; margin: 1em 0; }
table { border-collapse: collapse; border-top: 2px solid #000; border-bottom: 2px solid #000; }
caption { text-align: left; font-style: italic; padding-bottom: 0.4em; }
caption .number, figcaption .number { display: block; font-style: normal; font-weight: bold; }
th, td { padding: 0.2em 0.7em; text-align: right; font-variant-numeric: tabular-nums; white-space: nowrap; }
thead th { border-bottom: 1px solid #000; text-align: center; white-space: normal; vertical-align: bottom; }
tbody th { text-align: left; font-weight: normal; }
table.details { border: none; }
table.details th { text-align: left; }
table.details td { text-align: left; }
.flag { background: #e3e3e3; font-weight: bold; }
.mark { margin-left: 0.15em; }
.legend { font-size: 0.9em; }
.note, .warning { border-left: 4px solid #000; padding-left: 0.6em; }
#results-in-words li { margin-bottom: 0.4em; }
td.bar { padding: 0.1em 0.5em; }
td.bar svg { width: 160px; height: 18px; vertical-align: middle; }
tr.overall th, tr.overall td { border-top: 1px solid #000; }
figure { margin: 1.5em 0; }
figure svg { width: 100%; height: auto; max-width: 960px; display: block; }
figcaption { font-size: 0.9em; font-style: italic; }
@media print {
  body { max-width: none; padding: 0; font-size: 9pt; }
  .table-box { overflow: visible; }
  table { max-width: 100%; }
  th, td { white-space: normal; padding: 0.15em 0.3em; }
  td.bar svg { width: 100%; }
  figure, table { break-inside: avoid; }
}
)";

std::string DetailRow(const std::string& label, const std::string& value)
{
    return "<tr><th scope=\"row\">" + label + "</th><td>" + MarkupEscaped(value) + "</td></tr>\n";
}

std::string DetailsHtml(const ReportDetails& d)
{
    std::string html = "<section id=\"details\">\n<h2>Details of analysis</h2>\n<table class=\"details\">\n<tbody>\n";
    html += DetailRow("Target sample data file", d.targetFile);
    html += DetailRow("Number of observations in Target sample", std::to_string(d.targetCount));
    html += DetailRow("Replication sample data file", d.replicationFile);
    html += DetailRow("Number of observations in Replication sample", std::to_string(d.replicationCount));
    html += DetailRow("Number of variables", std::to_string(d.variableCount));
    html += DetailRow(d.method == ExtractionMethod::Pca ? "Number of components" : "Number of factors",
                      std::to_string(d.factorCount));
    html += DetailRow("Dispersion matrix", d.dispersion == DispersionKind::Covariance ? "Covariances"
                                           : d.dispersion == DispersionKind::Pearson
                                               ? "Pearson correlations"
                                               : "Polychoric (tetrachoric) correlations");
    if (d.dispersion == DispersionKind::Polychoric) {
        html += DetailRow("Score range", std::to_string(d.lowestScore) + " to " + std::to_string(d.highestScore));
    }
    html += d.method == ExtractionMethod::Uls   ? DetailRow("Method for factor extraction", "Unweighted Least Squares (ULS)")
            : d.method == ExtractionMethod::Pca ? DetailRow("Method for components extraction",
                                                            "Principal Components Analysis")
                                                : DetailRow("Method for factor extraction",
                                                            "Unrestricted Maximum Likelihood (ML)");
    if (d.factorCount > 1) {
        html += DetailRow("Rotation to simplicity of Target loading matrix", "Normalized Varimax");
        html += DetailRow("Rotation to similitude between loading matrices", "Orthogonal Procrustes");
    }
    html += DetailRow("Bias corrected Percentile intervals obtained by", "Bootstrap resampling");
    html += DetailRow("Critical values obtained by", "Bootstrap resampling");
    html += DetailRow("Number of samples in Bootstrap resampling", std::to_string(d.bootstrapSamples));
    html += DetailRow("Alpha value", AlphaText(d.alpha));
    return html + "</tbody></table>\n</section>\n";
}

std::string WarningsHtml(const ReportDetails& details, const RunResults& results)
{
    const std::vector<AnalysisWarning> warnings = ReportWarnings(details, results);
    if (warnings.empty()) {
        return "";
    }
    std::string html = "<section id=\"warnings\">\n<h2>Warnings</h2>\n";
    for (const AnalysisWarning& warning : warnings) {
        html += "<p class=\"warning\"><strong>" + MarkupEscaped(warning.section) + ":</strong> " +
                MarkupEscaped(warning.text) + "</p>\n";
    }
    return html + "</section>\n";
}

std::string TallyRow(const char* analysis, const char* sample, int replicates, const SampleTally& tally)
{
    const RedrawCounts& r = tally.redraws;
    std::string html = "<tr><th scope=\"row\">" + std::string(analysis) + "</th><td>" + sample + "</td>";
    for (int value : {replicates, r.emptyCategory, r.notConverged, r.noVariance, r.notFinite, r.Total(),
                      tally.improperSolutions}) {
        html += "<td>" + std::to_string(value) + "</td>";
    }
    return html + "</tr>\n";
}

ChartsOf ChartsIn(const std::vector<ReportChart>& charts, ChartSection section)
{
    ChartsOf found;
    for (const ReportChart& chart : charts) {
        if (chart.section == section) {
            found.push_back(&chart);
        }
    }
    return found;
}

std::string Contents(const std::string& body)
{
    static const std::pair<const char*, const char*> kSections[] = {
        {"results-in-words", "Results in words"},
        {"details", "Details of analysis"},
        {"warnings", "Warnings"},
        {"difficulties", "Item difficulties"},
        {"discriminations", "Item discriminations"},
        {"residual-variances", "Item residual variances"},
        {"hotelling", "Overall test of the item difficulties"},
        {"congruence", "Congruence indices"},
        {"discrepancy", "Discrepancy indices"},
        {"bootstrap", "What the bootstrap went through"},
    };
    std::string html = "<nav>\n<h2>Contents</h2>\n<ul>\n";
    for (const auto& [id, title] : kSections) {
        if (body.find("<section id=\"" + std::string(id) + "\"") != std::string::npos) {
            html += "<li><a href=\"#" + std::string(id) + "\">" + title + "</a></li>\n";
        }
    }
    return html + "</ul>\n</nav>\n";
}

std::string WordsHtml(const ReportDetails& details, const RunResults& results)
{
    const std::vector<FindingInWords> words = ResultsInWords(details, results);
    if (words.empty()) {
        return "";
    }
    std::string html = "<section id=\"results-in-words\">\n<h2>Results in words</h2>\n<ul>\n";
    for (const FindingInWords& finding : words) {
        html += "<li data-topic=\"" + finding.topic + "\">" + MarkupEscaped(finding.text) + "</li>\n";
    }
    return html + "</ul>\n<p class=\"legend\"><i>Note.</i> Differences at alpha = " + AlphaText(details.alpha) +
           ", as the tables below mark them.</p>\n</section>\n";
}

// Tables and figures numbered in the order of the page, as papers number them.
std::string Numbered(std::string body)
{
    int tables = 0;
    int figures = 0;
    for (const auto& [tag, kind, count] : {std::tuple{"<caption>", "Table ", &tables},
                                           std::tuple{"<figcaption>", "Figure ", &figures}}) {
        const std::string opening = tag;
        for (std::size_t at = body.find(opening); at != std::string::npos; at = body.find(opening, at + 1)) {
            const std::string number =
                "<span class=\"number\">" + std::string(kind) + std::to_string(++*count) + "</span>";
            body.insert(at + opening.size(), number);
        }
    }
    return body;
}

} // namespace

std::string BootstrapHtml(const RunResults& results)
{
    const bool discriminations = results.discriminations && results.discriminations->bootstrap.ran;
    const bool indices = results.invariance && results.invariance->bootstrap.ran;
    if (!discriminations && !indices) {
        return "";
    }
    std::string html =
        "<section id=\"bootstrap\">\n<h2>What the bootstrap went through</h2>\n"
        "<div class=\"table-box\"><table id=\"table-bootstrap\"><caption>Bootstrap samples drawn again, by reason, and replicates with "
        "an improper solution</caption>\n<thead><tr><th scope=\"col\">Analysis</th><th scope=\"col\">Sample</th>"
        "<th scope=\"col\">Replicates completed</th><th scope=\"col\">Redrawn: a polychoric category empty</th>"
        "<th scope=\"col\">Redrawn: ML not converged</th><th scope=\"col\">Redrawn: an item without variance</th>"
        "<th scope=\"col\">Redrawn: values not finite</th><th scope=\"col\">Redrawn in all</th>"
        "<th scope=\"col\">Improper solutions</th></tr></thead>\n<tbody>\n";
    if (discriminations) {
        const BootstrapTally& t = results.discriminations->bootstrap;
        html += TallyRow("Item discriminations", "Target", t.replicates, t.target);
        html += TallyRow("Item discriminations", "Replication", t.replicates, t.replication);
    }
    if (indices) {
        const BootstrapTally& t = results.invariance->bootstrap;
        html += TallyRow("Congruence and discrepancy (populations)", "Target", t.replicates, t.target);
        html += TallyRow("Congruence and discrepancy (populations)", "Replication", t.replicates, t.replication);
    }
    return html + "</tbody></table></div>\n"
                  "<p class=\"legend\"><i>Note.</i> A sample is drawn again when it cannot be analysed; a replicate whose sample "
                  "fails five redraws ends the analysis. An improper solution has a residual variance at or below "
                  "zero; it is kept.</p>\n</section>\n";
}

std::string HtmlReport(const ReportDetails& details, const RunResults& results, bool withCharts)
{
    const std::vector<ReportChart> charts = withCharts ? ReportCharts(details, results) : std::vector<ReportChart>{};
    std::string body = WordsHtml(details, results) + DetailsHtml(details) + WarningsHtml(details, results);
    if (results.difficulties) {
        body += DifficultiesHtml(details, *results.difficulties, ChartsIn(charts, ChartSection::Difficulties));
    }
    if (const DiscriminationResults* d = ReportedLoadings(results)) {
        body += DiscriminationsHtml(details, *d, ChartsIn(charts, ChartSection::Discriminations));
    }
    if (const DiscriminationResults* d = ReportedResidualVariances(results)) {
        body += ResidualVariancesHtml(details, *d, ChartsIn(charts, ChartSection::ResidualVariances));
    }
    if (results.hotelling) {
        body += HotellingHtml(*results.hotelling);
    }
    if (const InvarianceResults* indices = ReportedIndices(results)) {
        if (indices->showCongruence) {
            body += IndicesHtml(details, *indices, true, ChartsIn(charts, ChartSection::Congruence), withCharts);
        }
        if (indices->showDiscrepancy) {
            body += IndicesHtml(details, *indices, false, ChartsIn(charts, ChartSection::Discrepancy), withCharts);
        }
    }
    body = Numbered(body + BootstrapHtml(results));
    return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
           "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>TALVER report: " +
           MarkupEscaped(details.targetFile) + " and " + MarkupEscaped(details.replicationFile) +
           "</title>\n<style>\n" + kStyle +
           "</style>\n</head>\n<body>\n<header>\n<h1>TALVER</h1>\n<p>Item Measurement Invariance Based on "
           "Exploratory Factor Analysis &mdash; Release Version 2.01</p>\n</header>\n" +
           Contents(body) + "<main>\n" + body + "</main>\n</body>\n</html>\n";
}

void WriteHtmlReport(std::FILE* out, const ReportDetails& details, const RunResults& results)
{
    const std::string html = HtmlReport(details, results);
    std::fwrite(html.data(), 1, html.size(), out);
}

} // namespace talver

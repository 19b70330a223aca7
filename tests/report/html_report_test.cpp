// The HTML page from hand-made records: names from a data file's header are
// shown as text, never as markup; values that are not numbers show as "n/a"
// and draw nothing; sections follow the records that are there.

#include "report/HtmlReport.h"
#include "report/ReportCharts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace talver;

namespace {

DifficultyItem Item(double targetMean, double replicationMean, double t)
{
    DifficultyItem item;
    item.targetMean = targetMean;
    item.replicationMean = replicationMean;
    item.t = item.d = t;
    item.tSignificant = std::fabs(t) >= 1.96;
    item.targetLower = targetMean - 0.1;
    item.targetUpper = targetMean + 0.1;
    item.replicationLower = replicationMean - 0.1;
    item.replicationUpper = replicationMean + 0.1;
    return item;
}

TEST(HtmlReportRecords, HeaderNamesAreTextNotMarkup)
{
    ReportDetails details;
    details.targetFile = "t<1>.dat";
    details.replicationFile = "r&2.dat";
    std::string umlauts;
    for (int k = 0; k < 30; ++k) {
        umlauts += "\xC3\x9C";
    }
    details.itemNames = {"<script>alert(1)</script>", umlauts};
    RunResults results;
    results.difficulties = DifficultyResults{1.96, {Item(3.0, 3.2, 2.5), Item(2.0, 2.0, 0.0)}, ""};
    const std::string html = HtmlReport(details, results);
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_NE(html.find("&lt;script&gt;alert(1)&lt;/script&gt;"), std::string::npos);
    EXPECT_NE(html.find("t&lt;1&gt;.dat and r&amp;2.dat"), std::string::npos);
    // A long name is cut short in the chart, to 27 characters and an
    // ellipsis, whole in the table; the cut keeps the UTF-8 intact.
    EXPECT_NE(html.find(">" + umlauts + "</th>"), std::string::npos);
    EXPECT_NE(html.find(">" + umlauts.substr(0, 27 * 2) + "\xE2\x80\xA6</text>"), std::string::npos);
    // The flagged item is highlighted in the table and on the chart.
    EXPECT_NE(html.find("<td class=\"flag\">2.50<span class=\"mark\">**</span></td>"), std::string::npos);
    EXPECT_NE(html.find("alert(1)&lt;/script&gt; **</text>"), std::string::npos);
}

TEST(HtmlReportRecords, ValuesThatAreNotNumbersDrawNothing)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    ReportDetails details;
    RunResults results;
    results.difficulties = DifficultyResults{1.96, {Item(nan, 3.0, nan), Item(inf, -inf, 1.0)}, "warning"};
    const std::string html = HtmlReport(details, results);
    for (const char* bad : {"nan", "inf", "NaN", "\"-0\""}) {
        EXPECT_EQ(html.find(bad), std::string::npos) << bad;
    }
    EXPECT_NE(html.find("<td>n/a</td>"), std::string::npos);
    // One mark per finite value: the Replication mean of item 1 only.
    const std::vector<ReportChart> charts = ReportCharts(details, results);
    ASSERT_EQ(charts.size(), 1u);
    std::size_t squares = 0;
    const std::string square = "fill=\"#FFFFFF\" stroke=\"#D55E00\"";
    for (std::size_t at = charts[0].svg.find(square); at != std::string::npos;
         at = charts[0].svg.find(square, at + 1)) {
        ++squares;
    }
    EXPECT_EQ(squares, 2u); // the legend's and item 1's
}

TEST(HtmlReportRecords, SectionsFollowTheRecords)
{
    ReportDetails details;
    details.method = ExtractionMethod::Pca;
    RunResults results;
    // A bootstrap that ended early: its tallies are shown, its tables are not.
    DiscriminationOutcome outcome;
    outcome.warning = "ML method could not converge. Please try ULS or PCA.";
    outcome.bootstrap.ran = true;
    outcome.bootstrap.replicates = 17;
    outcome.bootstrap.target.redraws.notConverged = 9;
    results.discriminations = outcome;
    results.loadingsAsked = true;
    const std::string html = HtmlReport(details, results);
    EXPECT_EQ(html.find("id=\"discriminations\""), std::string::npos);
    EXPECT_NE(html.find("<section id=\"warnings\">"), std::string::npos);
    EXPECT_NE(html.find("<td>Target</td><td>17</td><td>0</td><td>9</td><td>0</td><td>0</td><td>9</td><td>0</td>"),
              std::string::npos);
    EXPECT_NE(html.find("Number of components"), std::string::npos);
    EXPECT_TRUE(ReportCharts(details, results).empty());
}

} // namespace

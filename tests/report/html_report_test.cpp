// The HTML page from hand-made records: names from a data file's header are
// shown as text, never as markup; values that are not numbers show as "n/a"
// and draw nothing; sections follow the records that are there.

#include "report/HtmlReport.h"
#include "report/ReportCharts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

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

// Whether all of `text` is well-formed UTF-8, checked against the table of
// well-formed byte sequences in the Unicode Standard (Table 3-7), apart from
// the code that writes the page: the first byte's range gives the ranges of
// the bytes that follow it.
bool ValidUtf8(const std::string& text)
{
    struct Form {
        unsigned char first, last;
        std::vector<std::pair<unsigned char, unsigned char>> next;
    };
    const std::vector<Form> forms = {
        {0x00, 0x7F, {}},
        {0xC2, 0xDF, {{0x80, 0xBF}}},
        {0xE0, 0xE0, {{0xA0, 0xBF}, {0x80, 0xBF}}},
        {0xE1, 0xEC, {{0x80, 0xBF}, {0x80, 0xBF}}},
        {0xED, 0xED, {{0x80, 0x9F}, {0x80, 0xBF}}},
        {0xEE, 0xEF, {{0x80, 0xBF}, {0x80, 0xBF}}},
        {0xF0, 0xF0, {{0x90, 0xBF}, {0x80, 0xBF}, {0x80, 0xBF}}},
        {0xF1, 0xF3, {{0x80, 0xBF}, {0x80, 0xBF}, {0x80, 0xBF}}},
        {0xF4, 0xF4, {{0x80, 0x8F}, {0x80, 0xBF}, {0x80, 0xBF}}},
    };
    std::size_t at = 0;
    while (at < text.size()) {
        const auto byte = static_cast<unsigned char>(text[at]);
        const auto form = std::find_if(forms.begin(), forms.end(),
                                       [byte](const Form& f) { return byte >= f.first && byte <= f.last; });
        if (form == forms.end()) {
            return false;
        }
        ++at;
        for (const auto& [low, high] : form->next) {
            if (at >= text.size()) {
                return false;
            }
            const auto following = static_cast<unsigned char>(text[at++]);
            if (following < low || following > high) {
                return false;
            }
        }
    }
    return true;
}

TEST(HtmlReportRecords, PageIsValidUtf8WhateverBytesTheNamesHold)
{
    ReportDetails details;
    // Latin-1 group values, a control character and a sequence cut short.
    details.targetFile = "groups.csv (sample = caf\xE9)";
    details.replicationFile = "groups.csv (sample = \x1B[31mretest\x7F)";
    std::string longLatin1;
    for (int k = 0; k < 40; ++k) {
        longLatin1 += "\xE9";
    }
    details.itemNames = {"q\xC3", longLatin1, "\xF0\x9F\x98\x80 \xED\xA0\x80"};
    RunResults results;
    results.difficulties =
        DifficultyResults{1.96, {Item(3.0, 3.2, 2.5), Item(2.0, 2.0, 0.0), Item(1.0, 1.5, 3.0)}, "warn\xE9"};
    const std::string html = HtmlReport(details, results);
    EXPECT_TRUE(ValidUtf8(html));
    EXPECT_NE(html.find("caf\xEF\xBF\xBD"), std::string::npos);
    EXPECT_EQ(html.find('\x1B'), std::string::npos);
    // Well-formed characters stay; a surrogate's bytes do not.
    EXPECT_NE(html.find("\xF0\x9F\x98\x80 \xEF\xBF\xBD"), std::string::npos);
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

// The HTML report of the example job, end to end: its numbers against the
// JSON companion at the digits the page shows, each SVG chart through an XML
// parser, the page through an HTML checker, and the page rendered by headless
// Chromium without console messages and with the marks of every chart in its
// DOM. The checkers are Debian's tidy, xmllint and chromium; a test whose
// checker is missing says so and is skipped.

#include "batch_support.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using nlohmann::json;

bool HaveProgram(const std::string& name)
{
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

class HtmlReportTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder_ = std::make_unique<ScratchFolder>("html_report");
        const std::string examples = std::string(TALVER_SOURCE_DIR) + "/examples/";
        const BatchRun run = RunBatch(folder_->Path(""), {"--target", examples + "target.dat", "--replication",
                                                          examples + "replica.dat", "--json", "report.json",
                                                          "--html", "report.html", "--threads", "2"});
        ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
        html_ = ReadFile(folder_->Path("report.html"));
        json_ = json::parse(ReadFile(folder_->Path("report.json")));
    }
    static void TearDownTestSuite() { folder_.reset(); }

    // The rows of table `id`, each a list of cell texts without markup.
    static std::vector<std::vector<std::string>> Rows(const std::string& id)
    {
        std::vector<std::vector<std::string>> rows;
        const std::size_t start = html_.find("<table id=\"" + id + "\"");
        EXPECT_NE(start, std::string::npos) << id;
        if (start == std::string::npos) {
            return rows;
        }
        const std::size_t body = html_.find("<tbody>", start);
        const std::string table = html_.substr(body, html_.find("</table>", start) - body);
        static const std::regex row("<tr[^>]*>([\\s\\S]*?)</tr>");
        static const std::regex cell("<t[hd][^>]*>([\\s\\S]*?)</t[hd]>");
        static const std::regex tag("<svg[\\s\\S]*?</svg>|<[^>]*>");
        for (auto r = std::sregex_iterator(table.begin(), table.end(), row); r != std::sregex_iterator(); ++r) {
            const std::string cells = (*r)[1].str();
            std::vector<std::string> texts;
            for (auto c = std::sregex_iterator(cells.begin(), cells.end(), cell); c != std::sregex_iterator(); ++c) {
                texts.push_back(std::regex_replace((*c)[1].str(), tag, ""));
            }
            rows.push_back(texts);
        }
        return rows;
    }

    static inline std::unique_ptr<ScratchFolder> folder_;
    static inline std::string html_;
    static inline json json_;
};

// printf's rendering, the text report's: the independent reference; a zero
// has no minus sign on the page.
std::string Shown(const json& value, int decimals)
{
    if (value.is_null()) {
        return "n/a";
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value.get<double>());
    const std::string shown = text;
    return shown.find_first_not_of("-0.") == std::string::npos && shown[0] == '-' ? shown.substr(1) : shown;
}

// A p value as papers write it.
std::string PShown(double p)
{
    if (p < 0.001) {
        return "< .001";
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", p);
    return text[0] == '0' ? std::string(text + 1) : std::string(text);
}

std::string Flagged(const json& value, int decimals, bool significant)
{
    return Shown(value, decimals) + (significant ? "**" : "");
}

std::string Interval(const json& lower, const json& upper, int decimals)
{
    return "[" + Shown(lower, decimals) + "; " + Shown(upper, decimals) + "]";
}

TEST_F(HtmlReportTest, NumbersEqualThoseOfTheJsonToTheDigitsShown)
{
    const json& items = json_["itemDifficulties"]["items"];
    const auto difficulties = Rows("table-difficulties");
    ASSERT_EQ(difficulties.size(), items.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const json& e = items[i];
        EXPECT_EQ(difficulties[i], (std::vector<std::string>{
                                       std::to_string(i + 1), Shown(e["targetMean"], 2),
                                       Interval(e["targetLower"], e["targetUpper"], 2), Shown(e["replicationMean"], 2),
                                       Interval(e["replicationLower"], e["replicationUpper"], 2),
                                       Flagged(e["t"], 2, e["tSignificant"]), std::to_string(e["df"].get<int>()),
                                       PShown(e["p"]), Flagged(e["d"], 2, e["dSignificant"])}));
    }

    const json& discriminations = json_["itemDiscriminations"];
    const int factors = json_["options"]["factors"];
    for (const char* sample : {"target", "replication"}) {
        const auto rows = Rows(std::string("table-loadings-") + sample);
        for (const json& e : discriminations[sample]) {
            const std::size_t i = e["item"].get<std::size_t>() - 1;
            const std::size_t column = 1 + 2 * (e["factor"].get<std::size_t>() - 1);
            ASSERT_LT(i, rows.size());
            EXPECT_EQ(rows[i][column], Shown(e["value"], 3));
            EXPECT_EQ(rows[i][column + 1], Interval(e["lower"], e["upper"], 3));
        }
    }
    const auto differences = Rows("table-loadings-differences");
    for (const json& e : discriminations["differences"]) {
        const std::size_t i = e["item"].get<std::size_t>() - 1;
        EXPECT_EQ(differences[i][e["factor"].get<std::size_t>()], Flagged(e["value"], 3, e["significant"]));
    }
    EXPECT_EQ(differences.size() * factors, discriminations["differences"].size());

    const json& residuals = json_["itemResidualVariances"];
    const auto residualRows = Rows("table-residual-variances");
    for (std::size_t i = 0; i < residualRows.size(); ++i) {
        const json& t = residuals["target"][i];
        const json& r = residuals["replication"][i];
        const json& d = residuals["differences"][i];
        EXPECT_EQ(residualRows[i], (std::vector<std::string>{
                                       std::to_string(i + 1), Shown(t["value"], 3), Interval(t["lower"], t["upper"], 3),
                                       Shown(r["value"], 3), Interval(r["lower"], r["upper"], 3),
                                       Flagged(d["value"], 3, d["significant"])}));
    }

    const json& hotelling = json_["hotellingTSquare"];
    EXPECT_EQ(Rows("table-hotelling")[0],
              (std::vector<std::string>{Shown(hotelling["tSquare"], 2), std::to_string(hotelling["df1"].get<int>()),
                                        std::to_string(hotelling["df2"].get<int>()), Shown(hotelling["F"], 2),
                                        PShown(hotelling["pExact"])}));

    for (const char* family : {"congruence", "discrepancy"}) {
        const json& indices = json_["invarianceIndices"][family];
        const auto itemRows = Rows(std::string("table-") + family + "-items");
        ASSERT_EQ(itemRows.size(), indices["items"].size());
        for (std::size_t i = 0; i < itemRows.size(); ++i) {
            const json& e = indices["items"][i];
            EXPECT_EQ(itemRows[i], (std::vector<std::string>{std::to_string(i + 1),
                                                             Flagged(e["observed"], 3, e["significant"]),
                                                             Shown(e["critical"], 3)}));
        }
        const auto factorRows = Rows(std::string("table-") + family + "-factors");
        ASSERT_EQ(factorRows.size(), indices["factors"].size() + 1);
        for (std::size_t k = 0; k <= indices["factors"].size(); ++k) {
            const json& e = k < indices["factors"].size() ? indices["factors"][k] : indices["overall"];
            EXPECT_EQ(factorRows[k][1], Flagged(e["observed"], 3, e["significant"]));
            EXPECT_EQ(factorRows[k][2], Shown(e["critical"], 3));
        }
    }

    const json& bootstrap = json_["bootstrap"];
    const auto tallyRows = Rows("table-bootstrap");
    ASSERT_EQ(tallyRows.size(), 4u);
    std::size_t row = 0;
    for (const char* analysis : {"itemDiscriminations", "invarianceIndices"}) {
        for (const char* sample : {"target", "replication"}) {
            const json& s = bootstrap[analysis][sample];
            const json& r = s["redraws"];
            EXPECT_EQ(tallyRows[row], (std::vector<std::string>{
                                          tallyRows[row][0], tallyRows[row][1],
                                          std::to_string(bootstrap[analysis]["replicates"].get<int>()),
                                          std::to_string(r["polychoricEmptyCategory"].get<int>()),
                                          std::to_string(r["mlNotConverged"].get<int>()),
                                          std::to_string(r["itemWithoutVariance"].get<int>()),
                                          std::to_string(r["notFinite"].get<int>()),
                                          std::to_string(r["total"].get<int>()),
                                          std::to_string(s["improperSolutions"].get<int>())}));
            ++row;
        }
    }
    EXPECT_EQ(bootstrap["itemDiscriminations"]["replicates"], json_["options"]["bootstrapSamples"]);
}

// The p value of each item's t against R's pt() for the same t and df
// (fixtures/example_t_tests.R).
TEST_F(HtmlReportTest, ItemTTestsAgreeWithR)
{
    std::istringstream reference(ReadFile(std::string(TALVER_SOURCE_DIR) + "/tests/batch/fixtures/example_t_tests.txt"));
    std::string header;
    std::getline(reference, header);
    const json& items = json_["itemDifficulties"]["items"];
    const auto rows = Rows("table-difficulties");
    int checked = 0;
    for (int item, df; reference >> item >> std::ws;) {
        double t = 0;
        double p = 0;
        reference >> t >> df >> p;
        const json& e = items[item - 1];
        EXPECT_NEAR(e["t"].get<double>(), t, 1e-12 * std::fabs(t)) << item;
        EXPECT_EQ(e["df"].get<int>(), df) << item;
        EXPECT_NEAR(e["p"].get<double>(), p, 1e-9 * p) << item;
        EXPECT_EQ(rows[item - 1][7], PShown(p)) << item;
        ++checked;
    }
    EXPECT_EQ(checked, 10);
    // The example's item 3 differs clearly, and so do the means together.
    EXPECT_EQ(rows[2][7], "< .001");
    EXPECT_EQ(Rows("table-hotelling")[0][4], "< .001");
}

// The items named in each sentence of "Results in words" are those that the
// table it sums up marks with "**", and the sentence quotes the table's t.
TEST_F(HtmlReportTest, ResultsInWordsSayWhatTheTablesMark)
{
    auto flaggedRows = [](const std::string& table, std::size_t column) {
        std::set<std::string> items;
        for (const auto& row : Rows(table)) {
            for (std::size_t c = column; c < (column == 0 ? row.size() : column + 1); ++c) {
                if (c > 0 && row[c].size() > 2 && row[c].substr(row[c].size() - 2) == "**") {
                    items.insert(row[0]);
                }
            }
        }
        return items;
    };
    const std::map<std::string, std::set<std::string>> expected = {
        {"means", flaggedRows("table-difficulties", 5)},
        {"loadings", flaggedRows("table-loadings-differences", 0)},
        {"residual-variances", flaggedRows("table-residual-variances", 5)},
        {"congruence", flaggedRows("table-congruence-items", 1)},
        {"discrepancy", flaggedRows("table-discrepancy-items", 1)},
    };
    const std::regex sentence("<li data-topic=\"([a-z-]+)\">([^<]*)</li>");
    const std::regex named("item (\\d+) ");
    std::set<std::string> topics;
    for (auto it = std::sregex_iterator(html_.begin(), html_.end(), sentence); it != std::sregex_iterator(); ++it) {
        const std::string topic = (*it)[1].str();
        const std::string text = (*it)[2].str();
        topics.insert(topic);
        std::set<std::string> items;
        for (auto n = std::sregex_iterator(text.begin(), text.end(), named); n != std::sregex_iterator(); ++n) {
            items.insert((*n)[1].str());
        }
        if (expected.count(topic) != 0) {
            EXPECT_EQ(items, expected.at(topic)) << text;
        }
        if (topic == "means") {
            for (const std::string& item : items) {
                const std::string t = Rows("table-difficulties")[std::stoul(item) - 1][5];
                EXPECT_NE(text.find(") = " + t.substr(0, t.size() - 2) + ","), std::string::npos) << text;
            }
        }
    }
    EXPECT_EQ(topics, (std::set<std::string>{"means", "means-overall", "loadings", "residual-variances", "congruence",
                                             "discrepancy"}));
    EXPECT_FALSE(expected.at("means").empty()) << "the example has items that differ";
    EXPECT_LT(html_.find("id=\"results-in-words\""), html_.find("id=\"difficulties\""));
}

// Tables and figures are numbered in page order.
TEST_F(HtmlReportTest, TablesAndFiguresAreNumbered)
{
    for (const char* kind : {"Table ", "Figure "}) {
        int last = 0;
        const std::regex number(std::string("<span class=\"number\">") + kind + "(\\d+)</span>");
        for (auto it = std::sregex_iterator(html_.begin(), html_.end(), number); it != std::sregex_iterator(); ++it) {
            EXPECT_EQ(std::stoi((*it)[1].str()), ++last) << kind;
        }
        EXPECT_GT(last, 5) << kind;
    }
    EXPECT_EQ(html_.find("-0.000"), std::string::npos);
}

TEST_F(HtmlReportTest, PageIsSelfContainedAndValid)
{
    // Nothing is fetched when the page is viewed: no scripts, no links to
    // other files, no remote addresses but the SVG namespace.
    for (const char* outside : {"<script", "<link", "<img", " src=", "url(", "@import"}) {
        EXPECT_EQ(html_.find(outside), std::string::npos) << outside;
    }
    const std::regex address("https?://[^\"]*");
    for (auto it = std::sregex_iterator(html_.begin(), html_.end(), address); it != std::sregex_iterator(); ++it) {
        EXPECT_EQ(it->str(), "http://www.w3.org/2000/svg");
    }
    const std::regex link("href=\"([^\"]*)\"");
    for (auto it = std::sregex_iterator(html_.begin(), html_.end(), link); it != std::sregex_iterator(); ++it) {
        const std::string target = (*it)[1].str();
        ASSERT_EQ(target[0], '#') << target;
        EXPECT_NE(html_.find("id=\"" + target.substr(1) + "\""), std::string::npos) << target;
    }
    if (!HaveProgram("tidy")) {
        GTEST_SKIP() << "tidy is not installed (scripts/setup.sh installs it): the HTML was not checked";
    }
    const std::string log = folder_->Path("tidy.log");
    const int status = std::system(("tidy -q -e " + folder_->Path("report.html") + " >" + log + " 2>&1").c_str());
    EXPECT_EQ(status, 0) << ReadFile(log);
}

TEST_F(HtmlReportTest, EveryChartIsWellFormedXml)
{
    const std::regex svg("<svg[\\s\\S]*?</svg>");
    std::vector<std::string> charts;
    for (auto it = std::sregex_iterator(html_.begin(), html_.end(), svg); it != std::sregex_iterator(); ++it) {
        charts.push_back(it->str());
    }
    // Six charts and the bars of the two factor tables (two factors and overall each).
    ASSERT_EQ(charts.size(), 6u + 6u);
    if (!HaveProgram("xmllint")) {
        GTEST_SKIP() << "xmllint is not installed (scripts/setup.sh installs it): the charts were not parsed";
    }
    for (std::size_t k = 0; k < charts.size(); ++k) {
        const std::string path = folder_->Write("chart" + std::to_string(k) + ".svg", charts[k]);
        const std::string log = path + ".log";
        EXPECT_EQ(std::system(("xmllint --noout " + path + " >" + log + " 2>&1").c_str()), 0) << ReadFile(log);
    }
}

// Runs headless Chromium on the page with `mode` (--dump-dom, and
// --screenshot=FILE); returns what it wrote on stdout, and its log in `log`.
std::string RunChromium(const ScratchFolder& folder, const std::string& page, const std::string& mode,
                        std::string& log)
{
    const std::string profile = folder.Path("chromium-profile-" + std::to_string(std::rand()));
    std::filesystem::create_directories(profile);
    const std::string out = folder.Path("chromium.out");
    const std::string err = folder.Path("chromium.err");
    const std::string command =
        "cd " + folder.Path("") +
        " && timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run "
        "--disable-background-networking --disable-component-update --disable-sync --user-data-dir=" +
        profile + " --enable-logging=stderr --v=0 --window-size=1200,3000 " + mode + " file://" + page + " >" + out +
        " 2>" + err;
    const int status = std::system(command.c_str());
    EXPECT_EQ(status, 0) << command;
    log = ReadFile(err);
    std::filesystem::remove_all(profile);
    return ReadFile(out);
}

// The console messages in a Chromium log.
std::vector<std::string> ConsoleLines(const std::string& log)
{
    std::vector<std::string> lines;
    const std::regex console(".*:CONSOLE[:(].*");
    for (auto it = std::sregex_iterator(log.begin(), log.end(), console); it != std::sregex_iterator(); ++it) {
        lines.push_back(it->str());
    }
    return lines;
}

// How often `needle` occurs in the element with id `id` of the DOM.
int CountInElement(const std::string& dom, const std::string& id, const std::string& needle)
{
    const std::size_t start = dom.find("id=\"" + id + "\"");
    if (start == std::string::npos) {
        return -1;
    }
    const std::string element = dom.substr(start, dom.find("</svg>", start) - start);
    int count = 0;
    for (std::size_t at = element.find(needle); at != std::string::npos; at = element.find(needle, at + 1)) {
        ++count;
    }
    return count;
}

TEST_F(HtmlReportTest, ChromiumRendersEveryChartWithoutConsoleMessages)
{
    if (!HaveProgram("chromium")) {
        GTEST_SKIP() << "chromium is not installed (scripts/setup.sh installs it): the page was not rendered";
    }
    // The log must show console messages, or their absence proves nothing.
    const std::string probe = folder_->Write("probe.html", "<!DOCTYPE html><title>p</title><script>"
                                                           "console.error('probe message')</script>");
    std::string log;
    RunChromium(*folder_, probe, "--dump-dom", log);
    ASSERT_EQ(ConsoleLines(log).size(), 1u) << log;

    const std::string page = folder_->Path("report.html");
    const std::string shot = folder_->Path("report.png");
    const std::string dom = RunChromium(*folder_, page, "--dump-dom --screenshot=" + shot, log);
    EXPECT_TRUE(ConsoleLines(log).empty()) << log;
    ASSERT_TRUE(std::filesystem::exists(shot));
    EXPECT_GT(std::filesystem::file_size(shot), 50000u);
    const int items = 10;
    // Interval charts: a circle and a square per item besides the legend's.
    for (const char* id : {"chart-means", "chart-loadings-1", "chart-loadings-2", "chart-residual-variances"}) {
        EXPECT_EQ(CountInElement(dom, id, "<circle"), items + 1) << id;
        EXPECT_EQ(CountInElement(dom, id, "<g class=\"target\""), items) << id;
        EXPECT_EQ(CountInElement(dom, id, "<g class=\"replication\""), items) << id;
    }
    // Critical-value charts: a diamond per item besides the legend's.
    for (const char* id : {"chart-congruence", "chart-discrepancy"}) {
        EXPECT_EQ(CountInElement(dom, id, "<polygon"), items + 1) << id;
        EXPECT_EQ(CountInElement(dom, id, "<g class=\"index\""), items) << id;
    }
}

// Printed (Chromium's print to PDF on A4), the widest tables lose no column:
// the text of the page that holds each table has every one of its headers.
TEST_F(HtmlReportTest, PrintedPagesKeepEveryColumn)
{
    if (!HaveProgram("chromium") || !HaveProgram("pdftotext")) {
        GTEST_SKIP() << "chromium or pdftotext is not installed (scripts/setup.sh installs them): nothing was printed";
    }
    std::string log;
    RunChromium(*folder_, folder_->Path("report.html"),
                "--no-pdf-header-footer --print-to-pdf=" + folder_->Path("report.pdf"), log);
    ASSERT_TRUE(std::filesystem::exists(folder_->Path("report.pdf"))) << log;
    std::vector<std::string> pages;
    for (int page = 1; page < 60; ++page) {
        const std::string text = folder_->Path("page.txt");
        const std::string command = "pdftotext -f " + std::to_string(page) + " -l " + std::to_string(page) + " " +
                                    folder_->Path("report.pdf") + " " + text + " 2>/dev/null";
        if (std::system(command.c_str()) != 0) {
            break;
        }
        pages.push_back(ReadFile(text));
    }
    ASSERT_GT(pages.size(), 2u);
    // The words of each header, as wrapped lines of a cell break them, by
    // the caption of their table.
    const std::map<std::string, std::vector<std::string>> headers = {
        {"Bootstrap samples drawn again",
         {"Analysis", "Sample", "Replicates", "completed", "polychoric", "converged", "variance", "finite", "Redrawn",
          "Improper"}},
        {"Item means of both samples", {"Effect"}},
    };
    for (const auto& [title, words] : headers) {
        std::size_t page = 0;
        while (page < pages.size() && pages[page].find(title) == std::string::npos) {
            ++page;
        }
        ASSERT_LT(page, pages.size()) << title;
        // A table that does not fit below its heading starts on the next page.
        const std::string text = pages[page] + (page + 1 < pages.size() ? pages[page + 1] : "");
        std::vector<std::string> wanted = words;
        // The last column of the means table holds Cohen's d of each item.
        if (words.front() == "Effect") {
            for (const json& item : json_["itemDifficulties"]["items"]) {
                wanted.push_back(Shown(item["d"], 2));
            }
        }
        for (const std::string& word : wanted) {
            EXPECT_NE(text.find(word), std::string::npos) << title << ": " << word;
        }
    }
}

} // namespace

namespace {

TEST(BatchHtml, OutputsThatWouldReplaceAnotherFileAreRefused)
{
    ScratchFolder folder("html_same_file");
    const std::string data = ScoreText(40, 4, 1);
    folder.Write("target.dat", data);
    folder.Write("replica.dat", ScoreText(30, 4, 2));
    for (const auto& [option, clash] : {std::pair{"--html", "target.dat"}, std::pair{"--html", "./output.txt"},
                                        std::pair{"--json", "replica.dat"}}) {
        const BatchRun run = RunBatch(folder.Path(""), {"--target-count", "40", "--replication-count", "30",
                                                        "--items", "4", option, clash});
        EXPECT_EQ(run.exitStatus, 2) << option << " " << clash;
        const std::string kind = std::string(option) == "--html" ? "HTML file" : "JSON file";
        EXPECT_NE(run.errorOutput.find(kind), std::string::npos) << run.errorOutput;
        EXPECT_NE(run.errorOutput.find("Choose"), std::string::npos) << run.errorOutput;
    }
    EXPECT_EQ(ReadFile(folder.Path("target.dat")), data);
    EXPECT_FALSE(std::filesystem::exists(folder.Path("output.txt")));
}

// Found before anything is computed: no report is written either.
TEST(BatchHtml, PageThatCannotBeWrittenIsSaid)
{
    ScratchFolder folder("html_unwritable");
    folder.Write("target.dat", ScoreText(40, 4, 1));
    folder.Write("replica.dat", ScoreText(30, 4, 2));
    std::vector<std::string> arguments = {"--target-count", "40", "--replication-count", "30", "--items", "4",
                                          "--html", "missing/report.html"};
    for (const std::string& flag : EveryOutputOff()) {
        arguments.push_back(flag);
    }
    const BatchRun run = RunBatch(folder.Path(""), arguments);
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.errorOutput.find("missing/report.html"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder.Path("output.txt")));
}

} // namespace

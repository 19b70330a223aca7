// A Heywood case (a residual variance at or below zero) keeps its tables and
// gets a warning line in the report and the items in the JSON file, which
// agree with the residual variances the JSON file holds.

#include "batch_support.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>

namespace {

// The items of an array of numbers under `key` inside the object `section`.
std::set<int> ItemsOf(const std::string& json, const std::string& section, const std::string& key)
{
    const std::size_t start = json.find("\"" + section + "\": {");
    const std::size_t at = json.find("\"" + key + "\": [", start);
    const std::size_t end = json.find(']', at);
    std::set<int> items;
    if (start == std::string::npos || at == std::string::npos) {
        return items;
    }
    const std::string list = json.substr(at, end - at);
    const std::regex number("\\b(\\d+)\\b");
    for (std::sregex_iterator it(list.begin(), list.end(), number), stop; it != stop; ++it) {
        items.insert(std::stoi((*it)[1]));
    }
    return items;
}

// The items whose residual variance in `key` ("target" or "replication") is
// at or below zero, from the full-precision values.
std::set<int> NonPositiveResiduals(const std::string& json, const std::string& key)
{
    const std::size_t start = json.find("\"" + key + "\": [", json.find("\"itemResidualVariances\": {"));
    const std::string block = json.substr(start, json.find(']', start) - start);
    std::set<int> items;
    const std::regex entry("\"item\": (\\d+),\\s*\"value\": ([-0-9.e+]+)");
    for (std::sregex_iterator it(block.begin(), block.end(), entry), stop; it != stop; ++it) {
        // At the bound up to rounding: ULS holds such an item's unique
        // variance at 0 (the items' variances here are about 1).
        if (std::stod((*it)[2]) <= 1e-12) {
            items.insert(std::stoi((*it)[1]));
        }
    }
    return items;
}

// Scores whose item 2 repeats item 1: their common part leaves them no
// unique variance.
std::string WithARepeatedItem(const std::string& scores)
{
    std::string text;
    std::size_t start = 0;
    while (start < scores.size()) {
        const std::size_t end = scores.find('\n', start);
        const std::string line = scores.substr(start, end - start);
        const std::size_t first = line.find(' ');
        const std::size_t second = line.find(' ', first + 1);
        text += line.substr(0, first + 1) + line.substr(0, first) + line.substr(second) + "\n";
        start = end + 1;
    }
    return text;
}

TEST(ImproperSolution, HeywoodItemsAreNamedAndTheTablesStay)
{
    ScratchFolder folder("heywood");
    folder.Write("target.dat", WithARepeatedItem(ScoreText(120, 10, 1)));
    folder.Write("replica.dat", WithARepeatedItem(ScoreText(100, 10, 2)));
    const BatchRun run = RunBatch(folder.Path(""),
                                  {"--target-count", "120", "--replication-count", "100", "--items", "10",
                                   "--factors", "2", "--samples", "500", "--no-congruence",
                                   "--no-discrepancy", "--json", "tables.json"},
                                  "", 120);
    ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
    const std::string report = ReadFile(folder.Path("output.txt"));
    const std::string json = ReadFile(folder.Path("tables.json"));
    const std::set<int> target = NonPositiveResiduals(json, "target");
    const std::set<int> replication = NonPositiveResiduals(json, "replication");
    ASSERT_FALSE(target.empty() && replication.empty()) << "these data give no Heywood case";
    EXPECT_EQ(ItemsOf(json, "improperSolution", "target"), target);
    EXPECT_EQ(ItemsOf(json, "improperSolution", "replication"), replication);
    const std::size_t warning = report.find("WARNING: Improper solution (a Heywood case): the residual variance "
                                            "is at or below zero for item");
    ASSERT_NE(warning, std::string::npos);
    EXPECT_EQ(report.find("WARNING: Improper", warning + 1), std::string::npos);
    // The tables stay, and the line closes the residual variances section.
    EXPECT_LT(report.find("Difference Values in Residual Variances"), warning);
    EXPECT_NE(report.find("Difference Values of Item discriminations"), std::string::npos);
    EXPECT_NE(json.find("\"text\": \"Improper solution (a Heywood case)"), std::string::npos);
}

} // namespace

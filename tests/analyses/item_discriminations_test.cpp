// Item discriminations and residual variances: report layout, observed values
// against R, failure blocks, the random sequence and the progress texts.

#include "bootstrap_test_support.h"

#include "analyses/AnalysisWarnings.h"
#include "analyses/ItemDiscriminations.h"
#include "matrix/MatrixOps.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include "support/test_random.h"

using namespace talver;

namespace {

// "% 9.3f" and an interval of two of them.
const std::string kValue = "#########";
const std::string kInterval = "(" + kValue + ";" + kValue + ")";

std::string Labels(const std::string& item, char label, int factors, const std::string& padding)
{
    std::string line = item;
    for (int j = 1; j <= factors; ++j) {
        line += label + Numbered("%3i", j) + padding;
    }
    return line;
}

// One line per item: its number, then `cell` once per column.
void AddItemLines(std::vector<std::string>& patterns, int columns, const std::string& cell)
{
    for (int i = 1; i <= BootstrapAnalysisTest::kItems; ++i) {
        std::string line = Numbered("%3i  ", i);
        for (int j = 0; j < columns; ++j) {
            line += cell;
        }
        patterns.push_back(line);
    }
}

std::vector<std::string> Patterns(int factors, char label, bool discriminations, bool residuals)
{
    std::vector<std::string> p;
    if (discriminations) {
        AddLines(p, {"ITEM DISCRIMINATIONS", ""});
        for (const std::string sample : {"Target Sample", "Replication Sample"}) {
            AddLines(p, {"Item discriminations (Loading Matrix)", sample, ""});
            p.push_back(Labels("Item     ", label, factors, "       "));
            AddItemLines(p, factors, kValue + "  ");
            AddLines(p, {"", "", "Bias-corrected Percentile Intervals of Item discriminations", sample, ""});
            p.push_back(Labels("Item          ", label, factors, "                   "));
            AddItemLines(p, factors, kInterval + "  ");
            AddLines(p, {"", ""});
        }
        AddLines(p, {"Difference Values of Item discriminations", ""});
        p.push_back(Labels("Item     ", label, factors, "          "));
        AddItemLines(p, factors, kValue + "??   ");
        AddLines(p, {"", "** Significant differences", "", kSeparator, ""});
    }
    if (residuals) {
        AddLines(p, {"ITEM RESIDUAL VARIANCES", ""});
        for (const std::string sample : {"Target Sample", "Replication Sample"}) {
            AddLines(p, {"Residual Variances ", sample, "", "Item     Residual", "         Variance"});
            AddItemLines(p, 1, kValue);
            AddLines(p, {"", "Bias-corrected Percentile Intervals of Residual Variances ", sample, "",
                            "Item     Residual Variance", "         Interval"});
            AddItemLines(p, 1, kInterval);
            AddLines(p, {"", ""});
        }
        AddLines(p, {"Difference Values in Residual Variances ", "", "Item     Residual", "         Variance"});
        AddItemLines(p, 1, kValue + "!!");
        AddLines(p, {"", "** Significant differences", "", kSeparator, ""});
    }
    return p;
}

// The numbers of the item lines of the table headed by `title` and `sample`;
// `skip` lines from the title to the first item.
std::vector<std::vector<double>> Table(const std::vector<std::string>& lines, const std::string& title,
                                       const std::string& sample, int skip)
{
    std::size_t k = 0;
    while (k + 1 < lines.size() && !(lines[k] == title && lines[k + 1] == sample)) {
        ++k;
    }
    std::vector<std::vector<double>> rows;
    for (int i = 0; i < BootstrapAnalysisTest::kItems && k + skip + i < lines.size(); ++i) {
        std::string line = lines[k + skip + i];
        for (char& c : line) {
            c = (c == '(' || c == ')' || c == ';' || c == '*') ? ' ' : c;
        }
        std::istringstream in(line.substr(3));
        rows.emplace_back();
        for (double value; in >> value;) {
            rows.back().push_back(value);
        }
    }
    return rows;
}

using DiscriminationsTest = BootstrapAnalysisTest;

TEST_F(DiscriminationsTest, SectionsFollowTheReportLayout)
{
    ExpectLinesMatch(Discriminations(RunOptions{}), Patterns(2, 'F', true, true));
    // One factor proceeds; residual variances may come alone.
    RunOptions options;
    options.factors = 1;
    options.first = false;
    ExpectLinesMatch(Discriminations(options), Patterns(1, 'F', false, true));
    // Components unless ULS; residual variances for covariances only.
    for (int method : {2, 3}) {
        options = RunOptions{};
        options.method = method;
        options.dispersion = 2;
        ExpectLinesMatch(Discriminations(options), Patterns(2, 'C', true, false));
    }
}

TEST_F(DiscriminationsTest, ObservedSolutionAgreesWithIndependentValues)
{
    const auto expected = ExpectedSolution();
    const std::vector<std::string> lines = SplitLines(Discriminations(RunOptions{}));
    const std::string loadings = "Item discriminations (Loading Matrix)";
    const auto target = Table(lines, loadings, "Target Sample", 4);
    const auto replication = Table(lines, loadings, "Replication Sample", 4);
    const auto targetResiduals = Table(lines, "Residual Variances ", "Target Sample", 5);
    const auto replicationResiduals = Table(lines, "Residual Variances ", "Replication Sample", 5);
    // The factors may come in either order. Printed to 3 decimals; ULS stops
    // short of the exact minimum.
    const bool swapped = std::fabs(target[0][0] - expected.at("target_loadings")[0]) > 0.1;
    for (int i = 0; i < kItems; ++i) {
        for (int j = 0; j < 2; ++j) {
            const int k = 2 * i + (swapped ? 1 - j : j);
            EXPECT_NEAR(target[i][j], expected.at("target_loadings")[k], 0.002) << i;
            EXPECT_NEAR(replication[i][j], expected.at("replication_loadings")[k], 0.002) << i;
        }
        EXPECT_NEAR(targetResiduals[i][0], expected.at("target_residuals")[i], 0.002) << i;
        EXPECT_NEAR(replicationResiduals[i][0], expected.at("replication_residuals")[i], 0.002) << i;
    }
}

// Differences are exact Target minus Replication values, and flagged exactly
// where the two intervals are disjoint (touching intervals overlap); the
// report prints what the record holds.
TEST_F(DiscriminationsTest, DifferencesAreFlaggedWhereTheIntervalsAreDisjoint)
{
    AnalysisSettings settings;
    settings.bootstrapSamples = 50;
    settings.alpha = AlphaLevel::Ten;
    const DiscriminationOutcome outcome = ComputeItemDiscriminations(target_, replication_, settings, compute_);
    ASSERT_TRUE(outcome.results.has_value()) << outcome.warning;
    const DiscriminationResults& r = *outcome.results;
    int flagged = 0;
    for (int i = 0; i < kItems; ++i) {
        for (int j = 0; j < 2; ++j) {
            EXPECT_EQ(r.loadingDifferences(i, j), r.target.loadings(i, j) - r.replication.loadings(i, j));
            const double tLow = r.target.loadingLower(i, j), tHigh = r.target.loadingUpper(i, j);
            const double rLow = r.replication.loadingLower(i, j), rHigh = r.replication.loadingUpper(i, j);
            EXPECT_TRUE(tLow <= tHigh && rLow <= rHigh) << i << ' ' << j;
            const bool disjoint = tHigh < rLow || rHigh < tLow;
            EXPECT_EQ(r.loadingSignificant(i, j), disjoint) << i << ' ' << j;
            EXPECT_EQ(r.loadingOverlaps(i, j), disjoint ? 0.0 : 1.0) << i << ' ' << j;
            flagged += disjoint;
        }
        EXPECT_EQ(r.residualDifferences(i, 0), r.target.residualVariances(i, 0) - r.replication.residualVariances(i, 0));
        EXPECT_EQ(r.residualSignificant(i, 0), r.target.residualUpper(i, 0) < r.replication.residualLower(i, 0) ||
                                                   r.replication.residualUpper(i, 0) < r.target.residualLower(i, 0));
    }
    // Item 2 loads on the other factor in the Replication sample.
    EXPECT_GT(flagged, 0);
    EXPECT_LT(flagged, 2 * kItems);

    // The same random state gives the same record, which the report prints.
    ResetTestRandom();
    RunOptions options;
    options.samples = 50;
    options.alphaCode = 10;
    const std::vector<std::string> lines = SplitLines(Discriminations(options));
    const std::size_t first =
        std::find(lines.begin(), lines.end(), "Difference Values of Item discriminations") - lines.begin() + 3;
    for (int i = 0; i < kItems; ++i) {
        for (int j = 0; j < 2; ++j) {
            char cell[32];
            std::snprintf(cell, sizeof cell, "% 9.3f%s", r.loadingDifferences(i, j),
                          r.loadingSignificant(i, j) ? "**" : "  ");
            EXPECT_EQ(lines[first + i].substr(5 + 14 * j, 11), cell) << lines[first + i];
        }
    }
}

TEST_F(DiscriminationsTest, SameRandomStateGivesTheSameReportAndASecondRunContinues)
{
    const RunOptions options;
    const std::string first = Discriminations(options);
    // The observed Varimax draws a 2 x 2 random matrix (5 draws) for each of
    // its 10 random starts; every replicate resamples both samples.
    const int draws = 10 * 5 + options.samples * (kTargetRows + kReplicationRows);
    RandomSource expected;
    expected.JumpAhead(draws);
    EXPECT_EQ(TestRandom().State(), expected.State());

    EXPECT_NE(Discriminations(options), first);
    expected.JumpAhead(draws);
    EXPECT_EQ(TestRandom().State(), expected.State());

    ResetTestRandom();
    EXPECT_EQ(Discriminations(options), first);
}

TEST_F(DiscriminationsTest, ProgressFollowsTheSteps)
{
    const RunOptions options;
    Discriminations(options);
    EXPECT_EQ(display_.Texts(TextField::Step),
              (std::vector<std::string>{"Computing dispersion matrices ...", "Computing item discriminations ...",
                                        "Bootstrap resampling ...", "Computing confidence intervals ...",
                                        "Printing results ..."}));
    const std::vector<std::string> progress = display_.Texts(TextField::Progress);
    ASSERT_EQ(progress.size(), 21u);
    EXPECT_EQ(progress.front(), "Done:    0 (  0.00%)");
    EXPECT_EQ(progress[19], "Done:   19 ( 95.00%)");
    EXPECT_EQ(progress.back(), " ");
    EXPECT_EQ(display_.calls[3].second, "Done:    0 (  0.00%)");
    EXPECT_EQ(display_.calls[display_.calls.size() - 3].second, "Computing confidence intervals ...");
    for (int t = 0; t < options.samples; ++t) {
        EXPECT_EQ(display_.percents[t], static_cast<double>(t) / options.samples * 100.0);
    }
}

TEST_F(DiscriminationsTest, ObservedFailuresWriteTheirBlocks)
{
    // Nobody in the Target sample scores 3 on item 1: an empty category.
    Matrix* target = CopyOf(target_);
    for (int n = 0; n < kTargetRows; ++n) {
        (*target)(n, 0) = (*target)(n, 0) == 3.0 ? 2.0 : (*target)(n, 0);
    }
    RunOptions polychoric;
    polychoric.dispersion = 3;
    polychoric.itemLowest = Filled(kItems, 1, 1.0);
    polychoric.itemHighest = Filled(kItems, 1, 5.0);
    EXPECT_EQ(Discriminations(polychoric, target),
              WarningBlock("ITEM DISCRIMINATIONS",
                           std::string(kPolychoricWarning) + "\n"
                           "Target sample, item 1: nobody has the score 3; the item has 4 categories, fewer than "
                           "the 5 of other items."));
    EXPECT_EQ(display_.Texts(TextField::Step).back(), "Computing dispersion matrices ......");

    // Ten items of 50 cases whose three-factor ML needs more than 100
    // iterations. The block carries the discriminations heading even when
    // only residual variances were asked for.
    const Matrix* slow = LoadSample("slow_ml.dat", 50, 10);
    RunOptions ml;
    ml.factors = 3;
    ml.method = 3;
    ml.first = false;
    EXPECT_EQ(Discriminations(ml, slow, slow),
              WarningBlock("ITEM DISCRIMINATIONS", "ML method could not converge. Please try ULS or PCA."));

    Matrix* replication = CopyOf(replication_);
    for (int n = 0; n < kReplicationRows; ++n) {
        (*replication)(n, 3) = 3.0;
    }
    for (int dispersion : {1, 2}) {
        RunOptions constant;
        constant.dispersion = dispersion;
        EXPECT_EQ(Discriminations(constant, target_, replication),
                  WarningBlock("ITEM DISCRIMINATIONS",
                               "The dispersion matrix of the Replication sample cannot be analysed: item 4 has no "
                               "variance in that sample (it may be constant). Please check the data or leave the "
                               "item out."));
    }
}

TEST_F(DiscriminationsTest, ReplicateFailuresEndTheAnalysis)
{
    // Twenty binary items, each scoring 1 for two participants only: nearly
    // every bootstrap sample misses both for some item, leaving it constant.
    Matrix* data = NewMatrix(60, 20);
    for (int j = 0; j < 20; ++j) {
        (*data)(j, j) = 1.0;
        (*data)(j + 1, j) = 1.0;
    }
    EXPECT_EQ(Discriminations(RunOptions{}, data, data),
              WarningBlock("ITEM DISCRIMINATIONS",
                           "Bootstrap samples of the Target sample repeatedly gave dispersion matrices with an item "
                           "without variance, or values that are not finite numbers. Please check the data for items "
                           "that are nearly constant, or try fewer factors."));
    EXPECT_EQ(display_.Texts(TextField::Step).back(), "Bootstrap resampling ...");

    RunOptions polychoric;
    polychoric.dispersion = 3;
    polychoric.categories = 2;
    polychoric.itemLowest = Filled(20, 1, 0.0);
    polychoric.itemHighest = Filled(20, 1, 1.0);
    EXPECT_EQ(Discriminations(polychoric, data, data),
              WarningBlock("ITEM DISCRIMINATIONS",
                           kPolychoricWarning));
    EXPECT_EQ(display_.Texts(TextField::Step).back(), "Bootstrap resampling ...");
}

} // namespace

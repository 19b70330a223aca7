// Congruence and discrepancy indices: report layout, observed indices against
// R, critical-value rows, failure blocks, the random sequence and the
// progress texts.

#include "bootstrap_test_support.h"

#include "analyses/CongruenceIndices.h"
#include "report/IndicesSection.h"
#include "matrix/MatrixOps.h"

#include <algorithm>
#include "support/test_random.h"

using namespace talver;

namespace {

const std::string kHeading = "OVERALL INDICES OF ITEM MEASUREMENT INVARIANCE";
// "% 5.3f", "**" or not, "% 5.3f".
const std::string kValues = "######??      ######";

void AddFamily(std::vector<std::string>& p, const std::string& heading, const std::string& itemLabel,
               const std::string& factorLabel, int factors, bool uls, const std::string& alpha)
{
    AddLines(p, {heading, "", "", "Overall Fit Indices Per Item", "", "Item         Observed      Critical value",
                    "             " + itemLabel + alpha});
    for (int i = 1; i <= BootstrapAnalysisTest::kItems; ++i) {
        p.push_back(Numbered("%3i         ", i) + kValues);
    }
    AddLines(p, {"", "** Significant differences", "", "",
                    uls ? "Overall Fit Indices Per Factor" : "Overall Fit Indices Per Component", "",
                    uls ? "Factor       Observed      Critical value" : "Component    Observed      Critical value",
                    "             " + factorLabel + alpha});
    for (int j = 1; j <= factors; ++j) {
        p.push_back(Numbered("%3i         ", j) + kValues);
    }
    AddLines(p, {"", "** Significant differences", "", "", "Overall Fit Index", "",
                    " Observed      Critical value", " " + factorLabel + alpha});
    p.push_back(kValues);
    AddLines(p, {"", "** Significant differences", "", ""});
}

struct Layout {
    int factors = 2;
    bool uls = true;
    int alphaCode = 5;
    bool pearsonWarning = false;
    bool congruence = true;
    bool discrepancy = true;
};

std::vector<std::string> Patterns(const Layout& layout)
{
    const std::string alpha = layout.alphaCode == 5 ? "at alpha = 0.05" : "at alpha = 0.10";
    std::vector<std::string> p;
    AddLines(p, {kHeading, ""});
    if (layout.pearsonWarning) {
        AddLines(p, {"Warning: Dispersiona matrices analyzed for this analysis is Pearson correlation", ""});
    }
    if (layout.congruence) {
        AddFamily(p, "CONGRUENCE INDICES", "Congruence    ", "Congruence    ", layout.factors, layout.uls, alpha);
    }
    if (layout.discrepancy) {
        AddFamily(p, "DISCREPANCY INDICES", "Similitude    ", "Discrepancy   ", layout.factors, layout.uls, alpha);
    }
    AddLines(p, {kSeparator, ""});
    return p;
}

// Observed value, critical value and mark of every index line of a family:
// items, then factors, then the overall index.
struct IndexLine {
    double observed;
    double critical;
    bool marked;
};

std::vector<IndexLine> FamilyLines(const std::vector<std::string>& lines, const std::string& heading, int factors)
{
    std::size_t k = std::find(lines.begin(), lines.end(), heading) - lines.begin();
    std::vector<IndexLine> values;
    for (const int count : {BootstrapAnalysisTest::kItems, factors, 0}) {
        // Each table's lines follow its "at alpha" line; the overall line has no number.
        while (lines[k].find("at alpha = ") == std::string::npos) {
            ++k;
        }
        for (int i = 0; i < std::max(count, 1); ++i) {
            const std::string& line = lines[++k];
            const std::size_t start = count == 0 ? 0 : 12;
            values.push_back({std::stod(line.substr(start, 6)), std::stod(line.substr(start + 14)),
                              line.substr(start + 6, 2) == "**"});
        }
    }
    return values;
}

using IndicesTest = BootstrapAnalysisTest;

TEST_F(IndicesTest, SectionFollowsTheReportLayout)
{
    ExpectLinesMatch(Indices(RunOptions{}), Patterns(Layout{}));

    RunOptions options;
    options.alphaCode = 10;
    options.method = 2;
    options.dispersion = 3;
    options.second = false;
    ExpectLinesMatch(Indices(options), Patterns({2, false, 10, true, true, false}));

    options = RunOptions{};
    options.method = 3;
    options.dispersion = 2;
    options.first = false;
    ExpectLinesMatch(Indices(options), Patterns({2, false, 5, false, false, true}));

    options = RunOptions{};
    options.factors = 1;
    ExpectLinesMatch(Indices(options), Patterns({1, true, 5, false, true, true}));
}

TEST_F(IndicesTest, ObservedIndicesAgreeWithIndependentValues)
{
    const auto expected = ExpectedSolution();
    const std::vector<std::string> lines = SplitLines(Indices(RunOptions{}));
    for (const std::string family : {"congruence", "discrepancy"}) {
        const bool congruence = family == "congruence";
        const std::vector<IndexLine> values =
            FamilyLines(lines, congruence ? "CONGRUENCE INDICES" : "DISCREPANCY INDICES", 2);
        for (int i = 0; i < kItems; ++i) {
            EXPECT_NEAR(values[i].observed, expected.at("item_" + family)[i], 0.002) << family << i;
        }
        // The factors may come in either order.
        std::vector<double> factors{values[kItems].observed, values[kItems + 1].observed};
        std::vector<double> reference = expected.at("factor_" + family);
        std::sort(factors.begin(), factors.end());
        std::sort(reference.begin(), reference.end());
        EXPECT_NEAR(factors[0], reference[0], 0.002) << family;
        EXPECT_NEAR(factors[1], reference[1], 0.002) << family;
        EXPECT_NEAR(values.back().observed, expected.at("overall_" + family)[0], 0.002) << family;
        // Congruences below, discrepancies above their critical values are
        // marked (where the printed digits tell).
        for (const IndexLine& line : values) {
            if (line.observed != line.critical) {
                EXPECT_EQ(line.marked, congruence ? line.observed < line.critical : line.observed > line.critical);
            }
        }
    }
}

TEST_F(IndicesTest, IdenticalSamplesAreFullyCongruent)
{
    const std::vector<std::string> lines = SplitLines(Indices(RunOptions{}, target_, target_));
    for (const IndexLine& line : FamilyLines(lines, "CONGRUENCE INDICES", 2)) {
        EXPECT_EQ(line.observed, 1.0);
        EXPECT_FALSE(line.marked);
    }
    for (const IndexLine& line : FamilyLines(lines, "DISCREPANCY INDICES", 2)) {
        EXPECT_EQ(line.observed, 0.0);
        EXPECT_FALSE(line.marked);
    }
}

TEST_F(IndicesTest, SameRandomStateGivesTheSameReportAndASecondRunContinues)
{
    const RunOptions options;
    const std::string first = Indices(options);
    // Ten random 2 x 2 starts of 5 draws for every Varimax: the observed one,
    // then per replicate the Target resample, its Varimax and the Replication
    // resample.
    const int varimax = 10 * 5;
    RandomSource expected;
    expected.JumpAhead(varimax + options.samples * (kTargetRows + varimax + kReplicationRows));
    EXPECT_EQ(TestRandom().State(), expected.State());

    EXPECT_NE(Indices(options), first);
    ResetTestRandom();
    EXPECT_EQ(Indices(options), first);
}

TEST_F(IndicesTest, ProgressFollowsTheSteps)
{
    const RunOptions options;
    Indices(options);
    EXPECT_EQ(display_.Texts(TextField::Step),
              (std::vector<std::string>{"Computing dispersion matrices ...", "Computing populations ...",
                                        "Bootstrap sampling ...", "Computing indices ...", "Print results ..."}));
    const std::vector<std::string> progress = display_.Texts(TextField::Progress);
    ASSERT_EQ(progress.size(), 21u);
    EXPECT_EQ(progress.front(), "Done:    0 (  0.00%)");
    EXPECT_EQ(progress[19], "Done:   19 ( 95.00%)");
    EXPECT_EQ(progress.back(), " ");
    for (int b = 0; b < options.samples; ++b) {
        EXPECT_EQ(display_.percents[b], 100.0 * b / options.samples);
    }
}

TEST_F(IndicesTest, FailuresWriteTheirBlocks)
{
    const Matrix* slow = LoadSample("slow_ml.dat", 50, 10);
    RunOptions ml;
    ml.factors = 3;
    ml.method = 3;
    ml.dispersion = 2;
    EXPECT_EQ(Indices(ml, slow, slow),
              WarningBlock(kHeading, "ML method could not converge. Please try ULS or PCA."));

    Matrix* target = CopyOf(target_);
    for (int n = 0; n < kTargetRows; ++n) {
        (*target)(n, 5) = 2.0;
    }
    RunOptions pearson;
    pearson.dispersion = 2;
    EXPECT_EQ(Indices(pearson, target),
              WarningBlock(kHeading, "The dispersion matrix of the Target sample cannot be analysed: item 6 has no "
                                     "variance in that sample (it may be constant). Please check the data or leave "
                                     "the item out."));

    // Item 8 repeats item 7: a singular matrix has no inverse root.
    Matrix* replication = CopyOf(replication_);
    for (int n = 0; n < kReplicationRows; ++n) {
        (*replication)(n, 7) = (*replication)(n, 6);
    }
    EXPECT_EQ(Indices(RunOptions{}, target_, replication),
              WarningBlock(kHeading, "The dispersion matrix of the Replication sample is singular, so no population "
                                     "under invariance can be formed from it. Please check the data for items that "
                                     "are constant or that are sums of other items."));
}

TEST(CriticalRows, CongruencesFromTheLowRowDiscrepanciesFromTheHighRow)
{
    EXPECT_EQ(CriticalRowsFor(500, AlphaLevel::Five).low, 24);
    EXPECT_EQ(CriticalRowsFor(500, AlphaLevel::Five).high, 474);
    EXPECT_EQ(CriticalRowsFor(500, AlphaLevel::Ten).low, 49);
    EXPECT_EQ(CriticalRowsFor(500, AlphaLevel::Ten).high, 449);

    MatrixScope scope;
    Matrix* sorted = NewMatrix(10, IndexRowLength(3, 2));
    for (int r = 0; r < sorted->Rows(); ++r) {
        for (int c = 0; c < sorted->Cols(); ++c) {
            (*sorted)(r, c) = 100.0 * r + c;
        }
    }
    const InvarianceIndexSet critical = CriticalIndices(sorted, CriticalRows{2, 7}, 3, 2);
    EXPECT_EQ(IndexRow(critical), (std::vector<double>{200, 201, 202, 203, 204, 205, 706, 707, 708, 709, 710, 711}));
}

TEST(IndicesReport, EqualToTheCriticalValueIsNotMarked)
{
    InvarianceResults results;
    results.showCongruence = results.showDiscrepancy = true;
    // Item 1 equal to, item 2 beyond, item 3 within its critical value.
    results.observed = {0.9, {0.9, 0.8, 0.95}, {0.5}, 0.2, {0.2, 0.3, 0.1}, {0.7}};
    results.critical = {0.9, {0.9, 0.9, 0.9}, {0.4}, 0.2, {0.2, 0.2, 0.2}, {0.6}};
    results.significant = SignificanceOf(results.observed, results.critical);
    CapturedReport report;
    PrintIndicesSection(report.context, results);
    const std::vector<std::string> lines = report.Lines();
    const auto after = [&](const std::string& heading) {
        return std::find(lines.begin(), lines.end(), heading) - lines.begin();
    };
    const std::vector<std::string> congruence(lines.begin() + after("CONGRUENCE INDICES") + 7,
                                              lines.begin() + after("CONGRUENCE INDICES") + 10);
    EXPECT_EQ(congruence, (std::vector<std::string>{"  1          0.900         0.900",
                                                    "  2          0.800**       0.900",
                                                    "  3          0.950         0.900"}));
    const std::vector<std::string> discrepancy(lines.begin() + after("DISCREPANCY INDICES") + 7,
                                               lines.begin() + after("DISCREPANCY INDICES") + 10);
    EXPECT_EQ(discrepancy, (std::vector<std::string>{"  1          0.200         0.200",
                                                     "  2          0.300**       0.200",
                                                     "  3          0.100         0.200"}));
    EXPECT_EQ(lines[after("DISCREPANCY INDICES") + 18], "  1          0.700**       0.600");
    EXPECT_EQ(lines[after("DISCREPANCY INDICES") + 27], " 0.200         0.200");
}

} // namespace

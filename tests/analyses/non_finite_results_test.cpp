// Results that are not numbers never reach a table of the report: an item
// without variance in both samples, a singular pooled covariance matrix, and
// bootstrap replicates that are not finite each give a line or a block that
// says why.

#include "analyses/CongruenceIndices.h"
#include "analyses/DiscriminationIntervals.h"
#include "analyses/InvarianceResults.h"
#include "analyses/ObservedSolution.h"
#include "report/AnalysisSections.h"
#include "report/DiscriminationSections.h"
#include "report/RunResults.h"
#include "matrix/Matrix.h"
#include "support/report_capture.h"
#include "support/test_random.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace talver;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

Matrix* Filled(const std::vector<std::vector<double>>& rows)
{
    Matrix* m = NewMatrix(static_cast<int>(rows.size()), static_cast<int>(rows[0].size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (std::size_t j = 0; j < rows[i].size(); ++j) {
            (*m)(static_cast<int>(i), static_cast<int>(j)) = rows[i][j];
        }
    }
    return m;
}

std::string WarningBlock(const std::string& heading, const std::string& warning)
{
    return heading + "\n\n\n\nWARNING: " + warning + "\n\n\n" + std::string(80, '-') + "\n\n";
}

TEST(NonFiniteDifficulties, ItemsWithoutVarianceShowADashAndAreNamed)
{
    MatrixScope scope;
    // Items 1 and 3 are constant within each sample; item 3 differs between them.
    const Matrix* target = Filled({{2, 1, 5}, {2, 3, 5}, {2, 2, 5}});
    const Matrix* replication = Filled({{2, 2, 4}, {2, 4, 4}});
    CapturedReport report;
    RunResults results;
    results.difficulties = AnalyzeItemDifficulties(target, replication, 3, 2, 5, {}, report.context);
    const std::vector<std::string> lines = report.Lines();
    ASSERT_GE(lines.size(), 14u);
    EXPECT_EQ(lines[5], "   1        2.00         2.00           -             -  ");
    EXPECT_EQ(lines[6].size(), lines[5].size());
    EXPECT_EQ(lines[7], "   3        5.00         4.00           -             -  ");
    EXPECT_EQ(lines[9], "**Significant differences");
    const std::string warning = "Student's t and Cohen's d cannot be computed for items 1 and 3: their scores do not "
                                "vary within either sample, so the pooled standard deviation is 0.";
    EXPECT_EQ(lines[11], "WARNING: " + warning);
    EXPECT_EQ(lines[13], std::string(80, '-'));
    const std::vector<AnalysisWarning> warnings = RunWarnings(results);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].section, "ITEM DIFFICULTIES");
    EXPECT_EQ(warnings[0].text, warning);
}

TEST(NonFiniteDifficulties, TwoParticipantsHaveNoPooledDeviation)
{
    MatrixScope scope;
    const Matrix* target = Filled({{1, 2}});
    const Matrix* replication = Filled({{3, 2}});
    CapturedReport report;
    AnalyzeItemDifficulties(target, replication, 1, 1, 5, {}, report.context);
    EXPECT_NE(report.Text().find("WARNING: Student's t and Cohen's d cannot be computed for items 1 and 2: the two "
                                 "samples together have 2 participants, and a pooled standard deviation needs at "
                                 "least 3.\n"),
              std::string::npos);
}

TEST(NonFiniteDifficulties, SingularPooledCovarianceGivesAWarningInsteadOfTSquare)
{
    MatrixScope scope;
    // Item 2 repeats item 1.
    const Matrix* target = Filled({{1, 1, 3}, {2, 2, 1}, {3, 3, 2}, {1, 1, 1}});
    const Matrix* replication = Filled({{2, 2, 2}, {3, 3, 3}, {1, 1, 2}, {2, 2, 1}});
    CapturedReport report;
    RunResults results;
    results.hotelling = HotellingTSquare(target, replication, 4, 4, report.context);
    const std::vector<std::string> lines = report.Lines();
    ASSERT_GE(lines.size(), 9u);
    EXPECT_EQ(lines[4], "Hotteling's T Square");
    EXPECT_EQ(lines[6], "WARNING: The pooled covariance matrix of the two samples is singular (an item may have the "
                        "same score for everybody, or be a copy or a sum of other items), so Hotelling's T square "
                        "cannot be computed.");
    EXPECT_EQ(lines[8], std::string(80, '-'));
    ASSERT_TRUE(results.hotelling);
    EXPECT_FALSE(results.hotelling->computable);
    EXPECT_TRUE(results.hotelling->singular);
    const std::vector<AnalysisWarning> warnings = RunWarnings(results);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].section, "Hotteling's T Square");
}

TEST(NonFiniteRotation, ReplicationLoadingsAtRightAnglesToTheTargetCannotBeRotated)
{
    MatrixScope scope;
    // One component each, along item 1 in the Target and item 2 in the
    // Replication sample: Procrustes has nothing to turn towards.
    const Matrix* target = Filled({{2, 0}, {0, 1}});
    const Matrix* replication = Filled({{1, 0}, {0, 2}});
    ObservedSolution solution;
    const ObservedOutcome outcome =
        SolveObserved(target, replication, SolutionSettings{1, ExtractionMethod::Pca, 0.0001, DispersionKind::Covariance, nullptr, nullptr},
                      {}, TestRandom(), solution);
    EXPECT_FALSE(outcome.solved);
    EXPECT_EQ(outcome.warning, "The loadings of the Replication sample cannot be rotated towards those of the Target "
                               "sample: the rotation is not made of finite numbers. Please check the data for scores "
                               "that are far larger than the others, or try fewer factors.");
}

// Five replicates of p = 2 items, m = 1 factor and the two residual variances;
// the loading of item 2 is NaN in one replicate.
Matrix* Replicates(bool withNaN)
{
    Matrix* m = NewMatrix(5, 4);
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 4; ++c) {
            (*m)(r, c) = 0.1 * (r + 1) + c;
        }
    }
    if (withNaN) {
        (*m)(3, 1) = kNaN;
    }
    return m;
}

TEST(NonFiniteIntervals, AColumnWithANaNHasNoBounds)
{
    MatrixScope scope;
    const std::vector<double> observed = {0.3, 1.3, 2.3, 3.3};
    const DiscriminationResults results =
        SummarizeDiscriminations(observed, observed, Replicates(true), Replicates(false), 2, 1, AlphaLevel::Five,
                                 ExtractionMethod::Uls);
    EXPECT_TRUE(std::isnan(results.target.loadingLower(1, 0)));
    EXPECT_TRUE(std::isnan(results.target.loadingUpper(1, 0)));
    EXPECT_TRUE(std::isfinite(results.target.loadingLower(0, 0)));
    EXPECT_TRUE(std::isfinite(results.target.residualUpper(1, 0)));
    EXPECT_TRUE(std::isfinite(results.replication.loadingLower(1, 0)));

    CapturedReport report;
    PrintDiscriminationsSection(report.context, results);
    const std::string block =
        WarningBlock("ITEM DISCRIMINATIONS",
                     "Bootstrap samples of the Target sample gave values that are not finite numbers, so the "
                     "intervals of its item discriminations cannot be formed. Please check the data for scores that "
                     "are far larger than the others, or for items that are nearly constant.");
    EXPECT_EQ(report.Text(), block);
    // The residual variances have their intervals.
    PrintResidualVariancesSection(report.context, results);
    EXPECT_EQ(report.Text().substr(block.size(), 60),
              std::string("ITEM RESIDUAL VARIANCES\n\nResidual Variances \nTarget Sample\n\nItem     Residual\n")
                  .substr(0, 60));
}

TEST(NonFiniteIntervals, ResidualVariancesOfTheReplicationSample)
{
    MatrixScope scope;
    Matrix* replicates = Replicates(false);
    (*replicates)(0, 3) = std::numeric_limits<double>::infinity();
    const std::vector<double> observed = {0.3, 1.3, 2.3, 3.3};
    const DiscriminationResults results =
        SummarizeDiscriminations(observed, observed, Replicates(false), replicates, 2, 1, AlphaLevel::Five,
                                 ExtractionMethod::Uls);
    CapturedReport report;
    PrintResidualVariancesSection(report.context, results);
    EXPECT_EQ(report.Text(),
              WarningBlock("ITEM RESIDUAL VARIANCES",
                           "Bootstrap samples of the Replication sample gave values that are not finite numbers, so "
                           "the intervals of its item residual variances cannot be formed. Please check the data for "
                           "scores that are far larger than the others, or for items that are nearly constant."));
}

TEST(NonFiniteIndices, AColumnWithANaNHasNoCriticalValue)
{
    MatrixScope scope;
    Matrix* sorted = NewMatrix(10, IndexRowLength(3, 2));
    for (int r = 0; r < sorted->Rows(); ++r) {
        for (int c = 0; c < sorted->Cols(); ++c) {
            (*sorted)(r, c) = 100.0 * r + c;
        }
    }
    (*sorted)(9, 2) = kNaN;
    const std::vector<double> row = IndexRow(CriticalIndices(sorted, CriticalRows{2, 7}, 3, 2));
    EXPECT_TRUE(std::isnan(row[2]));
    EXPECT_EQ(row[1], 201.0);
    EXPECT_EQ(row[6], 706.0);
    EXPECT_EQ(row[8], 708.0);
}

TEST(NonFiniteIndices, ObservedOrCriticalValuesThatAreNotNumbersGiveAWarning)
{
    InvarianceIndexSet observed{0.9, {0.9, kNaN, 0.95}, {0.5}, 0.2, {0.2, 0.3, 0.1}, {0.7}};
    InvarianceIndexSet critical{0.9, {0.9, 0.9, 0.9}, {0.4}, 0.2, {0.2, 0.2, 0.2}, {0.6}};
    EXPECT_EQ(IndicesWarning(observed, critical, true, true, {}),
              "Some congruence indices cannot be computed: item 2 has loadings of 0 in one "
              "of the samples. Please check the data, or try fewer factors.");
    EXPECT_EQ(IndicesWarning(observed, critical, true, true, {"q1", "q2", "q3"}).find(
                  "Some congruence indices cannot be computed: item \"q2\" has loadings of 0"),
              0u);
    // Values of a family that is not shown do not matter.
    EXPECT_EQ(IndicesWarning(observed, critical, false, true, {}), "");
    // A factor's value alone names no item.
    observed.itemCongruence[1] = 0.8;
    observed.factorCongruence[0] = kNaN;
    EXPECT_EQ(IndicesWarning(observed, critical, true, true, {}).find(
                  "Some congruence indices cannot be computed: an item or a factor has loadings of 0"),
              0u);

    observed.factorCongruence[0] = 0.5;
    critical.factorDiscrepancy[0] = kNaN;
    EXPECT_EQ(IndicesWarning(observed, critical, true, true, {}),
              "Bootstrap samples of the populations gave indices that are not finite numbers, so no "
              "critical values can be formed. Please check the data for scores that are far larger than "
              "the others, or for items that are nearly constant.");
    EXPECT_EQ(IndicesWarning(observed, critical, true, false, {}), "");
}

} // namespace

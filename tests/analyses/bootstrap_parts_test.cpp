// The pieces of the bootstrap analyses: redraws of unusable bootstrap
// samples, detection of items without variance, the overlap of two intervals
// and the indices of two loading patterns.

#include "bootstrap_test_support.h"

#include "analyses/CongruenceIndices.h"
#include "analyses/DiscriminationIntervals.h"
#include "analyses/DispersionByCode.h"
#include "analyses/ResampledSolution.h"
#include "matrix/MatrixOps.h"
#include "stats/Bootstrap.h"
#include "stats/RandomSource.h"

#include <cmath>
#include "support/test_random.h"

using namespace talver;

namespace {

constexpr int kRows = BootstrapAnalysisTest::kTargetRows;

class ResampledSolutionTest : public BootstrapAnalysisTest {
protected:
    // Draws one solution of data and checks its outcome and that it took
    // `samples` bootstrap samples' worth of draws.
    void Draw(const Matrix* data, DrawFailure expected, int samples)
    {
        RandomSource after = TestRandom();
        after.JumpAhead(static_cast<std::uint64_t>(samples) * data->Rows());
        solution_ = DrawSolution(data, settings_, TestRandom());
        EXPECT_EQ(solution_.failure, expected);
        EXPECT_EQ(TestRandom().State(), after.State());
    }

    SolutionSettings settings_{2, ExtractionMethod::Uls, 0.0001, DispersionKind::Covariance, nullptr, nullptr};
    ResampledSolution solution_;
};

TEST_F(ResampledSolutionTest, AUsableSampleTakesOneDrawPerRow)
{
    Draw(target_, DrawFailure::None, 1);
}

TEST_F(ResampledSolutionTest, UnestimablePolychoricMatrixFailsAfterTheFifthRedraw)
{
    // Declared scores 1 to 6, but nobody ever scores 6.
    settings_.dispersion = DispersionKind::Polychoric;
    settings_.itemLowest = Filled(kItems, 1, 1.0);
    settings_.itemHighest = Filled(kItems, 1, 6.0);
    Draw(target_, DrawFailure::Polychoric, 6);
}

TEST_F(ResampledSolutionTest, ConstantItemFailsAfterTheFifthRedraw)
{
    Matrix* data = CopyOf(target_);
    for (int n = 0; n < kRows; ++n) {
        (*data)(n, 2) = 4.0;
    }
    for (int dispersion : {1, 2}) {
        settings_.dispersion = DispersionKindFromCode(dispersion);
        Draw(data, DrawFailure::Unusable, 6);
    }
}

TEST_F(ResampledSolutionTest, MaximumLikelihoodFailureFailsAfterTheFifthRedraw)
{
    // Two identical items: a singular matrix that ML cannot fit.
    Matrix* data = CopyOf(target_);
    for (int n = 0; n < kRows; ++n) {
        (*data)(n, 1) = (*data)(n, 0);
    }
    settings_.method = ExtractionMethod::Ml;
    settings_.dispersion = DispersionKind::Pearson;
    Draw(data, DrawFailure::MaximumLikelihood, 6);
}

TEST_F(ResampledSolutionTest, MaximumLikelihoodRedrawsUsePearsonCorrelations)
{
    // Item 2 (scores 1 to 3) is item 1 (scores 1 to 5) with categories merged:
    // their polychoric correlation is 1, which ML cannot fit, their Pearson
    // correlation is not. Only a Pearson redraw succeeds.
    Matrix* data = CopyOf(target_);
    for (int n = 0; n < kRows; ++n) {
        const double score = (*data)(n, 0);
        (*data)(n, 1) = score <= 2.0 ? 1.0 : (score == 3.0 ? 2.0 : 3.0);
    }
    Matrix* highest = Filled(kItems, 1, 5.0);
    (*highest)(1, 0) = 3.0;
    settings_.itemLowest = Filled(kItems, 1, 1.0);
    settings_.itemHighest = highest;
    settings_.method = ExtractionMethod::Ml;
    settings_.dispersion = DispersionKind::Polychoric;
    RandomSource redraw = TestRandom();
    redraw.JumpAhead(kRows);
    Draw(data, DrawFailure::None, 2);

    // The dispersion matrix is the Pearson matrix of the redrawn sample (to
    // rounding: it is summed from how often each row was drawn).
    Matrix* sample = NewMatrix(kRows, kItems);
    {
        ResampleRows(data, sample, redraw);
    }
    const Matrix* pearson = CorrelationMatrix(sample);
    for (int i = 0; i < kItems; ++i) {
        for (int j = 0; j < kItems; ++j) {
            EXPECT_NEAR((*solution_.dispersion)(i, j), (*pearson)(i, j), 1e-13);
        }
    }
}

TEST(DegenerateItems, ConstantItemIsNamedWhateverTheMatrix)
{
    MatrixScope scope;
    Matrix* data = NewMatrix(5, 3);
    const double values[5][3] = {{1, 2, 3}, {2, 2, 1}, {3, 2, 2}, {4, 2, 5}, {2, 2, 4}};
    for (int i = 0; i < 5; ++i) {
        for (int j = 0; j < 3; ++j) {
            (*data)(i, j) = values[i][j];
        }
    }
    EXPECT_EQ(FirstDegenerateItem(CovarianceMatrix(data)), 1);
    EXPECT_EQ(FirstDegenerateItem(CorrelationMatrix(data)), 1);
    (*data)(0, 1) = 3.0;
    EXPECT_EQ(FirstDegenerateItem(CovarianceMatrix(data)), -1);
    EXPECT_EQ(FirstDegenerateItem(CorrelationMatrix(data)), -1);
}

TEST(IntervalsOverlap, DisjointIntervalsAloneDiffer)
{
    EXPECT_FALSE(IntervalsOverlap(0.1, 0.3, 0.4, 0.6));
    EXPECT_FALSE(IntervalsOverlap(0.4, 0.6, 0.1, 0.3));
    EXPECT_TRUE(IntervalsOverlap(0.1, 0.5, 0.4, 0.6)); // Replication lower bound inside
    EXPECT_TRUE(IntervalsOverlap(0.4, 0.6, 0.1, 0.5)); // Replication upper bound inside
    EXPECT_TRUE(IntervalsOverlap(0.1, 0.6, 0.2, 0.3)); // Replication inside Target
    EXPECT_TRUE(IntervalsOverlap(0.2, 0.3, 0.1, 0.6)); // Target inside Replication
    // Shared bounds: equal intervals are never different.
    EXPECT_TRUE(IntervalsOverlap(0.2, 0.3, 0.2, 0.3));
    EXPECT_TRUE(IntervalsOverlap(0.2, 0.3, 0.2, 0.5));
    EXPECT_TRUE(IntervalsOverlap(0.2, 0.3, 0.3, 0.5));
}

TEST(InvarianceIndices, HandComputedPatterns)
{
    MatrixScope scope;
    Matrix* g = NewMatrix(3, 2);
    Matrix* h = NewMatrix(3, 2);
    const double gv[3][2] = {{1, 0}, {0, 2}, {1, 1}};
    const double hv[3][2] = {{1, 1}, {0, 2}, {-1, 1}};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 2; ++j) {
            (*g)(i, j) = gv[i][j];
            (*h)(i, j) = hv[i][j];
        }
    }
    const InvarianceIndexSet indices = InvarianceIndices(g, h);
    EXPECT_NEAR(indices.itemCongruence[0], 1.0 / std::sqrt(2.0), 1e-15);
    EXPECT_NEAR(indices.itemCongruence[1], 1.0, 1e-15);
    EXPECT_NEAR(indices.itemCongruence[2], 0.0, 1e-15);
    EXPECT_NEAR(indices.factorCongruence[0], 0.0, 1e-15);
    EXPECT_NEAR(indices.factorCongruence[1], 5.0 / std::sqrt(30.0), 1e-15);
    EXPECT_NEAR(indices.overallCongruence, 5.0 / std::sqrt(56.0), 1e-15);
    EXPECT_EQ(indices.itemDiscrepancy, (std::vector<double>{1.0, 0.0, 4.0}));
    EXPECT_EQ(indices.factorDiscrepancy, (std::vector<double>{4.0, 1.0}));
    EXPECT_EQ(indices.overallDiscrepancy, 5.0);

    const std::vector<double> row = IndexRow(indices);
    ASSERT_EQ(row.size(), static_cast<std::size_t>(IndexRowLength(3, 2)));
    EXPECT_EQ(row[0], indices.overallCongruence);
    EXPECT_EQ(row[4], indices.factorCongruence[0]);
    EXPECT_EQ(row[6], 5.0);
    EXPECT_EQ(row[9], 4.0);
    EXPECT_EQ(row[11], 1.0);
}

} // namespace

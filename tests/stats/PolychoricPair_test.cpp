#include "stats/PolychoricPair.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "PolychoricReference.h"
#include "matrix/MatrixOps.h"
#include "stats/ContingencyTable.h"
#include "stats/NormalDistribution.h"

using namespace talver;

namespace {

class PolychoricPairTest : public ::testing::Test {
protected:
    void SetUp() override { OpenScope(); }
    void TearDown() override { CloseScope(); }
};

// Ascending thresholds with the two sentinels, for `categories` categories.
std::vector<double> RandomThresholds(std::mt19937& random, int categories)
{
    std::normal_distribution<double> normal(0.0, 1.2);
    std::vector<double> inner(categories - 1);
    for (double& t : inner) {
        t = normal(random);
    }
    std::sort(inner.begin(), inner.end());
    std::vector<double> thresholds{kLowerSentinel};
    thresholds.insert(thresholds.end(), inner.begin(), inner.end());
    thresholds.push_back(kUpperSentinel);
    return thresholds;
}

// Counts of n latent bivariate normal pairs with correlation rho, cut into
// rows x cols categories (rows descending like every table here); redrawn
// until no row or column is empty.
Matrix* RandomTable(std::mt19937& random, int rows, int cols)
{
    std::uniform_real_distribution<double> uniform(-0.95, 0.95);
    std::uniform_int_distribution<int> size(30, 400);
    std::normal_distribution<double> normal;
    for (;;) {
        const double rho = uniform(random);
        const std::vector<double> a = RandomThresholds(random, cols);
        const std::vector<double> b = RandomThresholds(random, rows);
        Matrix* table = NewMatrix(rows, cols);
        const int n = size(random);
        for (int m = 0; m < n; ++m) {
            const double x = normal(random);
            const double y = rho * x + std::sqrt(1.0 - rho * rho) * normal(random);
            const int c = static_cast<int>(std::upper_bound(a.begin() + 1, a.end() - 1, x) - a.begin()) - 1;
            const int s = static_cast<int>(std::upper_bound(b.begin() + 1, b.end() - 1, y) - b.begin()) - 1;
            (*table)(rows - 1 - s, c) += 1.0;
        }
        if (MinElement(ColumnSums(table)) > 0.0 && MinElement(RowSums(table)) > 0.0) {
            return table;
        }
    }
}

TEST_F(PolychoricPairTest, ModelTablesAreBitIdenticalToFourCornerEvaluation)
{
    std::mt19937 random(20240611);
    std::uniform_real_distribution<double> uniform(-0.999, 0.999);
    for (int trial = 0; trial < 300; ++trial) {
        const int cols = 1 + trial % 6;
        const int rows = 1 + (trial / 6) % 6;
        const std::vector<double> a = RandomThresholds(random, cols);
        const std::vector<double> b = RandomThresholds(random, rows);
        const double rho = trial % 10 == 0 ? 0.0 : uniform(random);

        MatrixScope scope;
        Matrix* pi = NewMatrix(rows, cols);
        Matrix* d = NewMatrix(rows, cols);
        ReferenceModelTables(a, b, rho, pi, d);
        PolychoricModel model(a, b);
        model.Evaluate(rho);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < cols; ++c) {
                ASSERT_EQ(model.Probability(r, c), (*pi)(r, c)) << "trial " << trial << " cell " << r << "," << c;
                ASSERT_EQ(model.Derivative(r, c), (*d)(r, c)) << "trial " << trial << " cell " << r << "," << c;
            }
        }
    }
}

TEST_F(PolychoricPairTest, EstimatesAreBitIdenticalToTheStraightforwardEvaluation)
{
    std::mt19937 random(7);
    for (int trial = 0; trial < 150; ++trial) {
        MatrixScope scope;
        const Matrix* table = RandomTable(random, 2 + trial % 5, 2 + (trial / 5) % 5);
        const std::vector<double> a = ColumnThresholds(table);
        const std::vector<double> b = RowThresholds(table);
        const double cached = PolychoricPairCorrelation(table, a, b, 0.001);
        ASSERT_EQ(cached, ReferencePairCorrelation(table, a, b, 0.001)) << "trial " << trial;
        ASSERT_EQ(PolychoricPairCorrelation(table, a, b, 1e-9), ReferencePairCorrelation(table, a, b, 1e-9))
            << "trial " << trial;
    }
}

TEST_F(PolychoricPairTest, TablesHaveTheLayoutOfTheContingencyTable)
{
    // At rho = 0 a cell is the product of its marginal probabilities, up to
    // the 0.00001 that the sentinel -100 stands for.
    std::mt19937 random(3);
    const std::vector<double> a = RandomThresholds(random, 4);
    const std::vector<double> b = RandomThresholds(random, 3);
    PolychoricModel model(a, b);
    model.Evaluate(0.0);
    for (int r = 0; r < 3; ++r) {
        const double rowProbability = NormalCdf(b[3 - r]) - NormalCdf(b[2 - r]);
        for (int c = 0; c < 4; ++c) {
            const double columnProbability = NormalCdf(a[c + 1]) - NormalCdf(a[c]);
            EXPECT_NEAR(model.Probability(r, c), rowProbability * columnProbability, 2e-5) << r << "," << c;
        }
    }
}

TEST_F(PolychoricPairTest, ScoreWithinToleranceAtZeroGivesExactlyZero)
{
    // Counts in the proportions of independence.
    const double rowCounts[] = {12, 30, 18};
    const double columnCounts[] = {5, 9, 14, 7};
    Matrix* table = NewMatrix(3, 4);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) {
            (*table)(r, c) = rowCounts[r] * columnCounts[c];
        }
    }
    const std::vector<double> a = ColumnThresholds(table);
    const std::vector<double> b = RowThresholds(table);
    PolychoricModel model(a, b);
    ASSERT_LE(std::fabs(model.Score(DividedBy(table, CellTotal(table)), 0.0)), 0.001);
    EXPECT_EQ(PolychoricPairCorrelation(table, a, b, 0.001), 0.0);
}

TEST_F(PolychoricPairTest, NegativeModelCellsDoNotLeadToASpuriousRoot)
{
    // Near 0.93 the integration makes the two sparse corner cells negative
    // and the score positive again; a second root would follow near 0.97.
    Matrix* table = NewMatrix(3, 3);
    const double ascending[3][3] = {{40, 3, 2}, {5, 30, 4}, {1, 6, 25}};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            (*table)(2 - r, c) = ascending[r][c];
        }
    }
    const std::vector<double> a = ColumnThresholds(table);
    const std::vector<double> b = RowThresholds(table);
    const Matrix* proportions = DividedBy(table, CellTotal(table));
    PolychoricModel model(a, b);
    model.Score(proportions, 0.9375);
    ASSERT_FALSE(model.CoversObservedCells(proportions));

    const double r = PolychoricPairCorrelation(table, a, b, 0.001);
    EXPECT_NEAR(r, 0.879, 0.002);
    EXPECT_EQ(r, ReferencePairCorrelation(table, a, b, 0.001));
}

TEST_F(PolychoricPairTest, ToleranceOfOneOrMoreGivesZero)
{
    std::mt19937 random(11);
    const Matrix* table = RandomTable(random, 3, 3);
    EXPECT_EQ(PolychoricPairCorrelation(table, ColumnThresholds(table), RowThresholds(table), 1.0), 0.0);
}

TEST_F(PolychoricPairTest, IdenticalItemsRunTowardsTheUpperBound)
{
    // Item j = item i: the counts lie on the anti-diagonal of the table.
    Matrix* table = NewMatrix(4, 4);
    const double counts[] = {10, 25, 30, 15};
    for (int c = 0; c < 4; ++c) {
        (*table)(3 - c, c) = counts[c];
    }
    const std::vector<double> a = ColumnThresholds(table);
    const std::vector<double> b = RowThresholds(table);
    const double r = PolychoricPairCorrelation(table, a, b, 0.001);
    EXPECT_GT(r, 0.99);
    EXPECT_LE(r, 1.0);
    EXPECT_EQ(r, ReferencePairCorrelation(table, a, b, 0.001));

    // Reversed item j: towards the lower bound.
    Matrix* reversed = NewMatrix(4, 4);
    for (int c = 0; c < 4; ++c) {
        (*reversed)(c, c) = counts[c];
    }
    const double negative = PolychoricPairCorrelation(reversed, ColumnThresholds(reversed),
                                                      RowThresholds(reversed), 0.001);
    EXPECT_LT(negative, -0.99);
    EXPECT_GE(negative, -1.0);
}

} // namespace

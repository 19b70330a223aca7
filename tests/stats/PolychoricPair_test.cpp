#include "stats/PolychoricPair.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "PolychoricReference.h"
#include "matrix/MatrixOps.h"
#include "stats/ContingencyTable.h"

using namespace talver;

namespace {

class PolychoricPairTest : public ::testing::Test {
protected:
    void SetUp() override { OpenScope(); }
    void TearDown() override { CloseScope(); }
};

// Ascending thresholds between the two infinities, for `categories` categories.
std::vector<double> RandomThresholds(std::mt19937& random, int categories)
{
    std::normal_distribution<double> normal(0.0, 1.2);
    std::vector<double> inner(categories - 1);
    for (double& t : inner) {
        t = normal(random);
    }
    std::sort(inner.begin(), inner.end());
    std::vector<double> thresholds{-INFINITY};
    thresholds.insert(thresholds.end(), inner.begin(), inner.end());
    thresholds.push_back(INFINITY);
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
    std::uniform_real_distribution<double> uniform(-0.9999, 0.9999);
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

TEST_F(PolychoricPairTest, DerivativeTablesAreTheSlopesOfTheProbabilities)
{
    // Central differences of the probability and derivative tables, against
    // the tables of the first and second derivatives: a sign or a corner of
    // the assembly gone wrong shows at once.
    std::mt19937 random(5);
    std::uniform_real_distribution<double> uniform(-0.97, 0.97);
    for (int trial = 0; trial < 60; ++trial) {
        const int cols = 2 + trial % 5;
        const int rows = 2 + (trial / 5) % 5;
        const std::vector<double> a = RandomThresholds(random, cols);
        const std::vector<double> b = RandomThresholds(random, rows);
        const double rho = uniform(random);
        const double h = 1e-5;
        PolychoricModel below(a, b);
        PolychoricModel above(a, b);
        PolychoricModel at(a, b);
        below.Evaluate(rho - h);
        above.Evaluate(rho + h);
        at.Evaluate(rho);
        for (int r = 0; r < rows; ++r) {
            for (int c = 0; c < cols; ++c) {
                const double first = (above.Probability(r, c) - below.Probability(r, c)) / (2.0 * h);
                const double second = (above.Derivative(r, c) - below.Derivative(r, c)) / (2.0 * h);
                EXPECT_NEAR(at.Derivative(r, c), first, 1e-6 * (1.0 + std::fabs(first))) << trial;
                EXPECT_NEAR(at.SecondDerivative(r, c), second, 1e-4 * (1.0 + std::fabs(second))) << trial;
            }
        }
    }
}

TEST_F(PolychoricPairTest, EstimateMaximisesTheLikelihood)
{
    // Against golden-section search on the log-likelihood itself, over
    // tables of 2 to 6 categories with correlations up to 0.95.
    std::mt19937 random(7);
    for (int trial = 0; trial < 100; ++trial) {
        MatrixScope scope;
        const Matrix* table = RandomTable(random, 2 + trial % 5, 2 + (trial / 5) % 5);
        const std::vector<double> a = ColumnThresholds(table);
        const std::vector<double> b = RowThresholds(table);
        const double r = PolychoricPairCorrelation(table, a, b);
        if (std::fabs(r) == kLargestPolychoricCorrelation) {
            // Only a table with zeros in the off-diagonal corners rises to the bound.
            EXPECT_GE(ReferenceLogLikelihood(table, a, b, r),
                      ReferenceLogLikelihood(table, a, b, r > 0 ? 0.999 : -0.999)) << "trial " << trial;
            continue;
        }
        EXPECT_NEAR(r, ReferencePairCorrelation(table, a, b), 1e-7) << "trial " << trial;
    }
}

TEST_F(PolychoricPairTest, IndependenceGivesZeroAndTheMarginalProducts)
{
    // Counts in the proportions of independence: at rho = 0 every model cell
    // is the product of its margins, and that is the estimate.
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
    model.Evaluate(0.0);
    const double n = CellTotal(table);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(model.Probability(r, c), (*table)(r, c) / n, 1e-15) << r << "," << c;
        }
    }
    EXPECT_NEAR(PolychoricPairCorrelation(table, a, b), 0.0, 1e-12);
}

TEST_F(PolychoricPairTest, TwoByTwoTables)
{
    const auto estimate = [](double a, double b, double c, double d) {
        // a = both low, b = item i low / item j high, c = item i high / item j low, d = both high.
        MatrixScope scope;
        Matrix* table = NewMatrix(2, 2);
        (*table)(0, 0) = b;
        (*table)(0, 1) = d;
        (*table)(1, 0) = a;
        (*table)(1, 1) = c;
        return PolychoricPairCorrelation(table, ColumnThresholds(table), RowThresholds(table));
    };
    // Both margins split at the median: P(both low) = 1/4 + asin(rho) / (2 pi).
    EXPECT_NEAR(estimate(40, 10, 10, 40), -std::cos(2.0 * std::numbers::pi * 0.4), 1e-10);
    EXPECT_NEAR(estimate(10, 40, 40, 10), std::cos(2.0 * std::numbers::pi * 0.4), 1e-10);
    EXPECT_NEAR(estimate(20, 10, 20, 10), 0.0, 1e-12);
    // Interchanging the items keeps the value; interchanging the categories
    // of one item turns its sign.
    EXPECT_NEAR(estimate(30, 20, 15, 35), estimate(30, 15, 20, 35), 1e-10);
    EXPECT_NEAR(estimate(55, 14, 9, 22), -estimate(14, 55, 22, 9), 1e-10);
    // Empty off-diagonal or diagonal cells: the likelihood rises to the bound.
    EXPECT_EQ(estimate(9, 0, 0, 14), kLargestPolychoricCorrelation);
    EXPECT_EQ(estimate(0, 12, 7, 0), -kLargestPolychoricCorrelation);
    EXPECT_EQ(estimate(25, 0, 8, 30), kLargestPolychoricCorrelation);
}

TEST_F(PolychoricPairTest, IdenticalItemsReachTheLargestCorrelation)
{
    // Item j = item i: the counts lie on the anti-diagonal of the table.
    Matrix* table = NewMatrix(4, 4);
    const double counts[] = {10, 25, 30, 15};
    for (int c = 0; c < 4; ++c) {
        (*table)(3 - c, c) = counts[c];
    }
    EXPECT_EQ(PolychoricPairCorrelation(table, ColumnThresholds(table), RowThresholds(table)),
              kLargestPolychoricCorrelation);

    // Reversed item j: the lower bound.
    Matrix* reversed = NewMatrix(4, 4);
    for (int c = 0; c < 4; ++c) {
        (*reversed)(c, c) = counts[c];
    }
    EXPECT_EQ(PolychoricPairCorrelation(reversed, ColumnThresholds(reversed), RowThresholds(reversed)),
              -kLargestPolychoricCorrelation);
}

} // namespace

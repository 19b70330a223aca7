#include "matrix_test_support.h"

#include <cmath>

using namespace talver;

namespace {

using ColumnStatistics = MatrixTest;

void ExpectNear(const Matrix* actual, int rows, int cols, const std::vector<double>& expected)
{
    ASSERT_EQ(actual->Rows(), rows);
    ASSERT_EQ(actual->Cols(), cols);
    const std::vector<double> values = Elements(actual);
    for (std::size_t k = 0; k < expected.size(); ++k) {
        EXPECT_NEAR(values[k], expected[k], 1e-13 * (1.0 + std::fabs(expected[k]))) << "element " << k;
    }
}

// Data and reference values of fixtures/column_statistics.R.
Matrix* ReferenceData()
{
    return FromRows({{2, 1.5, 7}, {4, 3.25, 1}, {3, 2, 4}, {5, 4.75, 2}, {1, 0.5, 9}});
}

TEST_F(ColumnStatistics, AgreeWithIndependentReference)
{
    const Matrix* x = ReferenceData();
    ExpectNear(ColumnMeans(x), 1, 3, {3, 2.3999999999999999, 4.5999999999999996});
    ExpectNear(ColumnStdDevs(x), 1, 3, {1.4142135623730951, 1.4713938969562159, 3.0066592756745814});
    ExpectNear(CovarianceMatrix(x), 3, 3,
               {2, 2.0499999999999998, -4, 2.0499999999999998, 2.165, -3.8899999999999997, -4,
                -3.8899999999999997, 9.0400000000000009});
    ExpectNear(CorrelationMatrix(x), 3, 3,
               {1, 0.98516712923103611, -0.94072086838359725, 0.98516712923103611, 1,
                -0.87929870945081279, -0.94072086838359725, -0.87929870945081279, 1});
}

TEST_F(ColumnStatistics, StdDevUsesDivisorN)
{
    ExpectMatrix(ColumnStdDevs(FromRows({{1}, {2}, {3}, {4}})), 1, 1, {std::sqrt(1.25)});
}

TEST_F(ColumnStatistics, StdDevIsTheOnePassFormula)
{
    // Beside a large offset, s2 / n - mean^2 loses the variance 1.25 to
    // cancellation and gives 2; a two-pass computation would give 1.25.
    const Matrix* a = FromRows({{1e8 + 1}, {1e8 + 2}, {1e8 + 3}, {1e8 + 4}});
    ExpectMatrix(ColumnStdDevs(a), 1, 1, {std::sqrt(2.0)});
}

TEST_F(ColumnStatistics, CovarianceAndCorrelationOfProportionalColumns)
{
    const Matrix* a = FromRows({{1, 2}, {2, 4}, {3, 6}, {4, 8}});
    ExpectMatrix(CovarianceMatrix(a), 2, 2, {1.25, 2.5, 2.5, 5.0});
    ExpectNear(CorrelationMatrix(a), 2, 2, {1, 1, 1, 1});
}

TEST_F(ColumnStatistics, CenteredAndStandardized)
{
    const Matrix* a = FromRows({{1, 10}, {3, 10}, {5, 40}});
    ExpectMatrix(Centered(a), 3, 2, {-2, -10, 0, -10, 2, 20});
    const double sd0 = std::sqrt(35.0 / 3.0 - 3.0 * 3.0);
    const double sd1 = std::sqrt(1800.0 / 3.0 - 20.0 * 20.0);
    ExpectMatrix(Standardized(a), 3, 2, {-2 / sd0, -10 / sd1, 0 / sd0, -10 / sd1, 2 / sd0, 20 / sd1});
}

TEST_F(ColumnStatistics, ConstantColumnGivesZeroSdAndNonFiniteCorrelations)
{
    const Matrix* a = FromRows({{1, 5}, {2, 5}, {4, 5}});
    EXPECT_EQ((*ColumnStdDevs(a))(0, 1), 0.0);
    const Matrix* r = CorrelationMatrix(a);
    EXPECT_FALSE(std::isfinite((*r)(1, 1)));
    EXPECT_FALSE(std::isfinite((*r)(0, 1)));
    EXPECT_FALSE(std::isfinite((*r)(1, 0)));
    EXPECT_DOUBLE_EQ((*r)(0, 0), 1.0);
}

TEST_F(ColumnStatistics, MeansOfAMatrixWithoutRowsAreZero)
{
    ExpectMatrix(ColumnMeans(Zeros(0, 2)), 1, 2, {0, 0});
}

TEST_F(ColumnStatistics, EachLeavesOnlyItsResultInTheCallersScope)
{
    const Matrix* a = ReferenceData();
    const std::size_t before = LiveMatrixCount();
    ColumnMeans(a);
    ColumnStdDevs(a);
    Centered(a);
    Standardized(a);
    CovarianceMatrix(a);
    CorrelationMatrix(a);
    EXPECT_EQ(LiveMatrixCount(), before + 6);
}

} // namespace

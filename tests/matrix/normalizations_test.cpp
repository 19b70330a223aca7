#include "matrix_test_support.h"

#include <cmath>

using namespace talver;

namespace {

using Normalizations = MatrixTest;

// The factor 1/sqrt(s) is formed first and then multiplied in: 0.2 * 3 is
// 0.6000000000000001, where dividing by 5 would give 0.6.
constexpr double kFifth = 0.2;

TEST_F(Normalizations, NormalizedGivesUnitLengthOrStaysZero)
{
    ExpectMatrix(Normalized(FromRows({{3, 4}})), 1, 2, {kFifth * 3, kFifth * 4});
    ExpectMatrix(Normalized(FromRows({{0, 0}})), 1, 2, {0, 0});
}

TEST_F(Normalizations, NormalizedUsesTheFirstRowsLengthForAllRows)
{
    ExpectMatrix(Normalized(FromRows({{3, 4}, {5, 10}})), 2, 2, {kFifth * 3, kFifth * 4, 1, 2});
}

TEST_F(Normalizations, RowsNormalizedScalesEachRowOnItsOwn)
{
    ExpectMatrix(RowsNormalized(FromRows({{3, 4}, {0, 5}, {0, 0}})), 3, 2, {kFifth * 3, kFifth * 4, 0, 1, 0, 0});
    ExpectMatrix(RowsNormalized(Zeros(0, 2)), 0, 2, {});
}

TEST_F(Normalizations, RowsNormalizedMatchesTheRowByRowChain)
{
    // Values chosen so that the squared lengths are not exact.
    const Matrix* a = FromRows({{0.1, 0.7, -1.3}, {2.9, 1e-3, 0.33}, {-7, 11, 13}});
    const Matrix* chain = Normalized(SubMatrix(a, 1, 1, 1, 3));
    for (int i = 2; i <= 3; ++i) {
        chain = StackBelow(chain, Normalized(SubMatrix(a, i, 1, i, 3)));
    }
    EXPECT_EQ(Elements(RowsNormalized(a)), Elements(chain));
}

TEST_F(Normalizations, ScaledToRootMaxGivesLengthRootOfLargestElement)
{
    const Matrix* scaled = ScaledToRootMax(FromRows({{3, 4}}));
    ExpectMatrix(scaled, 1, 2, {3 * (2.0 / 5.0), 4 * (2.0 / 5.0)});
    EXPECT_DOUBLE_EQ(std::sqrt(SumOfSquares(scaled)), 2.0);
    ExpectMatrix(ScaledToRootMax(FromRows({{0, 0}})), 1, 2, {0, 0});
}

TEST_F(Normalizations, EachLeavesOnlyItsResultInTheCallersScope)
{
    const Matrix* a = FromRows({{3, 4}, {1, 2}});
    const std::size_t before = LiveMatrixCount();
    Normalized(a);
    RowsNormalized(a);
    ScaledToRootMax(a);
    EXPECT_EQ(LiveMatrixCount(), before + 3);
}

} // namespace

#include "matrix_test_support.h"

#include <cmath>

using namespace talver;

namespace {

using Reductions = MatrixTest;

// 2^53 + 1 rounds back to 2^53; see arithmetic_test.cpp.
constexpr double kBig = 9007199254740992.0;

TEST_F(Reductions, SumsAlongRowsAndColumns)
{
    const Matrix* a = FromRows({{1, 2, 3}, {4, -5, 6}});
    ExpectMatrix(ColumnSums(a), 1, 3, {5, -3, 9});
    ExpectMatrix(ColumnSumsOfSquares(a), 1, 3, {17, 29, 45});
    ExpectMatrix(RowSums(a), 2, 1, {6, 5});
    ExpectMatrix(RowSumsOfSquares(a), 2, 1, {14, 77});
    ExpectMatrix(ColumnSums(Zeros(0, 2)), 1, 2, {0, 0});
}

TEST_F(Reductions, SumsAccumulateInIndexOrder)
{
    ExpectMatrix(ColumnSums(FromRows({{kBig}, {1}, {-kBig}})), 1, 1, {0});
    ExpectMatrix(ColumnSums(FromRows({{-kBig}, {1}, {kBig}})), 1, 1, {1});
    ExpectMatrix(RowSums(FromRows({{kBig, 1, -kBig}})), 1, 1, {0});
    ExpectMatrix(RowSums(FromRows({{-kBig, 1, kBig}})), 1, 1, {1});
}

TEST_F(Reductions, SumOfSquaresAddsColumnTotals)
{
    // Squares: column 0 holds four 1s, column 1 holds 2^54. Column totals
    // first gives 2^54 + 4; adding element by element or row by row loses
    // every 1 against 2^54 (half an ulp is 2).
    const double big = 134217728.0; // 2^27
    const Matrix* a = FromRows({{1, big}, {1, 0}, {1, 0}, {1, 0}});
    EXPECT_EQ(SumOfSquares(a), 18014398509481988.0);
    EXPECT_EQ(SumOfSquares(Zeros(0, 3)), 0.0);
}

TEST_F(Reductions, MaxAndMinScanRowByRow)
{
    const Matrix* a = FromRows({{2, 7}, {-3, 5}});
    EXPECT_EQ(MaxElement(a), 7.0);
    EXPECT_EQ(MinElement(a), -3.0);
    EXPECT_EQ(MaxElement(FromRows({{-4}})), -4.0);
}

TEST_F(Reductions, MaxElementFollowsNotGreaterOrEqualWithNaN)
{
    const double nan = std::nan("");
    // A NaN element replaces the current value, and the next element replaces the NaN.
    EXPECT_EQ(MaxElement(FromRows({{1, nan, 0}})), 0.0);
    EXPECT_TRUE(std::isnan(MaxElement(FromRows({{1, nan}}))));
    EXPECT_EQ(MaxElement(FromRows({{nan, -2, -5}})), -2.0);
}

TEST_F(Reductions, MinElementNeverTakesNaNButKeepsALeadingOne)
{
    const double nan = std::nan("");
    EXPECT_EQ(MinElement(FromRows({{1, nan, 0}})), 0.0);
    EXPECT_EQ(MinElement(FromRows({{1, nan}})), 1.0);
    EXPECT_TRUE(std::isnan(MinElement(FromRows({{nan, -2, -5}}))));
}

} // namespace

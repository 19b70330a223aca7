#include "matrix_test_support.h"

using namespace talver;

namespace {

using Rearrange = MatrixTest;

TEST_F(Rearrange, IdentityAndFilled)
{
    ExpectMatrix(Identity(3), 3, 3, {1, 0, 0, 0, 1, 0, 0, 0, 1});
    ExpectMatrix(Filled(1, 3, -2.5), 1, 3, {-2.5, -2.5, -2.5});
}

TEST_F(Rearrange, TransposedSwapsIndices)
{
    ExpectMatrix(Transposed(FromRows({{1, 2, 3}, {4, 5, 6}})), 3, 2, {1, 4, 2, 5, 3, 6});
}

TEST_F(Rearrange, DiagGoesFromSquareToColumnAndBack)
{
    const Matrix* square = FromRows({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
    const Matrix* diagonal = Diag(square);
    ExpectMatrix(diagonal, 3, 1, {1, 5, 9});
    const std::vector<double> expanded = {1, 0, 0, 0, 5, 0, 0, 0, 9};
    ExpectMatrix(Diag(diagonal), 3, 3, expanded);
    ExpectMatrix(Diag(FromRows({{1, 5, 9}})), 3, 3, expanded);
}

TEST_F(Rearrange, VecStacksColumns)
{
    ExpectMatrix(Vec(FromRows({{1, 2}, {3, 4}})), 4, 1, {1, 3, 2, 4});
    ExpectMatrix(Vec(FromRows({{1, 2, 3}, {4, 5, 6}})), 6, 1, {1, 4, 2, 5, 3, 6});
}

TEST_F(Rearrange, SubMatrixIsOneBasedAndReordersCorners)
{
    const Matrix* a = FromRows({{1, 2}, {3, 4}, {5, 6}});
    ExpectMatrix(SubMatrix(a, 3, 2, 1, 1), 3, 2, {1, 2, 3, 4, 5, 6});
    ExpectMatrix(SubMatrix(a, 2, 2, 3, 2), 2, 1, {4, 6});
    ExpectMatrix(SubMatrix(a, 3, 1, 2, 2), 2, 2, {3, 4, 5, 6});
    ExpectMatrix(SubMatrix(a, 1, 1, 1, 1), 1, 1, {1});
}

TEST_F(Rearrange, BlocksAreZeroBasedBlocksOfWidthW)
{
    const Matrix* a = FromRows({{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}});
    ExpectMatrix(ColumnBlock(a, 2, 1), 2, 1, {3, 9});
    ExpectMatrix(ColumnBlock(a, 1, 3), 2, 3, {4, 5, 6, 10, 11, 12});
    ExpectMatrix(RowBlock(a, 1, 1), 1, 6, {7, 8, 9, 10, 11, 12});
}

TEST_F(Rearrange, WithColumnBlockOverwritesOnlyTheBlock)
{
    const Matrix* a = FromRows({{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}});
    const Matrix* b = FromRows({{-1, -2}, {-3, -4}});
    ExpectMatrix(WithColumnBlock(a, b, 1, 2), 3, 4, {1, 2, -1, -2, 5, 6, -3, -4, 9, 10, 11, 12});
    // The operand itself is untouched.
    EXPECT_EQ((*a)(0, 2), 3.0);
}

TEST_F(Rearrange, StackBelowAndJoinRight)
{
    const Matrix* a = FromRows({{1, 2}});
    const Matrix* b = FromRows({{3, 4}, {5, 6}});
    ExpectMatrix(StackBelow(a, b), 3, 2, {1, 2, 3, 4, 5, 6});
    ExpectMatrix(JoinRight(Transposed(a), Transposed(b)), 2, 3, {1, 3, 5, 2, 4, 6});
    ExpectMatrix(StackBelow(Zeros(0, 2), a), 1, 2, {1, 2});
}

} // namespace

#include "matrix_test_support.h"

using namespace talver;

namespace {

// The diagnostics as regular expressions: the whole of stderr, one line.
const char* const kProductDiagnostic = "^MATRICES DESIGUALES EN PRODUCTO DE MATRICES \\.\\* !!!\n$";
const char* const kJoinDiagnostic = "^MATRICES DESIGUALES EN LA CONSTRUCCION DE LA SUPERMATRIZ!!!\n$";
const char* const kEmptyDiagnostic = "^\n$";

using ::testing::ExitedWithCode;

TEST(MatrixFatalStopDeathTest, ProductWithUnequalInnerSizes)
{
    EXPECT_EXIT(Product(Zeros(2, 3), Zeros(2, 3)), ExitedWithCode(1), kProductDiagnostic);
}

TEST(MatrixFatalStopDeathTest, ElementWiseOperationsWithUnequalShapes)
{
    EXPECT_EXIT(ElementProduct(Zeros(2, 3), Zeros(3, 2)), ExitedWithCode(1), kProductDiagnostic);
    EXPECT_EXIT(ElementQuotient(Zeros(2, 3), Zeros(2, 2)), ExitedWithCode(1), kProductDiagnostic);
    EXPECT_EXIT(Plus(Zeros(2, 3), Zeros(3, 3)), ExitedWithCode(1), kProductDiagnostic);
    EXPECT_EXIT(Minus(Zeros(1, 3), Zeros(1, 2)), ExitedWithCode(1), kProductDiagnostic);
}

TEST(MatrixFatalStopDeathTest, ConcatenationsWithUnequalSides)
{
    EXPECT_EXIT(StackBelow(Zeros(2, 3), Zeros(2, 2)), ExitedWithCode(1), kJoinDiagnostic);
    EXPECT_EXIT(JoinRight(Zeros(2, 3), Zeros(3, 3)), ExitedWithCode(1), kJoinDiagnostic);
}

TEST(MatrixFatalStopDeathTest, BlockThatDoesNotFit)
{
    EXPECT_EXIT(WithColumnBlock(Zeros(3, 4), Zeros(3, 2), 2, 2), ExitedWithCode(1), kJoinDiagnostic);
    EXPECT_EXIT(WithColumnBlock(Zeros(3, 4), Zeros(4, 1), 0, 1), ExitedWithCode(1), kJoinDiagnostic);
    EXPECT_EXIT(WithColumnBlock(Zeros(3, 4), Zeros(3, 1), -1, 1), ExitedWithCode(1), kJoinDiagnostic);
}

TEST(MatrixFatalStopDeathTest, IndexOutsideTheMatrix)
{
    EXPECT_EXIT(SubMatrix(Zeros(3, 2), 0, 1, 1, 1), ExitedWithCode(1), kEmptyDiagnostic);
    EXPECT_EXIT(SubMatrix(Zeros(3, 2), 1, 1, 4, 1), ExitedWithCode(1), kEmptyDiagnostic);
    EXPECT_EXIT(SubMatrix(Zeros(3, 2), 1, 3, 1, 1), ExitedWithCode(1), kEmptyDiagnostic);
    EXPECT_EXIT(ColumnBlock(Zeros(3, 6), 2, 3), ExitedWithCode(1), kEmptyDiagnostic);
    EXPECT_EXIT(RowBlock(Zeros(3, 6), 1, 2), ExitedWithCode(1), kEmptyDiagnostic);
}

TEST(MatrixFatalStopDeathTest, ElementsReadFromAnEmptyMatrix)
{
    EXPECT_EXIT(MaxElement(Zeros(0, 3)), ExitedWithCode(1), kEmptyDiagnostic);
    EXPECT_EXIT(MinElement(Zeros(2, 0)), ExitedWithCode(1), kEmptyDiagnostic);
    EXPECT_EXIT(Diag(Zeros(3, 0)), ExitedWithCode(1), kEmptyDiagnostic);
    EXPECT_EXIT(Diag(Zeros(0, 3)), ExitedWithCode(1), kEmptyDiagnostic);
}

} // namespace

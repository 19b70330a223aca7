#include "matrix_test_support.h"

using namespace talver;

namespace {

const std::string kProductDiagnostic = kProductShapeError;
const std::string kJoinDiagnostic = kJoinShapeError;
const std::string kEmptyDiagnostic = kSubMatrixIndexError;

// The operation throws the engine's error with the diagnostic, on this
// thread, and the matrices of the scopes it left are released.
template <class Operation>
void ExpectEngineError(Operation operation, const std::string& diagnostic)
{
    const std::size_t live = LiveMatrixCount();
    try {
        MatrixScope scope;
        operation();
        ADD_FAILURE() << "no error for " << diagnostic;
    } catch (const MatrixEngineError& error) {
        EXPECT_EQ(std::string(error.what()), "internal error of the matrix engine: " + diagnostic);
    }
    EXPECT_EQ(LiveMatrixCount(), live);
}

TEST(MatrixEngineError, ProductWithUnequalInnerSizes)
{
    ExpectEngineError([] { Product(Zeros(2, 3), Zeros(2, 3)); }, kProductDiagnostic);
}

TEST(MatrixEngineError, ElementWiseOperationsWithUnequalShapes)
{
    ExpectEngineError([] { ElementProduct(Zeros(2, 3), Zeros(3, 2)); }, kProductDiagnostic);
    ExpectEngineError([] { ElementQuotient(Zeros(2, 3), Zeros(2, 2)); }, kProductDiagnostic);
    ExpectEngineError([] { Plus(Zeros(2, 3), Zeros(3, 3)); }, kProductDiagnostic);
    ExpectEngineError([] { Minus(Zeros(1, 3), Zeros(1, 2)); }, kProductDiagnostic);
}

TEST(MatrixEngineError, ConcatenationsWithUnequalSides)
{
    ExpectEngineError([] { StackBelow(Zeros(2, 3), Zeros(2, 2)); }, kJoinDiagnostic);
    ExpectEngineError([] { JoinRight(Zeros(2, 3), Zeros(3, 3)); }, kJoinDiagnostic);
}

TEST(MatrixEngineError, BlockThatDoesNotFit)
{
    ExpectEngineError([] { WithColumnBlock(Zeros(3, 4), Zeros(3, 2), 2, 2); }, kJoinDiagnostic);
    ExpectEngineError([] { WithColumnBlock(Zeros(3, 4), Zeros(4, 1), 0, 1); }, kJoinDiagnostic);
    ExpectEngineError([] { WithColumnBlock(Zeros(3, 4), Zeros(3, 1), -1, 1); }, kJoinDiagnostic);
}

TEST(MatrixEngineError, IndexOutsideTheMatrix)
{
    ExpectEngineError([] { SubMatrix(Zeros(3, 2), 0, 1, 1, 1); }, kEmptyDiagnostic);
    ExpectEngineError([] { SubMatrix(Zeros(3, 2), 1, 1, 4, 1); }, kEmptyDiagnostic);
    ExpectEngineError([] { SubMatrix(Zeros(3, 2), 1, 3, 1, 1); }, kEmptyDiagnostic);
    ExpectEngineError([] { ColumnBlock(Zeros(3, 6), 2, 3); }, kEmptyDiagnostic);
    ExpectEngineError([] { RowBlock(Zeros(3, 6), 1, 2); }, kEmptyDiagnostic);
}

TEST(MatrixEngineError, ElementsReadFromAnEmptyMatrix)
{
    ExpectEngineError([] { MaxElement(Zeros(0, 3)); }, kEmptyDiagnostic);
    ExpectEngineError([] { MinElement(Zeros(2, 0)); }, kEmptyDiagnostic);
    ExpectEngineError([] { Diag(Zeros(3, 0)); }, kEmptyDiagnostic);
    ExpectEngineError([] { Diag(Zeros(0, 3)); }, kEmptyDiagnostic);
}

} // namespace

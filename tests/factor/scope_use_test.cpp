// The decompositions run inside bootstrap loops: each must leave nothing in
// the pool but the result it returns.

#include "factor/Inverse.h"
#include "factor/JacobiEigen.h"
#include "factor/PowerEigen.h"
#include "factor/SingularValueDecomposition.h"
#include "tests/factor/factor_test_support.h"

using namespace talver;

namespace {

class ScopeUseTest : public MatrixTest {
protected:
    const Matrix* a_ = nullptr;
    void SetUp() override
    {
        MatrixTest::SetUp();
        a_ = FromRows({{4.0, 1.0, 0.5}, {1.0, 3.0, -1.0}, {0.5, -1.0, 2.0}});
    }
};

TEST_F(ScopeUseTest, MatrixResultsAreTheOnlyNewMatrices)
{
    const std::size_t before = LiveMatrixCount();
    Inverse(a_);
    EXPECT_EQ(LiveMatrixCount(), before + 1);
    GeneralizedInverse(a_);
    EXPECT_EQ(LiveMatrixCount(), before + 2);
    Determinant(a_);
    LargestSingularValue(a_);
    EXPECT_EQ(LiveMatrixCount(), before + 2);
}

TEST_F(ScopeUseTest, FillingRoutinesLeaveNothingBehind)
{
    Matrix* values = NewMatrix(3, 1);
    Matrix* vectors = NewMatrix(3, 3);
    Matrix* u = NewMatrix(3, 3);
    Matrix* start = Filled(1, 3, 0.5);
    Matrix* w = CopyOf(a_);
    const std::size_t before = LiveMatrixCount();
    JacobiEigen(w, values, vectors);
    SymmetricEigen(a_, values, vectors, 3);
    SingularValueDecomposition(a_, u, values, vectors);
    PowerIteration(start, a_);
    PowerEigen(a_, values, vectors, 3);
    EXPECT_EQ(LiveMatrixCount(), before);
}

} // namespace

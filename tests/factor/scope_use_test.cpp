// The decompositions run inside bootstrap loops: each must leave nothing in
// the pool but the result it returns.

#include "factor/Inverse.h"
#include "factor/SymmetricEigen.h"
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
    const std::size_t before = LiveMatrixCount();
    SymmetricEigen(a_, values, vectors, 3);
    SingularValueDecomposition(a_, u, values, vectors);
    EXPECT_EQ(LiveMatrixCount(), before);
}

} // namespace

#include <cmath>

#include "factor/PowerEigen.h"
#include "tests/factor/factor_test_support.h"

using namespace talver;

namespace {

class PowerEigenTest : public MatrixTest {};

TEST_F(PowerEigenTest, IterationKeepsTheLastUnnormalisedIterate)
{
    // (1, 1) -> (2, 1) -> (2, 1/2) -> ... -> (2, 2^-99), all exact.
    Matrix* q = FromRows({{1.0, 1.0}});
    PowerIteration(q, FromRows({{2.0, 0.0}, {0.0, 1.0}}));
    ExpectMatrix(q, 1, 2, {2.0, std::ldexp(1.0, -99)});
}

TEST_F(PowerEigenTest, IterationFromANonPositiveMaximumGivesZeros)
{
    const Matrix* a = FromRows({{2.0, 1.0}, {1.0, 3.0}});
    Matrix* zeroStart = FromRows({{0.0, -1.0}});
    PowerIteration(zeroStart, a);
    ExpectMatrix(zeroStart, 1, 2, {0.0, 0.0});
    Matrix* negativeStart = FromRows({{-1.0, -2.0}});
    PowerIteration(negativeStart, a);
    ExpectMatrix(negativeStart, 1, 2, {0.0, 0.0});
}

TEST_F(PowerEigenTest, DeflationFindsEveryPairOfAPositiveDefiniteMatrix)
{
    // A = Q diag(9, 3, 1) Q with the reflection Q = I - 2 w w^T / w^T w,
    // w = (1, 2, 2); the eigenvectors are the columns of Q.
    const Matrix* q = Times(FromRows({{7.0, -4.0, -4.0}, {-4.0, 1.0, -8.0}, {-4.0, -8.0, 1.0}}), 1.0 / 9.0);
    const Matrix* a = Product(Product(q, Diag(FromRows({{9.0}, {3.0}, {1.0}}))), q);
    Matrix* values = NewMatrix(3, 1);
    Matrix* vectors = NewMatrix(3, 3);
    PowerEigen(a, values, vectors, 3);

    ExpectNearMatrix(values, FromRows({{9.0}, {3.0}, {1.0}}), 1e-12);
    for (int j = 0; j < 3; ++j) {
        ExpectColumnUpToSign(vectors, q, j, 1e-12);
    }
    ExpectNearMatrix(a, Product(Product(q, Diag(FromRows({{9.0}, {3.0}, {1.0}}))), q), 0.0);
}

TEST_F(PowerEigenTest, FewerPairsThanTheSize)
{
    const Matrix* a = FromRows({{4.0, 0.0, 0.0}, {0.0, 2.0, 0.0}, {0.0, 0.0, 1.0}});
    Matrix* values = NewMatrix(1, 1);
    Matrix* vectors = NewMatrix(3, 1);
    PowerEigen(a, values, vectors, 1);
    // Start (0.5, 0.5, 0.5): the last iterate is (4, 4 * 2^-99, 4 * 4^-99).
    ExpectMatrix(values, 1, 1, {4.0});
    EXPECT_NEAR((*vectors)(0, 0), 1.0, 1e-15);
    EXPECT_NEAR((*vectors)(1, 0), 0.0, 1e-15);
}

} // namespace

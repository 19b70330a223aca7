#include <cmath>
#include <limits>

#include "factor/JacobiEigen.h"
#include "tests/factor/factor_test_support.h"

using namespace talver;

namespace {

class JacobiEigenTest : public MatrixTest {};

TEST_F(JacobiEigenTest, OneByOneIsItsOwnEigenvalue)
{
    Matrix* a = FromRows({{7.5}});
    Matrix* values = NewMatrix(1, 1);
    Matrix* vectors = NewMatrix(1, 1);
    EXPECT_EQ(JacobiEigen(a, values, vectors), 0);
    ExpectMatrix(values, 1, 1, {7.5});
    ExpectMatrix(vectors, 1, 1, {1.0});
    ExpectMatrix(a, 1, 1, {7.5});
}

TEST_F(JacobiEigenTest, DiagonalMatrixTakesOneRotationWithoutChange)
{
    Matrix* a = FromRows({{3.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 2.0}});
    Matrix* values = NewMatrix(3, 1);
    Matrix* vectors = Filled(3, 3, 9.0);
    EXPECT_EQ(JacobiEigen(a, values, vectors), 1);
    ExpectMatrix(values, 3, 1, {3.0, 1.0, 2.0});
    ExpectMatrix(vectors, 3, 3, {1.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 1.0});
    ExpectMatrix(a, 3, 3, {3.0, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 2.0});
}

TEST_F(JacobiEigenTest, AllZeroMatrixStopsAfterOneRotation)
{
    Matrix* a = Zeros(4, 4);
    Matrix* values = Filled(4, 1, 9.0);
    Matrix* vectors = NewMatrix(4, 4);
    EXPECT_EQ(JacobiEigen(a, values, vectors), 1);
    ExpectMatrix(values, 4, 1, {0.0, 0.0, 0.0, 0.0});
    ExpectNearMatrix(vectors, Identity(4), 0.0);
}

TEST_F(JacobiEigenTest, EqualDiagonalUsesTheLargeSlope)
{
    // W[0][0] - W[1][1] is exactly 0, so g = W[1][0] * 1e7 = 1e-7; the tiny
    // element meets the test after this one rotation.
    Matrix* a = FromRows({{1.0, 1e-14}, {1e-14, 1.0}});
    Matrix* values = NewMatrix(2, 1);
    Matrix* vectors = NewMatrix(2, 2);
    EXPECT_EQ(JacobiEigen(a, values, vectors), 1);
    const double g = 1e-14 * 10000000.0;
    const double c = 1.0 / std::sqrt(1.0 + g * g);
    const double s = g * c;
    // The chosen pair is b = 1, d = 0: J[1][0] = s, J[0][1] = -s.
    ExpectMatrix(vectors, 2, 2, {c, -s, s, c});
}

TEST_F(JacobiEigenTest, EqualDiagonalStillConverges)
{
    Matrix* a = FromRows({{1.0, 0.5}, {0.5, 1.0}});
    Matrix* values = NewMatrix(2, 1);
    Matrix* vectors = NewMatrix(2, 2);
    EXPECT_LT(JacobiEigen(a, values, vectors), 201);
    EXPECT_NEAR(std::fmax((*values)(0, 0), (*values)(1, 0)), 1.5, 1e-12);
    EXPECT_NEAR(std::fmin((*values)(0, 0), (*values)(1, 0)), 0.5, 1e-12);
}

TEST_F(JacobiEigenTest, TiesInTheSearchGoToTheFirstElementFromRowOneColumnZero)
{
    // All off-diagonal elements are equal in magnitude; (1, 0) is rotated, so
    // the plane (2, 1) stays untouched.
    Matrix* a = FromRows({{1.0, 1e-8, 0.0}, {1e-8, 2.0, -1e-8}, {0.0, -1e-8, 3.0}});
    Matrix* values = NewMatrix(3, 1);
    Matrix* vectors = NewMatrix(3, 3);
    EXPECT_EQ(JacobiEigen(a, values, vectors), 1);
    EXPECT_NE((*vectors)(1, 0), 0.0);
    EXPECT_EQ((*vectors)(1, 2), 0.0);
    EXPECT_EQ((*vectors)(2, 1), 0.0);
}

TEST_F(JacobiEigenTest, LeavesTheRotatedMatrixInItsInput)
{
    const Matrix* original = FromRows({{4.0, 1.0, 0.5, 0.2, 0.1},
                                       {1.0, 3.0, 0.3, -0.4, 0.0},
                                       {0.5, 0.3, 2.5, 0.6, 0.2},
                                       {0.2, -0.4, 0.6, 2.0, 0.7},
                                       {0.1, 0.0, 0.2, 0.7, 1.5}});
    Matrix* w = CopyOf(original);
    Matrix* values = NewMatrix(5, 1);
    Matrix* vectors = NewMatrix(5, 5);
    JacobiEigen(w, values, vectors);

    // The rotations are orthogonal and take the original to the returned one.
    ExpectNearMatrix(Product(Transposed(vectors), vectors), Identity(5), 1e-14);
    ExpectNearMatrix(Product(Product(Transposed(vectors), original), vectors), w, 1e-14);
    ExpectNearMatrix(Diag(w), values, 0.0);
    EXPECT_LT(LargestOffDiagonalMagnitude(w), 1e-6 * std::sqrt(SumOfSquares(values) / 5.0));
}

TEST_F(JacobiEigenTest, NonFiniteOrVanishingInputEndsWithinTheLimit)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    Matrix* values = NewMatrix(3, 1);
    Matrix* vectors = NewMatrix(3, 3);
    EXPECT_EQ(JacobiEigen(FromRows({{1.0, nan, 0.0}, {nan, 1.0, 0.0}, {0.0, 0.0, 1.0}}), values, vectors), 1);
    EXPECT_TRUE(std::isnan((*values)(0, 0)));
    EXPECT_EQ(JacobiEigen(FromRows({{nan, 0.2, 0.0}, {0.2, 1.0, 0.1}, {0.0, 0.1, 1.0}}), values, vectors), 1);
    EXPECT_LE(JacobiEigen(FromRows({{1.0, 0.0, nan}, {0.0, 1.0, 0.3}, {nan, 0.3, 1.0}}), values, vectors), 201);
    EXPECT_EQ(JacobiEigen(FromRows({{1.0, inf, 0.0}, {inf, 1.0, 0.0}, {0.0, 0.0, 1.0}}), values, vectors), 1);
    // Squares of a diagonal this small underflow, so the test never holds.
    EXPECT_EQ(JacobiEigen(FromRows({{1e-200, 1e-201, 0.0}, {1e-201, 2e-200, 0.0}, {0.0, 0.0, 1e-200}}), values,
                          vectors),
              JacobiRotationLimit(3));

    Matrix* large = Filled(30, 30, nan);
    Matrix* largeValues = NewMatrix(30, 1);
    Matrix* largeVectors = NewMatrix(30, 30);
    EXPECT_LE(JacobiEigen(large, largeValues, largeVectors), JacobiRotationLimit(30));
}

TEST_F(JacobiEigenTest, RotationLimitGrowsWithTheSquareOfTheSize)
{
    EXPECT_EQ(JacobiRotationLimit(2), 201);
    EXPECT_EQ(JacobiRotationLimit(3), 450);
    EXPECT_EQ(JacobiRotationLimit(30), 45000);
}

TEST_F(JacobiEigenTest, SortMovesTheLaterOfEqualValuesForward)
{
    Matrix* values = FromRows({{1.0}, {3.0}, {3.0}});
    Matrix* vectors = FromRows({{10.0, 11.0, 12.0}, {20.0, 21.0, 22.0}});
    SortEigenDescending(values, vectors, 3);
    ExpectMatrix(values, 3, 1, {3.0, 3.0, 1.0});
    ExpectMatrix(vectors, 2, 3, {12.0, 11.0, 10.0, 22.0, 21.0, 20.0});

    Matrix* pair = FromRows({{2.0}, {2.0}});
    Matrix* pairVectors = FromRows({{1.0, 0.0}, {0.0, 1.0}});
    SortEigenDescending(pair, pairVectors, 2);
    ExpectMatrix(pairVectors, 2, 2, {0.0, 1.0, 1.0, 0.0});
}

TEST_F(JacobiEigenTest, SymmetricEigenFillsTheLeadingPairsOnly)
{
    const Matrix* a = FromRows({{1.0, 0.0, 0.0}, {0.0, 3.0, 0.0}, {0.0, 0.0, 2.0}});
    Matrix* values = Filled(3, 1, -7.0);
    Matrix* vectors = Filled(3, 3, -7.0);
    SymmetricEigen(a, values, vectors, 2);
    ExpectMatrix(values, 3, 1, {3.0, 2.0, -7.0});
    ExpectMatrix(vectors, 3, 3, {0.0, 0.0, -7.0, 1.0, 0.0, -7.0, 0.0, 1.0, -7.0});
    ExpectMatrix(a, 3, 3, {1.0, 0.0, 0.0, 0.0, 3.0, 0.0, 0.0, 0.0, 2.0});
}

} // namespace

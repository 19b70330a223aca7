#include <cmath>

#include "factor/SymmetricEigen.h"
#include "factor/SingularValueDecomposition.h"
#include "tests/factor/factor_test_support.h"

using namespace talver;

namespace {

class SingularValuesTest : public MatrixTest {};

TEST_F(SingularValuesTest, ReconstructsTheMatrix)
{
    const Matrix* a = FromRows({{2.0, -1.0, 0.5},
                                {0.3, 1.5, 2.0},
                                {1.0, 0.0, -1.0},
                                {-0.7, 2.2, 0.4},
                                {1.1, 0.9, 0.6}});
    Matrix* u = NewMatrix(5, 3);
    Matrix* sigma = NewMatrix(3, 1);
    Matrix* v = NewMatrix(3, 3);
    SingularValueDecomposition(a, u, sigma, v);

    EXPECT_GE((*sigma)(0, 0), (*sigma)(1, 0));
    EXPECT_GE((*sigma)(1, 0), (*sigma)(2, 0));
    EXPECT_GT((*sigma)(2, 0), 0.0);
    ExpectNearMatrix(Product(Product(u, Diag(sigma)), Transposed(v)), a, 1e-13);
    ExpectNearMatrix(Product(Transposed(v), v), Identity(3), 1e-14);
    ExpectNearMatrix(Product(Transposed(u), u), Identity(3), 1e-6);
    EXPECT_EQ((*a)(0, 1), -1.0);
}

TEST_F(SingularValuesTest, SortedValuesAndVectorsOfAScaledPermutation)
{
    Matrix* u = NewMatrix(3, 2);
    Matrix* sigma = NewMatrix(2, 1);
    Matrix* v = NewMatrix(2, 2);
    SingularValueDecomposition(FromRows({{3.0, 0.0}, {0.0, 4.0}, {0.0, 0.0}}), u, sigma, v);
    ExpectMatrix(sigma, 2, 1, {4.0, 3.0});
    ExpectMatrix(v, 2, 2, {0.0, 1.0, 1.0, 0.0});
    ExpectMatrix(u, 3, 2, {0.0, 1.0, 1.0, 0.0, 0.0, 0.0});
}

TEST_F(SingularValuesTest, SymmetricPositiveDefiniteGivesItsEigenvalues)
{
    const Matrix* a = FromRows({{4.0, 1.0, 0.5}, {1.0, 3.0, -1.0}, {0.5, -1.0, 2.0}});
    Matrix* u = NewMatrix(3, 3);
    Matrix* sigma = NewMatrix(3, 1);
    Matrix* v = NewMatrix(3, 3);
    SingularValueDecomposition(a, u, sigma, v);
    Matrix* values = NewMatrix(3, 1);
    Matrix* vectors = NewMatrix(3, 3);
    SymmetricEigen(a, values, vectors, 3);
    ExpectNearMatrix(sigma, values, 1e-12);
    ExpectNearMatrix(u, v, 1e-6);
}

TEST_F(SingularValuesTest, ZeroSingularValueLeavesItsColumnOfUNonFinite)
{
    Matrix* u = NewMatrix(2, 2);
    Matrix* sigma = NewMatrix(2, 1);
    Matrix* v = NewMatrix(2, 2);
    SingularValueDecomposition(FromRows({{1.0, 0.0}, {0.0, 0.0}}), u, sigma, v);
    ExpectMatrix(sigma, 2, 1, {1.0, 0.0});
    EXPECT_FALSE(std::isfinite((*u)(0, 1)));
    EXPECT_FALSE(std::isfinite((*u)(1, 1)));
}

TEST_F(SingularValuesTest, LargestSingularValue)
{
    EXPECT_EQ(LargestSingularValue(FromRows({{3.0}, {4.0}})), 5.0);
    EXPECT_EQ(LargestSingularValue(FromRows({{3.0, 0.0}, {0.0, 4.0}, {0.0, 0.0}})), 4.0);
    EXPECT_NEAR(LargestSingularValue(FromRows({{1.0, 1.0}, {1.0, 1.0}})), 2.0, 1e-12);
}

} // namespace

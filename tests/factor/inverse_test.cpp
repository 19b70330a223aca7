#include <cmath>

#include "factor/Inverse.h"
#include "tests/factor/factor_test_support.h"

using namespace talver;

namespace {

class InverseTest : public MatrixTest {};

TEST_F(InverseTest, InverseTimesMatrixIsIdentity)
{
    // A zero leading element forces a row interchange.
    const Matrix* a = FromRows({{0.0, 2.0, 1.0, -1.0},
                                {3.0, 1.0, 0.5, 2.0},
                                {1.0, -1.0, 4.0, 0.0},
                                {2.0, 0.0, 1.0, 5.0}});
    const Matrix* inverse = Inverse(a);
    ExpectNearMatrix(Product(inverse, a), Identity(4), 1e-14);
    ExpectNearMatrix(Product(a, inverse), Identity(4), 1e-14);
    EXPECT_EQ((*a)(0, 0), 0.0);
    EXPECT_EQ((*a)(3, 3), 5.0);
}

TEST_F(InverseTest, InverseOfDiagonalIsExact)
{
    ExpectMatrix(Inverse(FromRows({{2.0, 0.0}, {0.0, 4.0}})), 2, 2, {0.5, 0.0, 0.0, 0.25});
}

TEST_F(InverseTest, SingularMatrixGivesNonFiniteElements)
{
    const Matrix* inverse = Inverse(FromRows({{1.0, 2.0}, {2.0, 4.0}}));
    EXPECT_FALSE(std::isfinite((*inverse)(1, 1)));
}

TEST_F(InverseTest, DeterminantCarriesTheSignOfRowInterchanges)
{
    // One interchange and a negative second pivot: the result is positive.
    EXPECT_NEAR(Determinant(FromRows({{0.5, 0.6}, {0.6, 2.0}})), 0.64, 1e-15);
    EXPECT_GT(Determinant(FromRows({{0.5, 0.6}, {0.6, 2.0}})), 0.0);
    EXPECT_EQ(Determinant(FromRows({{0.0, 1.0}, {1.0, 0.0}})), -1.0);
    EXPECT_NEAR(Determinant(FromRows({{4.0, 3.0, 0.0}, {3.0, 4.0, 1.0}, {0.0, 1.0, 4.0}})), 24.0, 1e-13);
    EXPECT_EQ(Determinant(FromRows({{1.0, 2.0}, {2.0, 4.0}})), 0.0);
}

TEST_F(InverseTest, GeneralizedInverseOfNonSingularSymmetricIsTheInverse)
{
    const Matrix* a = FromRows({{4.0, 1.0, 0.5}, {1.0, 3.0, -1.0}, {0.5, -1.0, 2.0}});
    ExpectNearMatrix(GeneralizedInverse(a), Inverse(a), 1e-15);
}

TEST_F(InverseTest, GeneralizedInverseRefusesAsymmetricAndNonSquare)
{
    ExpectMatrix(GeneralizedInverse(FromRows({{1.0, 2e-9}, {0.0, 1.0}})), 2, 2, {0.0, 0.0, 0.0, 0.0});
    ExpectMatrix(GeneralizedInverse(FromRows({{1.0, 2.0, 3.0}, {4.0, 5.0, 6.0}})), 2, 3,
                 {0.0, 0.0, 0.0, 0.0, 0.0, 0.0});
    // An asymmetry of exactly 1e-9 is tolerated.
    const Matrix* swept = GeneralizedInverse(FromRows({{1.0, 1e-9}, {0.0, 1.0}}));
    EXPECT_EQ((*swept)(0, 0), 1.0);
    EXPECT_EQ((*swept)(0, 1), -1e-9);
    EXPECT_EQ((*swept)(1, 1), 1.0);
}

TEST_F(InverseTest, GeneralizedInverseDropsZeroPivot)
{
    const Matrix* swept = GeneralizedInverse(FromRows({{2.0, 0.0, 1.0}, {0.0, 0.0, 0.0}, {1.0, 0.0, 2.0}}));
    ExpectNearMatrix(swept,
                     FromRows({{2.0 / 3.0, 0.0, -1.0 / 3.0}, {0.0, 0.0, 0.0}, {-1.0 / 3.0, 0.0, 2.0 / 3.0}}),
                     1e-15);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ((*swept)(1, k), 0.0);
        EXPECT_EQ((*swept)(k, 1), 0.0);
    }
}

} // namespace

// The Matrix face of the eigen solver: the descending sort and the leading pairs.
#include <limits>

#include "factor/SymmetricEigen.h"
#include "tests/factor/factor_test_support.h"

using namespace talver;

namespace {

class SymmetricEigenTest : public MatrixTest {};

TEST_F(SymmetricEigenTest, SortMovesTheLaterOfEqualValuesForward)
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

TEST_F(SymmetricEigenTest, SymmetricEigenFillsTheLeadingPairsOnly)
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

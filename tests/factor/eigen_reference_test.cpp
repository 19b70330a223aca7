// Eigenpairs of 20- and 30-item correlation matrices against reference values
// from R's eigen() (fixtures/make_eigen_fixtures.R).

#include <cmath>
#include <fstream>
#include <string>

#include "factor/SymmetricEigen.h"
#include "tests/factor/factor_test_support.h"

using namespace talver;

namespace {

struct EigenFixture {
    Matrix* matrix;
    Matrix* values;
    Matrix* vectors;
};

void ReadElements(std::ifstream& in, Matrix* m)
{
    for (int i = 0; i < m->Rows(); ++i) {
        for (int j = 0; j < m->Cols(); ++j) {
            in >> (*m)(i, j);
        }
    }
}

EigenFixture ReadFixture(const std::string& name)
{
    std::ifstream in(std::string(TALVER_SOURCE_DIR) + "/tests/factor/fixtures/" + name);
    int n = 0;
    in >> n;
    EigenFixture fixture{NewMatrix(n, n), NewMatrix(n, 1), NewMatrix(n, n)};
    ReadElements(in, fixture.matrix);
    ReadElements(in, fixture.values);
    ReadElements(in, fixture.vectors);
    EXPECT_TRUE(in) << "fixture " << name << " is incomplete";
    return fixture;
}

class EigenReferenceTest : public MatrixTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(EigenReferenceTest, AgreesWithTheReference)
{
    const EigenFixture reference = ReadFixture(GetParam());
    const int n = reference.matrix->Rows();
    ASSERT_GE(n, 20);
    Matrix* values = NewMatrix(n, 1);
    Matrix* vectors = NewMatrix(n, n);
    SymmetricEigen(reference.matrix, values, vectors, n);

    ExpectNearMatrix(values, reference.values, 1e-12);
    // Eigenvectors to working precision divided by the gap to the
    // neighbouring eigenvalue (here a few 1e-5 at the smallest).
    for (int j = 0; j < n; ++j) {
        ExpectColumnUpToSign(vectors, reference.vectors, j, 1e-9);
    }
    // Still an exactly orthonormal basis that diagonalises the matrix.
    ExpectNearMatrix(Product(Transposed(vectors), vectors), Identity(n), 1e-13);
    const Matrix* rotated = Product(Product(Transposed(vectors), reference.matrix), vectors);
    ExpectNearMatrix(Diag(rotated), values, 1e-13);
    EXPECT_LT(LargestOffDiagonalMagnitude(rotated), 1e-13);
}

INSTANTIATE_TEST_SUITE_P(CorrelationMatrices, EigenReferenceTest, ::testing::Values("eigen_20.txt", "eigen_30.txt"));

} // namespace

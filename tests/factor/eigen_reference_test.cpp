// Eigenpairs of 20- and 30-item correlation matrices against reference values
// from R's eigen() (fixtures/make_eigen_fixtures.R) and from the same Jacobi
// method written in R (fixtures/jacobi_as_written.R).

#include <cmath>
#include <fstream>
#include <string>

#include "factor/JacobiEigen.h"
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

    ExpectNearMatrix(values, reference.values, 1e-9);
    // The stop test leaves off-diagonal elements of up to 1e-6 times the
    // diagonal's size, so eigenvectors are only as accurate as that divided by
    // the gap to the neighbouring eigenvalue (here a few 1e-5); eigenvalues err
    // by its square.
    for (int j = 0; j < n; ++j) {
        ExpectColumnUpToSign(vectors, reference.vectors, j, 1e-4);
    }
    // Still an exactly orthonormal basis that diagonalises the matrix.
    ExpectNearMatrix(Product(Transposed(vectors), vectors), Identity(n), 1e-13);
    const Matrix* rotated = Product(Product(Transposed(vectors), reference.matrix), vectors);
    ExpectNearMatrix(Diag(rotated), values, 1e-13);
    EXPECT_LT(LargestOffDiagonalMagnitude(rotated), 2e-6);
}

INSTANTIATE_TEST_SUITE_P(CorrelationMatrices, EigenReferenceTest, ::testing::Values("eigen_20.txt", "eigen_30.txt"));

// The same method written independently in R (fixtures/jacobi_as_written.R)
// must agree to rounding error, eigenvectors included.
TEST_P(EigenReferenceTest, AgreesWithTheMethodWrittenIndependently)
{
    const EigenFixture reference = ReadFixture(GetParam());
    const int n = reference.matrix->Rows();
    std::ifstream in(std::string(TALVER_SOURCE_DIR) + "/tests/factor/fixtures/" +
                     std::string(GetParam()).replace(0, 5, "jacobi"));
    int size = 0;
    in >> size;
    ASSERT_EQ(size, n);
    Matrix* expectedValues = NewMatrix(n, 1);
    Matrix* expectedVectors = NewMatrix(n, n);
    ReadElements(in, expectedValues);
    ReadElements(in, expectedVectors);
    ASSERT_TRUE(in);
    Matrix* values = NewMatrix(n, 1);
    Matrix* vectors = NewMatrix(n, n);
    SymmetricEigen(reference.matrix, values, vectors, n);
    ExpectNearMatrix(values, expectedValues, 1e-9);
    ExpectNearMatrix(vectors, expectedVectors, 1e-9);
}

class JacobiRotationCountTest : public MatrixTest {};

TEST_F(JacobiRotationCountTest, ThirtyItemsNeedMoreThan201RotationsAndConverge)
{
    const EigenFixture reference = ReadFixture("eigen_30.txt");
    Matrix* w = CopyOf(reference.matrix);
    Matrix* values = NewMatrix(30, 1);
    Matrix* vectors = NewMatrix(30, 30);
    const long long rotations = JacobiEigen(w, values, vectors);

    EXPECT_GT(rotations, 201);
    EXPECT_LT(rotations, JacobiRotationLimit(30));
    const double bound = 1e-6 * std::sqrt(SumOfSquares(Diag(w)) / 30.0);
    EXPECT_LT(LargestOffDiagonalMagnitude(w), bound);
}

} // namespace

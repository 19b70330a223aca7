#include "factor/MlLoadings.h"

#include "factor/SymmetricEigen.h"
#include "matrix/MatrixOps.h"

namespace talver {

namespace {

// Stands in for an eigenvalue below 1, which would give no real loading: its
// loading column comes out scaled by sqrt(0.01) = 0.1.
constexpr double kSmallEigenvalue = 1.01;

} // namespace

Matrix* MlLoadings(const Matrix* sInverse, const Matrix* psi, Matrix* gamma, Matrix* omega)
{
    const int p = sInverse->Rows();
    const int m = omega->Cols();
    Matrix* result = NewMatrix(p, m);
    MatrixScope scope;
    Matrix* d = Diag(Sqrt(psi));
    Matrix* values = NewMatrix(p, 1);
    Matrix* vectors = NewMatrix(p, p);
    SymmetricEigen(Product(Product(d, sInverse), d), values, vectors, p);
    for (int k = 0; k < m; ++k) {
        const int smallest = p - 1 - k;
        const double reciprocal = 1.0 / (*values)(smallest, 0);
        (*gamma)(k, 0) = reciprocal < 1.0 ? kSmallEigenvalue : reciprocal;
        for (int i = 0; i < p; ++i) {
            (*omega)(i, k) = (*vectors)(i, smallest);
        }
    }
    const Matrix* lambda = Product(Product(d, omega), Diag(Sqrt(MinusScalar(gamma, 1.0))));
    for (int i = 0; i < p; ++i) {
        for (int k = 0; k < m; ++k) {
            (*result)(i, k) = (*lambda)(i, k);
        }
    }
    return result;
}

} // namespace talver

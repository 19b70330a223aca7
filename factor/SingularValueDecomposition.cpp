#include "factor/SingularValueDecomposition.h"

#include <cmath>

#include "factor/SymmetricEigen.h"
#include "factor/ShapeChecks.h"
#include "matrix/MatrixOps.h"

namespace talver {

void SingularValueDecomposition(const Matrix* a, Matrix* u, Matrix* singularValues, Matrix* v)
{
    const int r = a->Rows();
    const int c = a->Cols();
    RequireShape(u, r, c);
    RequireShape(singularValues, c, 1);
    RequireShape(v, c, c);

    MatrixScope scope;
    Matrix* lambda = NewMatrix(c, 1);
    SymmetricEigen(Product(Transposed(a), a), lambda, v, c);
    for (int k = 0; k < c; ++k) {
        const double value = (*lambda)(k, 0);
        (*singularValues)(k, 0) = value > 0.0 ? std::sqrt(value) : 0.0;
    }

    // U = A V diag(1 / sigma): each column of A V scaled by its reciprocal.
    const Matrix* av = Product(a, v);
    for (int k = 0; k < c; ++k) {
        const double reciprocal = 1.0 / (*singularValues)(k, 0);
        for (int i = 0; i < r; ++i) {
            (*u)(i, k) = (*av)(i, k) * reciprocal;
        }
    }
}

double LargestSingularValue(const Matrix* a)
{
    if (a->Cols() == 0) {
        return 0.0;
    }
    MatrixScope scope;
    Matrix* singularValues = NewMatrix(a->Cols(), 1);
    SingularValueDecomposition(a, NewMatrix(a->Rows(), a->Cols()), singularValues, NewMatrix(a->Cols(), a->Cols()));
    return (*singularValues)(0, 0);
}

} // namespace talver

#include "factor/Procrustes.h"

#include "factor/SingularValueDecomposition.h"
#include "matrix/MatrixOps.h"

namespace talver {

Matrix* ProcrustesRotation(const Matrix* c, const Matrix* l)
{
    const int m = c->Cols();
    Matrix* result = NewMatrix(m, m);
    MatrixScope scope;
    Matrix* u = NewMatrix(m, m);
    Matrix* s = NewMatrix(m, 1);
    Matrix* v = NewMatrix(m, m);
    SingularValueDecomposition(Product(Transposed(c), l), u, s, v);
    const Matrix* t = Product(u, Transposed(v));
    for (int i = 0; i < m; ++i) {
        for (int j = 0; j < m; ++j) {
            (*result)(i, j) = (*t)(i, j);
        }
    }
    return result;
}

} // namespace talver

#include "factor/PowerEigen.h"

#include "factor/ShapeChecks.h"
#include "matrix/MatrixInPlace.h"
#include "matrix/MatrixOps.h"

namespace talver {

void PowerIteration(Matrix* start, const Matrix* a)
{
    RequireSquare(a);
    RequireShape(start, 1, a->Rows());
    // The caller's vector holds the iterate; each step's temporaries go with
    // its own scope.
    for (int step = 0; step < 100; ++step) {
        MatrixScope scope;
        CopyValues(Product(DividedBy(start, MaxElement(start)), a), start);
    }
}

void PowerEigen(const Matrix* a, Matrix* eigenvalues, Matrix* eigenvectors, int k)
{
    RequireSquare(a);
    const int n = a->Rows();
    RequireShape(eigenvalues, k, 1);
    RequireShape(eigenvectors, n, k);

    MatrixScope scope;
    Matrix* w = NewMatrix(n, n);
    CopyValues(a, w);
    Matrix* q = NewMatrix(1, n);
    for (int i = 0; i < k; ++i) {
        MatrixScope pairScope;
        CopyValues(Filled(1, n, 0.5), q);
        PowerIteration(q, w);
        (*eigenvalues)(i, 0) = MaxElement(q);
        const Matrix* unit = Normalized(q);
        for (int r = 0; r < n; ++r) {
            (*eigenvectors)(r, i) = (*unit)(0, r);
        }
        // Deflation: w - lambda u^T u, with a = q scaled to length sqrt(lambda).
        const Matrix* root = ScaledToRootMax(q);
        CopyValues(Minus(w, Product(Transposed(root), root)), w);
    }
}

} // namespace talver

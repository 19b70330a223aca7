#include "factor/PrincipalComponents.h"

#include <algorithm>

#include "factor/Inverse.h"
#include "factor/SingularValueDecomposition.h"
#include "matrix/MatrixOps.h"

namespace talver {

namespace {

// Copies the overlap of source and destination.
void CopyOver(const Matrix* source, Matrix* destination)
{
    const int rows = std::min(source->Rows(), destination->Rows());
    const int cols = std::min(source->Cols(), destination->Cols());
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < cols; ++j) {
            (*destination)(i, j) = (*source)(i, j);
        }
    }
}

} // namespace

void ExtractPrincipalComponents(const Matrix* s, int m, Matrix* weights, Matrix* loadings,
                                double& explained)
{
    MatrixScope scope;
    const int p = s->Rows();
    Matrix* u = NewMatrix(p, p);
    Matrix* sigma = NewMatrix(p, 1);
    Matrix* v = NewMatrix(p, p);
    SingularValueDecomposition(s, u, sigma, v);

    Matrix* leading = NewMatrix(m, m);
    for (int k = 0; k < m; ++k) {
        (*leading)(k, k) = (*sigma)(k, 0);
    }
    Matrix* w = Product(ColumnBlock(v, 0, m), Sqrt(Inverse(leading)));

    // The products run left to right, as the formulas read; W'S serves
    // both the normalising matrix T and the explained variance.
    Matrix* wt = Transposed(w);
    Matrix* wtS = Product(wt, s);
    Matrix* t = Inverse(Product(wtS, w));
    Matrix* loadingsT = Product(Product(t, wt), s);
    explained = Trace(Product(Product(Product(wtS, s), w), t));

    CopyOver(Transposed(loadingsT), loadings);
    CopyOver(w, weights);
}

} // namespace talver

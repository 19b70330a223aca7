#include "factor/PrincipalComponents.h"

#include "factor/Inverse.h"
#include "factor/SingularValueDecomposition.h"
#include "matrix/MatrixInPlace.h"
#include "matrix/MatrixOps.h"

namespace talver {

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

    CopyValues(Transposed(loadingsT), loadings);
    CopyValues(w, weights);
}

} // namespace talver

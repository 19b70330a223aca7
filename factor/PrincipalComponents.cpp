#include "factor/PrincipalComponents.h"

#include "factor/Inverse.h"
#include "factor/SymmetricEigen.h"
#include "factor/SymmetricEigenSolver.h"
#include "matrix/MatrixInPlace.h"
#include "matrix/MatrixOps.h"

#include <utility>
#include <vector>

namespace talver {

void ExtractPrincipalComponents(const Matrix* s, int m, Matrix* weights, Matrix* loadings,
                                double& explained)
{
    MatrixScope scope;
    const int p = s->Rows();
    // Only the m leading eigenpairs of s enter; a dispersion matrix is
    // symmetric, so they are its leading singular values and vectors.
    std::vector<double> elements = s->Elements();
    const SymmetricEigenpairs pairs = SolveLeadingSymmetricEigen(std::move(elements), p, m);
    Matrix* leading = NewMatrix(m, m);
    Matrix* vectors = NewMatrix(p, m);
    bool tied = false;
    for (int k = 0; k < m && k + 1 < p; ++k) {
        tied = tied || pairs.values[k] == pairs.values[k + 1];
    }
    if (tied) {
        // Equal leading eigenvalues take their order from SymmetricEigen's
        // rule (the later one first), which needs the whole decomposition.
        Matrix* values = NewMatrix(m, 1);
        SymmetricEigen(s, values, vectors, m);
        for (int k = 0; k < m; ++k) {
            (*leading)(k, k) = (*values)(k, 0);
        }
    } else {
        for (int k = 0; k < m; ++k) {
            (*leading)(k, k) = pairs.values[k];
            for (int i = 0; i < p; ++i) {
                (*vectors)(i, k) = pairs.vectors[static_cast<std::size_t>(i) * m + k];
            }
        }
    }
    Matrix* w = Product(vectors, Sqrt(Inverse(leading)));

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

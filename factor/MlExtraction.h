#pragma once
// Maximum-likelihood factor extraction by Newton-Raphson iterations on the
// logarithms of the unique variances, with exact eigen decompositions.

#include "matrix/Matrix.h"

namespace talver {

// The ML loadings of m factors of the symmetric, positive definite p x p
// matrix s, found on its correlation form and scaled back: scores in other
// units give loadings in those units and the same discrepancy. Every unique
// variance stays at or above 0.001 of its item's variance. On convergence
// fills the caller's p x m loadings and sets f to the minimised discrepancy
// (see MlDiscrepancy). When s is not positive definite (a singular s among
// them), or the iterations do not converge within their limit or end in
// non-finite values, loadings is set to nullptr (the matrix it pointed to
// stays with the pool) and f to 0.
void ExtractMaximumLikelihood(const Matrix* s, Matrix*& loadings, int m, double& f);

} // namespace talver

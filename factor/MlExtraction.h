#pragma once
// Maximum-likelihood factor extraction by Newton-Raphson iterations on the
// logarithms of the unique variances.

#include "matrix/Matrix.h"

namespace talver {

// The ML loadings of m factors of the symmetric, positive definite p x p
// matrix s. On convergence fills the caller's p x m loadings and sets f to
// the minimised discrepancy (see MlDiscrepancy). When the iterations do not
// converge within their limit, or end in non-finite values (a singular s),
// loadings is set to nullptr (the matrix it pointed to stays with the pool)
// and f to 0.
void ExtractMaximumLikelihood(const Matrix* s, Matrix*& loadings, int m, double& f);

} // namespace talver

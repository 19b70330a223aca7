#pragma once
// The loadings of the maximum-likelihood iterations for given unique
// variances.

#include "matrix/Matrix.h"

namespace talver {

// For s (p x p) and unique variances psi (p x 1): the m largest eigenvalues
// gamma of Psi^-1/2 S Psi^-1/2 go to gamma (m x 1) with every value below 1
// replaced by 1.01, their eigenvectors to omega (p x m). Returns the new
// p x m loadings Psi^1/2 omega diag(sqrt(gamma - 1)).
Matrix* MlLoadings(const Matrix* s, const Matrix* psi, Matrix* gamma, Matrix* omega);

} // namespace talver

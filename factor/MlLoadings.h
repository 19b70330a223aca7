#pragma once
// The loadings of the maximum-likelihood iterations for given unique
// variances.

#include "matrix/Matrix.h"

namespace talver {

// For S^-1 (sInverse, p x p) and unique variances psi (p x 1): the m largest
// eigenvalues gamma of Psi^-1/2 S Psi^-1/2, obtained as the reciprocals of the
// m smallest eigenvalues of U = Psi^1/2 S^-1 Psi^1/2 (found last by the power
// method), go to gamma (m x 1) with every value below 1 replaced by 1.01;
// their eigenvectors of U go to omega (p x m). Returns the new p x m loadings
// Psi^1/2 omega diag(sqrt(gamma - 1)).
Matrix* MlLoadings(const Matrix* sInverse, const Matrix* psi, Matrix* gamma, Matrix* omega);

} // namespace talver

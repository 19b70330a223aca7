#pragma once
// The maximum-likelihood discrepancy between a dispersion matrix and the one
// a factor model reproduces.

#include "matrix/Matrix.h"

namespace talver {

// F = tr(P) - ln det(P) - p with P = s Sigma^-1 and Sigma = lambda lambda' +
// diag(psi); lambda p x m, psi p x 1, s p x p, symmetric positive definite.
// Zero for a perfect fit; NaN where s or Sigma is not positive definite.
double MlDiscrepancy(const Matrix* lambda, const Matrix* psi, const Matrix* s);

// The same F for the given ln det(s) (see CholeskyFactor.h),
// in O(p^2 m): for the iterations, which keep s and change lambda and psi.
double MlDiscrepancy(const Matrix* lambda, const Matrix* psi, const Matrix* s, double logDeterminantOfS);

} // namespace talver

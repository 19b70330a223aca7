#pragma once
// The maximum-likelihood discrepancy between a dispersion matrix and the one
// a factor model reproduces.

#include "matrix/Matrix.h"

namespace talver {

// F = tr(P) - ln det(P) - p with P = s Sigma^-1 and Sigma = lambda lambda' +
// diag(psi); lambda p x m, psi p x 1, s p x p. Zero for a perfect fit.
double MlDiscrepancy(const Matrix* lambda, const Matrix* psi, const Matrix* s);

} // namespace talver

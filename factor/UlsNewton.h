#pragma once
// The finish of the ULS extraction: Newton steps on the unique variances,
// which reach the least-squares minimum where the row-wise sweeps crawl.

#include "matrix/Matrix.h"

namespace talver {

// Replaces the p x m loadings lambda (finite, close to the minimum) by the
// loadings that minimise the sum of squared residuals of s - diag(psi) -
// lambda lambda' over unique variances psi >= 0, the loadings being the
// leading eigenvectors of s - diag(psi) scaled by the roots of their
// eigenvalues (principal axes, each column with a non-negative sum). With
// every psi above 0 this is the minimum of the off-diagonal residuals; a
// unique variance that would fall below 0 stays at 0, and the row of its item
// is scaled so that its residual variance is 0. The steps stop when no
// unique variance moves by more than 1e-8 times the largest variance of s,
// when the residuals cannot be lowered any further in double precision, or
// after 100 steps. lambda is left as it was if s has no positive variance or
// the finish gives values that are not finite.
void FinishUlsByNewton(const Matrix* s, Matrix* lambda);

} // namespace talver

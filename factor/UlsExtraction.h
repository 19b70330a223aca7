#pragma once
// Unweighted least squares factor extraction by row-wise minimum residual
// sweeps, started from the principal components.

#include "matrix/Matrix.h"

namespace talver {

// Fills the caller's p x m loadings with the ULS loadings of the symmetric
// p x p matrix s: loadings that minimise the sum of squared off-diagonal
// residuals. Sweeps run while one lowers that sum by more than tolerance.
// When n (the sample size) is positive, stat receives the fit statistic
// (n - 1)(ln det H - ln det s), H the reproduced matrix with a unit
// diagonal, or 0 when that is negative; otherwise stat is left as it was.
void ExtractUls(const Matrix* s, int m, float tolerance, int n, Matrix* loadings, double& stat);

} // namespace talver

#pragma once
// Unweighted least squares factor extraction: minimum residual sweeps
// started from the principal components, finished by Newton steps on the
// unique variances. Nothing depends on the order of the items.

#include "matrix/Matrix.h"

namespace talver {

// Fills the caller's p x m loadings with the ULS loadings of the symmetric
// p x p matrix s: loadings that minimise the sum of squared off-diagonal
// residuals, with every unique variance at or above 0. The sweeps that give
// the start run while one lowers that sum by more than tolerance (at most
// 200 of them; each regresses every row on the rows of the sweep before, and
// a sweep that raises the sum is taken back); the finish then reaches the
// minimum (see UlsNewton.h). Where more than one minimum is possible (a
// unique variance at 0, or at most p degrees of freedom), the finish also
// starts from the principal axes (unique variances 1 / (S^-1)_ii) and keeps
// the lower minimum, the first of two equal ones.
// Loadings that are not finite after the sweeps are returned as they are.
// When n (the sample size) is positive, stat receives the fit statistic
// (n - 1)(ln det H - ln det s), H the reproduced matrix with a unit
// diagonal, or 0 when that is negative; otherwise stat is left as it was.
void ExtractUls(const Matrix* s, int m, float tolerance, int n, Matrix* loadings, double& stat);

} // namespace talver

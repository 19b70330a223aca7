#pragma once
// The finish of the ULS extraction: Newton steps on the unique variances,
// which reach the least-squares minimum where the row-wise sweeps crawl.

#include <vector>

#include "matrix/Matrix.h"

namespace talver {

// A minimum of the sum of squared residuals of s - diag(psi) - lambda
// lambda' over unique variances psi >= 0, the loadings being the leading
// eigenvectors of s - diag(psi) scaled by the roots of their eigenvalues
// (principal axes, each column with a non-negative sum). With every psi
// above 0 this is the minimum of the off-diagonal residuals; a unique
// variance that would fall below 0 stays at 0, and the row of its item is
// scaled so that its residual variance is 0.
struct UlsMinimum {
    double f;                     // half the sum of the squared residual eigenvalues
    std::vector<double> psi;      // p
    std::vector<double> loadings; // p x m row-major
};

// Newton steps from the unique variances psi (p, each at or above 0) to the
// nearest minimum. The steps stop when no unique variance moves by more
// than 1e-8 times the largest variance of s, when the residuals cannot be
// lowered any further in double precision, or after 100 steps. f is
// infinite, and nothing else filled, when s has no positive variance or the
// fit is not finite.
UlsMinimum MinimizeOverUniqueVariances(const Matrix* s, int m, const std::vector<double>& psi);

} // namespace talver

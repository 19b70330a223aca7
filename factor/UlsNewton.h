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
// nearest minimum, with a Hessian from the leading eigenpairs kept while its
// steps shrink fast and the exact one where that fails, or with exactSteps
// the exact Hessian of every step: where f has more than one minimum, the
// minimum reached depends on the path, and the exact steps keep the one of
// Newton's method. The steps stop when
// no unique variance would move by more than 1e-10 times the largest
// variance of s, when neither f nor (for steps below 1e-6 of it) the
// gradient can be lowered any further in double precision, or after 100
// steps. f is
// infinite, and nothing else filled, when s has no positive variance or the
// fit is not finite.
UlsMinimum MinimizeOverUniqueVariances(const Matrix* s, int m, const std::vector<double>& psi, bool exactSteps);

} // namespace talver

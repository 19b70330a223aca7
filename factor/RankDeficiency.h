#pragma once
// Whether a covariance matrix is singular to working precision, so that its
// inverse holds no information even when the arithmetic gives numbers.

#include "matrix/Matrix.h"

namespace talver {

// Pivots of the correlation form at or below this count as zero: an item
// explained by the others up to 1 - R^2 = 1e-10.
inline constexpr double kRelativePivotTolerance = 1e-10;

// True when the symmetric matrix s (p x p) has a variance at or below zero
// or a value that is not finite, or when the Cholesky factorization of its
// correlation form D^-1/2 s D^-1/2, with diagonal pivoting, meets a pivot at
// or below kRelativePivotTolerance (Higham, Accuracy and Stability of
// Numerical Algorithms, 2nd ed., 2002, section 10.3).
bool IsRankDeficient(const Matrix* s);

} // namespace talver

#pragma once
// Powers of symmetric positive definite matrices to full double precision.

#include "matrix/Matrix.h"

namespace talver {

// V diag(e^power) V' from the eigen decomposition s = V diag(e) V' by
// SolveSymmetricEigen, s symmetric n x n. For the root
// (power 0.5) an eigenvalue below 0 counts as 0; for a negative power an
// eigenvalue at or below n units of rounding of the largest (0 to working precision) makes the
// result non-finite, as the inverse of a
// singular matrix is. A new matrix in the caller's scope.
Matrix* SymmetricPower(const Matrix* s, double power);

} // namespace talver

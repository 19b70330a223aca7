#pragma once
// Inverse, determinant and generalised inverse of square matrices.

#include "matrix/Matrix.h"

namespace talver {

// Gauss-Jordan elimination with partial pivoting. No singularity test: a zero
// pivot gives non-finite elements.
Matrix* Inverse(const Matrix* a);

// The product of the pivots of the same elimination, with the sign of the row
// interchanges.
double Determinant(const Matrix* a);

// Pivots of the sweep below this magnitude drop their row and column.
constexpr double kDroppedPivot = 1e-9;

// Inverse by sweeping a symmetric matrix; pivots below kDroppedPivot in
// magnitude drop their row and column. All zeros for a non-square or
// asymmetric argument.
Matrix* GeneralizedInverse(const Matrix* a);

} // namespace talver

#pragma once
// Singular value decomposition through the eigen decomposition of A^T A.

#include "matrix/Matrix.h"

namespace talver {

// A (r x c) = U diag(singularValues) V^T with U r x c, singularValues c x 1
// in non-increasing order and V c x c, all created by the caller. A zero
// singular value is not guarded: its column of U is non-finite.
void SingularValueDecomposition(const Matrix* a, Matrix* u, Matrix* singularValues, Matrix* v);

// The largest singular value of A; the Euclidean length of a column vector.
double LargestSingularValue(const Matrix* a);

} // namespace talver

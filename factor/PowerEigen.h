#pragma once
// Eigenpairs by the power method with deflation.

#include "matrix/Matrix.h"

namespace talver {

// Exactly 100 steps q = (q / max(q)) A on the 1 x n row vector start, which
// receives the last, unnormalised iterate. A start whose largest element is
// not positive becomes the zero vector.
void PowerIteration(Matrix* start, const Matrix* a);

// k eigenpairs of the n x n matrix a in the order found, each taken off the
// matrix before the next: eigenvalues (k x 1) and eigenvectors (n x k, unit
// columns). Meant for positive definite matrices, whose eigenvalues then come
// out non-increasing.
void PowerEigen(const Matrix* a, Matrix* eigenvalues, Matrix* eigenvectors, int k);

} // namespace talver

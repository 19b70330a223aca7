#pragma once
// Eigen decomposition of symmetric matrices held as Matrix values.

#include "matrix/Matrix.h"

namespace talver {

// Orders the first n eigenvalues non-increasingly together with their
// eigenvector columns (selection sort; of equal values the later one moves
// forward).
void SortEigenDescending(Matrix* eigenvalues, Matrix* eigenvectors, int n);

// The k leading eigenpairs of the symmetric n x n matrix a, largest first:
// eigenvalues gets them in its first k rows, eigenvectors (n rows) in its
// first k columns, signed as SolveSymmetricEigen signs them. The full
// decomposition passes through SortEigenDescending, so of equal eigenvalues
// the later one comes first. a is not changed.
void SymmetricEigen(const Matrix* a, Matrix* eigenvalues, Matrix* eigenvectors, int k);

} // namespace talver

#pragma once
// Eigen decomposition of symmetric matrices by Jacobi rotations.

#include "matrix/Matrix.h"

namespace talver {

// Rotates the symmetric n x n matrix a towards diagonal form, in place: a is
// left holding the rotated, nearly diagonal matrix. Fills eigenvalues (n x 1)
// with its diagonal and eigenvectors (n x n) with the accumulated rotations,
// column i belonging to eigenvalue i, unsorted and without sign
// normalisation. Rotates until the largest off-diagonal element is below
// 1e-6 times the root mean square of the diagonal, at most
// JacobiRotationLimit(n) times. Returns the number of rotations performed.
long long JacobiEigen(Matrix* a, Matrix* eigenvalues, Matrix* eigenvectors);

// The most rotations JacobiEigen performs on an n x n matrix.
long long JacobiRotationLimit(int n);

// Orders the first n eigenvalues non-increasingly together with their
// eigenvector columns (selection sort; of equal values the later one moves
// forward).
void SortEigenDescending(Matrix* eigenvalues, Matrix* eigenvectors, int n);

// The k leading eigenpairs of the symmetric n x n matrix a, largest first:
// eigenvalues gets them in its first k rows, eigenvectors (n rows) in its
// first k columns. a is not changed.
void SymmetricEigen(const Matrix* a, Matrix* eigenvalues, Matrix* eigenvectors, int k);

} // namespace talver

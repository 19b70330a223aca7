#pragma once
// Eigen decomposition of small symmetric matrices to full double precision,
// for iterations whose stop rule needs more than JacobiEigen's accuracy.

#include <vector>

namespace talver {

// A few units of rounding of the whole matrix: no rotation can do better.
inline constexpr double kFullPrecision = 1e-15;

struct SymmetricEigenpairs {
    std::vector<double> values;  // n, descending
    std::vector<double> vectors; // n x n row-major, column k belongs to values[k]
};

// Cyclic Jacobi rotations (Golub and Van Loan, Matrix Computations,
// section 8.5) on the symmetric n x n row-major matrix a until every
// off-diagonal element is at most `precision` times the largest element (at
// most 100 sweeps). Values come sorted descending; of equal values the
// earlier column stays first. A matrix with an element that is not finite
// gives values and vectors that are all NaN.
SymmetricEigenpairs CyclicJacobiEigen(std::vector<double> a, int n, double precision = kFullPrecision);

// The same, started from the orthonormal n x n row-major basis `start` (the
// eigenvectors of a nearby matrix): the rotations then begin from start' a
// start, which is close to diagonal, and take far fewer sweeps. Full
// precision.
SymmetricEigenpairs CyclicJacobiEigen(const std::vector<double>& a, int n, const std::vector<double>& start);

} // namespace talver

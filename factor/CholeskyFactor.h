#pragma once
// The Cholesky factor of a symmetric positive definite matrix and what the
// maximum-likelihood fit reads from it.

#include <vector>

#include "matrix/Matrix.h"

namespace talver {

// Replaces the lower triangle of the symmetric n x n row-major matrix a by
// its Cholesky factor L (a = L L'), column by column (Golub and Van Loan,
// Matrix Computations, section 4.2); false at the first pivot that is not
// positive, a matrix that is singular, indefinite or not finite.
bool CholeskyInPlace(std::vector<double>& a, int n);

// ln det(a) = sum of ln L_ii^2, from the factor: it cannot underflow as the
// determinant of a long questionnaire can.
double LogDeterminantOfFactor(const std::vector<double>& factor, int n);

// The diagonal of a^-1 from the factor: element i is the squared length of
// column i of L^-1.
std::vector<double> DiagonalOfInverse(const std::vector<double>& factor, int n);

// ln det(a) of the symmetric matrix a; NaN unless a is positive definite.
double LogDeterminantOfPositiveDefinite(const Matrix* a);

} // namespace talver

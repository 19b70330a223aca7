#pragma once
// Solving a symmetric system whose pivots are all clear of zero.

#include <vector>

namespace talver {

// Solves a x = b for the symmetric n x n row-major matrix a (lower triangle
// read) by its LDL' factorisation without interchanges, the pivots in index
// order (Golub and Van Loan, Matrix Computations, section 4.1). Returns false,
// leaving x unspecified, at the first pivot below minimumPivot in magnitude:
// these are the very pivots by which sweeping a in the same order would go
// (see GeneralizedInverse), so where every pivot is kept, x is a^-1 b.
bool SolveSymmetricWithClearPivots(std::vector<double> a, const std::vector<double>& b, int n,
                                   double minimumPivot, std::vector<double>& x);

} // namespace talver

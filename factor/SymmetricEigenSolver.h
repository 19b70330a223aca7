#pragma once
// The one eigen decomposition of symmetric matrices that every full
// decomposition of the engine uses: Householder reduction to tridiagonal form
// followed by the implicit QL method.

#include <vector>

namespace talver {

struct SymmetricEigenpairs {
    std::vector<double> values;  // n, descending
    std::vector<double> vectors; // n x n row-major, column k belongs to values[k]
};

// All eigenpairs of the symmetric n x n row-major matrix a (only its lower
// triangle is read), to working precision: Householder tridiagonalisation
// (tred2) and the implicit QL method with Wilkinson's shift (tql2), after
// Martin, Reinsch and Wilkinson (1968) and Bowdler, Martin, Reinsch and
// Wilkinson (1968), Handbook for Automatic Computation II/2 and II/3; see
// also Golub and Van Loan, Matrix Computations, sections 8.3 and 5.1. The
// loops run in one fixed order, so the same input gives the same bits.
//
// Values come sorted descending; of equal values the one the QL method
// found first stays first. Every eigenvector has unit length and the sign
// that makes the sum of its elements positive; where that sum vanishes
// (below 1e-10), the sign that makes its largest element (the first of equal
// magnitude) positive. A matrix with an element that is not finite gives
// values and vectors that are all NaN.
SymmetricEigenpairs SolveSymmetricEigen(std::vector<double> a, int n);

// All eigenvalues of a, the very values of SolveSymmetricEigen, and the
// eigenvectors of the count largest (vectors is n x count, row-major),
// signed by the same rule: where only a few leading pairs are wanted, the
// reduction's transformations are not accumulated and the QL method leaves
// the vectors alone; the tridiagonal matrix's vectors come from inverse
// iteration (Peters and Wilkinson, Handbook for Automatic Computation II/18)
// and are transformed back, about a quarter of the work of the full
// decomposition. Where inverse iteration cannot separate the vectors (values
// equal to rounding), they come from the full decomposition. 0 <= count <= n.
SymmetricEigenpairs SolveLeadingSymmetricEigen(std::vector<double> a, int n, int count);

} // namespace talver

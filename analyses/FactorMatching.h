#pragma once
// Factors in one order: the canonical column order of an observed pattern,
// and the columns of a bootstrap pattern matched to the observed ones.
// Varimax from random starts keeps whichever start wins by rounding, so the
// order and signs of its columns say nothing about which factor is which.

#include <vector>

#include "analyses/CongruenceIndices.h"
#include "matrix/Matrix.h"

namespace talver {

// The columns of pattern ordered by descending sum of squared loadings (of
// equal sums the lower column first), each reflected so that its sum is not
// negative. A new matrix in the caller's scope.
Matrix* InCanonicalOrder(const Matrix* pattern);

// Column k of a matched pattern is column source[k] of the pattern matched,
// times sign[k] (1 or -1).
struct ColumnMatch {
    std::vector<int> source;
    std::vector<double> sign;
};

// The permutation and reflections of the columns of pattern that maximise
// the sum of |Tucker congruence| between matched columns of pattern and
// reference (both p x m), each matched congruence made positive. Every
// permutation is tried for m <= 8 (in lexicographic order, so that of equal
// sums the one taking lower columns first wins); above that the Hungarian
// assignment algorithm finds one that is as good.
ColumnMatch MatchColumns(const Matrix* pattern, const Matrix* reference);

// The columns of pattern as matched. A new matrix in the caller's scope.
Matrix* Matched(const Matrix* pattern, const ColumnMatch& match);

// The indices of two patterns after the same match of both: the per-item and
// overall indices are those of the patterns as they were (a reflection of a
// column of both patterns changes no product, and these sums run over the
// columns in their original order); the per-factor ones are permuted.
InvarianceIndexSet WithFactorsMatched(const InvarianceIndexSet& indices, const ColumnMatch& match);

} // namespace talver

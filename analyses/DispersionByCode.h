#pragma once
// The dispersion matrix of a data matrix of the chosen kind.

#include "analyses/AnalysisCodes.h"
#include "matrix/Matrix.h"

namespace talver {

// Covariances for covariances, Pearson correlations for the other kinds: the
// matrices that need no score range and cannot fail.
Matrix* MomentDispersion(const Matrix* data, DispersionKind kind);

// The matrix of the kind; nullptr when a polychoric matrix cannot be
// estimated (an empty category).
Matrix* DispersionByCode(const Matrix* data, DispersionKind kind, const Matrix* itemLowest, const Matrix* itemHighest);

// The first item (0-based) whose row of s holds a value that is not a finite
// number or whose variance is not positive; -1 when every item is usable.
// A constant item gives a zero covariance row, or non-finite correlations.
int FirstDegenerateItem(const Matrix* s);

} // namespace talver

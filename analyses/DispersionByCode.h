#pragma once
// The dispersion matrix of a data matrix by the code of the analysis options:
// 1 covariances, 2 Pearson correlations, any other value polychoric
// correlations.

#include "matrix/Matrix.h"

bool IsPolychoric(int dispersionKind);

// Covariances for code 1, Pearson correlations for every other code: the
// matrices that need no score range and cannot fail.
Matrix* MomentDispersion(const Matrix* data, int dispersionKind);

// The matrix of the code; nullptr when a polychoric matrix cannot be
// estimated (an empty category).
Matrix* DispersionByCode(const Matrix* data, int dispersionKind, const Matrix* itemLowest, const Matrix* itemHighest);

// The first item (0-based) whose row of s holds a value that is not a finite
// number or whose variance is not positive; -1 when every item is usable.
// A constant item gives a zero covariance row, or non-finite correlations.
int FirstDegenerateItem(const Matrix* s);

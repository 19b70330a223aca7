#pragma once
// The polychoric correlation matrix of the items of a sample: for every pair
// of items the correlation of two latent standard normal variables cut into
// the observed ordered categories, by two-step maximum likelihood. Pairs of
// two-category items get their tetrachoric correlation by the same
// likelihood.

#include <vector>

#include "matrix/Matrix.h"

namespace talver {

// data: N participants x p items of scores; itemLowest, itemHighest: p x 1,
// the declared score range of every item. Returns a new p x p matrix, or
// nullptr when some item of a pair misses a score inside its observed range,
// covers fewer categories than declared, or has a score outside its declared
// range.
Matrix* PolychoricMatrix(const Matrix* data, const Matrix* itemLowest, const Matrix* itemHighest);

// The same matrix; also writes into matrices created zero-filled by the
// caller, K the largest number of categories:
// - thresholds (p x (K - 1)): row i holds the inner thresholds of item i;
// - tables (K p(p - 1) / 2 x K): block t, rows K t .. K t + K - 1, holds the
//   table of the t-th pair (0,1), (0,2), ..., (1,2), ...: row r, column c counts
//   item i = its minimum + r and item j = its minimum + c.
// After a nullptr result both may hold the blocks of the pairs done so far.
Matrix* PolychoricMatrixWithDetails(const Matrix* data, const Matrix* itemLowest, const Matrix* itemHighest,
                                    Matrix* thresholds, Matrix* tables);

// The matrix of the bootstrap sample that holds row k of data counts[k]
// times (as ResampleCounts draws it; counts has one entry per row), the
// same as PolychoricMatrix of those rows copied out, without the copy.
Matrix* WeightedPolychoricMatrix(const Matrix* data, const std::vector<int>& counts, const Matrix* itemLowest,
                                 const Matrix* itemHighest);

} // namespace talver

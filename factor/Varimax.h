#pragma once
// Normalized Varimax rotation of a loading matrix to simple structure.

#include "matrix/Matrix.h"
#include "stats/RandomSource.h"

namespace talver {

// The m x m orthogonal rotation T that maximises the Varimax criterion of
// A T, A being p x m. Rotation starts from the unrotated position and from
// randomStarts random orthogonal positions, each made from one m x m
// RandomMatrix drawn in turn; a start sweeps over the column pairs until a
// sweep raises the criterion by no more than tolerance times its value. The
// start with the largest criterion is kept (the earlier one on a tie), and
// its columns are reflected so that every column sum of A T is non-negative.
// With normalize non-zero each row of A T is scaled to unit length while
// rotating (Kaiser normalisation). criterion receives the kept criterion.
//
// A column pair with no defined rotation angle (as when A has a single row),
// or non-finite loadings, abandon the rotation at once: the result is the
// identity, criterion is 0 and no further starts draw random numbers.
Matrix* VarimaxRotation(const Matrix* a, double tolerance, double& criterion, int randomStarts,
                        int normalize, RandomSource& random);

} // namespace talver

#pragma once
// A matrix of pseudo-random values from a random source, the raw
// material of random starting rotations. Elements lie between 0.134 and
// 241.892 and are not centred; users orthonormalise the matrix first.

#include "matrix/Matrix.h"
#include "stats/RandomSource.h"

namespace talver {

// A new rows x cols matrix; consumes rows * cols + 1 draws of `random`.
Matrix* RandomMatrix(int rows, int cols, RandomSource& random);

} // namespace talver

#pragma once
// A matrix of pseudo-random values from the current random source, the raw
// material of random starting rotations. Elements lie between 0.134 and
// 241.892 and are not centred; users orthonormalise the matrix first.

#include "matrix/Matrix.h"

// A new rows x cols matrix; consumes rows * cols + 1 draws.
Matrix* RandomMatrix(int rows, int cols);

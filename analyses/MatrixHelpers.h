#pragma once
// Small matrix chores of the bootstrap analyses.

#include "matrix/Matrix.h"

namespace talver {

// Whether every element is a finite number: decompositions and rotations of
// matrices holding NaN or infinities give garbage at best.
bool AllFinite(const Matrix* a);
// The same for one column.
bool ColumnAllFinite(const Matrix* a, int column);

// Copies the elements of `from` into `to`, which has at least its shape; how
// a routine hands a result computed in its own scope to its caller.
void CopyValues(const Matrix* from, Matrix* to);

} // namespace talver

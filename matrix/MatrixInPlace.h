#pragma once
// Chores that write into a matrix the caller already holds, unlike the
// operations of MatrixOps.h, which return new matrices. A routine uses them to
// hand a result computed in its own scope to the caller's matrix, or to reset
// a working buffer that it reuses.

#include "matrix/Matrix.h"

namespace talver {

// Copies the elements of `from` into `to`: the rows and columns the two
// shapes share, which is all of `from` when `to` has at least its shape.
void CopyValues(const Matrix* from, Matrix* to);
// Ones on the diagonal, zeros elsewhere.
void SetIdentity(Matrix* a);
// Whether every element is a finite number: decompositions and rotations of
// matrices holding NaN or infinities give garbage at best.
bool AllFinite(const Matrix* a);
// The same for one column.
bool ColumnAllFinite(const Matrix* a, int column);

} // namespace talver

#pragma once
// Shape checks of the decompositions. Callers hand in the matrices that
// receive results; a wrong shape is a programming error and would otherwise
// write outside a matrix, so it takes the fatal stop of the matrix engine.

#include "matrix/Matrix.h"

namespace talver {

inline void RequireSquare(const Matrix* a)
{
    if (a->Rows() != a->Cols()) {
        FatalMatrixError(kProductShapeError);
    }
}

inline void RequireShape(const Matrix* m, int rows, int cols)
{
    if (m->Rows() != rows || m->Cols() != cols) {
        FatalMatrixError(kProductShapeError);
    }
}

// At least rows x cols: routines that fill a leading block.
inline void RequireAtLeast(const Matrix* m, int rows, int cols)
{
    if (m->Rows() < rows || m->Cols() < cols) {
        FatalMatrixError(kProductShapeError);
    }
}

} // namespace talver

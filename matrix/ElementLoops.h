#pragma once
// The row-major loops shared by the element-wise operations.

#include "matrix/Matrix.h"

namespace talver {

// A new matrix of a's shape holding op(a(i, j)).
template <typename Op>
Matrix* MappedElements(const Matrix* a, Op op)
{
    Matrix* result = NewMatrix(a->Rows(), a->Cols());
    for (int i = 0; i < a->Rows(); ++i) {
        const double* row = a->Row(i);
        double* out = result->Row(i);
        for (int j = 0; j < a->Cols(); ++j) {
            out[j] = op(row[j]);
        }
    }
    return result;
}

// A new matrix of a's shape holding op(a(i, j), b(i, j)); b has a's shape.
template <typename Op>
Matrix* CombinedElements(const Matrix* a, const Matrix* b, Op op)
{
    Matrix* result = NewMatrix(a->Rows(), a->Cols());
    for (int i = 0; i < a->Rows(); ++i) {
        const double* rowA = a->Row(i);
        const double* rowB = b->Row(i);
        double* out = result->Row(i);
        for (int j = 0; j < a->Cols(); ++j) {
            out[j] = op(rowA[j], rowB[j]);
        }
    }
    return result;
}

} // namespace talver

#include "matrix/MatrixOps.h"

#include <algorithm>
#include <climits>

namespace talver {

namespace {

// Corners arrive as 64-bit values so that block arithmetic (k * w) cannot
// overflow before it is checked.
Matrix* SubMatrixOf(const Matrix* a, long long r1, long long c1, long long r2, long long c2)
{
    const long long top = std::min(r1, r2);
    const long long bottom = std::max(r1, r2);
    const long long left = std::min(c1, c2);
    const long long right = std::max(c1, c2);
    if (top < 1 || left < 1 || bottom > a->Rows() || right > a->Cols()) {
        FatalMatrixError(kSubMatrixIndexError);
    }
    const int rows = static_cast<int>(bottom - top + 1);
    const int cols = static_cast<int>(right - left + 1);
    const int rowOffset = static_cast<int>(top - 1);
    const int colOffset = static_cast<int>(left - 1);
    Matrix* result = NewMatrix(rows, cols);
    for (int i = 0; i < rows; ++i) {
        const double* from = a->Row(rowOffset + i) + colOffset;
        std::copy(from, from + cols, result->Row(i));
    }
    return result;
}

// A computed row or column count, refused when it does not fit an int.
int CheckedDimension(long long count)
{
    if (count > INT_MAX) {
        FatalMatrixError("MATRIX TOO LARGE");
    }
    return static_cast<int>(count);
}

} // namespace

Matrix* Transposed(const Matrix* a)
{
    Matrix* result = NewMatrix(a->Cols(), a->Rows());
    for (int i = 0; i < a->Rows(); ++i) {
        for (int j = 0; j < a->Cols(); ++j) {
            (*result)(j, i) = (*a)(i, j);
        }
    }
    return result;
}

Matrix* Diag(const Matrix* a)
{
    const int rows = a->Rows();
    const int cols = a->Cols();
    if (rows == cols) {
        Matrix* result = NewMatrix(rows, 1);
        for (int i = 0; i < rows; ++i) {
            (*result)(i, 0) = (*a)(i, i);
        }
        return result;
    }
    // A vector with no elements has no first column or row to read from.
    if (rows == 0 || cols == 0) {
        FatalMatrixError(kSubMatrixIndexError);
    }
    if (rows > cols) {
        Matrix* result = NewMatrix(rows, rows);
        for (int i = 0; i < rows; ++i) {
            (*result)(i, i) = (*a)(i, 0);
        }
        return result;
    }
    Matrix* result = NewMatrix(cols, cols);
    for (int i = 0; i < cols; ++i) {
        (*result)(i, i) = (*a)(0, i);
    }
    return result;
}

Matrix* Vec(const Matrix* a)
{
    Matrix* result = NewMatrix(CheckedDimension(static_cast<long long>(a->Rows()) * a->Cols()), 1);
    for (int i = 0; i < a->Rows(); ++i) {
        for (int j = 0; j < a->Cols(); ++j) {
            (*result)(j * a->Rows() + i, 0) = (*a)(i, j);
        }
    }
    return result;
}

Matrix* SubMatrix(const Matrix* a, int r1, int c1, int r2, int c2)
{
    return SubMatrixOf(a, r1, c1, r2, c2);
}

Matrix* ColumnBlock(const Matrix* a, int k, int w)
{
    const long long start = static_cast<long long>(k) * w;
    return SubMatrixOf(a, 1, start + 1, a->Rows(), start + w);
}

Matrix* RowBlock(const Matrix* a, int k, int w)
{
    const long long start = static_cast<long long>(k) * w;
    return SubMatrixOf(a, start + 1, 1, start + w, a->Cols());
}

Matrix* WithColumnBlock(const Matrix* a, const Matrix* b, int k, int w)
{
    const long long start = static_cast<long long>(k) * w;
    if (start < 0 || b->Rows() > a->Rows() || start + b->Cols() > a->Cols()) {
        FatalMatrixError(kJoinShapeError);
    }
    const int offset = static_cast<int>(start);
    Matrix* result = NewMatrix(a->Rows(), a->Cols());
    for (int i = 0; i < a->Rows(); ++i) {
        std::copy(a->Row(i), a->Row(i) + a->Cols(), result->Row(i));
    }
    for (int i = 0; i < b->Rows(); ++i) {
        std::copy(b->Row(i), b->Row(i) + b->Cols(), result->Row(i) + offset);
    }
    return result;
}

Matrix* StackBelow(const Matrix* a, const Matrix* b)
{
    if (a->Cols() != b->Cols()) {
        FatalMatrixError(kJoinShapeError);
    }
    Matrix* result = NewMatrix(CheckedDimension(static_cast<long long>(a->Rows()) + b->Rows()), a->Cols());
    for (int i = 0; i < a->Rows(); ++i) {
        std::copy(a->Row(i), a->Row(i) + a->Cols(), result->Row(i));
    }
    for (int i = 0; i < b->Rows(); ++i) {
        std::copy(b->Row(i), b->Row(i) + b->Cols(), result->Row(a->Rows() + i));
    }
    return result;
}

Matrix* JoinRight(const Matrix* a, const Matrix* b)
{
    if (a->Rows() != b->Rows()) {
        FatalMatrixError(kJoinShapeError);
    }
    Matrix* result = NewMatrix(a->Rows(), CheckedDimension(static_cast<long long>(a->Cols()) + b->Cols()));
    for (int i = 0; i < a->Rows(); ++i) {
        double* to = std::copy(a->Row(i), a->Row(i) + a->Cols(), result->Row(i));
        std::copy(b->Row(i), b->Row(i) + b->Cols(), to);
    }
    return result;
}

} // namespace talver

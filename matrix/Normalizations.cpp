#include "matrix/MatrixOps.h"

#include <cmath>

namespace talver {

// Normalized and ScaledToRootMax need no temporaries: Times makes their
// result directly in the caller's scope.

namespace {

// Sum of squares of row i, accumulated in column order from 0.0.
double RowSquaredLength(const Matrix* a, int i)
{
    const double* row = a->Row(i);
    double sum = 0.0;
    for (int j = 0; j < a->Cols(); ++j) {
        sum += row[j] * row[j];
    }
    return sum;
}

// The first row's squared length; a matrix without rows has none.
double FirstRowSquaredLength(const Matrix* a)
{
    return a->Rows() > 0 ? RowSquaredLength(a, 0) : 0.0;
}

double UnitFactor(double squaredLength)
{
    return squaredLength > 0.0 ? 1.0 / std::sqrt(squaredLength) : 0.0;
}

} // namespace

Matrix* Normalized(const Matrix* a)
{
    return Times(a, UnitFactor(FirstRowSquaredLength(a)));
}

Matrix* RowsNormalized(const Matrix* a)
{
    // Each row is scaled as Normalized scales a single row, with the same
    // operand order (factor times element) so the values agree bit for bit.
    Matrix* result = NewMatrix(a->Rows(), a->Cols());
    for (int i = 0; i < a->Rows(); ++i) {
        const double factor = UnitFactor(RowSquaredLength(a, i));
        const double* row = a->Row(i);
        double* out = result->Row(i);
        for (int j = 0; j < a->Cols(); ++j) {
            out[j] = factor * row[j];
        }
    }
    return result;
}

Matrix* ScaledToRootMax(const Matrix* a)
{
    const double largest = MaxElement(a);
    const double squaredLength = FirstRowSquaredLength(a);
    const double factor = squaredLength > 0.0 ? std::sqrt(largest) / std::sqrt(squaredLength) : 0.0;
    return Times(a, factor);
}

} // namespace talver

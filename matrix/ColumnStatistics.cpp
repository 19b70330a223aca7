#include "matrix/MatrixOps.h"

#include <algorithm>
#include <cmath>

// Each statistic creates its result in the caller's scope and keeps its
// temporaries in a scope of its own, so a caller sees exactly one new matrix.

namespace {

void CopyValues(const Matrix* from, Matrix* to)
{
    for (int i = 0; i < from->Rows(); ++i) {
        std::copy(from->Row(i), from->Row(i) + from->Cols(), to->Row(i));
    }
}

double RowCount(const Matrix* a)
{
    return static_cast<double>(a->Rows());
}

// Times(Product(Transposed(x), x), 1/n), the cross-product matrix over n.
Matrix* ScaledCrossProduct(const Matrix* x, double n)
{
    const double factor = 1.0 / n;
    return Times(Product(Transposed(x), x), factor);
}

} // namespace

Matrix* ColumnMeans(const Matrix* a)
{
    Matrix* result = NewMatrix(1, a->Cols());
    MatrixScope scope;
    CopyValues(DividedBy(ColumnSums(a), RowCount(a)), result);
    return result;
}

Matrix* ColumnStdDevs(const Matrix* a)
{
    Matrix* result = NewMatrix(1, a->Cols());
    MatrixScope scope;
    const double n = RowCount(a);
    const Matrix* sums = ColumnSums(a);
    const Matrix* squares = ColumnSumsOfSquares(a);
    for (int j = 0; j < a->Cols(); ++j) {
        // One-pass variance with divisor n; a tiny negative value from
        // rounding is left to give NaN.
        const double mean = (*sums)(0, j) / n;
        const double variance = (*squares)(0, j) / n - mean * mean;
        (*result)(0, j) = std::sqrt(variance);
    }
    return result;
}

Matrix* Centered(const Matrix* a)
{
    Matrix* result = NewMatrix(a->Rows(), a->Cols());
    MatrixScope scope;
    const double* means = ColumnMeans(a)->Row(0);
    for (int i = 0; i < a->Rows(); ++i) {
        for (int j = 0; j < a->Cols(); ++j) {
            (*result)(i, j) = (*a)(i, j) - means[j];
        }
    }
    return result;
}

Matrix* Standardized(const Matrix* a)
{
    Matrix* result = NewMatrix(a->Rows(), a->Cols());
    MatrixScope scope;
    const double* means = ColumnMeans(a)->Row(0);
    const double* sds = ColumnStdDevs(a)->Row(0);
    for (int i = 0; i < a->Rows(); ++i) {
        for (int j = 0; j < a->Cols(); ++j) {
            (*result)(i, j) = ((*a)(i, j) - means[j]) / sds[j];
        }
    }
    return result;
}

Matrix* CovarianceMatrix(const Matrix* a)
{
    Matrix* result = NewMatrix(a->Cols(), a->Cols());
    MatrixScope scope;
    CopyValues(ScaledCrossProduct(Centered(a), RowCount(a)), result);
    return result;
}

Matrix* CorrelationMatrix(const Matrix* a)
{
    Matrix* result = NewMatrix(a->Cols(), a->Cols());
    MatrixScope scope;
    CopyValues(ScaledCrossProduct(Standardized(a), RowCount(a)), result);
    return result;
}

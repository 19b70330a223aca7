#include "matrix/MatrixOps.h"

Matrix* ColumnSums(const Matrix* a)
{
    Matrix* result = NewMatrix(1, a->Cols());
    double* sums = result->Row(0);
    for (int i = 0; i < a->Rows(); ++i) {
        const double* row = a->Row(i);
        for (int j = 0; j < a->Cols(); ++j) {
            sums[j] += row[j];
        }
    }
    return result;
}

Matrix* ColumnSumsOfSquares(const Matrix* a)
{
    Matrix* result = NewMatrix(1, a->Cols());
    double* sums = result->Row(0);
    for (int i = 0; i < a->Rows(); ++i) {
        const double* row = a->Row(i);
        for (int j = 0; j < a->Cols(); ++j) {
            sums[j] += row[j] * row[j];
        }
    }
    return result;
}

Matrix* RowSums(const Matrix* a)
{
    Matrix* result = NewMatrix(a->Rows(), 1);
    for (int i = 0; i < a->Rows(); ++i) {
        const double* row = a->Row(i);
        double sum = 0.0;
        for (int j = 0; j < a->Cols(); ++j) {
            sum += row[j];
        }
        (*result)(i, 0) = sum;
    }
    return result;
}

Matrix* RowSumsOfSquares(const Matrix* a)
{
    Matrix* result = NewMatrix(a->Rows(), 1);
    for (int i = 0; i < a->Rows(); ++i) {
        const double* row = a->Row(i);
        double sum = 0.0;
        for (int j = 0; j < a->Cols(); ++j) {
            sum += row[j] * row[j];
        }
        (*result)(i, 0) = sum;
    }
    return result;
}

double SumOfSquares(const Matrix* a)
{
    // Column totals first, then their sum in column order: the same bits as
    // summing ColumnSumsOfSquares, without leaving that matrix behind.
    const int cols = a->Cols();
    double total = 0.0;
    for (int j = 0; j < cols; ++j) {
        double column = 0.0;
        for (int i = 0; i < a->Rows(); ++i) {
            column += (*a)(i, j) * (*a)(i, j);
        }
        total += column;
    }
    return total;
}

double MaxElement(const Matrix* a)
{
    if (a->Size() == 0) {
        FatalMatrixError(kSubMatrixIndexError);
    }
    double current = (*a)(0, 0);
    for (int i = 0; i < a->Rows(); ++i) {
        const double* row = a->Row(i);
        for (int j = 0; j < a->Cols(); ++j) {
            // Written as "not >=" on purpose: a NaN element is taken, and a
            // NaN current value gives way to the next element.
            if (!(current >= row[j])) {
                current = row[j];
            }
        }
    }
    return current;
}

double MinElement(const Matrix* a)
{
    if (a->Size() == 0) {
        FatalMatrixError(kSubMatrixIndexError);
    }
    double current = (*a)(0, 0);
    for (int i = 0; i < a->Rows(); ++i) {
        const double* row = a->Row(i);
        for (int j = 0; j < a->Cols(); ++j) {
            if (current > row[j]) {
                current = row[j];
            }
        }
    }
    return current;
}

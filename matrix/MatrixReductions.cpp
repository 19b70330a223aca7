#include "matrix/MatrixOps.h"

namespace talver {

namespace {

// sums[j] += term(a(i, j)) for every row i in order. Four rows are added per
// pass, one after the other, and two columns side by side, which keeps the
// running sums in registers and lets the compiler pair them in vector
// instructions; each column still adds its terms in row order. The means of
// every bootstrap sample come from here.
template <typename Term>
void AddRowsInOrder(const Matrix* a, double* sums, Term term)
{
    const int cols = a->Cols();
    int i = 0;
    for (; i + 4 <= a->Rows(); i += 4) {
        const double* r0 = a->Row(i);
        const double* r1 = a->Row(i + 1);
        const double* r2 = a->Row(i + 2);
        const double* r3 = a->Row(i + 3);
        int j = 0;
        for (; j + 2 <= cols; j += 2) {
            double first = sums[j];
            double second = sums[j + 1];
            first += term(r0[j]);
            second += term(r0[j + 1]);
            first += term(r1[j]);
            second += term(r1[j + 1]);
            first += term(r2[j]);
            second += term(r2[j + 1]);
            first += term(r3[j]);
            second += term(r3[j + 1]);
            sums[j] = first;
            sums[j + 1] = second;
        }
        if (j < cols) {
            double sum = sums[j];
            sum += term(r0[j]);
            sum += term(r1[j]);
            sum += term(r2[j]);
            sum += term(r3[j]);
            sums[j] = sum;
        }
    }
    for (; i < a->Rows(); ++i) {
        const double* row = a->Row(i);
        for (int j = 0; j < cols; ++j) {
            sums[j] += term(row[j]);
        }
    }
}

} // namespace

Matrix* ColumnSums(const Matrix* a)
{
    Matrix* result = NewMatrix(1, a->Cols());
    AddRowsInOrder(a, result->Row(0), [](double x) { return x; });
    return result;
}

Matrix* ColumnSumsOfSquares(const Matrix* a)
{
    Matrix* result = NewMatrix(1, a->Cols());
    AddRowsInOrder(a, result->Row(0), [](double x) { return x * x; });
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

} // namespace talver

#include "matrix/MatrixInPlace.h"
#include "matrix/MatrixOps.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace talver {

// Each statistic creates its result in the caller's scope and keeps its
// temporaries in a scope of its own, so a caller sees exactly one new matrix.

namespace {

double RowCount(const Matrix* a)
{
    return static_cast<double>(a->Rows());
}

// result = Times(Product(Transposed(x), x), 1/n) for the matrix x whose row
// k rowOf(k, scratch) computes, without forming x or its transpose. Element
// (i, j) sums x(k, i) x(k, j) over k in row order from 0.0, the very
// products and order of the product; as multiplication commutes, element
// (j, i) has the same bits, so each pair is summed once. Four rows are
// added per pass, one after the other, to keep the running sum in a
// register. The dispersion matrix of every bootstrap sample comes from here.
template <typename RowOf>
void ScaledCrossProductInto(const Matrix* a, double n, RowOf rowOf, Matrix* result)
{
    constexpr int kBlock = 4;
    const int p = a->Cols();
    const int rows = a->Rows();
    std::vector<double> scratch(static_cast<std::size_t>(kBlock) * p);
    double* const block = scratch.data();
    int k = 0;
    for (; k + kBlock <= rows; k += kBlock) {
        const double* r0 = rowOf(k, block);
        const double* r1 = rowOf(k + 1, block + p);
        const double* r2 = rowOf(k + 2, block + 2 * p);
        const double* r3 = rowOf(k + 3, block + 3 * p);
        for (int i = 0; i < p; ++i) {
            const double x0 = r0[i];
            const double x1 = r1[i];
            const double x2 = r2[i];
            const double x3 = r3[i];
            double* out = result->Row(i);
            int j = i;
            // Two elements side by side, which the compiler may pair in
            // one vector instruction; each still sums in row order.
            for (; j + 2 <= p; j += 2) {
                double sum0 = out[j];
                double sum1 = out[j + 1];
                const double a0 = r0[j], a1 = r0[j + 1];
                const double b0 = r1[j], b1 = r1[j + 1];
                const double c0 = r2[j], c1 = r2[j + 1];
                const double d0 = r3[j], d1 = r3[j + 1];
                sum0 += x0 * a0;
                sum1 += x0 * a1;
                sum0 += x1 * b0;
                sum1 += x1 * b1;
                sum0 += x2 * c0;
                sum1 += x2 * c1;
                sum0 += x3 * d0;
                sum1 += x3 * d1;
                out[j] = sum0;
                out[j + 1] = sum1;
            }
            if (j < p) {
                double sum = out[j];
                sum += x0 * r0[j];
                sum += x1 * r1[j];
                sum += x2 * r2[j];
                sum += x3 * r3[j];
                out[j] = sum;
            }
        }
    }
    for (; k < rows; ++k) {
        const double* row = rowOf(k, scratch.data());
        for (int i = 0; i < p; ++i) {
            const double xi = row[i];
            double* out = result->Row(i);
            for (int j = i; j < p; ++j) {
                out[j] += xi * row[j];
            }
        }
    }
    const double factor = 1.0 / n;
    for (int i = 0; i < p; ++i) {
        for (int j = i; j < p; ++j) {
            const double value = factor * (*result)(i, j);
            (*result)(i, j) = value;
            (*result)(j, i) = value;
        }
    }
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

// Both are the scaled cross products of Centered(a) and Standardized(a),
// whose rows are computed one at a time as those operations compute them,
// two elements side by side as in the cross product.
Matrix* CovarianceMatrix(const Matrix* a)
{
    Matrix* result = NewMatrix(a->Cols(), a->Cols());
    MatrixScope scope;
    const double* means = ColumnMeans(a)->Row(0);
    auto centeredRow = [a, means](int k, double* row) {
        const double* x = a->Row(k);
        const int p = a->Cols();
        int j = 0;
        for (; j + 2 <= p; j += 2) {
            const double first = x[j] - means[j];
            const double second = x[j + 1] - means[j + 1];
            row[j] = first;
            row[j + 1] = second;
        }
        if (j < p) {
            row[j] = x[j] - means[j];
        }
        return row;
    };
    ScaledCrossProductInto(a, RowCount(a), centeredRow, result);
    return result;
}

Matrix* CorrelationMatrix(const Matrix* a)
{
    Matrix* result = NewMatrix(a->Cols(), a->Cols());
    MatrixScope scope;
    const double* means = ColumnMeans(a)->Row(0);
    const double* sds = ColumnStdDevs(a)->Row(0);
    auto standardizedRow = [a, means, sds](int k, double* row) {
        const double* x = a->Row(k);
        const int p = a->Cols();
        int j = 0;
        for (; j + 2 <= p; j += 2) {
            const double first = (x[j] - means[j]) / sds[j];
            const double second = (x[j + 1] - means[j + 1]) / sds[j + 1];
            row[j] = first;
            row[j + 1] = second;
        }
        if (j < p) {
            row[j] = (x[j] - means[j]) / sds[j];
        }
        return row;
    };
    ScaledCrossProductInto(a, RowCount(a), standardizedRow, result);
    return result;
}

} // namespace talver

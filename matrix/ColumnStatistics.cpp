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
// k rowOf(k, scratch) computes, without forming x or its transpose, each row
// taken weightOf(k) times (as often as it was drawn into a sample). Element
// (i, j) sums weightOf(k) x(k, i) x(k, j) over k in row order from 0.0, the
// very products and order of the product where every weight is 1 (a
// product with 1.0 is exact); as multiplication commutes, element (j, i)
// has the same bits, so each pair is summed once. Four rows are added per
// pass, one after the other, to keep the running sum in a register. The
// dispersion matrix of every bootstrap sample comes from here.
template <typename RowOf, typename WeightOf>
void ScaledCrossProductInto(int rows, int p, double n, RowOf rowOf, WeightOf weightOf, Matrix* result)
{
    constexpr int kBlock = 4;
    std::vector<double> scratch(static_cast<std::size_t>(kBlock) * p);
    double* const block = scratch.data();
    int k = 0;
    for (; k + kBlock <= rows; k += kBlock) {
        const double* r0 = rowOf(k, block);
        const double* r1 = rowOf(k + 1, block + p);
        const double* r2 = rowOf(k + 2, block + 2 * p);
        const double* r3 = rowOf(k + 3, block + 3 * p);
        for (int i = 0; i < p; ++i) {
            const double x0 = weightOf(k) * r0[i];
            const double x1 = weightOf(k + 1) * r1[i];
            const double x2 = weightOf(k + 2) * r2[i];
            const double x3 = weightOf(k + 3) * r3[i];
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
            const double xi = weightOf(k) * row[i];
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

double Once(int)
{
    return 1.0;
}

// The rows of a that a sample drew (counts[k] > 0), in order, and the means
// and, when asked, the standard deviations (divisor n, one pass as
// ColumnStdDevs) of that sample.
struct DrawnRows {
    std::vector<int> rows;
    std::vector<double> weights;
    std::vector<double> means;
    std::vector<double> deviations;
    double n = 0.0;
};

DrawnRows DrawnRowsOf(const Matrix* a, const std::vector<int>& counts, bool withDeviations)
{
    if (counts.size() != static_cast<std::size_t>(a->Rows())) {
        FatalMatrixError("ROW COUNTS DO NOT FIT THE MATRIX");
    }
    const int p = a->Cols();
    DrawnRows drawn{{}, {}, std::vector<double>(p, 0.0), std::vector<double>(p, 0.0), 0.0};
    for (int k = 0; k < a->Rows(); ++k) {
        if (counts[k] > 0) {
            drawn.rows.push_back(k);
            drawn.weights.push_back(counts[k]);
            drawn.n += counts[k];
        }
    }
    double* const means = drawn.means.data();
    for (std::size_t t = 0; t < drawn.rows.size(); ++t) {
        const double weight = drawn.weights[t];
        const double* x = a->Row(drawn.rows[t]);
        for (int j = 0; j < p; ++j) {
            means[j] += weight * x[j];
        }
    }
    for (int j = 0; j < p; ++j) {
        means[j] /= drawn.n;
    }
    if (withDeviations) {
        std::vector<double> squares(p, 0.0);
        for (std::size_t t = 0; t < drawn.rows.size(); ++t) {
            const double weight = drawn.weights[t];
            const double* x = a->Row(drawn.rows[t]);
            for (int j = 0; j < p; ++j) {
                squares[j] += weight * (x[j] * x[j]);
            }
        }
        for (int j = 0; j < p; ++j) {
            drawn.deviations[j] = std::sqrt(squares[j] / drawn.n - means[j] * means[j]);
        }
    }
    return drawn;
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
    ScaledCrossProductInto(a->Rows(), a->Cols(), RowCount(a), centeredRow, Once, result);
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
    ScaledCrossProductInto(a->Rows(), a->Cols(), RowCount(a), standardizedRow, Once, result);
    return result;
}

// The moments of a resampled sample from how often each row was drawn: the
// rows drawn more than once are multiplied once and weighted, and those not
// drawn (about a third) cost nothing.
Matrix* WeightedCovarianceMatrix(const Matrix* a, const std::vector<int>& counts)
{
    Matrix* result = NewMatrix(a->Cols(), a->Cols());
    const DrawnRows drawn = DrawnRowsOf(a, counts, false);
    auto centeredRow = [a, &drawn](int t, double* row) {
        const double* x = a->Row(drawn.rows[t]);
        for (int j = 0; j < a->Cols(); ++j) {
            row[j] = x[j] - drawn.means[j];
        }
        return row;
    };
    auto weightOf = [&drawn](int t) { return drawn.weights[t]; };
    ScaledCrossProductInto(static_cast<int>(drawn.rows.size()), a->Cols(), drawn.n, centeredRow, weightOf, result);
    return result;
}

Matrix* WeightedCorrelationMatrix(const Matrix* a, const std::vector<int>& counts)
{
    Matrix* result = NewMatrix(a->Cols(), a->Cols());
    const DrawnRows drawn = DrawnRowsOf(a, counts, true);
    auto standardizedRow = [a, &drawn](int t, double* row) {
        const double* x = a->Row(drawn.rows[t]);
        for (int j = 0; j < a->Cols(); ++j) {
            row[j] = (x[j] - drawn.means[j]) / drawn.deviations[j];
        }
        return row;
    };
    auto weightOf = [&drawn](int t) { return drawn.weights[t]; };
    ScaledCrossProductInto(static_cast<int>(drawn.rows.size()), a->Cols(), drawn.n, standardizedRow, weightOf, result);
    return result;
}

} // namespace talver

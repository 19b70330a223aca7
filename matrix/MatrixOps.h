#pragma once
// The vocabulary of whole-matrix operations. Every operation leaves its
// operands unchanged and returns a new matrix in the caller's current scope.
// Indices are 0-based except for SubMatrix and its block forms, which are
// 1-based. Sums accumulate row by row, column by column, starting from 0.0.

#include <vector>

#include "matrix/Matrix.h"

namespace talver {

// Constructors.
Matrix* Zeros(int rows, int cols);
Matrix* Ones(int rows, int cols);
Matrix* Filled(int rows, int cols, double x);
Matrix* Identity(int n);

// Rearrangement.
Matrix* Transposed(const Matrix* a);
// Square: its diagonal as a column. Column or row vector: the diagonal matrix.
Matrix* Diag(const Matrix* a);
// The columns one under the other.
Matrix* Vec(const Matrix* a);
// 1-based inclusive corners, in either order.
Matrix* SubMatrix(const Matrix* a, int r1, int c1, int r2, int c2);
// Block k (0-based) of w columns, or of w rows.
Matrix* ColumnBlock(const Matrix* a, int k, int w);
Matrix* RowBlock(const Matrix* a, int k, int w);
// A copy of a with b written over the columns from k*w on.
Matrix* WithColumnBlock(const Matrix* a, const Matrix* b, int k, int w);
Matrix* StackBelow(const Matrix* a, const Matrix* b);
Matrix* JoinRight(const Matrix* a, const Matrix* b);

// Arithmetic.
Matrix* Product(const Matrix* a, const Matrix* b);
Matrix* Plus(const Matrix* a, const Matrix* b);
Matrix* Minus(const Matrix* a, const Matrix* b);
Matrix* PlusScalar(const Matrix* a, double x);
Matrix* MinusScalar(const Matrix* a, double x);
Matrix* Times(const Matrix* a, double x);
Matrix* TimesInt(const Matrix* a, int k);
// Zero matrix when x <= 0.
Matrix* DividedBy(const Matrix* a, double x);
// x / a(i, j); zero matrix when x <= 0.
Matrix* ScalarOver(const Matrix* a, double x);
// Zero matrix when k == 0.
Matrix* DividedByInt(const Matrix* a, int k);
Matrix* ElementProduct(const Matrix* a, const Matrix* b);
Matrix* ElementQuotient(const Matrix* a, const Matrix* b);
double Trace(const Matrix* a);

// Element-wise functions.
// Square root of positive elements, 0.0 for the others.
Matrix* Sqrt(const Matrix* a);
Matrix* Log(const Matrix* a);
Matrix* Exp(const Matrix* a);
// k = 0 gives all ones.
Matrix* Power(const Matrix* a, int k);

// Reductions.
Matrix* ColumnSums(const Matrix* a);
Matrix* ColumnSumsOfSquares(const Matrix* a);
Matrix* RowSums(const Matrix* a);
Matrix* RowSumsOfSquares(const Matrix* a);
// Squares summed per column, then the column totals summed.
double SumOfSquares(const Matrix* a);
// Need at least one element.
double MaxElement(const Matrix* a);
double MinElement(const Matrix* a);

// Column statistics, divisor n = number of rows.
Matrix* ColumnMeans(const Matrix* a);
Matrix* ColumnStdDevs(const Matrix* a);
Matrix* Centered(const Matrix* a);
Matrix* Standardized(const Matrix* a);
Matrix* CovarianceMatrix(const Matrix* a);
Matrix* CorrelationMatrix(const Matrix* a);
// The covariance and correlation matrices (divisor the sum of counts) of
// the sample that holds row k of a counts[k] times (a bootstrap sample as
// ResampleCounts gives it): equal to those of that sample to rounding.
Matrix* WeightedCovarianceMatrix(const Matrix* a, const std::vector<int>& counts);
Matrix* WeightedCorrelationMatrix(const Matrix* a, const std::vector<int>& counts);

// Normalisations of row vectors.
Matrix* Normalized(const Matrix* a);
Matrix* RowsNormalized(const Matrix* a);
Matrix* ScaledToRootMax(const Matrix* a);

} // namespace talver

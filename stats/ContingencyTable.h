#pragma once
// The contingency table of an item pair and the category thresholds that its
// margins give.

#include <vector>

#include "matrix/Matrix.h"

namespace talver {

// Counts of the pairs of scores of items i and j over the observed range of
// each: row r holds item j = its maximum - r (highest score first), column c
// item i = its minimum + c. Scores are truncated toward zero; data needs at
// least one row.
Matrix* PairTable(const Matrix* data, int i, int j);

// The number of cases counted in a table.
double CellTotal(const Matrix* table);

// a_0 = -inf, a_1 .. a_{K-1}, a_K = +inf of the column item, K the number
// of columns: a_c is the normal deviate of the proportion in the c lowest
// categories, to full precision.
std::vector<double> ColumnThresholds(const Matrix* table);

// a_0 = -inf, a_1 .. a_{K-1}, a_K = +inf of an item whose K categories,
// lowest first, hold these whole counts: the thresholds of the column item
// of any table of it.
std::vector<double> ThresholdsOfCounts(const std::vector<double>& ascendingCounts);

// b_0 .. b_K of the row item, K the number of rows, ascending like the column
// thresholds (the first row is the highest category).
std::vector<double> RowThresholds(const Matrix* table);

} // namespace talver

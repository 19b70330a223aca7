#pragma once
// The contingency table of an item pair and the category thresholds that its
// margins give.

#include <vector>

#include "matrix/Matrix.h"

namespace talver {

// Stand-ins for minus and plus infinity at the two ends of every threshold
// vector. Only the lower one is ever tested (by exact equality); the upper
// one is used as a number and relies on the clamps of NormalCdf.
inline constexpr double kLowerSentinel = -100.0;
inline constexpr double kUpperSentinel = 5.0;

// Counts of the pairs of scores of items i and j over the observed range of
// each: row r holds item j = its maximum - r (highest score first), column c
// item i = its minimum + c. Scores are truncated toward zero; data needs at
// least one row.
Matrix* PairTable(const Matrix* data, int i, int j);

// The number of cases counted in a table.
double CellTotal(const Matrix* table);

// a_0 .. a_K of the column item, K the number of columns: a_c is the normal
// deviate of the proportion in the c lowest categories.
std::vector<double> ColumnThresholds(const Matrix* table);

// b_0 .. b_K of the row item, K the number of rows, ascending like the column
// thresholds but accumulated from the highest category (the first row).
std::vector<double> RowThresholds(const Matrix* table);

} // namespace talver

#pragma once
// The cases counted in a contingency table, and the category thresholds that
// an item's counts give.

#include <vector>

#include "matrix/Matrix.h"

namespace talver {

// The number of cases counted in a table.
double CellTotal(const Matrix* table);

// a_0 = -inf, a_1 .. a_{K-1}, a_K = +inf of an item whose K categories,
// lowest first, hold these whole counts: a_c is the normal deviate of the
// proportion in the c lowest categories, to full precision.
std::vector<double> ThresholdsOfCounts(const std::vector<double>& ascendingCounts);

} // namespace talver

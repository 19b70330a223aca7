#pragma once
// The tetrachoric correlation of a 2 x 2 table by the series method of
// Algorithm AS 116 (Brown 1977). Only the correlation is computed, not its
// standard error.

namespace talver {

// The value returned when the series gives no answer.
inline constexpr double kTetrachoricFailure = -10.0;

// a = both items low, b = item i low and item j high, c = item i high and
// item j low, d = both high. Returns kTetrachoricFailure for a negative
// count, for zeros on both diagonals and when 50 Newton corrections do not
// converge.
double TetrachoricCorrelation(int a, int b, int c, int d);

} // namespace talver

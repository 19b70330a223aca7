#pragma once
// Bootstrap resampling and the order statistics that turn a matrix of
// replicates (one row per replicate, one column per statistic) into
// bias-corrected percentile intervals and critical values.

#include <cstdint>
#include <utility>
#include <vector>

#include "matrix/Matrix.h"
#include "stats/AlphaLevel.h"
#include "stats/RandomSource.h"

namespace talver {

// The largest sample whose rows are drawn from one 15-bit draw each: up to
// here every row's chance stays within 5 % of 1/N; above it some rows would
// be drawn far more often than others, and above 32,768 rows some never.
constexpr int kLargestScaledSample = 1720;

// Fills the first source->Cols() columns of `destination` (created by the
// caller with the source's row count) with rows drawn with replacement from
// `source`. Up to kLargestScaledSample rows it makes exactly one draw per
// row, row floor(r N / 32767) for a draw r; above, each row is drawn
// uniformly from a 30-bit value made of two draws, with the biased top range
// drawn again.
void ResampleRows(const Matrix* source, Matrix* destination, RandomSource& random);

// How often each of `rows` rows is drawn by the very draws that ResampleRows
// makes for a source of that many rows: counts[k] for row k, summing to
// rows. Statistics that only sum over rows need no copy of the sample.
void ResampleCounts(int rows, std::vector<int>& counts, RandomSource& random);

// Moves `random` on as ResampleRows does for a source of `rows` rows, without
// copying anything, and returns how many draws that took.
std::uint64_t SkipResampleDraws(RandomSource& random, int rows);

// A new matrix whose every column holds the same column of m in ascending order.
Matrix* SortColumns(const Matrix* m);

// The 0-based row of a column-sorted matrix of `replicates` rows that stands
// for probability q: floor((replicates - 1) q).
int PercentilePosition(int replicates, double q);

// The two-sided critical normal value: 1.96 for alpha 0.05, 1.645 for 0.10.
double CriticalZ(AlphaLevel alpha);

// The bias-corrected percentile interval (lower, upper) of the statistic in
// `column` of a column-sorted replicate matrix, whose observed value is
// `observed`; `criticalZ` comes from CriticalZ.
std::pair<double, double> BcPercentileInterval(const Matrix* sortedReplicates, int column, double observed,
                                               double criticalZ);

} // namespace talver

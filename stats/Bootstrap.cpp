#include "stats/Bootstrap.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "stats/NormalDistribution.h"
#include "stats/RandomSource.h"

namespace talver {

namespace {

// The double nearest 1 / 32767, the largest draw.
constexpr double kDrawScale = 3.051850947599719e-05;

// Thirty bits, two draws of fifteen.
constexpr std::uint32_t kWideRange = 1u << 30;

// The row that one 15-bit draw r picks from n: nominally floor(r n / 32767),
// but these double operations are the rule: for some r and n they land one
// row below the exact quotient, and reports depend on the rows actually drawn.
int ScaledRow(int r, int n)
{
    const double u = r * kDrawScale;
    const double t = u * n - 1.0;
    const int k = static_cast<int>(std::floor(t)) + 1;
    return k == n ? n - 1 : k;
}

// A row drawn uniformly from n: a 30-bit value made of two draws, drawn
// again while it falls in the top range that would favour the low rows
// (the remainder of 2^30 / n). Adds the draws it made to `draws`.
int UniformRow(RandomSource& random, int n, std::uint64_t& draws)
{
    const std::uint32_t limit = kWideRange - kWideRange % static_cast<std::uint32_t>(n);
    for (;;) {
        const std::uint32_t high = static_cast<std::uint32_t>(NextRandom(random));
        const std::uint32_t low = static_cast<std::uint32_t>(NextRandom(random));
        const std::uint32_t value = (high << 15) | low;
        draws += 2;
        if (value < limit) {
            return static_cast<int>(value % static_cast<std::uint32_t>(n));
        }
    }
}

// Quicksort of a[lo..hi] with the middle element as pivot. The left part is
// sorted by recursion, the right part by looping in the same call.
void QuickSort(double* a, int lo, int hi)
{
    for (;;) {
        const double x = a[(lo + hi) / 2];
        int i = lo;
        int j = hi;
        while (i <= j) {
            while (a[i] < x) {
                ++i;
            }
            while (x < a[j]) {
                --j;
            }
            if (i < j) {
                std::swap(a[i], a[j]);
                ++i;
                --j;
            } else if (i == j) {
                ++i;
            }
        }
        if (lo < j) {
            QuickSort(a, lo, j);
        }
        if (i >= hi) {
            return;
        }
        lo = i;
    }
}

} // namespace

namespace {

// The rows of one bootstrap sample of `rows` rows, handed to `take` one draw
// at a time, in the order the random stream gives them.
template <typename Take>
void DrawRows(int rows, RandomSource& random, Take take)
{
    const bool scaled = rows <= kLargestScaledSample;
    std::uint64_t draws = 0;
    for (int i = 0; i < rows; ++i) {
        take(i, scaled ? ScaledRow(NextRandom(random), rows) : UniformRow(random, rows, draws));
    }
}

} // namespace

void ResampleRows(const Matrix* source, Matrix* destination, RandomSource& random)
{
    const int n = source->Rows();
    const int p = source->Cols();
    if (destination->Rows() != n || destination->Cols() < p) {
        FatalMatrixError("RESAMPLE DESTINATION DOES NOT FIT THE SOURCE");
    }
    DrawRows(n, random, [&](int i, int k) {
        const double* from = source->Row(k);
        double* to = destination->Row(i);
        for (int j = 0; j < p; ++j) {
            to[j] = from[j];
        }
    });
}

void ResampleCounts(int rows, std::vector<int>& counts, RandomSource& random)
{
    counts.assign(static_cast<std::size_t>(std::max(rows, 0)), 0);
    DrawRows(rows, random, [&counts](int, int k) { ++counts[static_cast<std::size_t>(k)]; });
}

std::uint64_t SkipResampleDraws(RandomSource& random, int rows)
{
    if (rows <= kLargestScaledSample) {
        random.JumpAhead(static_cast<std::uint64_t>(rows));
        return static_cast<std::uint64_t>(rows);
    }
    std::uint64_t draws = 0;
    for (int i = 0; i < rows; ++i) {
        UniformRow(random, rows, draws);
    }
    return draws;
}

Matrix* SortColumns(const Matrix* m)
{
    const int rows = m->Rows();
    const int cols = m->Cols();
    Matrix* sorted = NewMatrix(rows, cols);
    if (rows == 0) {
        return sorted;
    }
    std::vector<double> scratch(static_cast<std::size_t>(rows));
    for (int j = 0; j < cols; ++j) {
        for (int i = 0; i < rows; ++i) {
            scratch[i] = (*m)(i, j);
        }
        QuickSort(scratch.data(), 0, rows - 1);
        for (int i = 0; i < rows; ++i) {
            (*sorted)(i, j) = scratch[i];
        }
    }
    return sorted;
}

int PercentilePosition(int replicates, double q)
{
    return static_cast<int>(std::floor((replicates - 1) * q));
}

double CriticalZ(AlphaLevel alpha)
{
    return alpha == AlphaLevel::Five ? 1.96 : 1.645;
}

std::pair<double, double> BcPercentileInterval(const Matrix* sortedReplicates, int column, double observed,
                                               double criticalZ)
{
    const int replicates = sortedReplicates->Rows();
    if (replicates == 0) {
        FatalMatrixError("PERCENTILE INTERVAL WITHOUT REPLICATES");
    }
    int below = 0;
    for (int i = 0; i < replicates; ++i) {
        if ((*sortedReplicates)(i, column) < observed) {
            ++below;
        }
    }
    // The quantile is 0 when no replicate, or every replicate, lies below
    // the observed value: then there is no bias correction.
    const double z0 = NormalQuantile(static_cast<double>(below) / replicates);
    const double lowerProbability = NormalCdf(2.0 * z0 - criticalZ);
    const double upperProbability = NormalCdf(2.0 * z0 + criticalZ);
    return {(*sortedReplicates)(PercentilePosition(replicates, lowerProbability), column),
            (*sortedReplicates)(PercentilePosition(replicates, upperProbability), column)};
}

} // namespace talver

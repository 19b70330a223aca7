#include "stats/Bootstrap.h"

#include <cmath>
#include <utility>
#include <vector>

#include "stats/NormalDistribution.h"
#include "stats/RandomSource.h"

namespace talver {

namespace {

// The double nearest 1 / 32767, the largest draw.
constexpr double kDrawScale = 3.051850947599719e-05;

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

void ResampleRows(const Matrix* source, Matrix* destination, RandomSource& random)
{
    const int n = source->Rows();
    const int p = source->Cols();
    if (destination->Rows() != n || destination->Cols() < p) {
        FatalMatrixError("RESAMPLE DESTINATION DOES NOT FIT THE SOURCE");
    }
    for (int i = 0; i < n; ++i) {
        const int r = NextRandom(random);
        // Nominally row floor(r n / 32767), but these double operations are
        // the rule: for some r and n they land one row below the exact
        // quotient, and reports depend on the rows actually drawn.
        const double u = r * kDrawScale;
        const double t = u * n - 1.0;
        int k = static_cast<int>(std::floor(t)) + 1;
        if (k == n) {
            k = n - 1;
        }
        const double* from = source->Row(k);
        double* to = destination->Row(i);
        for (int j = 0; j < p; ++j) {
            to[j] = from[j];
        }
    }
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

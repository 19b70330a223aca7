#include "stats/ContingencyTable.h"

#include <limits>
#include <vector>

#include "matrix/MatrixOps.h"
#include "stats/ExactNormal.h"

namespace talver {

double CellTotal(const Matrix* table)
{
    MatrixScope scope;
    return (*RowSums(ColumnSums(table)))(0, 0);
}

// The counts are whole numbers, so their running sums are exact and every
// proportion is the correctly rounded quotient.
std::vector<double> ThresholdsOfCounts(const std::vector<double>& ascendingCounts)
{
    const int categories = static_cast<int>(ascendingCounts.size());
    double total = 0.0;
    for (double count : ascendingCounts) {
        total += count;
    }
    std::vector<double> thresholds(categories + 1);
    thresholds[0] = -std::numeric_limits<double>::infinity();
    thresholds[categories] = std::numeric_limits<double>::infinity();
    double cumulative = 0.0;
    for (int c = 0; c + 1 < categories; ++c) {
        cumulative += ascendingCounts[c];
        thresholds[c + 1] = ExactNormalQuantile(cumulative / total);
    }
    return thresholds;
}

} // namespace talver

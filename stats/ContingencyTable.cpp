#include "stats/ContingencyTable.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "matrix/MatrixOps.h"
#include "stats/ExactNormal.h"

namespace talver {

namespace {

struct ScoreRange {
    int lowest;
    int highest;
};

ScoreRange ObservedRange(const Matrix* data, int item)
{
    double lowest = (*data)(0, item);
    double highest = lowest;
    for (int n = 1; n < data->Rows(); ++n) {
        lowest = std::min(lowest, (*data)(n, item));
        highest = std::max(highest, (*data)(n, item));
    }
    return {static_cast<int>(lowest), static_cast<int>(highest)};
}

} // namespace

Matrix* PairTable(const Matrix* data, int i, int j)
{
    const ScoreRange rangeI = ObservedRange(data, i);
    const ScoreRange rangeJ = ObservedRange(data, j);
    Matrix* table = NewMatrix(rangeJ.highest - rangeJ.lowest + 1, rangeI.highest - rangeI.lowest + 1);
    for (int n = 0; n < data->Rows(); ++n) {
        const int scoreI = static_cast<int>((*data)(n, i));
        const int scoreJ = static_cast<int>((*data)(n, j));
        (*table)(rangeJ.highest - scoreJ, scoreI - rangeI.lowest) += 1.0;
    }
    return table;
}

double CellTotal(const Matrix* table)
{
    MatrixScope scope;
    return (*RowSums(ColumnSums(table)))(0, 0);
}

// The counts are whole numbers, so their running sums are exact and every
// proportion is the correctly rounded quotient, whichever end they start from.
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

std::vector<double> ColumnThresholds(const Matrix* table)
{
    std::vector<double> counts(table->Cols(), 0.0);
    for (int c = 0; c < table->Cols(); ++c) {
        for (int r = 0; r < table->Rows(); ++r) {
            counts[c] += (*table)(r, c);
        }
    }
    return ThresholdsOfCounts(counts);
}

std::vector<double> RowThresholds(const Matrix* table)
{
    const int rows = table->Rows();
    std::vector<double> counts(rows, 0.0);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < table->Cols(); ++c) {
            counts[rows - 1 - r] += (*table)(r, c);
        }
    }
    return ThresholdsOfCounts(counts);
}

} // namespace talver

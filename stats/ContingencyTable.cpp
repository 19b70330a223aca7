#include "stats/ContingencyTable.h"

#include <algorithm>

#include "matrix/MatrixOps.h"
#include "stats/NormalDistribution.h"

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

std::vector<double> ColumnThresholds(const Matrix* table)
{
    MatrixScope scope;
    const int categories = table->Cols();
    const Matrix* proportions = DividedBy(ColumnSums(table), CellTotal(table));
    std::vector<double> thresholds(categories + 1);
    thresholds[0] = kLowerSentinel;
    thresholds[categories] = kUpperSentinel;
    double cumulative = 0.0;
    for (int c = 0; c + 1 < categories; ++c) {
        cumulative += (*proportions)(0, c);
        thresholds[c + 1] = NormalQuantile(cumulative);
    }
    return thresholds;
}

std::vector<double> RowThresholds(const Matrix* table)
{
    MatrixScope scope;
    const int categories = table->Rows();
    const Matrix* proportions = DividedBy(RowSums(table), CellTotal(table));
    std::vector<double> thresholds(categories + 1);
    thresholds[0] = kLowerSentinel;
    thresholds[categories] = kUpperSentinel;
    double cumulative = 0.0;
    for (int k = 0; k + 1 < categories; ++k) {
        cumulative += (*proportions)(k, 0);
        thresholds[categories - 1 - k] = -NormalQuantile(cumulative);
    }
    return thresholds;
}

} // namespace talver

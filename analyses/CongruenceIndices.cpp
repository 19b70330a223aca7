#include "analyses/CongruenceIndices.h"

#include <cmath>
#include <limits>

#include "matrix/MatrixInPlace.h"
#include "stats/Bootstrap.h"

namespace talver {

namespace {

// Running sums over pairs of loadings (g, h): cross products, the two sums
// of squares and the sum of squared differences.
struct PairSums {
    double cross = 0.0;
    double targetSquares = 0.0;
    double replicationSquares = 0.0;
    double differenceSquares = 0.0;

    void Add(double g, double h)
    {
        cross += g * h;
        targetSquares += g * g;
        replicationSquares += h * h;
        const double difference = g - h;
        differenceSquares += difference * difference;
    }
    void Add(const PairSums& other)
    {
        cross += other.cross;
        targetSquares += other.targetSquares;
        replicationSquares += other.replicationSquares;
        differenceSquares += other.differenceSquares;
    }
    double Congruence() const { return cross / (std::sqrt(targetSquares) * std::sqrt(replicationSquares)); }
};

// Copies `count` values of `row` from position `first` into `into`.
void TakeValues(const double* row, int first, int count, std::vector<double>& into)
{
    into.assign(row + first, row + first + count);
}

} // namespace

InvarianceIndexSet InvarianceIndices(const Matrix* g, const Matrix* h)
{
    const int p = g->Rows();
    const int m = g->Cols();
    InvarianceIndexSet indices;
    indices.itemCongruence.resize(p);
    indices.itemDiscrepancy.resize(p);
    for (int i = 0; i < p; ++i) {
        PairSums sums;
        for (int c = 0; c < m; ++c) {
            sums.Add((*g)(i, c), (*h)(i, c));
        }
        indices.itemCongruence[i] = sums.Congruence();
        indices.itemDiscrepancy[i] = sums.differenceSquares;
    }
    // Factor by factor; the overall sums add the factors' sums in order, as
    // the trace of D'D does.
    indices.factorCongruence.resize(m);
    indices.factorDiscrepancy.resize(m);
    PairSums overall;
    for (int c = 0; c < m; ++c) {
        PairSums sums;
        for (int i = 0; i < p; ++i) {
            sums.Add((*g)(i, c), (*h)(i, c));
        }
        indices.factorCongruence[c] = sums.Congruence();
        indices.factorDiscrepancy[c] = sums.differenceSquares;
        overall.Add(sums);
    }
    indices.overallCongruence = overall.Congruence();
    indices.overallDiscrepancy = overall.differenceSquares;
    return indices;
}

int IndexRowLength(int items, int factors)
{
    return 2 * (1 + items + factors);
}

std::vector<double> IndexRow(const InvarianceIndexSet& indices)
{
    std::vector<double> row;
    row.reserve(2 * (1 + indices.itemCongruence.size() + indices.factorCongruence.size()));
    row.push_back(indices.overallCongruence);
    row.insert(row.end(), indices.itemCongruence.begin(), indices.itemCongruence.end());
    row.insert(row.end(), indices.factorCongruence.begin(), indices.factorCongruence.end());
    row.push_back(indices.overallDiscrepancy);
    row.insert(row.end(), indices.itemDiscrepancy.begin(), indices.itemDiscrepancy.end());
    row.insert(row.end(), indices.factorDiscrepancy.begin(), indices.factorDiscrepancy.end());
    return row;
}

CriticalRows CriticalRowsFor(int replicates, AlphaLevel alpha)
{
    if (alpha == AlphaLevel::Five) {
        return {PercentilePosition(replicates, 0.05), PercentilePosition(replicates, 0.95)};
    }
    return {PercentilePosition(replicates, 0.10), PercentilePosition(replicates, 0.90)};
}

InvarianceIndexSet CriticalIndices(const Matrix* sortedReplicates, CriticalRows rows, int items, int factors)
{
    const int half = 1 + items + factors;
    std::vector<double> congruenceRow(sortedReplicates->Row(rows.low), sortedReplicates->Row(rows.low) + 2 * half);
    std::vector<double> discrepancyRow(sortedReplicates->Row(rows.high), sortedReplicates->Row(rows.high) + 2 * half);
    // A column with values that are not finite has no order to read a
    // critical value from: it stays undefined for the report to explain.
    for (int k = 0; k < 2 * half; ++k) {
        if (!ColumnAllFinite(sortedReplicates, k)) {
            congruenceRow[k] = discrepancyRow[k] = std::numeric_limits<double>::quiet_NaN();
        }
    }
    const double* congruences = congruenceRow.data();
    const double* discrepancies = discrepancyRow.data();
    InvarianceIndexSet critical;
    critical.overallCongruence = congruences[0];
    TakeValues(congruences, 1, items, critical.itemCongruence);
    TakeValues(congruences, 1 + items, factors, critical.factorCongruence);
    critical.overallDiscrepancy = discrepancies[half];
    TakeValues(discrepancies, half + 1, items, critical.itemDiscrepancy);
    TakeValues(discrepancies, half + 1 + items, factors, critical.factorDiscrepancy);
    return critical;
}

} // namespace talver

#pragma once
// Congruence and discrepancy indices of two p x m loading patterns, per item,
// per factor and overall, and their layout in a row of replicate statistics.

#include <vector>

#include "matrix/Matrix.h"
#include "stats/AlphaLevel.h"

namespace talver {

struct InvarianceIndexSet {
    double overallCongruence = 0.0;
    std::vector<double> itemCongruence;   // p
    std::vector<double> factorCongruence; // m
    double overallDiscrepancy = 0.0;
    std::vector<double> itemDiscrepancy;   // p
    std::vector<double> factorDiscrepancy; // m
};

// Tucker's congruence sum(g h) / (sqrt(sum g^2) sqrt(sum h^2)) and the sum of
// squared differences of the Target pattern g and the Replication pattern h,
// over the m loadings of each item, the p loadings of each factor and all of
// them.
InvarianceIndexSet InvarianceIndices(const Matrix* g, const Matrix* h);

// The indices as one row of the replicate matrix: overall congruence, the p
// item and m factor congruences, overall discrepancy, the p item and m factor
// discrepancies.
std::vector<double> IndexRow(const InvarianceIndexSet& indices);
int IndexRowLength(int items, int factors);

// Rows of the column-sorted replicates that hold the critical values: the
// lower alpha point for congruences, the upper one for discrepancies.
struct CriticalRows {
    int low;
    int high;
};

// floor((B - 1) alpha) and floor((B - 1) (1 - alpha)).
CriticalRows CriticalRowsFor(int replicates, AlphaLevel alpha);

// Critical values from the column-sorted replicate matrix: the congruences
// from row rows.low, the discrepancies from row rows.high.
InvarianceIndexSet CriticalIndices(const Matrix* sortedReplicates, CriticalRows rows, int items, int factors);

} // namespace talver

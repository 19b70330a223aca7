#pragma once
// From bootstrap replicates to the bias-corrected intervals of the item
// discriminations and residual variances, and their comparison.

#include <vector>

#include "analyses/DiscriminationResults.h"
#include "matrix/Matrix.h"

namespace talver {

// Whether the closed intervals [targetLower, targetUpper] and
// [replicationLower, replicationUpper] share a point.
bool IntervalsOverlap(double targetLower, double targetUpper, double replicationLower, double replicationUpper);

// observed: the statistics of each sample in the column order of its
// replicate matrix (see DiscriminationStatistics); replicates: B x (p m + p),
// one row per replicate, unsorted. alpha chooses the critical value.
// Decides significance and whether each kind of table can be shown.
DiscriminationResults SummarizeDiscriminations(const std::vector<double>& targetObserved,
                                               const std::vector<double>& replicationObserved,
                                               const Matrix* targetReplicates, const Matrix* replicationReplicates,
                                               int items, int factors, AlphaLevel alpha, ExtractionMethod method);

} // namespace talver

#pragma once
// The bootstrap of item discriminations and residual variances: every
// replicate resamples each sample, extracts its loadings and rotates them
// towards the observed rotated loadings of that sample.

#include <vector>

#include "analyses/FactorSolution.h"
#include "analyses/ResampledSolution.h"
#include "analyses/ComputeContext.h"
#include "matrix/Matrix.h"

namespace talver {

// The statistics of one sample in the column order of the replicate
// matrices: loading (i, j) of the p x m pattern in column j p + i, then the
// residual variance of item i in column p m + i.
std::vector<double> DiscriminationStatistics(const Matrix* pattern, const Matrix* residuals);

struct DiscriminationDraw {
    DrawFailure failure = DrawFailure::None;
    std::vector<double> statistics; // as DiscriminationStatistics
    SampleTally tally{};
};

// One half of a replicate: a bootstrap sample of the data (with its
// redraws), its loadings rotated by Procrustes towards rotationTarget, and the
// residual variances of the unrotated loadings. Draws from `random` only.
DiscriminationDraw DrawDiscriminations(const Matrix* sample, const Matrix* rotationTarget,
                                       const SolutionSettings& settings, RandomSource& random);

// Fills row t of targetReplicates and replicationReplicates (B rows each,
// p m + p columns) for t = 0 .. B - 1: the Target half, then the Replication
// half of every replicate, on the context's threads with the rows of one.
// Shows the counter after every replicate and adds each to the tally. Stops
// at the first half that fails with all its redraws and says which.
SampleFailure RunDiscriminationReplicates(ComputeContext& context, const Matrix* targetData,
                                          const Matrix* replicationData, const Matrix* targetPattern,
                                          const Matrix* replicationPattern, const SolutionSettings& settings,
                                          Matrix* targetReplicates, Matrix* replicationReplicates,
                                          BootstrapTally& tally);

} // namespace talver

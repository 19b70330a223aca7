#pragma once
// The bootstrap of the congruence and discrepancy indices under invariance:
// every replicate resamples both populations, rotates the Target loadings by
// Varimax and the Replication loadings towards them, and compares the two.

#include <vector>

#include "analyses/FactorSolution.h"
#include "analyses/ResampledSolution.h"
#include "analyses/ComputeContext.h"
#include "matrix/Matrix.h"

namespace talver {

struct IndicesDraw {
    SampleFailure failure;
    std::vector<double> row; // as IndexRow
    ReplicateTally tally{};
};

// One replicate: the Target half (a bootstrap sample of the Target
// population with its redraws, Varimax with its random starts), then the
// Replication half (a bootstrap sample of the Replication population with its
// redraws, Procrustes towards the Target half). The per-factor indices
// follow the columns of the Target half matched to the observed Target
// pattern (MatchColumns); the others do not depend on the match. Draws from
// `random` only.
IndicesDraw DrawIndices(const Matrix* targetPopulation, const Matrix* replicationPopulation,
                        const Matrix* observedPattern, const SolutionSettings& settings, RandomSource& random);

// Fills row b of replicates (B rows, IndexRowLength columns) for
// b = 0 .. B - 1 on the context's threads with the rows of one, showing the
// counter after every replicate and adding each to the tally. Stops at the
// first half that fails with all its redraws and says which.
SampleFailure RunIndicesReplicates(ComputeContext& context, const Matrix* targetPopulation,
                                   const Matrix* replicationPopulation, const Matrix* observedPattern,
                                   const SolutionSettings& settings, Matrix* replicates, BootstrapTally& tally);

} // namespace talver

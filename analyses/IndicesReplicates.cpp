#include "analyses/IndicesReplicates.h"

#include <algorithm>

#include "analyses/CongruenceIndices.h"
#include "analyses/ObservedSolution.h"

IndicesDraw DrawIndices(const Matrix* targetPopulation, const Matrix* replicationPopulation,
                        const SolutionSettings& settings)
{
    MatrixScope scope;
    const ResampledSolution target = DrawSolution(targetPopulation, settings);
    if (target.failure != DrawFailure::None) {
        return {{target.failure, SampleSide::Target}, {}};
    }
    // A replicate's rotation is used whatever its criterion.
    double criterion = 0.0;
    const Matrix* targetPattern = VarimaxPattern(target.loadings, settings.tolerance, criterion);
    const ResampledSolution replication = DrawSolution(replicationPopulation, settings);
    if (replication.failure != DrawFailure::None) {
        return {{replication.failure, SampleSide::Replication}, {}};
    }
    const Matrix* replicationPattern = RotatedToward(replication.loadings, targetPattern);
    return {{}, IndexRow(InvarianceIndices(targetPattern, replicationPattern))};
}

SampleFailure RunIndicesReplicates(StatusDisplay& display, const Matrix* targetPopulation,
                                   const Matrix* replicationPopulation, const SolutionSettings& settings,
                                   Matrix* replicates)
{
    const int count = replicates->Rows();
    for (int b = 0; b < count; ++b) {
        const IndicesDraw draw = DrawIndices(targetPopulation, replicationPopulation, settings);
        if (draw.failure.failure != DrawFailure::None) {
            return draw.failure;
        }
        std::copy(draw.row.begin(), draw.row.end(), replicates->Row(b));
        display.ShowBootstrapProgress(b, count, 100.0 * b / count);
    }
    return {};
}

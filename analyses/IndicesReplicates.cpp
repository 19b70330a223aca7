#include "analyses/IndicesReplicates.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "analyses/CongruenceIndices.h"
#include "analyses/FactorMatching.h"
#include "analyses/ObservedSolution.h"
#include "analyses/OrderedReplicates.h"
#include "stats/Bootstrap.h"

namespace talver {

IndicesDraw DrawIndices(const Matrix* targetPopulation, const Matrix* replicationPopulation,
                        const Matrix* observedPattern, const SolutionSettings& settings, RandomSource& random)
{
    MatrixScope scope;
    const ResampledSolution target = DrawSolution(targetPopulation, settings, random);
    if (target.failure != DrawFailure::None) {
        return {{target.failure, SampleSide::Target}, {}, {target.tally, {}}};
    }
    // A replicate's rotation is used whatever its criterion.
    double criterion = 0.0;
    const Matrix* targetPattern = VarimaxPattern(target.loadings, settings.tolerance, criterion, random);
    const ResampledSolution replication = DrawSolution(replicationPopulation, settings, random);
    if (replication.failure != DrawFailure::None) {
        return {{replication.failure, SampleSide::Replication}, {}, {target.tally, replication.tally}};
    }
    const Matrix* replicationPattern = RotatedToward(replication.loadings, targetPattern);
    // The factors of the replicate in the order of the observed ones, so that
    // each per-factor column of the replicates belongs to one factor.
    const ColumnMatch match = MatchColumns(targetPattern, observedPattern);
    return {{},
            IndexRow(WithFactorsMatched(InvarianceIndices(targetPattern, replicationPattern), match)),
            {target.tally, replication.tally}};
}

SampleFailure RunIndicesReplicates(ComputeContext& context, const Matrix* targetPopulation,
                                   const Matrix* replicationPopulation, const Matrix* observedPattern,
                                   const SolutionSettings& settings, Matrix* replicates, BootstrapTally& tally)
{
    const int count = replicates->Rows();
    // Each random start of the Varimax rotation draws an m x m matrix and one
    // draw more; a rotation abandoned early draws fewer.
    const std::uint64_t m = static_cast<std::uint64_t>(settings.factors);
    const std::uint64_t varimaxDraws = kVarimaxRandomStarts * (m * m + 1);
    const int targetRows = targetPopulation->Rows();
    const int replicationRows = replicationPopulation->Rows();
    ReplicateLoop loop{count,
                       [targetRows, replicationRows, varimaxDraws](RandomSource& random) {
                           const std::uint64_t targetDraws = SkipResampleDraws(random, targetRows);
                           random.JumpAhead(varimaxDraws);
                           return targetDraws + varimaxDraws + SkipResampleDraws(random, replicationRows);
                       },
                       context.threads};
    loop.progress = &context.progress;
    auto makeDraw = [&]() -> ReplicateDraw {
        return [&settings, targetPopulation, replicationPopulation,
                observedPattern](RandomSource& random) -> ReplicateOutcome {
            IndicesDraw draw =
                DrawIndices(targetPopulation, replicationPopulation, observedPattern, settings, random);
            return {draw.failure, std::move(draw.row), {}, draw.tally};
        };
    };
    auto commit = [&](int b, const ReplicateOutcome& outcome) {
        std::copy(outcome.target.begin(), outcome.target.end(), replicates->Row(b));
        tally.Add(outcome.tally);
        context.progress.ShowBootstrapProgress(b, count, 100.0 * b / count);
    };
    return RunReplicatesInOrder(loop, context.random, makeDraw, commit);
}

} // namespace talver

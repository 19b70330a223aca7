#include "analyses/DiscriminationReplicates.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "analyses/OrderedReplicates.h"
#include "stats/Bootstrap.h"

namespace talver {

std::vector<double> DiscriminationStatistics(const Matrix* pattern, const Matrix* residuals)
{
    const int p = pattern->Rows();
    const int m = pattern->Cols();
    std::vector<double> statistics(static_cast<std::size_t>(p) * m + p);
    for (int j = 0; j < m; ++j) {
        for (int i = 0; i < p; ++i) {
            statistics[static_cast<std::size_t>(j) * p + i] = (*pattern)(i, j);
        }
    }
    for (int i = 0; i < p; ++i) {
        statistics[static_cast<std::size_t>(p) * m + i] = (*residuals)(i, 0);
    }
    return statistics;
}

DiscriminationDraw DrawDiscriminations(const Matrix* sample, const Matrix* rotationTarget,
                                       const SolutionSettings& settings, RandomSource& random)
{
    MatrixScope scope;
    const ResampledSolution solution = DrawSolution(sample, settings, random);
    if (solution.failure != DrawFailure::None) {
        return {solution.failure, {}, solution.tally};
    }
    return {DrawFailure::None,
            DiscriminationStatistics(RotatedToward(solution.loadings, rotationTarget),
                                     ResidualVariances(solution.dispersion, solution.loadings)),
            solution.tally};
}

SampleFailure RunDiscriminationReplicates(ComputeContext& context, const Matrix* targetData,
                                          const Matrix* replicationData, const Matrix* targetPattern,
                                          const Matrix* replicationPattern, const SolutionSettings& settings,
                                          Matrix* targetReplicates, Matrix* replicationReplicates,
                                          BootstrapTally& tally)
{
    const int replicates = targetReplicates->Rows();
    const int targetRows = targetData->Rows();
    const int replicationRows = replicationData->Rows();
    ReplicateLoop loop{replicates,
                       [targetRows, replicationRows](RandomSource& random) {
                           const std::uint64_t targetDraws = SkipResampleDraws(random, targetRows);
                           return targetDraws + SkipResampleDraws(random, replicationRows);
                       },
                       context.threads};
    loop.progress = &context.progress;
    auto makeDraw = [&]() -> ReplicateDraw {
        return [&settings, targetData, replicationData, targetPattern,
                replicationPattern](RandomSource& random) -> ReplicateOutcome {
            DiscriminationDraw targetHalf = DrawDiscriminations(targetData, targetPattern, settings, random);
            if (targetHalf.failure != DrawFailure::None) {
                return {{targetHalf.failure, SampleSide::Target}, {}, {}, {targetHalf.tally, {}}};
            }
            DiscriminationDraw replicationHalf =
                DrawDiscriminations(replicationData, replicationPattern, settings, random);
            if (replicationHalf.failure != DrawFailure::None) {
                return {{replicationHalf.failure, SampleSide::Replication}, {}, {}, {targetHalf.tally, replicationHalf.tally}};
            }
            return {{},
                    std::move(targetHalf.statistics),
                    std::move(replicationHalf.statistics),
                    {targetHalf.tally, replicationHalf.tally}};
        };
    };
    auto commit = [&](int t, const ReplicateOutcome& outcome) {
        std::copy(outcome.target.begin(), outcome.target.end(), targetReplicates->Row(t));
        std::copy(outcome.replication.begin(), outcome.replication.end(), replicationReplicates->Row(t));
        tally.Add(outcome.tally);
        context.progress.ShowBootstrapProgress(t, replicates, static_cast<double>(t) / replicates * 100.0);
    };
    return RunReplicatesInOrder(loop, context.random, makeDraw, commit);
}

} // namespace talver

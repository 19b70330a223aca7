#include "analyses/DiscriminationReplicates.h"

#include <algorithm>

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

DiscriminationDraw DrawDiscriminations(const Matrix* data, const Matrix* rotationTarget,
                                       const SolutionSettings& settings)
{
    MatrixScope scope;
    const ResampledSolution solution = DrawSolution(data, settings);
    if (solution.failure != DrawFailure::None) {
        return {solution.failure, {}};
    }
    return {DrawFailure::None,
            DiscriminationStatistics(RotatedToward(solution.loadings, rotationTarget),
                                     ResidualVariances(solution.dispersion, solution.loadings))};
}

namespace {

void StoreRow(const std::vector<double>& statistics, Matrix* replicates, int row)
{
    std::copy(statistics.begin(), statistics.end(), replicates->Row(row));
}

} // namespace

SampleFailure RunDiscriminationReplicates(StatusDisplay& display, const Matrix* targetData,
                                          const Matrix* replicationData, const Matrix* targetPattern,
                                          const Matrix* replicationPattern, const SolutionSettings& settings,
                                          Matrix* targetReplicates, Matrix* replicationReplicates)
{
    const int replicates = targetReplicates->Rows();
    for (int t = 0; t < replicates; ++t) {
        const DiscriminationDraw target = DrawDiscriminations(targetData, targetPattern, settings);
        if (target.failure != DrawFailure::None) {
            return {target.failure, SampleSide::Target};
        }
        StoreRow(target.statistics, targetReplicates, t);
        const DiscriminationDraw replication = DrawDiscriminations(replicationData, replicationPattern, settings);
        if (replication.failure != DrawFailure::None) {
            return {replication.failure, SampleSide::Replication};
        }
        StoreRow(replication.statistics, replicationReplicates, t);
        display.ShowBootstrapProgress(t, replicates, static_cast<double>(t) / replicates * 100.0);
    }
    return {};
}

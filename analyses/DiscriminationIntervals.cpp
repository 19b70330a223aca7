#include "analyses/DiscriminationIntervals.h"

#include <algorithm>
#include <limits>

#include "analyses/AnalysisWarnings.h"
#include "matrix/MatrixInPlace.h"
#include "stats/Bootstrap.h"

namespace talver {

namespace {

struct Bounds {
    std::vector<double> lower;
    std::vector<double> upper;
};

Bounds IntervalsOf(const std::vector<double>& observed, const Matrix* replicates, double criticalZ)
{
    MatrixScope scope;
    const Matrix* sorted = SortColumns(replicates);
    Bounds bounds{std::vector<double>(observed.size()), std::vector<double>(observed.size())};
    for (std::size_t k = 0; k < observed.size(); ++k) {
        // Values that are not finite have no place in an order, so the bounds
        // read from such a column would mean nothing: they are left undefined
        // for the report to explain.
        if (!ColumnAllFinite(sorted, static_cast<int>(k))) {
            bounds.lower[k] = bounds.upper[k] = std::numeric_limits<double>::quiet_NaN();
            continue;
        }
        const auto [lower, upper] = BcPercentileInterval(sorted, static_cast<int>(k), observed[k], criticalZ);
        bounds.lower[k] = lower;
        bounds.upper[k] = upper;
    }
    return bounds;
}

SampleDiscriminations SampleSummary(const std::vector<double>& observed, const Bounds& bounds, int p, int m)
{
    const int residualsFirst = p * m;
    return {TableOfColumns(observed, 0, p, m),
            TableOfColumns(bounds.lower, 0, p, m),
            TableOfColumns(bounds.upper, 0, p, m),
            TableOfColumns(observed, residualsFirst, p, 1),
            TableOfColumns(bounds.lower, residualsFirst, p, 1),
            TableOfColumns(bounds.upper, residualsFirst, p, 1)};
}

} // namespace

bool IntervalsOverlap(double targetLower, double targetUpper, double replicationLower, double replicationUpper)
{
    // Without ties this is: a Replication bound inside the Target interval, or
    // the Replication interval around it. Shared end points count as overlap,
    // so that equal intervals are never called different.
    return std::max(targetLower, replicationLower) <= std::min(targetUpper, replicationUpper);
}

namespace {

FlagTable SignificantWhereApart(const ResultTable& overlaps)
{
    FlagTable flags{overlaps.rows, overlaps.cols, std::vector<bool>(overlaps.values.size())};
    for (std::size_t k = 0; k < overlaps.values.size(); ++k) {
        flags.values[k] = overlaps.values[k] != 1.0;
    }
    return flags;
}

// The warning for the first sample, Target first, whose values or interval
// bounds of a kind are not all finite numbers; empty when both are.
std::string WarningForIntervals(const DiscriminationResults& results, bool residuals)
{
    for (const auto& [sample, side] : {std::pair{&results.target, SampleSide::Target},
                                       std::pair{&results.replication, SampleSide::Replication}}) {
        const bool finite = residuals ? AllFinite(sample->residualVariances) && AllFinite(sample->residualLower) &&
                                            AllFinite(sample->residualUpper)
                                      : AllFinite(sample->loadings) && AllFinite(sample->loadingLower) &&
                                            AllFinite(sample->loadingUpper);
        if (!finite) {
            return NonFiniteIntervalsWarning(side, residuals ? "item residual variances" : "item discriminations");
        }
    }
    return "";
}

} // namespace

DiscriminationResults SummarizeDiscriminations(const std::vector<double>& targetObserved,
                                               const std::vector<double>& replicationObserved,
                                               const Matrix* targetReplicates, const Matrix* replicationReplicates,
                                               int items, int factors, AlphaLevel alpha, ExtractionMethod method)
{
    const double criticalZ = CriticalZ(alpha);
    const Bounds target = IntervalsOf(targetObserved, targetReplicates, criticalZ);
    const Bounds replication = IntervalsOf(replicationObserved, replicationReplicates, criticalZ);
    const std::size_t count = targetObserved.size();
    std::vector<double> differences(count);
    std::vector<double> overlaps(count);
    for (std::size_t k = 0; k < count; ++k) {
        differences[k] = targetObserved[k] - replicationObserved[k];
        overlaps[k] = IntervalsOverlap(target.lower[k], target.upper[k], replication.lower[k], replication.upper[k])
                          ? 1.0
                          : 0.0;
    }
    const int residualsFirst = items * factors;
    DiscriminationResults results;
    results.method = method;
    results.target = SampleSummary(targetObserved, target, items, factors);
    results.replication = SampleSummary(replicationObserved, replication, items, factors);
    results.loadingDifferences = TableOfColumns(differences, 0, items, factors);
    results.loadingOverlaps = TableOfColumns(overlaps, 0, items, factors);
    results.loadingSignificant = SignificantWhereApart(results.loadingOverlaps);
    results.residualDifferences = TableOfColumns(differences, residualsFirst, items, 1);
    results.residualOverlaps = TableOfColumns(overlaps, residualsFirst, items, 1);
    results.residualSignificant = SignificantWhereApart(results.residualOverlaps);
    results.loadingsWarning = WarningForIntervals(results, false);
    results.residualsWarning = WarningForIntervals(results, true);
    return results;
}

} // namespace talver

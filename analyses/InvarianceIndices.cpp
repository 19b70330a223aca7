#include "analyses/InvarianceIndices.h"

#include <cmath>
#include <utility>

#include "analyses/AnalysisWarnings.h"
#include "analyses/DispersionByCode.h"
#include "analyses/IndicesReplicates.h"
#include "matrix/MatrixInPlace.h"
#include "analyses/ObservedSolution.h"
#include "analyses/Populations.h"
#include "matrix/Matrix.h"
#include "stats/Bootstrap.h"

namespace talver {

namespace {

InvarianceIndexSet CriticalValues(const Matrix* replicates, CriticalRows rows, int items, int factors)
{
    MatrixScope scope;
    return CriticalIndices(SortColumns(replicates), rows, items, factors);
}

bool AllFinite(const std::vector<double>& values)
{
    for (double value : values) {
        if (!std::isfinite(value)) {
            return false;
        }
    }
    return true;
}

// Whether every value of the families shown is a finite number.
bool ShownValuesFinite(const InvarianceIndexSet& set, bool congruence, bool discrepancy)
{
    return (!congruence || (AllFinite(set.itemCongruence) && AllFinite(set.factorCongruence) &&
                            std::isfinite(set.overallCongruence))) &&
           (!discrepancy || (AllFinite(set.itemDiscrepancy) && AllFinite(set.factorDiscrepancy) &&
                             std::isfinite(set.overallDiscrepancy)));
}

std::vector<bool> Compared(const std::vector<double>& observed, const std::vector<double>& critical, bool below)
{
    std::vector<bool> flags(observed.size());
    for (std::size_t k = 0; k < observed.size(); ++k) {
        flags[k] = below ? observed[k] < critical[k] : observed[k] > critical[k];
    }
    return flags;
}

} // namespace

InvarianceSignificance SignificanceOf(const InvarianceIndexSet& observed, const InvarianceIndexSet& critical)
{
    return {observed.overallCongruence < critical.overallCongruence,
            Compared(observed.itemCongruence, critical.itemCongruence, true),
            Compared(observed.factorCongruence, critical.factorCongruence, true),
            observed.overallDiscrepancy > critical.overallDiscrepancy,
            Compared(observed.itemDiscrepancy, critical.itemDiscrepancy, false),
            Compared(observed.factorDiscrepancy, critical.factorDiscrepancy, false)};
}

std::string IndicesWarning(const InvarianceIndexSet& observed, const InvarianceIndexSet& critical,
                           bool showCongruence, bool showDiscrepancy, const std::vector<std::string>& itemNames)
{
    // Tables of values that are not numbers would tell the reader nothing.
    if (!ShownValuesFinite(observed, showCongruence, showDiscrepancy)) {
        // The items whose own indices are not numbers are named.
        std::vector<int> items;
        for (std::size_t i = 0; i < observed.itemCongruence.size(); ++i) {
            const bool congruence = showCongruence && !std::isfinite(observed.itemCongruence[i]);
            const bool discrepancy = showDiscrepancy && i < observed.itemDiscrepancy.size() &&
                                     !std::isfinite(observed.itemDiscrepancy[i]);
            if (congruence || discrepancy) {
                items.push_back(static_cast<int>(i));
            }
        }
        return UndefinedCongruenceWarning(items, itemNames);
    }
    if (!ShownValuesFinite(critical, showCongruence, showDiscrepancy)) {
        return NonFiniteCriticalValuesWarning();
    }
    return "";
}

InvarianceOutcome ComputeInvarianceIndices(const Matrix* targetData, const Matrix* replicationData,
                                           const AnalysisSettings& settings, bool showCongruence,
                                           bool showDiscrepancy, ComputeContext& context)
{
    MatrixScope scope;
    const CriticalRows criticalRows = CriticalRowsFor(settings.bootstrapSamples, settings.alpha);
    const DispersionKind analysed =
        settings.dispersion == DispersionKind::Covariance ? DispersionKind::Covariance : DispersionKind::Pearson;
    SolutionSettings solution = SolutionSettingsOf(settings, analysed);
    solution.itemLowest = solution.itemHighest = nullptr;

    context.progress.ShowStep("Computing dispersion matrices ...");
    const Matrix* targetDispersion = MomentDispersion(targetData, analysed);
    const Matrix* replicationDispersion = MomentDispersion(replicationData, analysed);

    context.progress.ShowStep("Computing populations ...");
    ObservedSolution observed;
    const ObservedOutcome outcome = SolveObserved(targetDispersion, replicationDispersion, solution, settings.itemNames,
                                                  context.random, observed);
    if (!outcome.solved) {
        return {outcome.warning, std::nullopt, {}};
    }
    const Populations populations = InvariancePopulations(targetData, replicationData, targetDispersion,
                                                          replicationDispersion, observed, analysed, settings.method);
    for (const auto& [population, side] : {std::pair{populations.target, SampleSide::Target},
                                           std::pair{populations.replication, SampleSide::Replication}}) {
        if (!AllFinite(population)) {
            return {SingularPopulationWarning(side), std::nullopt, {}};
        }
    }

    const int items = targetData->Cols();
    InvarianceResults results;
    results.alpha = settings.alpha;
    results.method = settings.method;
    results.requested = settings.dispersion;
    results.analysed = analysed;
    results.showCongruence = showCongruence;
    results.showDiscrepancy = showDiscrepancy;
    results.observed = InvarianceIndices(observed.targetPattern, observed.replicationPattern);
    Matrix* replicates = NewMatrix(settings.bootstrapSamples, IndexRowLength(items, settings.factorCount));
    context.progress.ShowStep("Bootstrap sampling ...");
    BootstrapTally tally;
    tally.ran = true;
    const SampleFailure failure =
        RunIndicesReplicates(context, populations.target, populations.replication, observed.targetPattern, solution,
                             replicates, tally);
    if (failure.failure != DrawFailure::None) {
        return {ResampleFailureWarning(failure), std::nullopt, tally};
    }

    context.progress.ShowStep("Computing indices ...");
    context.progress.ShowProgress(" ");
    results.critical = CriticalValues(replicates, criticalRows, items, settings.factorCount);
    context.progress.ShowStep("Print results ...");
    if (std::string warning = IndicesWarning(results.observed, results.critical, showCongruence, showDiscrepancy,
                                              settings.itemNames);
        !warning.empty()) {
        return {std::move(warning), std::nullopt, tally};
    }
    results.significant = SignificanceOf(results.observed, results.critical);
    return {"", std::move(results), tally};
}

} // namespace talver

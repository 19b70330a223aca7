#include "analyses/ItemDiscriminations.h"

#include "analyses/AnalysisWarnings.h"
#include "analyses/DiscriminationIntervals.h"
#include "analyses/DiscriminationReplicates.h"
#include "analyses/DispersionByCode.h"
#include "analyses/ObservedSolution.h"
#include "analyses/PolychoricCauses.h"
#include "matrix/Matrix.h"
#include "stats/Polychoric.h"

namespace talver {

namespace {

struct SampleDispersions {
    const Matrix* target = nullptr;
    const Matrix* replication = nullptr;
};

// The polychoric matrices of the observed samples, with the thresholds and
// contingency tables of each (categoryCount categories per item). Either
// matrix is nullptr when it cannot be estimated.
SampleDispersions ObservedPolychoric(AnalysisProgress& progress, const Matrix* targetData,
                                     const Matrix* replicationData, const AnalysisSettings& settings)
{
    const int p = targetData->Cols();
    const int categories = settings.categoryCount;
    const int tableRows = categories * (p * (p - 1) / 2);
    SampleDispersions dispersions;
    dispersions.target = PolychoricMatrixWithDetails(targetData, settings.itemLowest, settings.itemHighest,
                                                     NewMatrix(p, categories - 1), NewMatrix(tableRows, categories));
    progress.ShowStep("Computing dispersion matrices ......");
    dispersions.replication =
        PolychoricMatrixWithDetails(replicationData, settings.itemLowest, settings.itemHighest,
                                    NewMatrix(p, categories - 1), NewMatrix(tableRows, categories));
    return dispersions;
}

SampleDispersions ObservedDispersions(AnalysisProgress& progress, const Matrix* targetData,
                                      const Matrix* replicationData, const AnalysisSettings& settings)
{
    if (settings.dispersion == DispersionKind::Polychoric) {
        return ObservedPolychoric(progress, targetData, replicationData, settings);
    }
    return {MomentDispersion(targetData, settings.dispersion), MomentDispersion(replicationData, settings.dispersion)};
}

} // namespace

DiscriminationOutcome ComputeItemDiscriminations(const Matrix* targetData, const Matrix* replicationData,
                                                 const AnalysisSettings& settings, ComputeContext& context)
{
    MatrixScope scope;
    const SolutionSettings solution = SolutionSettingsOf(settings, settings.dispersion);

    context.progress.ShowStep("Computing dispersion matrices ...");
    const SampleDispersions dispersions = ObservedDispersions(context.progress, targetData, replicationData, settings);
    if (dispersions.target == nullptr || dispersions.replication == nullptr) {
        return {kPolychoricWarning + PolychoricRefusalCauses(targetData, replicationData, settings.itemLowest,
                                                             settings.itemHighest, settings.itemNames),
                std::nullopt, {}};
    }

    context.progress.ShowStep("Computing item discriminations ...");
    ObservedSolution observed;
    const ObservedOutcome outcome = SolveObserved(dispersions.target, dispersions.replication, solution,
                                                  settings.itemNames, context.random, observed);
    if (!outcome.solved) {
        return {outcome.warning, std::nullopt, {}};
    }

    const int p = targetData->Cols();
    const int statistics = p * settings.factorCount + p;
    Matrix* targetReplicates = NewMatrix(settings.bootstrapSamples, statistics);
    Matrix* replicationReplicates = NewMatrix(settings.bootstrapSamples, statistics);
    context.progress.ShowStep("Bootstrap resampling ...");
    BootstrapTally tally;
    tally.ran = true;
    const SampleFailure failure = RunDiscriminationReplicates(context, targetData, replicationData,
                                                              observed.targetPattern, observed.replicationPattern,
                                                              solution, targetReplicates, replicationReplicates, tally);
    if (failure.failure != DrawFailure::None) {
        return {ResampleFailureWarning(failure), std::nullopt, tally};
    }

    context.progress.ShowStep("Computing confidence intervals ...");
    context.progress.ShowProgress(" ");
    DiscriminationResults results = SummarizeDiscriminations(
        DiscriminationStatistics(observed.targetPattern, observed.targetResiduals),
        DiscriminationStatistics(observed.replicationPattern, observed.replicationResiduals), targetReplicates,
        replicationReplicates, p, settings.factorCount, settings.alpha, settings.method);
    results.improperTargetItems = ImproperItems(observed.targetResiduals, dispersions.target);
    results.improperReplicationItems = ImproperItems(observed.replicationResiduals, dispersions.replication);
    results.improperWarning = ImproperSolutionWarning(results.improperTargetItems, results.improperReplicationItems,
                                                       settings.itemNames);
    context.progress.ShowStep("Printing results ...");
    return {"", std::move(results), tally};
}

} // namespace talver

#include "analyses/ItemDiscriminations.h"

#include "analyses/AnalysisWarnings.h"
#include "analyses/DiscriminationIntervals.h"
#include "analyses/DiscriminationReplicates.h"
#include "analyses/DiscriminationReport.h"
#include "analyses/DispersionByCode.h"
#include "analyses/ObservedSolution.h"
#include "analyses/ReplicateThreads.h"
#include "analyses/RunResults.h"
#include "app/Workspace.h"
#include "matrix/Matrix.h"
#include "stats/Polychoric.h"

namespace {

struct SampleDispersions {
    const Matrix* target = nullptr;
    const Matrix* replication = nullptr;
};

// The polychoric matrices of the observed samples, with the thresholds and
// contingency tables of each (categoryCount categories per item). Either
// matrix is nullptr when it cannot be estimated.
SampleDispersions ObservedPolychoric(StatusDisplay& display, const Matrix* targetData, const Matrix* replicationData,
                                     const Matrix* itemLowest, const Matrix* itemHighest, int categoryCount)
{
    const int p = targetData->Cols();
    const int tableRows = categoryCount * (p * (p - 1) / 2);
    SampleDispersions dispersions;
    dispersions.target = PolychoricMatrixWithDetails(targetData, itemLowest, itemHighest,
                                                     NewMatrix(p, categoryCount - 1),
                                                     NewMatrix(tableRows, categoryCount));
    display.ShowText(TextField::Step, "Computing dispersion matrices ......");
    dispersions.replication = PolychoricMatrixWithDetails(replicationData, itemLowest, itemHighest,
                                                          NewMatrix(p, categoryCount - 1),
                                                          NewMatrix(tableRows, categoryCount));
    return dispersions;
}

SampleDispersions ObservedDispersions(StatusDisplay& display, const Matrix* targetData,
                                      const Matrix* replicationData, const SolutionSettings& settings,
                                      int categoryCount)
{
    if (IsPolychoric(settings.dispersionKind)) {
        return ObservedPolychoric(display, targetData, replicationData, settings.itemLowest, settings.itemHighest,
                                  categoryCount);
    }
    return {MomentDispersion(targetData, settings.dispersionKind),
            MomentDispersion(replicationData, settings.dispersionKind)};
}

} // namespace

void AnalyzeItemDiscriminations(StatusDisplay& display, const Matrix* targetData, const Matrix* replicationData,
                                const Matrix* itemLowest, const Matrix* itemHighest, int factorCount,
                                int bootstrapSamples, int categoryCount, int alphaCode, double tolerance,
                                int extractionMethod, int dispersionKind, bool showDiscriminations,
                                bool showResidualVariances, ReportContext& context)
{
    MatrixScope scope;
    const SolutionSettings settings{factorCount, extractionMethod, tolerance, dispersionKind, itemLowest, itemHighest};

    display.ShowText(TextField::Step, "Computing dispersion matrices ...");
    const SampleDispersions dispersions =
        ObservedDispersions(display, targetData, replicationData, settings, categoryCount);
    if (dispersions.target == nullptr || dispersions.replication == nullptr) {
        PrintWarningBlock(context, kDiscriminationsHeading, kPolychoricWarning);
        return;
    }

    display.ShowText(TextField::Step, "Computing item discriminations ...");
    ObservedSolution observed;
    const ObservedOutcome outcome = SolveObserved(dispersions.target, dispersions.replication, targetData->Rows(),
                                                  replicationData->Rows(), settings, observed);
    if (!outcome.solved) {
        PrintWarningBlockIfAny(context, kDiscriminationsHeading, outcome.warning);
        return;
    }

    const int p = targetData->Cols();
    const int statistics = p * factorCount + p;
    Matrix* targetReplicates = NewMatrix(bootstrapSamples, statistics);
    Matrix* replicationReplicates = NewMatrix(bootstrapSamples, statistics);
    display.ShowText(TextField::Step, "Bootstrap resampling ...");
    const SampleFailure failure =
        RunDiscriminationReplicates(display, targetData, replicationData, observed.targetPattern,
                                    observed.replicationPattern, settings, ReplicateThreads(), targetReplicates,
                                    replicationReplicates);
    if (failure.failure != DrawFailure::None) {
        PrintWarningBlock(context, kDiscriminationsHeading, ResampleFailureWarning(failure));
        return;
    }

    display.ShowText(TextField::Step, "Computing confidence intervals ...");
    display.ShowText(TextField::Progress, " ");
    const DiscriminationResults results = SummarizeDiscriminations(
        DiscriminationStatistics(observed.targetPattern, observed.targetResiduals),
        DiscriminationStatistics(observed.replicationPattern, observed.replicationResiduals), targetReplicates,
        replicationReplicates, p, factorCount, alphaCode, extractionMethod);

    display.ShowText(TextField::Step, "Printing results ...");
    const bool loadingsShown = showDiscriminations && PrintDiscriminationsSection(context, results);
    const bool residualVariancesShown = showResidualVariances && dispersionKind == kDispersionCovariance &&
                                        PrintResidualVariancesSection(context, results);
    if (context.results) {
        context.results->discriminations = results;
        context.results->loadingsReported = loadingsShown;
        context.results->residualVariancesReported = residualVariancesShown;
    }
}

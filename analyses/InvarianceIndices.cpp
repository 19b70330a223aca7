#include "analyses/InvarianceIndices.h"

#include <utility>

#include "analyses/AnalysisWarnings.h"
#include "analyses/CongruenceIndices.h"
#include "analyses/DispersionByCode.h"
#include "analyses/IndicesReplicates.h"
#include "analyses/IndicesReport.h"
#include "analyses/MatrixHelpers.h"
#include "analyses/ObservedSolution.h"
#include "analyses/Populations.h"
#include "analyses/ReplicateThreads.h"
#include "analyses/RunResults.h"
#include "app/Workspace.h"
#include "matrix/Matrix.h"
#include "stats/Bootstrap.h"

namespace {

InvarianceIndexSet CriticalValues(const Matrix* replicates, CriticalRows rows, int items, int factors)
{
    MatrixScope scope;
    return CriticalIndices(SortColumns(replicates), rows, items, factors);
}

} // namespace

void AnalyzeInvarianceIndices(StatusDisplay& display, const Matrix* targetData, const Matrix* replicationData,
                              const Matrix* /*itemLowest*/, const Matrix* /*itemHighest*/, int factorCount,
                              int bootstrapSamples, int alphaCode, double tolerance, int extractionMethod,
                              int dispersionKind, bool showCongruence, bool showDiscrepancy,
                              ReportContext& context)
{
    MatrixScope scope;
    const CriticalRows criticalRows = CriticalRowsFor(bootstrapSamples, alphaCode);
    // Polychoric requests are analysed with Pearson correlations here.
    const int analysedKind = dispersionKind == kDispersionCovariance ? kDispersionCovariance : kDispersionPearson;
    const SolutionSettings settings{factorCount, extractionMethod, tolerance, analysedKind, nullptr, nullptr};

    display.ShowText(TextField::Step, "Computing dispersion matrices ...");
    const Matrix* targetDispersion = MomentDispersion(targetData, analysedKind);
    const Matrix* replicationDispersion = MomentDispersion(replicationData, analysedKind);

    display.ShowText(TextField::Step, "Computing populations ...");
    ObservedSolution observed;
    const ObservedOutcome outcome = SolveObserved(targetDispersion, replicationDispersion, targetData->Rows(),
                                                  replicationData->Rows(), settings, observed);
    if (!outcome.solved) {
        PrintWarningBlockIfAny(context, kIndicesHeading, outcome.warning);
        return;
    }
    const Populations populations = InvariancePopulations(targetData, replicationData, targetDispersion,
                                                          replicationDispersion, observed, analysedKind);
    for (const auto& [population, side] : {std::pair{populations.target, SampleSide::Target},
                                           std::pair{populations.replication, SampleSide::Replication}}) {
        if (!AllFinite(population)) {
            PrintWarningBlock(context, kIndicesHeading, SingularPopulationWarning(side));
            return;
        }
    }

    const int items = targetData->Cols();
    InvarianceResults results{alphaCode, extractionMethod, dispersionKind, showCongruence, showDiscrepancy,
                              InvarianceIndices(observed.targetPattern, observed.replicationPattern), {}};
    Matrix* replicates = NewMatrix(bootstrapSamples, IndexRowLength(items, factorCount));
    display.ShowText(TextField::Step, "Bootstrap sampling ...");
    const SampleFailure failure =
        RunIndicesReplicates(display, populations.target, populations.replication, settings, ReplicateThreads(),
                             replicates);
    if (failure.failure != DrawFailure::None) {
        PrintWarningBlock(context, kIndicesHeading, ResampleFailureWarning(failure));
        return;
    }

    display.ShowText(TextField::Step, "Computing indices ...");
    display.ShowText(TextField::Progress, " ");
    results.critical = CriticalValues(replicates, criticalRows, items, factorCount);

    display.ShowText(TextField::Step, "Print results ...");
    if (PrintIndicesSection(context, results) && context.results) {
        context.results->invariance = results;
    }
}

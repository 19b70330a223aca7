#include "report/AnalysisSections.h"

#include "analyses/AnalysisSettings.h"
#include "analyses/InvarianceIndices.h"
#include "analyses/ItemDifficulties.h"
#include "analyses/ItemDiscriminations.h"
#include "report/DifficultySections.h"
#include "report/DiscriminationSections.h"
#include "report/IndicesSection.h"
#include "report/WarningBlock.h"

namespace talver {

namespace {

AnalysisSettings SettingsOf(const Matrix* itemLowest, const Matrix* itemHighest, int factorCount,
                            int bootstrapSamples, int categoryCount, int alphaCode, double tolerance,
                            int extractionMethod, int dispersionKind, const std::vector<std::string>& itemNames)
{
    AnalysisSettings settings;
    settings.itemNames = itemNames;
    settings.factorCount = factorCount;
    settings.bootstrapSamples = bootstrapSamples;
    settings.alpha = AlphaFromCode(alphaCode);
    settings.method = ExtractionMethodFromCode(extractionMethod);
    settings.dispersion = DispersionKindFromCode(dispersionKind);
    settings.tolerance = tolerance;
    settings.itemLowest = itemLowest;
    settings.itemHighest = itemHighest;
    settings.categoryCount = categoryCount;
    return settings;
}

} // namespace

DifficultyResults AnalyzeItemDifficulties(const Matrix* targetData, const Matrix* replicationData, int targetCount,
                                          int replicationCount, int alphaCode,
                                          const std::vector<std::string>& itemNames, ReportContext& context)
{
    DifficultyResults results =
        CompareItemMeans(targetData, replicationData, targetCount, replicationCount, AlphaFromCode(alphaCode),
                         itemNames);
    PrintItemDifficulties(context, results);
    return results;
}

DiscriminationOutcome AnalyzeItemDiscriminations(ComputeContext& compute, const Matrix* targetData,
                                                 const Matrix* replicationData, const Matrix* itemLowest,
                                                 const Matrix* itemHighest, int factorCount, int bootstrapSamples,
                                                 int categoryCount, int alphaCode, double tolerance,
                                                 int extractionMethod, int dispersionKind, bool showDiscriminations,
                                                 bool showResidualVariances, const std::vector<std::string>& itemNames,
                                                 ReportContext& context)
{
    const AnalysisSettings settings = SettingsOf(itemLowest, itemHighest, factorCount, bootstrapSamples,
                                                 categoryCount, alphaCode, tolerance, extractionMethod, dispersionKind,
                                                 itemNames);
    DiscriminationOutcome outcome = ComputeItemDiscriminations(targetData, replicationData, settings, compute);
    if (!outcome.warning.empty()) {
        PrintWarningBlock(context, kDiscriminationsHeading, outcome.warning);
    } else if (outcome.results) {
        const bool residualVariances = showResidualVariances && settings.dispersion == DispersionKind::Covariance;
        if (showDiscriminations) {
            PrintDiscriminationsSection(context, *outcome.results, !residualVariances);
        }
        if (residualVariances) {
            PrintResidualVariancesSection(context, *outcome.results, true);
        }
    }
    return outcome;
}

HotellingResults HotellingTSquare(const Matrix* targetData, const Matrix* replicationData, int targetCount,
                                  int replicationCount, ReportContext& context)
{
    HotellingResults results = TestAllMeans(targetData, replicationData, targetCount, replicationCount);
    PrintHotelling(context, results);
    return results;
}

InvarianceOutcome AnalyzeInvarianceIndices(ComputeContext& compute, const Matrix* targetData,
                                           const Matrix* replicationData, const Matrix* itemLowest,
                                           const Matrix* itemHighest, int factorCount, int bootstrapSamples,
                                           int alphaCode, double tolerance, int extractionMethod, int dispersionKind,
                                           bool showCongruence, bool showDiscrepancy,
                                           const std::vector<std::string>& itemNames, ReportContext& context)
{
    // This analysis does not use the score range.
    const AnalysisSettings settings = SettingsOf(itemLowest, itemHighest, factorCount, bootstrapSamples, 0,
                                                 alphaCode, tolerance, extractionMethod, dispersionKind,
                                                 itemNames);
    InvarianceOutcome outcome =
        ComputeInvarianceIndices(targetData, replicationData, settings, showCongruence, showDiscrepancy, compute);
    if (!outcome.warning.empty()) {
        PrintWarningBlock(context, kIndicesHeading, outcome.warning);
    } else if (outcome.results) {
        PrintIndicesSection(context, *outcome.results);
    }
    return outcome;
}

} // namespace talver

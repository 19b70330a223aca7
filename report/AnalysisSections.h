#pragma once
// The analyses as the run calls them: each computes its results and writes
// its section of the open report, and returns the results for the other
// writers. The arguments are the run's: the options dialog's codes, which
// are read here through the conversions of analyses/AnalysisCodes.h.
// Warnings name the items by `itemNames` (ready for messages, one per item)
// or, when it is empty, by their numbers.

#include "analyses/ComputeContext.h"
#include "analyses/DiscriminationResults.h"
#include "analyses/InvarianceResults.h"
#include "analyses/ItemMeanResults.h"
#include "report/ReportContext.h"

#include <string>
#include <vector>

namespace talver {

class Matrix;

DifficultyResults AnalyzeItemDifficulties(const Matrix* targetData, const Matrix* replicationData, int targetCount,
                                          int replicationCount, int alphaCode,
                                          const std::vector<std::string>& itemNames, ReportContext& context);

// Writes "ITEM DISCRIMINATIONS" when showDiscriminations, and "ITEM RESIDUAL
// VARIANCES" when showResidualVariances with covariances.
DiscriminationOutcome AnalyzeItemDiscriminations(ComputeContext& compute, const Matrix* targetData,
                                                 const Matrix* replicationData, const Matrix* itemLowest,
                                                 const Matrix* itemHighest, int factorCount, int bootstrapSamples,
                                                 int categoryCount, int alphaCode, double tolerance,
                                                 int extractionMethod, int dispersionKind, bool showDiscriminations,
                                                 bool showResidualVariances, const std::vector<std::string>& itemNames,
                                                 ReportContext& context);

HotellingResults HotellingTSquare(const Matrix* targetData, const Matrix* replicationData, int targetCount,
                                  int replicationCount, ReportContext& context);

InvarianceOutcome AnalyzeInvarianceIndices(ComputeContext& compute, const Matrix* targetData,
                                           const Matrix* replicationData, const Matrix* itemLowest,
                                           const Matrix* itemHighest, int factorCount, int bootstrapSamples,
                                           int alphaCode, double tolerance, int extractionMethod, int dispersionKind,
                                           bool showCongruence, bool showDiscrepancy,
                                           const std::vector<std::string>& itemNames, ReportContext& context);

} // namespace talver

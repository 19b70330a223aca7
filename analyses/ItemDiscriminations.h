#pragma once
// Loadings and residual variances of both samples with bias-corrected
// bootstrap intervals and their differences.

#include "analyses/AnalysisSettings.h"
#include "analyses/ComputeContext.h"
#include "analyses/DiscriminationResults.h"

namespace talver {

class Matrix;

// Shows its steps and the bootstrap counter through the context's progress
// and draws from the context's random source: the random starts of the
// observed Varimax rotation, then per replicate the Target resample (with its
// redraws) and the Replication resample (with its redraws).
DiscriminationOutcome ComputeItemDiscriminations(const Matrix* targetData, const Matrix* replicationData,
                                                 const AnalysisSettings& settings, ComputeContext& context);

} // namespace talver

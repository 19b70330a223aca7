#pragma once
// Congruence and discrepancy indices of the rotated loading matrices with
// bootstrap critical values under invariance.

#include "analyses/AnalysisSettings.h"
#include "analyses/ComputeContext.h"
#include "analyses/InvarianceResults.h"

namespace talver {

class Matrix;

// Polychoric requests are analysed with Pearson correlations. Shows its steps
// and the bootstrap counter through the context's progress and draws from
// its random source: the random starts of the observed Varimax rotation,
// then per replicate the Target resample (with its redraws), its Varimax
// starts and the Replication resample (with its redraws). Values that are
// not finite in a family that is shown end it with a warning.
InvarianceOutcome ComputeInvarianceIndices(const Matrix* targetData, const Matrix* replicationData,
                                           const AnalysisSettings& settings, bool showCongruence,
                                           bool showDiscrepancy, ComputeContext& context);

} // namespace talver

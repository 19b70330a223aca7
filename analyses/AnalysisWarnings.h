#pragma once
// The warning blocks with which the bootstrap analyses end early, and the
// texts they carry.

#include <string>

#include "analyses/ResampledSolution.h"
#include "analyses/SampleSide.h"
#include "app/ReportContext.h"

inline constexpr const char* kPolychoricWarning =
    "Polychoric correlation could not converge. Please try Pearson correlation.";
inline constexpr const char* kMaximumLikelihoodWarning = "ML method could could not converge. Please try ULS or PCA.";

// An observed dispersion matrix whose item (1-based) has no variance or a
// value that is not a finite number.
std::string DegenerateItemWarning(SampleSide side, int item);
// Observed loadings that are not finite numbers.
std::string NonFiniteLoadingsWarning(SampleSide side);
// Replication loadings whose rotation towards the Target loadings is not
// made of finite numbers.
std::string NonFiniteRotationWarning();
// Bootstrap values of one sample that are not finite numbers, so that the
// intervals of `statistics` ("item discriminations", ...) cannot be formed.
std::string NonFiniteIntervalsWarning(SampleSide side, const char* statistics);
// Congruence indices of the observed samples that cannot be computed.
std::string UndefinedCongruenceWarning();
// Bootstrap indices that are not finite numbers, so that no critical values
// can be formed.
std::string NonFiniteCriticalValuesWarning();
// A population under invariance that cannot be formed.
std::string SingularPopulationWarning(SampleSide side);
// The warning of a bootstrap sample that failed with all its redraws.
std::string ResampleFailureWarning(const SampleFailure& failure);

// Keeps a warning for the writers other than the report; section is the
// heading of the block it belongs to, without line ends.
void RecordWarning(ReportContext& context, const std::string& section, const std::string& warning);

// The section heading, "\n\nWARNING: " and the warning, three line ends, and
// the separator followed by an empty line.
void PrintWarningBlock(ReportContext& context, const char* heading, const std::string& warning);

// The same when there is a warning; nothing for an empty one (an analysis that
// ends without a word).
void PrintWarningBlockIfAny(ReportContext& context, const char* heading, const std::string& warning);

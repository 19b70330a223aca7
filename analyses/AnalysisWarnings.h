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
// A population under invariance that cannot be formed.
std::string SingularPopulationWarning(SampleSide side);
// The warning of a bootstrap sample that failed with all its redraws.
std::string ResampleFailureWarning(const SampleFailure& failure);

// The section heading, "\n\nWARNING: " and the warning, three line ends, and
// the separator followed by an empty line.
void PrintWarningBlock(ReportContext& context, const char* heading, const std::string& warning);

// The same when there is a warning; nothing for an empty one (an analysis that
// ends without a word).
void PrintWarningBlockIfAny(ReportContext& context, const char* heading, const std::string& warning);

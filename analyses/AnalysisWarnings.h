#pragma once
// The texts of the warnings with which the analyses end early or leave out a
// table.

#include <string>
#include <vector>

#include "analyses/ResampledSolution.h"
#include "analyses/SampleSide.h"

namespace talver {

// Polychoric correlations fail only for a score category that a sample
// leaves empty (or a score outside the declared range); the lines after this
// one name the items and scores.
inline constexpr const char* kPolychoricWarning =
    "Polychoric correlations cannot be computed: a score of the declared range is unused in a sample, or a "
    "score lies outside the range. Please try Pearson correlation.";
inline constexpr const char* kMaximumLikelihoodWarning = "ML method could not converge. Please try ULS or PCA.";

// An observed dispersion matrix whose item (0-based; named as ItemShown
// names it) has no variance or a value that is not a finite number.
std::string DegenerateItemWarning(SampleSide side, int item, const std::vector<std::string>& itemNames);
// Observed loadings that are not finite numbers.
std::string NonFiniteLoadingsWarning(SampleSide side);
// Replication loadings whose rotation towards the Target loadings is not
// made of finite numbers.
std::string NonFiniteRotationWarning();
// Bootstrap values of one sample that are not finite numbers, so that the
// intervals of `statistics` ("item discriminations", ...) cannot be formed.
std::string NonFiniteIntervalsWarning(SampleSide side, const char* statistics);
// Congruence indices of the observed samples that cannot be computed; names
// the items (0-based) whose own indices are among them, when there are any.
std::string UndefinedCongruenceWarning(const std::vector<int>& items, const std::vector<std::string>& itemNames);
// Bootstrap indices that are not finite numbers, so that no critical values
// can be formed.
std::string NonFiniteCriticalValuesWarning();
// A population under invariance that cannot be formed.
std::string SingularPopulationWarning(SampleSide side);
// The warning of a bootstrap sample that failed with all its redraws.
std::string ResampleFailureWarning(const SampleFailure& failure);
// An improper solution: the items (from 1) whose residual variance is at or
// below zero in each sample, named as ItemsShown names them; empty when both
// lists are.
std::string ImproperSolutionWarning(const std::vector<int>& targetItems, const std::vector<int>& replicationItems,
                                    const std::vector<std::string>& itemNames);

} // namespace talver

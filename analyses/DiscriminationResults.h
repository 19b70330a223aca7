#pragma once
// Everything the item discriminations analysis found, kept apart from the
// matrix pool so that any writer can format it.

#include <optional>
#include <string>
#include <vector>

#include "analyses/AnalysisCodes.h"
#include "analyses/BootstrapTally.h"
#include "analyses/ResultTable.h"

namespace talver {

struct SampleDiscriminations {
    ResultTable loadings;          // p x m, rotated
    ResultTable loadingLower;      // bias-corrected percentile interval bounds, p x m
    ResultTable loadingUpper;
    ResultTable residualVariances; // p x 1, from the unrotated loadings
    ResultTable residualLower;     // p x 1
    ResultTable residualUpper;
};

struct DiscriminationResults {
    ExtractionMethod method = ExtractionMethod::Uls; // columns are factors for ULS, components otherwise
    SampleDiscriminations target;
    SampleDiscriminations replication;
    ResultTable loadingDifferences;  // Target minus Replication, p x m
    ResultTable loadingOverlaps;     // 1.0 where the two intervals overlap, else 0.0
    FlagTable loadingSignificant;    // the intervals do not overlap
    ResultTable residualDifferences; // p x 1
    ResultTable residualOverlaps;
    FlagTable residualSignificant;
    // Why the loadings, or the residual variances, have no table: bootstrap
    // values of a sample that are not finite numbers. Empty when they have.
    std::string loadingsWarning;
    std::string residualsWarning;
    // An improper solution (a Heywood case): the items, numbered from 1,
    // whose observed residual variance is at or below zero in each sample,
    // and the warning line that names them. Empty for a proper solution; the
    // tables are shown either way.
    std::vector<int> improperTargetItems;
    std::vector<int> improperReplicationItems;
    std::string improperWarning;
};

// How the analysis ended: with its results, or with a warning in place of
// its sections. Neither results nor a warning: it ended without a word (the
// Varimax rotation of the Target loadings was abandoned).
struct DiscriminationOutcome {
    std::string warning;
    std::optional<DiscriminationResults> results;
    // What its bootstrap went through, when it came that far.
    BootstrapTally bootstrap{};
};

} // namespace talver

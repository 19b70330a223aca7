#pragma once
// Everything the congruence and discrepancy analysis found, kept apart from
// the matrix pool so that any writer can format it.

#include <optional>
#include <string>
#include <vector>

#include "analyses/AnalysisCodes.h"
#include "analyses/BootstrapTally.h"
#include "analyses/CongruenceIndices.h"

namespace talver {

// Which observed indices differ significantly from their critical values:
// congruences below them, discrepancies above them.
struct InvarianceSignificance {
    bool overallCongruence = false;
    std::vector<bool> itemCongruence;
    std::vector<bool> factorCongruence;
    bool overallDiscrepancy = false;
    std::vector<bool> itemDiscrepancy;
    std::vector<bool> factorDiscrepancy;
};

struct InvarianceResults {
    AlphaLevel alpha = AlphaLevel::Five;
    ExtractionMethod method = ExtractionMethod::Uls; // "Factor" tables for ULS, "Component" otherwise
    DispersionKind requested = DispersionKind::Covariance; // polychoric requests are analysed with Pearson correlations
    DispersionKind analysed = DispersionKind::Covariance;
    bool showCongruence = false;
    bool showDiscrepancy = false;
    InvarianceIndexSet observed;
    InvarianceIndexSet critical;
    InvarianceSignificance significant;
};

// How the analysis ended: with its results, or with a warning in place of
// its section. Neither: it ended without a word (the Varimax rotation of the
// Target loadings was abandoned).
struct InvarianceOutcome {
    std::string warning;
    std::optional<InvarianceResults> results;
    // What its bootstrap went through, when it came that far.
    BootstrapTally bootstrap{};
};

// The observed indices compared with the critical values.
InvarianceSignificance SignificanceOf(const InvarianceIndexSet& observed, const InvarianceIndexSet& critical);

// Why the indices cannot be shown: values that are not finite numbers in a
// family that is shown, observed ones first, naming the items whose observed
// values they are (by `itemNames`, see analyses/ItemsShown.h). Empty when
// they can.
std::string IndicesWarning(const InvarianceIndexSet& observed, const InvarianceIndexSet& critical,
                           bool showCongruence, bool showDiscrepancy, const std::vector<std::string>& itemNames);

} // namespace talver

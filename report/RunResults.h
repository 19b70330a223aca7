#pragma once
// What the analyses of one run found, in the order they ran, for the writers
// other than the text report (the JSON companion).

#include <optional>
#include <string>
#include <vector>

#include "analyses/DiscriminationResults.h"
#include "analyses/InvarianceResults.h"
#include "analyses/ItemMeanResults.h"

namespace talver {

struct RunResults {
    std::optional<DifficultyResults> difficulties;
    std::optional<DiscriminationOutcome> discriminations;
    // The sections of the discriminations analysis that were asked for: the
    // loadings, and the residual variances (covariances only).
    bool loadingsAsked = false;
    bool residualVariancesAsked = false;
    std::optional<HotellingResults> hotelling;
    std::optional<InvarianceOutcome> invariance;
};

// The loadings and the residual variances that the report shows as tables.
const DiscriminationResults* ReportedLoadings(const RunResults& results);
const DiscriminationResults* ReportedResidualVariances(const RunResults& results);
// The congruence and discrepancy indices that the report shows as tables.
const InvarianceResults* ReportedIndices(const RunResults& results);

struct AnalysisWarning {
    std::string section; // the heading of the block, without line ends
    std::string text;
};

// Every warning the analyses' sections show, in report order.
std::vector<AnalysisWarning> RunWarnings(const RunResults& results);

struct ReportDetails;
// The warnings about the data (section "DATA READ"), then those of the analyses.
std::vector<AnalysisWarning> ReportWarnings(const ReportDetails& details, const RunResults& results);

} // namespace talver

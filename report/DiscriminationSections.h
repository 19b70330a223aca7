#pragma once
// The "ITEM DISCRIMINATIONS" and "ITEM RESIDUAL VARIANCES" sections.

#include "analyses/DiscriminationResults.h"
#include "report/ReportContext.h"

namespace talver {

inline constexpr const char* kDiscriminationsHeading = "ITEM DISCRIMINATIONS\n\n";
inline constexpr const char* kResidualVariancesHeading = "ITEM RESIDUAL VARIANCES\n\n";

// Each returns false when a warning block took the place of its tables.
bool PrintDiscriminationsSection(ReportContext& context, const DiscriminationResults& results);
bool PrintResidualVariancesSection(ReportContext& context, const DiscriminationResults& results);

} // namespace talver

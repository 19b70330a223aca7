#pragma once
// The "ITEM DISCRIMINATIONS" and "ITEM RESIDUAL VARIANCES" sections.

#include "analyses/DiscriminationResults.h"
#include "report/ReportContext.h"

namespace talver {

inline constexpr const char* kDiscriminationsHeading = "ITEM DISCRIMINATIONS\n\n";
inline constexpr const char* kResidualVariancesHeading = "ITEM RESIDUAL VARIANCES\n\n";

// Each returns false when a warning block took the place of its tables. With
// `withImproperWarning` the line about an improper solution, if any, ends the
// section: the run writes it once, in the last of the two it shows.
bool PrintDiscriminationsSection(ReportContext& context, const DiscriminationResults& results,
                                 bool withImproperWarning = false);
bool PrintResidualVariancesSection(ReportContext& context, const DiscriminationResults& results,
                                   bool withImproperWarning = false);

} // namespace talver

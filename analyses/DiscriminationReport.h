#pragma once
// The "ITEM DISCRIMINATIONS" and "ITEM RESIDUAL VARIANCES" sections.

#include "analyses/DiscriminationResults.h"
#include "app/ReportContext.h"

inline constexpr const char* kDiscriminationsHeading = "ITEM DISCRIMINATIONS\n\n";
inline constexpr const char* kResidualVariancesHeading = "ITEM RESIDUAL VARIANCES\n\n";

void PrintDiscriminationsSection(ReportContext& context, const DiscriminationResults& results);
void PrintResidualVariancesSection(ReportContext& context, const DiscriminationResults& results);

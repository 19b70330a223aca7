#pragma once
// The "OVERALL INDICES OF ITEM MEASUREMENT INVARIANCE" section of the
// congruence and discrepancy indices.

#include "analyses/InvarianceResults.h"
#include "report/ReportContext.h"

namespace talver {

inline constexpr const char* kIndicesHeading = "OVERALL INDICES OF ITEM MEASUREMENT INVARIANCE\n\n";

void PrintIndicesSection(ReportContext& context, const InvarianceResults& results);

} // namespace talver

#pragma once
// The "OVERALL INDICES OF ITEM MEASUREMENT INVARIANCE" section of the
// congruence and discrepancy indices.

#include "analyses/InvarianceResults.h"
#include "app/ReportContext.h"

inline constexpr const char* kIndicesHeading = "OVERALL INDICES OF ITEM MEASUREMENT INVARIANCE\n\n";

// Returns false when a warning block took the place of its tables.
bool PrintIndicesSection(ReportContext& context, const InvarianceResults& results);

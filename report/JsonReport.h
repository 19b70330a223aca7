#pragma once
// The machine-readable companion of the report: every table of the run at
// full double precision, with item and factor numbers, the options and the
// sample sizes.

#include <cstdio>

#include "report/ReportDetails.h"
#include "report/RunResults.h"

namespace talver {

void WriteJsonReport(std::FILE* out, const ReportDetails& details, const RunResults& results);

} // namespace talver

#pragma once
// What the report says about the workspace's data and options.

#include "app/Workspace.h"
#include "report/ReportDetails.h"

namespace talver {

ReportDetails DetailsOf(const Workspace& workspace);

} // namespace talver

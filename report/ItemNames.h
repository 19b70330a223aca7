#pragma once
// The names of the items, as the data file gives them; plain files have none
// and their items are named by number, "1" to "p", as the text report counts
// them.

#include <string>

#include "report/ReportDetails.h"

namespace talver {

// The name of item `item` (0-based) of the run.
std::string ItemName(const ReportDetails& details, int item);

} // namespace talver

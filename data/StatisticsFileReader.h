#pragma once
// The files of SPSS (.sav, .zsav), Stata (.dta) and SAS (.sas7bdat), read
// through the ReadStat library: variable names, numbers, string variables,
// and user-defined and system missing values as missing cells.

#include "data/DataFileKind.h"
#include "data/DataTable.h"

#include <string>

namespace talver {

DataReadResult ReadStatisticsFile(const std::string& path, DataFileKind kind, DataTable& table);

} // namespace talver

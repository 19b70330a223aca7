#pragma once
// The files of SPSS (.sav, .zsav), Stata (.dta) and SAS (.sas7bdat), read
// through the ReadStat library: variable names, numbers, string variables,
// and user-defined and system missing values as missing cells.

#include "data/DataFileKind.h"
#include "data/DataTable.h"

#include <string>

namespace talver {

// With a choice, the table holds only the chosen variables. The declared
// number of cases cannot be checked against the data: the library reads the
// declared number and no more, in blocks, so that rows beyond it are never
// seen; a file that holds fewer rows than it declares is refused as unreadable.
DataReadResult ReadStatisticsFile(const std::string& path, DataFileKind kind, DataTable& table,
                                  const ColumnChoice& choice = {}, const StopAsked& stopAsked = {});

} // namespace talver

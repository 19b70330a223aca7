// The reader of statistics files for builds without the ReadStat library
// (Windows, where Debian does not build it, and the browser's page, for which
// it is not built): every such file is refused with what to do instead.
#include "data/StatisticsFileReader.h"

namespace talver {

DataReadResult ReadStatisticsFile(const std::string& path, DataFileKind kind, DataTable& table, const ColumnChoice&, const StopAsked&)
{
    table = DataTable{};
    return {false, path + ": this build of TALVER cannot read " + DescriptionOf(kind) +
                       ". Export the data from the statistics package as CSV (comma-separated values, with the "
                       "variable names in the first row; SPSS: File > Export > CSV Data; Stata: export delimited; "
                       "SAS: PROC EXPORT with DBMS=CSV) and read that file instead."};
}

} // namespace talver

// The browser build reads no statistics packages' files: the library that
// reads them for the desktop and talver-batch is not built for WebAssembly.
// Such a file is refused with what to do instead.

#include "data/StatisticsFileReader.h"

namespace talver {

DataReadResult ReadStatisticsFile(const std::string& path, DataFileKind kind, DataTable&, const ColumnChoice&, const StopAsked&)
{
    DataReadResult result;
    result.message = "\"" + path + "\" is " + DescriptionOf(kind) +
                     ", which this page cannot read. Save the data as a CSV file in your statistics program "
                     "(SPSS: File > Export > CSV Data; Stata: export delimited; SAS: PROC EXPORT with DBMS=CSV) "
                     "and choose that file, or analyse the file with the desktop program or talver-batch, which "
                     "read it as it is.";
    return result;
}

} // namespace talver

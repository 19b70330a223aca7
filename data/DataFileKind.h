#pragma once
// What a data file is, told by its extension: the plain files of numbers,
// delimited text with a header, or the files of statistics packages; and
// what a path names when it is not a regular file.

#include <string>

namespace talver {

enum class DataFileKind { Plain, Delimited, Spss, Stata, Sas };

// .csv, .tsv: delimited text; .sav, .zsav: SPSS; .dta: Stata; .sas7bdat: SAS;
// anything else: a plain file of numbers. The case of the letters does not
// matter.
DataFileKind KindOfDataFile(const std::string& path);

// Files whose first row, or whose own metadata, names the columns.
inline bool HasColumnNames(DataFileKind kind)
{
    return kind != DataFileKind::Plain;
}

// How messages name the kind: "an SPSS file (.sav, .zsav)" and so on.
std::string DescriptionOf(DataFileKind kind);

// "a FIFO (named pipe)", "a folder", "a device" ... for a path that exists
// and is not a regular file; empty for a regular file or a missing path.
std::string NonRegularKind(const std::string& path);

} // namespace talver

#include "app/DataFileKind.h"

#include <filesystem>

namespace talver {

DataFileKind KindOfDataFile(const std::string& path)
{
    std::string extension = std::filesystem::path(path).extension().string();
    for (char& c : extension) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    if (extension == ".csv" || extension == ".tsv") {
        return DataFileKind::Delimited;
    }
    if (extension == ".sav" || extension == ".zsav") {
        return DataFileKind::Spss;
    }
    if (extension == ".dta") {
        return DataFileKind::Stata;
    }
    if (extension == ".sas7bdat") {
        return DataFileKind::Sas;
    }
    return DataFileKind::Plain;
}

std::string DescriptionOf(DataFileKind kind)
{
    switch (kind) {
    case DataFileKind::Delimited: return "delimited text (.csv, .tsv)";
    case DataFileKind::Spss: return "an SPSS file (.sav, .zsav)";
    case DataFileKind::Stata: return "a Stata file (.dta)";
    case DataFileKind::Sas: return "a SAS file (.sas7bdat)";
    case DataFileKind::Plain: break;
    }
    return "a plain file of numbers";
}

} // namespace talver

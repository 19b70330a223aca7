#include "data/DataFileKind.h"

#include "data/FilePath.h"

#include <filesystem>

namespace talver {

DataFileKind KindOfDataFile(const std::string& path)
{
    std::string extension = Utf8Name(FilePath(path).extension());
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

std::string NonRegularKind(const std::string& path)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(FilePath(path), error);
    switch (status.type()) {
    case std::filesystem::file_type::directory: return "a folder";
    case std::filesystem::file_type::fifo: return "a FIFO (named pipe)";
    case std::filesystem::file_type::character: return "a character device";
    case std::filesystem::file_type::block: return "a block device";
    case std::filesystem::file_type::socket: return "a socket";
    case std::filesystem::file_type::unknown: return "not a regular file";
    default: return "";
    }
}

} // namespace talver

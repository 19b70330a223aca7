#pragma once
// Reading of a sample data file: whitespace-separated numbers in row-major
// order, each read in single precision and kept as a double.

#include "data/DataTable.h"

#include <string>
#include <utility>

namespace talver {

class Matrix;

struct SampleReadResult {
    SampleReadResult() = default;
    SampleReadResult(bool success, std::string why, std::string remark = {})
        : ok(success), detail(std::move(why)), note(std::move(remark))
    {
    }

    bool ok = false;
    // Why the file was refused, for a second line under the reading error.
    std::string detail;
    // Something about a file that was read which the user may want to check.
    std::string note;
    // The user asked to stop; the matrix is incomplete.
    bool stopped = false;
};

// Reads exactly rows x cols numbers from the file into `into` (rows x cols).
// After them only white space or text that does not begin with a number may
// follow. Refused: a missing or unreadable file, too few numbers, one number
// too many, a token that is not a number as a whole (wherever it stands),
// non-finite values, and text in a wide encoding (UTF-16, UTF-32). A stop
// is asked for between chunks of rows.
SampleReadResult ReadSampleFile(const std::string& path, Matrix* into, const StopAsked& stopAsked = {});

// Reads the same numbers from text already in memory.
SampleReadResult ParseSampleText(const char* begin, const char* end, Matrix* into);

} // namespace talver

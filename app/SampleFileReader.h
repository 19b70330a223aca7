#pragma once
// Reading of a sample data file: whitespace-separated numbers in row-major
// order, each read in single precision and kept as a double.

#include <string>

namespace talver {

class Matrix;

struct SampleReadResult {
    bool ok = false;
    // Why the file was refused, for a second line under the reading error.
    std::string detail;
};

// Reads exactly rows x cols numbers from the file into `into` (rows x cols).
// After them only white space or text that does not begin with a number may
// follow. Refused: a missing or unreadable file, too few numbers, one number
// too many, a token that is not a number, and non-finite values.
SampleReadResult ReadSampleFile(const std::string& path, Matrix* into);

// Reads the same numbers from text already in memory.
SampleReadResult ParseSampleText(const char* begin, const char* end, Matrix* into);

} // namespace talver

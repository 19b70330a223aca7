#include "data/ScoreRange.h"

#include "data/RunSizeLimits.h"
#include "data/DataFileKind.h"
#include "data/FilePath.h"
#include "matrix/Matrix.h"
#include "matrix/MatrixOps.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>

namespace talver {

std::int32_t TruncateToScore(double value)
{
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    if (!(value > lowest)) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (!(value < highest)) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(value);
}

ScoreRange ObservedScoreRange(const Matrix* target, const Matrix* replication)
{
    const double largest = std::max(MaxElement(target), MaxElement(replication));
    const double smallest = std::min(MinElement(target), MinElement(replication));
    return {TruncateToScore(smallest), TruncateToScore(largest)};
}

std::int32_t CategoryCount(std::int32_t lowest, std::int32_t highest)
{
    const std::int64_t count = ScoreCategories(lowest, highest);
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(count, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

namespace {

// "target.dat holds 1414 numbers in 707 lines (2 on each line)": what a file
// too short for its declared size holds, in the terms the user declared.
std::string WhatTheFileHolds(const std::string& path)
{
    std::ifstream in(FilePath(path), std::ios::binary);
    long long numbers = 0;
    long long lines = 0;
    long long fewest = std::numeric_limits<long long>::max();
    long long most = 0;
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        long long onLine = 0;
        for (std::string field; fields >> field;) {
            ++onLine;
        }
        if (onLine == 0) {
            continue;
        }
        ++lines;
        numbers += onLine;
        fewest = std::min(fewest, onLine);
        most = std::max(most, onLine);
    }
    std::string text = path + " holds " + std::to_string(numbers) + (numbers == 1 ? " number" : " numbers");
    if (lines > 0) {
        text += " in " + std::to_string(lines) + (lines == 1 ? " line" : " lines");
        text += fewest == most ? " (" + std::to_string(most) + " on each line)"
                               : " (" + std::to_string(fewest) + " to " + std::to_string(most) + " on a line)";
    }
    return text;
}

} // namespace

SampleSizeCheck CheckSampleFileSize(const std::string& path, std::int64_t rows, std::int64_t cols)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(FilePath(path), error);
    if (const std::string kind = NonRegularKind(path); !kind.empty()) {
        return {false, path + " is " + kind + ", not a data file"};
    }
    if (error) {
        return {false, "cannot open " + path + ": " + error.message()};
    }
    const long double needed = 2.0L * static_cast<long double>(rows) * static_cast<long double>(cols) - 1.0L;
    if (static_cast<long double>(size) < needed) {
        return {false, WhatTheFileHolds(path) + ", too few for " + std::to_string(rows) + " rows of " +
                           std::to_string(cols) + " numbers (" + std::to_string(rows * cols) +
                           "); check the number of participants and of items"};
    }
    return {true, ""};
}

} // namespace talver

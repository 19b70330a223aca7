#include "data/ScoreRange.h"

#include "data/RunSizeLimits.h"
#include "data/DataFileKind.h"
#include "matrix/Matrix.h"
#include "matrix/MatrixOps.h"

#include <algorithm>
#include <filesystem>
#include <limits>

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

SampleSizeCheck CheckSampleFileSize(const std::string& path, std::int64_t rows, std::int64_t cols)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (const std::string kind = NonRegularKind(path); !kind.empty()) {
        return {false, path + " is " + kind + ", not a data file"};
    }
    if (error) {
        return {false, "cannot open " + path + ": " + error.message()};
    }
    const long double needed = 2.0L * static_cast<long double>(rows) * static_cast<long double>(cols) - 1.0L;
    if (static_cast<long double>(size) < needed) {
        return {false, path + " has " + std::to_string(size) + " bytes, too few for " + std::to_string(rows) +
                           " rows of " + std::to_string(cols) + " numbers"};
    }
    return {true, ""};
}

} // namespace talver

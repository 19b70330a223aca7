#pragma once
// The item score range observed in the two samples, and the size checks made
// before a sample's matrix is allocated.

#include <cstdint>
#include <string>

namespace talver {

class Matrix;

struct ScoreRange {
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
};

// Smallest and largest element of both samples, truncated toward zero.
ScoreRange ObservedScoreRange(const Matrix* target, const Matrix* replication);

// A double truncated toward zero; values beyond the 32-bit range are held at
// its ends instead of overflowing.
std::int32_t TruncateToScore(double value);

// highest - lowest + 1, held within the 32-bit range.
std::int32_t CategoryCount(std::int32_t lowest, std::int32_t highest);

struct SampleSizeCheck {
    bool ok = true;
    std::string detail;
};

// A file of rows x cols numbers needs at least 2 x rows x cols - 1 bytes (a
// digit and a separator each). Refusing smaller files before allocating keeps
// an absurd participant count from exhausting memory.
SampleSizeCheck CheckSampleFileSize(const std::string& path, std::int64_t rows, std::int64_t cols);

} // namespace talver

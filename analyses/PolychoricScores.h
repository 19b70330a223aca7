#pragma once
// Polychoric correlations count the answers of each score category, so every
// score must be a whole number that the category tables can hold. A score of
// 2.5 or 1e-30 would otherwise be truncated to a category silently, and one of
// 1e30 would overflow the score range.

#include <cstdint>
#include <string>
#include <vector>

namespace talver {

class Matrix;

// Where the rows of a sample came from, for messages: entry i is the row of
// the data file (counted from 1) that gave the sample's row i. Empty: the
// sample's rows are named by their position in the sample.
struct SampleRowOrigins {
    std::vector<std::int64_t> target;
    std::vector<std::int64_t> replication;
};

// Returns an empty string when every score of both samples is a whole number
// within the 32-bit integer range (-2147483648 to 2147483647). Otherwise
// returns the refusal to show the user: its first line names the first such
// score found (its item, by name when `itemNames` has one per column, its
// value and its row and sample), says how many more there are, and what to do.
std::string UnusablePolychoricScores(const Matrix* targetData, const Matrix* replicationData,
                                     const std::vector<std::string>& itemNames,
                                     const SampleRowOrigins& origins = {});

} // namespace talver

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

// Where the rows of one sample came from, for messages: entry i of `numbers`
// is the place in the file of the sample's row i, which rows left out for
// missing values or of other groups do not shift. Empty numbers: the
// sample's rows are named by their position in the sample.
struct SampleRowPlaces {
    // The file, as messages show it.
    std::string file;
    // How the file counts its rows, as the readers' messages do: "line" (a
    // line of delimited text, the header's counted) or "row" (rows of data
    // from 1).
    std::string unit = "row";
    std::vector<std::int64_t> numbers;
};

struct SampleRowOrigins {
    SampleRowPlaces target;
    SampleRowPlaces replication;
};

// Returns an empty string when every score of both samples is a whole number
// within the 32-bit integer range (-2147483648 to 2147483647). Otherwise
// returns the refusal to show the user: its first line names the first such
// score found (its item as ItemShown names it, its value, its row and
// sample), says how many more there are, and what to do.
std::string UnusablePolychoricScores(const Matrix* targetData, const Matrix* replicationData,
                                     const std::vector<std::string>& itemNames,
                                     const SampleRowOrigins& origins = {});

} // namespace talver

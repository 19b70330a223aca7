#include "analyses/PolychoricScores.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <set>

#include "analyses/ItemsShown.h"
#include "analyses/SampleSide.h"
#include "matrix/Matrix.h"
#include "matrix/NumberText.h"

namespace talver {

namespace {

// The score range of the category tables (32-bit scores, as the options keep).
constexpr double kLowestScore = std::numeric_limits<std::int32_t>::min();
constexpr double kHighestScore = std::numeric_limits<std::int32_t>::max();

bool UsableScore(double value)
{
    return value >= kLowestScore && value <= kHighestScore && std::trunc(value) == value;
}

// The shortest text that reads back as the same value. Plain sample files
// are read in single precision, so a value that a float holds exactly is
// written as the float it was read as: 1e+30 rather than 1.0000000150474662e+30.
std::string ValueText(double value)
{
    const bool inFloatRange = std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max();
    const float single = inFloatRange ? static_cast<float>(value) : 0.0f;
    if (!inFloatRange || static_cast<double>(single) != value) {
        return ShortestText(value);
    }
    // The fewest significant digits that read back as the same float (nine
    // always do); printf and strtof, because not every library has the
    // floating-point std::to_chars.
    char text[32];
    for (int digits = 1; digits <= 9; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(single));
        if (std::strtof(text, nullptr) == single) {
            break;
        }
    }
    return text;
}

struct FirstUnusable {
    bool found = false;
    SampleSide side = SampleSide::Target;
    int row = 0;
    int item = 0;
    double value = 0.0;
    std::int64_t count = 0;
    std::set<int> items;
};

void Scan(const Matrix* data, SampleSide side, FirstUnusable& first)
{
    for (int n = 0; n < data->Rows(); ++n) {
        const double* row = data->Row(n);
        for (int j = 0; j < data->Cols(); ++j) {
            if (UsableScore(row[j])) {
                continue;
            }
            if (!first.found) {
                first = {true, side, n, j, row[j], 0, {}};
            }
            ++first.count;
            first.items.insert(j);
        }
    }
}

std::string RowShown(const FirstUnusable& first, const SampleRowOrigins& origins)
{
    const SampleRowPlaces& places = first.side == SampleSide::Target ? origins.target : origins.replication;
    const std::string sample = std::string(SampleName(first.side)) + " sample";
    if (first.row < static_cast<int>(places.numbers.size())) {
        return places.unit + " " + std::to_string(places.numbers[static_cast<std::size_t>(first.row)]) + " of " +
               places.file + " (" + sample + ")";
    }
    return "row " + std::to_string(first.row + 1) + " of the " + sample;
}

} // namespace

std::string UnusablePolychoricScores(const Matrix* targetData, const Matrix* replicationData,
                                     const std::vector<std::string>& itemNames, const SampleRowOrigins& origins)
{
    FirstUnusable first;
    Scan(targetData, SampleSide::Target, first);
    Scan(replicationData, SampleSide::Replication, first);
    if (!first.found) {
        return "";
    }
    const bool inRange = first.value >= kLowestScore && first.value <= kHighestScore;
    std::string text = "Polychoric correlations cannot be computed: " + ItemShown(first.item, itemNames) +
                       " has the score " + ValueText(first.value) + " in " + RowShown(first, origins) +
                       (inRange ? ", which is not a whole number."
                                : ", outside the whole numbers -2147483648 to 2147483647.");
    if (first.count > 1) {
        text += "\n" + std::to_string(first.count) + " scores of " + std::to_string(first.items.size()) +
                (first.items.size() == 1 ? " item" : " items") +
                " are not whole numbers or lie outside -2147483648 to 2147483647.";
    }
    return text + "\nRecode the scores into whole-number categories, or choose Pearson correlations.";
}

} // namespace talver

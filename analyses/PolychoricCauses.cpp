#include "analyses/PolychoricCauses.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <set>
#include <vector>

#include "analyses/ItemsShown.h"
#include "analyses/SampleSide.h"

namespace talver {

namespace {

// No more lines than this; the rest is counted.
constexpr int kMostLines = 10;
// No more scores listed on one line than this.
constexpr std::size_t kMostScores = 5;

struct ScoreSpan {
    long long lowest = std::numeric_limits<long long>::max();
    long long highest = std::numeric_limits<long long>::min();
};

long long Score(double value)
{
    return static_cast<long long>(std::trunc(value));
}

void Widen(ScoreSpan& span, const Matrix* data)
{
    for (int n = 0; n < data->Rows(); ++n) {
        for (int j = 0; j < data->Cols(); ++j) {
            span.lowest = std::min(span.lowest, Score((*data)(n, j)));
            span.highest = std::max(span.highest, Score((*data)(n, j)));
        }
    }
}

std::string ScoreList(const std::vector<long long>& scores)
{
    std::string text = scores.size() == 1 ? "the score " : "the scores ";
    for (std::size_t k = 0; k < scores.size() && k < kMostScores; ++k) {
        text += (k == 0 ? "" : k + 1 == scores.size() ? " and " : ", ") + std::to_string(scores[k]);
    }
    if (scores.size() > kMostScores) {
        text += " and " + std::to_string(scores.size() - kMostScores) + " more";
    }
    return text;
}

// The lines about the items of one sample.
void DescribeSample(const Matrix* data, SampleSide side, const Matrix* itemLowest, const Matrix* itemHighest,
                    const std::vector<std::string>& itemNames, const ScoreSpan& seen, std::vector<std::string>& lines)
{
    const int p = data->Cols();
    std::vector<std::set<long long>> scores(p);
    for (int n = 0; n < data->Rows(); ++n) {
        for (int j = 0; j < p; ++j) {
            scores[j].insert(Score((*data)(n, j)));
        }
    }
    std::size_t mostCategories = 0;
    for (const std::set<long long>& item : scores) {
        mostCategories = std::max(mostCategories, item.size());
    }
    const std::string sample = std::string(SampleName(side)) + " sample, ";
    for (int j = 0; j < p; ++j) {
        const long long lowest = Score((*itemLowest)(j, 0));
        const long long highest = Score((*itemHighest)(j, 0));
        std::vector<long long> outside;
        for (long long score : scores[j]) {
            if (score < lowest || score > highest) {
                outside.push_back(score);
            }
        }
        if (!outside.empty()) {
            lines.push_back(sample + ItemShown(j, itemNames) + ": " + ScoreList(outside) + " lie" +
                            (outside.size() == 1 ? "s" : "") + " outside the declared range " +
                            std::to_string(lowest) + " to " + std::to_string(highest) + ".");
        }
        // Scores beyond the whole data are told once, as a range too wide.
        std::vector<long long> empty;
        for (long long score = std::max(lowest, seen.lowest); score <= std::min(highest, seen.highest); ++score) {
            if (scores[j].count(score) == 0) {
                empty.push_back(score);
            }
        }
        if (empty.empty()) {
            continue;
        }
        std::string line = sample + ItemShown(j, itemNames) + ": nobody has " + ScoreList(empty);
        if (scores[j].size() < mostCategories) {
            line += "; the item has " + std::to_string(scores[j].size()) + " categories, fewer than the " +
                    std::to_string(mostCategories) + " of other items";
        }
        lines.push_back(line + ".");
    }
}

} // namespace

std::string PolychoricRefusalCauses(const Matrix* targetData, const Matrix* replicationData,
                                    const Matrix* itemLowest, const Matrix* itemHighest,
                                    const std::vector<std::string>& itemNames)
{
    ScoreSpan seen;
    Widen(seen, targetData);
    Widen(seen, replicationData);
    std::vector<std::string> lines;
    ScoreSpan declared;
    for (int j = 0; j < itemLowest->Rows(); ++j) {
        declared.lowest = std::min(declared.lowest, Score((*itemLowest)(j, 0)));
        declared.highest = std::max(declared.highest, Score((*itemHighest)(j, 0)));
    }
    if (itemLowest->Rows() > 0 && targetData->Rows() > 0 &&
        (declared.lowest < seen.lowest || declared.highest > seen.highest)) {
        lines.push_back("The declared score range " + std::to_string(declared.lowest) + " to " +
                        std::to_string(declared.highest) + " is wider than the scores of the data, " +
                        std::to_string(seen.lowest) + " to " + std::to_string(seen.highest) +
                        ": declare the range of the data.");
    }
    DescribeSample(targetData, SampleSide::Target, itemLowest, itemHighest, itemNames, seen, lines);
    DescribeSample(replicationData, SampleSide::Replication, itemLowest, itemHighest, itemNames, seen, lines);
    std::string text;
    for (std::size_t k = 0; k < lines.size() && k < static_cast<std::size_t>(kMostLines); ++k) {
        text += "\n" + lines[k];
    }
    if (lines.size() > static_cast<std::size_t>(kMostLines)) {
        text += "\n(and " + std::to_string(lines.size() - kMostLines) + " more lines like these)";
    }
    return text;
}

} // namespace talver

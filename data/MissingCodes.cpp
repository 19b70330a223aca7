#include "data/MissingCodes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace talver {

namespace {

// The codes that questionnaires and statistics packages use for "no answer",
// "does not apply" or "refused": runs of 9s, 8s and 7s and the 97/98/99
// family; negated, they are the usual negative codes, with -1 besides.
constexpr std::array<double, 13> kTypicalCodes = {8, 9, 77, 88, 97, 98, 99, 777, 888, 997, 998, 999, 9999};

// A high code must stand at least this far above the item's highest other
// score: 9 on a 1-5 or 1-6 scale is a code, 9 on a 1-7 scale may be a score
// nobody happened to give 8.
constexpr double kHighCodeGap = 3;

bool IsTypicalCode(double magnitude)
{
    return std::find(kTypicalCodes.begin(), kTypicalCodes.end(), magnitude) != kTypicalCodes.end();
}

bool IsNegativeCandidate(double score)
{
    return score < 0 && (score == -1 || IsTypicalCode(-score));
}

bool IsHighCandidate(double score)
{
    return score > 0 && IsTypicalCode(score);
}

std::string CodeText(double code)
{
    return std::to_string(static_cast<long long>(code));
}

} // namespace

int SuspectMissingCode::Total() const
{
    int total = 0;
    for (const CodeInItem& in : items) {
        total += in.count;
    }
    return total;
}

MissingCodeScan::MissingCodeScan(int items) : counts_(static_cast<std::size_t>(std::max(items, 0))) {}

void MissingCodeScan::AddRow(const double* scores)
{
    for (std::size_t item = 0; item < counts_.size(); ++item) {
        AddValue(static_cast<int>(item), scores[item]);
    }
}

void MissingCodeScan::AddValue(int item, double score)
{
    if (std::isnan(score)) {
        return;
    }
    ++counts_[static_cast<std::size_t>(item)][score];
}

std::vector<SuspectMissingCode> MissingCodeScan::Suspects() const
{
    std::map<double, std::vector<CodeInItem>> found;
    for (std::size_t item = 0; item < counts_.size(); ++item) {
        const std::map<double, int>& counts = counts_[item];
        // The item's own scale: its scores that are no candidate codes.
        double lowest = std::numeric_limits<double>::infinity();
        double highest = -std::numeric_limits<double>::infinity();
        for (const auto& [score, count] : counts) {
            if (!IsNegativeCandidate(score) && !IsHighCandidate(score)) {
                lowest = std::min(lowest, score);
                highest = std::max(highest, score);
            }
        }
        if (!std::isfinite(lowest)) {
            continue; // nothing but codes: no scale to stand out from
        }
        for (const auto& [score, count] : counts) {
            const bool negativeCode = IsNegativeCandidate(score) && lowest >= 0;
            const bool highCode = IsHighCandidate(score) && score >= highest + kHighCodeGap;
            if (negativeCode || highCode) {
                found[score].push_back({static_cast<int>(item), count});
            }
        }
    }
    std::vector<SuspectMissingCode> suspects;
    for (auto& [code, items] : found) {
        suspects.push_back({code, std::move(items)});
    }
    return suspects;
}

std::string DescribeSuspectCode(const SuspectMissingCode& suspect, const std::vector<std::string>& itemNames)
{
    auto name = [&itemNames](int item) {
        const auto index = static_cast<std::size_t>(item);
        return index < itemNames.size() && !itemNames[index].empty() ? itemNames[index]
                                                                     : "item " + std::to_string(item + 1);
    };
    const int total = suspect.Total();
    std::string text = "The score " + CodeText(suspect.code) + " looks like a code for a missing answer: it occurs " +
                       std::to_string(total) + (total == 1 ? " time" : " times") + ", in ";
    for (std::size_t i = 0; i < suspect.items.size(); ++i) {
        if (i > 0) {
            text += i + 1 == suspect.items.size() ? " and " : ", ";
        }
        text += name(suspect.items[i].item) + " (" + std::to_string(suspect.items[i].count) + ")";
    }
    return text + ".";
}

std::string SuspectCodeList(const std::vector<SuspectMissingCode>& suspects)
{
    std::string list;
    for (const SuspectMissingCode& suspect : suspects) {
        list += (list.empty() ? "" : ",") + CodeText(suspect.code);
    }
    return list;
}

} // namespace talver

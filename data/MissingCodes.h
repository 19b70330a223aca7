#pragma once
// Scores that look like codes of missing answers left in the data: a negative
// code such as -9, -99 or -1 in an item whose other scores are not negative,
// or 9, 99, 999 far above the item's other scores. A forgotten code is
// otherwise analysed as a score without a word: it moves the means and
// widens the score range of polychoric correlations.

#include <map>
#include <string>
#include <vector>

namespace talver {

struct CodeInItem {
    int item = 0; // 0-based, in the order the items were added
    int count = 0;
};

struct SuspectMissingCode {
    double code = 0;
    // Every item that holds the code, in item order, with how often.
    std::vector<CodeInItem> items;

    int Total() const;
};

// Collects the distinct scores of each item, from both samples, row by row
// or value by value (a front end that holds columns adds them one at a time).
class MissingCodeScan {
public:
    explicit MissingCodeScan(int items);

    // One participant's scores, one per item.
    void AddRow(const double* scores);
    // A value that is not a number (an empty cell) is passed over.
    void AddValue(int item, double score);

    // The codes found, in ascending order of the code.
    std::vector<SuspectMissingCode> Suspects() const;

private:
    std::vector<std::map<double, int>> counts_;
};

// "The score -9 looks like a code for a missing answer: it occurs 3 times,
// in q4 (2) and q9 (1)." Items without a name are called "item 4".
std::string DescribeSuspectCode(const SuspectMissingCode& suspect, const std::vector<std::string>& itemNames);

// The codes as a list to declare them missing: "-9,99".
std::string SuspectCodeList(const std::vector<SuspectMissingCode>& suspects);

} // namespace talver

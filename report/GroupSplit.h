#pragma once
// How the group column of a file that holds both samples split its rows: the
// rows of each sample and, value by value, the rows that belong to neither.

#include <string>
#include <vector>

namespace talver {

struct OtherGroupRows {
    // The value as read: the text, or the number with its label in
    // parentheses.
    std::string value;
    int rows = 0;
};

struct GroupSplit {
    // Every row of the file.
    int rowsRead = 0;
    // Rows of each sample, complete or not.
    int targetRows = 0;
    int replicationRows = 0;
    // In the order in which the values first occur in the file.
    std::vector<OtherGroupRows> otherGroups;
};

} // namespace talver

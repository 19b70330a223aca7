#pragma once
// What listwise deletion took from a sample read from a file with column
// names: the rows incomplete in the chosen items are left out. The reading
// side's record; the run controller hands it on to the report's SampleLosses.

#include <vector>

namespace talver {

struct ListwiseLosses {
    // Rows of the sample in the file, complete or not.
    int rowsRead = 0;
    // Rows left out because an item was missing.
    int rowsDropped = 0;
    // Missing cells of each item, in item order.
    std::vector<int> missingPerItem;
};

} // namespace talver

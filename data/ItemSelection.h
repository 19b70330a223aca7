#pragma once
// The item columns a user names: a list of column names and ranges in file
// order, such as "q1-q10, q12".

#include "data/DataTable.h"

#include <optional>
#include <string>
#include <vector>

namespace talver {

struct ItemColumns {
    bool ok = false;
    std::string message;
    // Column positions in the order listed.
    std::vector<std::size_t> columns;
};

// The position of the column with this name (blanks around it ignored).
std::optional<std::size_t> FindColumn(const std::vector<DataColumn>& columns, const std::string& name);

// Entries are separated by commas; an entry is a column name, or two names
// joined by "-" for every column from the first to the second in file order.
// An entry that is itself a column's name is taken as that name, so names
// with hyphens work too. `fileName` names the file in messages.
ItemColumns ResolveItemList(const std::string& list, const std::vector<DataColumn>& columns,
                            const std::string& fileName);

// "q1, q2, ..." for messages, at most `most` names.
std::string ColumnNamesShown(const std::vector<DataColumn>& columns, std::size_t most = 30);

} // namespace talver

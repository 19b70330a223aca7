#include "data/ItemSelection.h"

#include "data/InputShown.h"
#include "data/ScoreCells.h"

#include <algorithm>
#include <set>

namespace talver {

std::optional<std::size_t> FindColumn(const std::vector<DataColumn>& columns, const std::string& name)
{
    const std::string wanted = TrimBlanks(name);
    if (wanted.empty()) {
        return std::nullopt;
    }
    for (std::size_t j = 0; j < columns.size(); ++j) {
        if (columns[j].name == wanted) {
            return j;
        }
    }
    return std::nullopt;
}

std::string ColumnNamesShown(const std::vector<DataColumn>& columns, std::size_t most)
{
    std::string shown;
    std::size_t count = 0;
    for (const DataColumn& column : columns) {
        if (column.name.empty()) {
            continue;
        }
        if (count == most) {
            return shown + ", ...";
        }
        shown += (count++ == 0 ? "" : ", ") + InputShown(column.name);
    }
    return shown.empty() ? "(none with a name)" : shown;
}

namespace {

std::string NoSuchColumn(const std::string& name, const std::vector<DataColumn>& columns,
                         const std::string& fileName)
{
    return "There is no column \"" + InputShown(name) + "\" in " + fileName + ". Its columns are: " +
           ColumnNamesShown(columns) + ".";
}

// The first and last column of a range "a-b", trying every hyphen.
std::optional<std::pair<std::size_t, std::size_t>> RangeEnds(const std::string& entry,
                                                              const std::vector<DataColumn>& columns)
{
    for (std::size_t dash = entry.find('-'); dash != std::string::npos; dash = entry.find('-', dash + 1)) {
        const auto first = FindColumn(columns, entry.substr(0, dash));
        const auto last = FindColumn(columns, entry.substr(dash + 1));
        if (first && last) {
            return std::make_pair(*first, *last);
        }
    }
    return std::nullopt;
}

} // namespace

ItemColumns ResolveItemList(const std::string& list, const std::vector<DataColumn>& columns,
                            const std::string& fileName)
{
    ItemColumns result;
    std::set<std::size_t> chosen;
    auto take = [&](std::size_t column) {
        if (!chosen.insert(column).second) {
            result.message = "The item \"" + InputShown(columns[column].name) +
                             "\" is chosen twice in the list of items. Name every item once.";
            return false;
        }
        if (columns[column].name.empty()) {
            result.message = "Column " + std::to_string(column + 1) + " of " + fileName +
                             " has no name and cannot be an item. Name it in the header, or leave it out of the "
                             "range.";
            return false;
        }
        result.columns.push_back(column);
        return true;
    };
    std::size_t from = 0;
    while (from <= list.size()) {
        const std::size_t comma = std::min(list.find(',', from), list.size());
        const std::string entry = TrimBlanks(std::string_view(list).substr(from, comma - from));
        from = comma + 1;
        if (entry.empty()) {
            continue;
        }
        if (const auto column = FindColumn(columns, entry)) {
            if (!take(*column)) {
                return result;
            }
            continue;
        }
        const auto range = RangeEnds(entry, columns);
        if (!range) {
            const std::size_t dash = entry.find('-');
            if (dash != std::string::npos && dash > 0) {
                const std::string first = TrimBlanks(entry.substr(0, dash));
                const std::string missing = FindColumn(columns, first) ? TrimBlanks(entry.substr(dash + 1)) : first;
                result.message = NoSuchColumn(missing, columns, fileName) + " (The item range \"" + InputShown(entry) +
                                 "\" runs from one column name to another.)";
            } else {
                result.message = NoSuchColumn(entry, columns, fileName);
            }
            return result;
        }
        if (range->first > range->second) {
            result.message = "The item range \"" + InputShown(entry) + "\" runs backwards: in " + fileName + " the column \"" +
                             InputShown(columns[range->second].name) + "\" comes before \"" +
                             InputShown(columns[range->first].name) +
                             "\". Write the range in file order.";
            return result;
        }
        for (std::size_t column = range->first; column <= range->second; ++column) {
            if (!take(column)) {
                return result;
            }
        }
    }
    if (result.columns.empty()) {
        result.message = "No items are named. Name the item columns of " + fileName +
                         ", for example q1-q10 or q1, q2, q5.";
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace talver

#include "data/DataTable.h"

namespace talver {

std::string RowPlace(const DataTable& table, std::size_t row)
{
    if (row < table.firstLineOfRow.size()) {
        return "line " + std::to_string(table.firstLineOfRow[row]);
    }
    return "row " + std::to_string(row + 1);
}

std::string ColumnPlace(const DataTable& table, std::size_t column)
{
    if (column < table.columns.size() && !table.columns[column].name.empty()) {
        return "column \"" + table.columns[column].name + "\"";
    }
    return "column " + std::to_string(column + 1);
}

} // namespace talver

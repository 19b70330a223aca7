#include "data/DataTable.h"

#include "data/InputShown.h"

namespace talver {

void DataTable::AppendRow(const std::vector<DataCell>& row)
{
    cells_.resize(columns.size());
    for (std::size_t column = 0; column < cells_.size(); ++column) {
        cells_[column].Append(row[column]);
    }
    ++rowCount_;
}

void DataTable::ShrinkToFit()
{
    for (ColumnCells& column : cells_) {
        column.ShrinkToFit();
    }
    firstLineOfRow.shrink_to_fit();
}

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
        return "column \"" + InputShown(table.columns[column].name) + "\"";
    }
    return "column " + std::to_string(column + 1);
}

std::string TooManyCellsMessage(const std::string& path, std::size_t rows, std::size_t columns)
{
    return path + ": the file holds more than " + std::to_string(rows) + " rows of the " + std::to_string(columns) +
           " columns the analysis needs, more than the " + std::to_string(kMostTableCells) +
           " cells that can be read. Keep in the file only the rows the analysis needs, or read a sample of them.";
}

std::string NoMemoryMessage(const std::string& path, std::size_t rows, std::size_t columns)
{
    return "not enough memory to read " + path + " (" + std::to_string(rows) + " rows x " + std::to_string(columns) +
           " columns). Close other programs to free memory, or keep in the file only the rows and columns the "
           "analysis needs, then read it again.";
}

} // namespace talver

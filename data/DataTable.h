#pragma once
// A data file as researchers keep it, read but not yet interpreted: named
// columns, one row per participant. Delimited text keeps every cell as the
// text written; statistics packages' files give numbers, missing cells and
// the texts of string variables.

#include "data/ColumnCells.h"
#include "data/DataCell.h"

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace talver {

struct DataColumn {
    // Empty for a delimited file's unnamed column (a row-name column, say).
    std::string name;
    // A string variable of a statistics package's file.
    bool isString = false;
    // Labels of a numeric variable's values, which name groups but never
    // replace scores.
    std::map<double, std::string> valueLabels;
    // Labels of a string variable's values, which name groups too.
    std::map<std::string, std::string> textLabels;
};

struct DataTable {
    std::vector<DataColumn> columns;
    // Numbers in text cells may use a comma as their decimal separator.
    bool decimalComma = false;
    // The delimiter of delimited text, as given or detected.
    char delimiter = 0;
    // Line of the file where each row starts (delimited text), for messages;
    // empty when rows are simply counted from 1.
    std::vector<long> firstLineOfRow;

    std::size_t RowCount() const { return rowCount_; }
    // Cell `column` of row `row`, both 0-based and in range.
    DataCell Cell(std::size_t row, std::size_t column) const { return cells_[column].Cell(row); }
    // A row of one cell per column.
    void AppendRow(const std::vector<DataCell>& row);
    // Gives back the room that growing the table left unused.
    void ShrinkToFit();

private:
    std::vector<ColumnCells> cells_;
    std::size_t rowCount_ = 0;
};

// How a message names row `row` (0-based) of the table.
std::string RowPlace(const DataTable& table, std::size_t row);

// How a message names column `column` (0-based).
std::string ColumnPlace(const DataTable& table, std::size_t column);

struct DataReadResult {
    bool ok = false;
    // What is wrong and what to do, when not ok.
    std::string message;
    // The user asked to stop; nothing was read.
    bool stopped = false;
};

// Asked between chunks of rows while a file is read: true stops the reading.
using StopAsked = std::function<bool()>;

// Rows asked about at once: a stop takes effect within this many rows.
inline constexpr std::size_t kRowsBetweenStopChecks = 4096;

// Which columns of a file to keep, given all of them: their positions in
// file order, or nothing to keep every column. Cells of other columns are
// passed over while reading, so that a wide file costs only what is kept.
using ColumnChoice = std::function<std::optional<std::vector<std::size_t>>(const std::vector<DataColumn>&)>;

// The most cells a table keeps. Each costs some 5 bytes (a text that is no
// plain whole number its length too), so that this many need about 250 MB:
// a file that would hold more (a compressed file that expands without end,
// say) is refused before it fills the memory.
inline constexpr std::size_t kMostTableCells = 50'000'000;

// The refusal of a file whose kept cells would pass kMostTableCells.
std::string TooManyCellsMessage(const std::string& path, std::size_t rows, std::size_t columns);

// The refusal of a file whose cells did not fit in memory.
std::string NoMemoryMessage(const std::string& path, std::size_t rows, std::size_t columns);

} // namespace talver

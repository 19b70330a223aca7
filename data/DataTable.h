#pragma once
// A data file as researchers keep it, read but not yet interpreted: named
// columns, one row per participant. Delimited text keeps every cell as the
// text written; statistics packages' files give numbers, missing cells and
// the texts of string variables.

#include <map>
#include <string>
#include <vector>

namespace talver {

struct DataCell {
    enum class Kind : unsigned char { Missing, Number, Text };
    Kind kind = Kind::Missing;
    double number = 0.0;
    std::string text;
};

struct DataColumn {
    // Empty for a delimited file's unnamed column (a row-name column, say).
    std::string name;
    // A string variable of a statistics package's file.
    bool isString = false;
    // Labels of a numeric variable's values, which name groups but never
    // replace scores.
    std::map<double, std::string> valueLabels;
};

struct DataTable {
    std::vector<DataColumn> columns;
    // Each row has one cell per column.
    std::vector<std::vector<DataCell>> rows;
    // Numbers in text cells may use a comma as their decimal separator.
    bool decimalComma = false;
    // The delimiter of delimited text, as given or detected.
    char delimiter = 0;
    // Line of the file where each row starts (delimited text), for messages;
    // empty when rows are simply counted from 1.
    std::vector<long> firstLineOfRow;
};

// How a message names row `row` (0-based) of the table.
std::string RowPlace(const DataTable& table, std::size_t row);

// How a message names column `column` (0-based).
std::string ColumnPlace(const DataTable& table, std::size_t column);

struct DataReadResult {
    bool ok = false;
    // What is wrong and what to do, when not ok.
    std::string message;
};

} // namespace talver

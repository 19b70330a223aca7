#include "analyses/ResultTable.h"

#include <cmath>

namespace talver {

ResultTable TableOfColumns(const std::vector<double>& values, int first, int rows, int cols)
{
    ResultTable table{rows, cols, std::vector<double>(static_cast<std::size_t>(rows) * cols)};
    for (int j = 0; j < cols; ++j) {
        for (int i = 0; i < rows; ++i) {
            table.values[static_cast<std::size_t>(i) * cols + j] = values[first + j * rows + i];
        }
    }
    return table;
}

bool AllFinite(const ResultTable& table)
{
    for (double value : table.values) {
        if (!std::isfinite(value)) {
            return false;
        }
    }
    return true;
}

} // namespace talver

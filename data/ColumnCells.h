#pragma once
// The cells of one column of a data table, kept compactly: a kind byte and a
// 4-byte slot per cell, so that a large file costs about five bytes a kept
// cell instead of a cell object with a string inside. What does not fit in a
// slot (a double that single precision does not hold exactly, a text that is
// not a plain whole number) goes to a side store the slot points into. Every
// cell reads back exactly as it was stored.

#include "data/DataCell.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace talver {

class ColumnCells {
public:
    std::size_t Size() const { return kinds_.size(); }

    void Append(const DataCell& cell);
    void AppendMissing();
    void AppendNumber(double number);
    void AppendText(std::string_view text);

    DataCell Cell(std::size_t row) const;

    // Gives back the room that growing left unused.
    void ShrinkToFit();

private:
    enum class Stored : unsigned char { Missing, Float, Double, WholeText, Text };

    void Push(Stored kind, std::uint32_t slot);

    std::vector<Stored> kinds_;
    std::vector<std::uint32_t> slots_;
    std::vector<double> doubles_;
    // The texts end to end, and where each ends.
    std::string texts_;
    std::vector<std::size_t> textEnds_;
    // The first distinct texts are stored once (group names, answer codes);
    // past that many a column of all different texts costs no index.
    std::unordered_map<std::string, std::uint32_t> sharedTexts_;
};

} // namespace talver

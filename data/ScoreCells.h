#pragma once
// What a cell of an item column holds: a score, a missing answer, or text
// that is neither. Missing are empty cells, "NA", "." and the codes the user
// names; scores are kept in single precision, as the plain files keep them.

#include "data/DataTable.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace talver {

struct MissingCodes {
    // The codes as written, compared with a text cell's trimmed text.
    std::vector<std::string> texts;
    // The codes that are numbers, compared with every score.
    std::vector<float> numbers;
};

// Parses "-9, 99, n/a": entries separated by commas, blanks around them
// ignored.
MissingCodes ParseMissingCodes(const std::string& list);

// A whole number text in the C conventions (with a decimal comma instead of
// the point when `decimalComma`), blanks around it allowed, rounded to single
// precision; nothing for other text, and for values that are not finite in
// single precision.
std::optional<float> ParseScore(std::string_view text, bool decimalComma);

enum class CellStatus { Score, Missing, NotANumber, OutsideSinglePrecision };

// Whether single precision holds the value: 0, or a finite value that it
// neither overflows nor rounds to 0.
bool InSinglePrecision(double value);

CellStatus InterpretScore(const DataCell& cell, bool decimalComma, const MissingCodes& missing, double& score);

// A number written in the C conventions (with a decimal comma instead of the
// point when `decimalComma`), blanks around it allowed, in double precision.
std::optional<double> ParseExactNumber(std::string_view text, bool decimalComma);

// Whether the cell holds the value that picks a group, compared as read: the
// same text; the same number in double precision (so that codes such as
// 20200103 and 20200104 stay apart); or a value whose label is that text.
bool GroupMatches(const DataCell& cell, const DataColumn& column, bool decimalComma, const std::string& wanted);

// A group cell's value as the user would give it: the text, or the number
// with its label in parentheses; "(missing)" for a missing cell.
std::string GroupValueText(const DataCell& cell, const DataColumn& column);

// How a message shows a cell's content.
std::string CellShown(const DataCell& cell);

// Blanks and tabs removed from both ends.
std::string TrimBlanks(std::string_view text);

} // namespace talver

#include "data/ScoreCells.h"

#include "matrix/NumberText.h"

#include <algorithm>
#include <cmath>

namespace talver {

std::string TrimBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return "";
    }
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

MissingCodes ParseMissingCodes(const std::string& list)
{
    MissingCodes codes;
    std::size_t from = 0;
    while (from <= list.size()) {
        const std::size_t comma = std::min(list.find(',', from), list.size());
        const std::string entry = TrimBlanks(std::string_view(list).substr(from, comma - from));
        if (!entry.empty()) {
            codes.texts.push_back(entry);
            if (const std::optional<float> number = ParseScore(entry, false)) {
                codes.numbers.push_back(*number);
            }
        }
        from = comma + 1;
    }
    return codes;
}

std::optional<float> ParseScore(std::string_view text, bool decimalComma)
{
    std::string number = TrimBlanks(text);
    if (!number.empty() && number[0] == '+') {
        number.erase(0, 1);
        if (number.empty() || number[0] == '-' || number[0] == '+') {
            return std::nullopt;
        }
    }
    if (decimalComma && number.find('.') == std::string::npos) {
        std::replace(number.begin(), number.end(), ',', '.');
    }
    // Digits, a point and an exponent only: from_chars would also take the
    // spellings of infinity and not-a-number.
    if (number.empty() || number.find_first_not_of("0123456789.eE+-") != std::string::npos) {
        return std::nullopt;
    }
    float value = 0.0f;
    const char* end = number.data() + number.size();
    const auto [stop, error] = ReadNumber(number.data(), end, value);
    if (error != std::errc{} || stop != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

namespace {

bool IsMissingNumber(float value, const MissingCodes& missing)
{
    return std::find(missing.numbers.begin(), missing.numbers.end(), value) != missing.numbers.end();
}

} // namespace

CellStatus InterpretScore(const DataCell& cell, bool decimalComma, const MissingCodes& missing, double& score)
{
    switch (cell.kind) {
    case DataCell::Kind::Missing: return CellStatus::Missing;
    case DataCell::Kind::Number: {
        const float value = static_cast<float>(cell.number);
        if (!std::isfinite(value)) {
            return CellStatus::NotANumber;
        }
        if (IsMissingNumber(value, missing)) {
            return CellStatus::Missing;
        }
        score = static_cast<double>(value);
        return CellStatus::Score;
    }
    case DataCell::Kind::Text: break;
    }
    const std::string text = TrimBlanks(cell.text);
    if (text.empty() || text == "NA" || text == "." ||
        std::find(missing.texts.begin(), missing.texts.end(), text) != missing.texts.end()) {
        return CellStatus::Missing;
    }
    const std::optional<float> value = ParseScore(text, decimalComma);
    if (!value) {
        return CellStatus::NotANumber;
    }
    if (IsMissingNumber(*value, missing)) {
        return CellStatus::Missing;
    }
    score = static_cast<double>(*value);
    return CellStatus::Score;
}

bool GroupMatches(const DataCell& cell, const DataColumn& column, bool decimalComma, const std::string& wanted)
{
    const std::string value = TrimBlanks(wanted);
    switch (cell.kind) {
    case DataCell::Kind::Missing: return false;
    case DataCell::Kind::Text: {
        const std::string text = TrimBlanks(cell.text);
        if (text == value) {
            return true;
        }
        const std::optional<float> number = ParseScore(text, decimalComma);
        const std::optional<float> asked = ParseScore(value, decimalComma);
        return number && asked && *number == *asked;
    }
    case DataCell::Kind::Number: {
        const std::optional<float> asked = ParseScore(value, false);
        if (asked && *asked == static_cast<float>(cell.number)) {
            return true;
        }
        const auto label = column.valueLabels.find(cell.number);
        return label != column.valueLabels.end() && label->second == value;
    }
    }
    return false;
}

std::string CellShown(const DataCell& cell)
{
    switch (cell.kind) {
    case DataCell::Kind::Missing: return "(missing)";
    case DataCell::Kind::Text: return "\"" + TrimBlanks(cell.text) + "\"";
    case DataCell::Kind::Number: break;
    }
    return ShortestText(cell.number);
}

} // namespace talver

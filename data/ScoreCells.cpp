#include "data/ScoreCells.h"

#include "data/InputShown.h"
#include "matrix/NumberText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace talver {

std::string TrimBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return "";
    }
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

namespace {

// The cleaned number text that from_chars reads, or nothing: a leading '+'
// dropped, a decimal comma made a point, and digits, a point and an exponent
// only (from_chars would also take the spellings of infinity and
// not-a-number).
std::optional<std::string> NumberText(std::string_view text, bool decimalComma)
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
    if (number.empty() || number.find_first_not_of("0123456789.eE+-") != std::string::npos) {
        return std::nullopt;
    }
    return number;
}

} // namespace

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

namespace {

enum class ScoreText { Score, OutsideSinglePrecision, NotANumber };

// A number too large for single precision, or one that single precision
// would make 0 (1e-50, say), cannot be kept as written.
ScoreText ReadScoreText(std::string_view text, bool decimalComma, float& value)
{
    const std::optional<std::string> number = NumberText(text, decimalComma);
    if (!number) {
        return ScoreText::NotANumber;
    }
    const char* end = number->data() + number->size();
    const auto [stop, error] = ReadNumber(number->data(), end, value);
    if (stop != end || (error != std::errc{} && error != std::errc::result_out_of_range)) {
        return ScoreText::NotANumber;
    }
    if (error == std::errc::result_out_of_range || !std::isfinite(value)) {
        return ScoreText::OutsideSinglePrecision;
    }
    return ScoreText::Score;
}

bool IsMissingNumber(float value, const MissingCodes& missing)
{
    return std::find(missing.numbers.begin(), missing.numbers.end(), value) != missing.numbers.end();
}

} // namespace

bool InSinglePrecision(double value)
{
    return value == 0.0 ||
           (std::fabs(value) <= std::numeric_limits<float>::max() && static_cast<float>(value) != 0.0f);
}

std::optional<float> ParseScore(std::string_view text, bool decimalComma)
{
    float value = 0.0f;
    if (ReadScoreText(text, decimalComma, value) != ScoreText::Score) {
        return std::nullopt;
    }
    return value;
}

CellStatus InterpretScore(const DataCell& cell, bool decimalComma, const MissingCodes& missing, double& score)
{
    float value = 0.0f;
    switch (cell.kind) {
    case DataCell::Kind::Missing: return CellStatus::Missing;
    case DataCell::Kind::Number:
        if (!std::isfinite(cell.number)) {
            return CellStatus::NotANumber;
        }
        if (!InSinglePrecision(cell.number)) {
            return CellStatus::OutsideSinglePrecision;
        }
        value = static_cast<float>(cell.number);
        break;
    case DataCell::Kind::Text: {
        const std::string text = TrimBlanks(cell.text);
        if (text.empty() || text == "NA" || text == "." ||
            std::find(missing.texts.begin(), missing.texts.end(), text) != missing.texts.end()) {
            return CellStatus::Missing;
        }
        switch (ReadScoreText(text, decimalComma, value)) {
        case ScoreText::Score: break;
        case ScoreText::OutsideSinglePrecision: return CellStatus::OutsideSinglePrecision;
        case ScoreText::NotANumber: return CellStatus::NotANumber;
        }
        break;
    }
    }
    if (IsMissingNumber(value, missing)) {
        return CellStatus::Missing;
    }
    score = static_cast<double>(value);
    return CellStatus::Score;
}

std::optional<double> ParseExactNumber(std::string_view text, bool decimalComma)
{
    const std::optional<std::string> number = NumberText(text, decimalComma);
    if (!number) {
        return std::nullopt;
    }
    double value = 0.0;
    const char* end = number->data() + number->size();
    const auto [stop, error] = ReadNumber(number->data(), end, value);
    if (error != std::errc{} || stop != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
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
        const auto label = column.textLabels.find(cell.text);
        if (label != column.textLabels.end() && TrimBlanks(label->second) == value) {
            return true;
        }
        const std::optional<double> number = ParseExactNumber(text, decimalComma);
        const std::optional<double> asked = ParseExactNumber(value, decimalComma);
        return number && asked && *number == *asked;
    }
    case DataCell::Kind::Number: {
        const std::optional<double> asked = ParseExactNumber(value, false);
        if (asked && *asked == cell.number) {
            return true;
        }
        const auto label = column.valueLabels.find(cell.number);
        return label != column.valueLabels.end() && TrimBlanks(label->second) == value;
    }
    }
    return false;
}

std::string GroupValueText(const DataCell& cell, const DataColumn& column)
{
    switch (cell.kind) {
    case DataCell::Kind::Missing: return "(missing)";
    case DataCell::Kind::Text: {
        const auto label = column.textLabels.find(cell.text);
        return label == column.textLabels.end() ? cell.text : cell.text + " (" + label->second + ")";
    }
    case DataCell::Kind::Number: break;
    }
    const auto label = column.valueLabels.find(cell.number);
    const std::string number = CellShown(cell);
    return label == column.valueLabels.end() ? number : number + " (" + label->second + ")";
}

std::string CellShown(const DataCell& cell)
{
    switch (cell.kind) {
    case DataCell::Kind::Missing: return "(missing)";
    case DataCell::Kind::Text: return "\"" + InputShown(TrimBlanks(cell.text)) + "\"";
    case DataCell::Kind::Number: break;
    }
    return ShortestText(cell.number);
}

} // namespace talver

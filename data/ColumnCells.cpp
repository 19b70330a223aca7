#include "data/ColumnCells.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

namespace talver {

namespace {

// Distinct texts stored once per column.
constexpr std::size_t kMostSharedTexts = 1024;

// The value of a text that std::to_string gives back byte for byte: "0", or
// an optional minus and digits without a leading zero, within 32 bits; "-0",
// "+1", "01" and " 1" are kept as text.
std::optional<std::int32_t> PlainWholeNumber(std::string_view text)
{
    const bool negative = !text.empty() && text[0] == '-';
    const std::string_view digits = text.substr(negative ? 1 : 0);
    if (digits.empty() || digits.size() > 10 || (digits[0] == '0' && (digits.size() > 1 || negative))) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    value = negative ? -value : value;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

template <typename To, typename From>
To BitsOf(From value)
{
    static_assert(sizeof(To) == sizeof(From));
    To bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

} // namespace

void ColumnCells::Push(Stored kind, std::uint32_t slot)
{
    kinds_.push_back(kind);
    slots_.push_back(slot);
}

void ColumnCells::Append(const DataCell& cell)
{
    switch (cell.kind) {
    case DataCell::Kind::Missing: AppendMissing(); return;
    case DataCell::Kind::Number: AppendNumber(cell.number); return;
    case DataCell::Kind::Text: AppendText(cell.text); return;
    }
}

void ColumnCells::AppendMissing()
{
    Push(Stored::Missing, 0);
}

void ColumnCells::AppendNumber(double number)
{
    // Checked before the conversion, which is undefined out of range; NaN
    // fails the check and keeps its bits in the side store.
    if (std::fabs(number) <= FLT_MAX) {
        const auto single = static_cast<float>(number);
        if (static_cast<double>(single) == number) {
            Push(Stored::Float, BitsOf<std::uint32_t>(single));
            return;
        }
    }
    Push(Stored::Double, static_cast<std::uint32_t>(doubles_.size()));
    doubles_.push_back(number);
}

void ColumnCells::AppendText(std::string_view text)
{
    if (const std::optional<std::int32_t> whole = PlainWholeNumber(text)) {
        Push(Stored::WholeText, BitsOf<std::uint32_t>(*whole));
        return;
    }
    std::string key(text);
    if (const auto found = sharedTexts_.find(key); found != sharedTexts_.end()) {
        Push(Stored::Text, found->second);
        return;
    }
    const auto index = static_cast<std::uint32_t>(textEnds_.size());
    texts_.append(text);
    textEnds_.push_back(texts_.size());
    if (sharedTexts_.size() < kMostSharedTexts) {
        sharedTexts_.emplace(std::move(key), index);
    }
    Push(Stored::Text, index);
}

DataCell ColumnCells::Cell(std::size_t row) const
{
    const std::uint32_t slot = slots_[row];
    switch (kinds_[row]) {
    case Stored::Missing: return {};
    case Stored::Float: return {DataCell::Kind::Number, static_cast<double>(BitsOf<float>(slot)), {}};
    case Stored::Double: return {DataCell::Kind::Number, doubles_[slot], {}};
    case Stored::WholeText: return {DataCell::Kind::Text, 0.0, std::to_string(BitsOf<std::int32_t>(slot))};
    case Stored::Text: {
        const std::size_t start = slot == 0 ? 0 : textEnds_[slot - 1];
        return {DataCell::Kind::Text, 0.0, texts_.substr(start, textEnds_[slot] - start)};
    }
    }
    return {};
}

void ColumnCells::ShrinkToFit()
{
    kinds_.shrink_to_fit();
    slots_.shrink_to_fit();
    doubles_.shrink_to_fit();
    texts_.shrink_to_fit();
    textEnds_.shrink_to_fit();
}

} // namespace talver

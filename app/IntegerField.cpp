#include "app/IntegerField.h"

#include <cstddef>

namespace talver {

namespace {

// Magnitudes above this fit in neither result type, so counting can stop there.
constexpr std::uint64_t kMagnitudeCap = std::uint64_t{1} << 32;

struct ScannedNumber {
    bool negative;
    std::uint64_t magnitude;  // capped at kMagnitudeCap + 1
};

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Sign and magnitude of the field's number, or nothing when the text is refused.
// Works on bytes: a non-ASCII character is refused wherever it stands, so byte
// and character counting agree on every text that is accepted. The whole text
// counts, however long: "12" followed by many blanks and a letter is no 12.
std::optional<ScannedNumber> ScanField(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    const char firstNonBlank = text[i];

    ScannedNumber number{false, 0};
    if (text[i] == '+' || text[i] == '-') {
        number.negative = text[i] == '-';
        ++i;
    }
    const std::size_t digitsStart = i;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        if (number.magnitude <= kMagnitudeCap) {
            number.magnitude = number.magnitude * 10 + static_cast<std::uint64_t>(text[i] - '0');
        }
    }
    if (i == digitsStart) {
        return std::nullopt;
    }
    while (i < text.size() && IsBlank(text[i])) {
        ++i;
    }
    if (i != text.size()) {
        return std::nullopt;
    }
    // "+0" and "-0" are refused too: a zero result counts only after a leading 0.
    if (number.magnitude == 0 && firstNonBlank != '0') {
        return std::nullopt;
    }
    return number;
}

}  // namespace

std::optional<std::int32_t> ParseSignedField(std::string_view text)
{
    const std::optional<ScannedNumber> number = ScanField(text);
    if (!number) {
        return std::nullopt;
    }
    const std::int64_t magnitude = static_cast<std::int64_t>(number->magnitude);
    const std::int64_t value = number->negative ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

std::optional<std::uint32_t> ParseUnsignedField(std::string_view text)
{
    const std::optional<ScannedNumber> number = ScanField(text);
    if (!number || number->negative || number->magnitude > UINT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(number->magnitude);
}

} // namespace talver

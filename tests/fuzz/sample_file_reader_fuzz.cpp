// Feeds the sample-file reader any bytes as the text of a data file. The
// first two bytes choose a small matrix shape; the rest is the file.
//
// Besides the sanitizers' checks: the shape of the matrix does not matter,
// one number more or less than the file holds is refused, the stored values
// are finite single-precision values that read back the same, and a file of
// plain decimal numbers reads as strtof reads them.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "data/SampleFileReader.h"
#include "fuzz_support.h"
#include "matrix/Matrix.h"

using namespace talver;

namespace {

struct Reading {
    bool ok;
    std::vector<double> values;
};

Reading Read(const std::string& text, int rows, int cols)
{
    MatrixScope scope;
    Matrix* into = NewMatrix(rows, cols);
    const SampleReadResult result = ParseSampleText(text.data(), text.data() + text.size(), into);
    FUZZ_REQUIRE(result.ok == result.detail.empty());
    Reading reading{result.ok, {}};
    if (result.ok) {
        reading.values.assign(into->Row(0), into->Row(0) + into->Size());
    }
    return reading;
}

bool SameBits(const std::vector<double>& a, const std::vector<double>& b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0);
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::vector<std::string> Tokens(const std::string& text)
{
    std::vector<std::string> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBlank(text[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < text.size() && !IsBlank(text[i])) {
            ++i;
        }
        if (i > start) {
            tokens.push_back(text.substr(start, i - start));
        }
    }
    return tokens;
}

bool AllDigits(const std::string& s, std::size_t from, std::size_t to)
{
    for (std::size_t i = from; i < to; ++i) {
        if (s[i] < '0' || s[i] > '9') {
            return false;
        }
    }
    return true;
}

// [+-] digits [. digits] | [+-] . digits, then an optional exponent: the
// numbers that every conversion of decimal text reads alike.
bool IsPlainDecimal(const std::string& token)
{
    std::size_t i = (token[0] == '+' || token[0] == '-') ? 1 : 0;
    const std::size_t exponent = token.find_first_of("eE");
    const std::size_t mantissaEnd = exponent == std::string::npos ? token.size() : exponent;
    const std::size_t point = token.find('.', i);
    const std::size_t intEnd = (point == std::string::npos || point > mantissaEnd) ? mantissaEnd : point;
    const std::size_t fracStart = intEnd == mantissaEnd ? mantissaEnd : intEnd + 1;
    if (!AllDigits(token, i, intEnd) || !AllDigits(token, fracStart, mantissaEnd) ||
        (intEnd == i && fracStart == mantissaEnd)) {
        return false;
    }
    if (exponent == std::string::npos) {
        return true;
    }
    std::size_t e = exponent + 1;
    if (e < token.size() && (token[e] == '+' || token[e] == '-')) {
        ++e;
    }
    return e < token.size() && AllDigits(token, e, token.size());
}

// What a file of count plain decimal numbers must give: nothing when the text
// is anything else, no values when one of them is not finite in single precision.
std::optional<Reading> ReferenceReading(const std::string& text, std::size_t count)
{
    const std::vector<std::string> tokens = Tokens(text);
    if (tokens.size() != count) {
        return std::nullopt;
    }
    Reading reading{true, {}};
    for (const std::string& token : tokens) {
        if (!IsPlainDecimal(token)) {
            return std::nullopt;
        }
        const float value = std::strtof(token.c_str(), nullptr);
        if (!std::isfinite(value)) {
            return Reading{false, {}};
        }
        reading.values.push_back(static_cast<double>(value));
    }
    return reading;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) {
        return 0;
    }
    const int rows = 1 + data[0] % 6;
    const int cols = 1 + data[1] % 6;
    const int count = rows * cols;
    const std::string text(reinterpret_cast<const char*>(data) + 2, size - 2);

    // The text is read straight from the fuzzer's buffer as well, so that the
    // address checks see the exact end of the file.
    {
        MatrixScope scope;
        const char* begin = reinterpret_cast<const char*>(data) + 2;
        ParseSampleText(begin, begin + (size - 2), NewMatrix(rows, cols));
    }

    const Reading shaped = Read(text, rows, cols);
    const Reading oneRow = Read(text, 1, count);
    const Reading oneColumn = Read(text, count, 1);
    FUZZ_REQUIRE(shaped.ok == oneRow.ok && shaped.ok == oneColumn.ok);
    FUZZ_REQUIRE(SameBits(shaped.values, oneRow.values) && SameBits(shaped.values, oneColumn.values));

    const std::string withoutMark = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? text.substr(3) : text;
    if (const std::optional<Reading> reference = ReferenceReading(withoutMark, count)) {
        FUZZ_REQUIRE(shaped.ok == reference->ok);
        FUZZ_REQUIRE(SameBits(shaped.values, reference->values));
    }

    if (!shaped.ok) {
        return 0;
    }
    FUZZ_REQUIRE(!Read(text, 1, count + 1).ok);
    if (count > 1) {
        FUZZ_REQUIRE(!Read(text, 1, count - 1).ok);
    }
    std::string printed;
    for (const double value : shaped.values) {
        FUZZ_REQUIRE(std::isfinite(value) && static_cast<double>(static_cast<float>(value)) == value);
        char number[32];
        std::snprintf(number, sizeof number, "%.9g\n", value);
        printed += number;
    }
    const Reading reread = Read(printed, rows, cols);
    FUZZ_REQUIRE(reread.ok && SameBits(reread.values, shaped.values));
    return 0;
}

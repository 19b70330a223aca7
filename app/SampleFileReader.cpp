#include "app/SampleFileReader.h"

#include "matrix/Matrix.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

const char* SkipBlanks(const char* p, const char* end)
{
    while (p < end && IsBlank(*p)) {
        ++p;
    }
    return p;
}

// Whether the text at p would be taken for a number by a formatted read:
// an optional sign, then a digit, or a point followed by a digit, or one of
// the spellings of infinity and not-a-number.
bool StartsNumber(const char* p, const char* end)
{
    if (p < end && (*p == '+' || *p == '-')) {
        ++p;
    }
    if (p >= end) {
        return false;
    }
    if (*p >= '0' && *p <= '9') {
        return true;
    }
    if (*p == '.' && p + 1 < end && p[1] >= '0' && p[1] <= '9') {
        return true;
    }
    auto startsWithWord = [&](const char* word) {
        const std::size_t n = std::strlen(word);
        if (static_cast<std::size_t>(end - p) < n) {
            return false;
        }
        for (std::size_t i = 0; i < n; ++i) {
            const char c = p[i];
            const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
            if (lower != word[i]) {
                return false;
            }
        }
        return true;
    };
    return startsWithWord("inf") || startsWithWord("nan");
}

std::string Quote(const char* p, const char* end)
{
    const char* stop = p;
    while (stop < end && !IsBlank(*stop) && stop - p < 20) {
        ++stop;
    }
    return "'" + std::string(p, stop) + "'";
}

enum class ScanStatus { Number, EndOfText, NotANumber, NotFinite };

struct Scan {
    ScanStatus status;
    float value = 0.0f;
    const char* next = nullptr;
};

// One single-precision number at p (after blanks), as the C conversion of a
// decimal number would give it; never depends on the user's locale.
Scan ScanNumber(const char* p, const char* end)
{
    p = SkipBlanks(p, end);
    if (p == end) {
        return {ScanStatus::EndOfText, 0.0f, p};
    }
    if (!StartsNumber(p, end)) {
        return {ScanStatus::NotANumber, 0.0f, p};
    }
    const char* digits = (*p == '+') ? p + 1 : p;
    float value = 0.0f;
    auto [next, error] = std::from_chars(digits, end, value, std::chars_format::general);
    if (error == std::errc::invalid_argument) {
        return {ScanStatus::NotANumber, 0.0f, p};
    }
    if (error == std::errc::result_out_of_range) {
        // Too small for single precision rounds towards zero; too large is refused.
        double wide = 0.0;
        auto wideResult = std::from_chars(digits, end, wide, std::chars_format::general);
        if (wideResult.ec != std::errc() || !(std::fabs(wide) < 1.0)) {
            return {ScanStatus::NotFinite, 0.0f, p};
        }
        value = static_cast<float>(wide);
        next = wideResult.ptr;
    }
    if (!std::isfinite(value)) {
        return {ScanStatus::NotFinite, 0.0f, p};
    }
    return {ScanStatus::Number, value, next};
}

} // namespace

SampleReadResult ParseSampleText(const char* begin, const char* end, Matrix* into)
{
    static const char byteOrderMark[] = "\xEF\xBB\xBF";
    if (end - begin >= 3 && std::memcmp(begin, byteOrderMark, 3) == 0) {
        begin += 3;
    }
    const int rows = into->Rows();
    const int cols = into->Cols();
    const char* p = begin;
    for (int i = 0; i < rows; ++i) {
        double* row = into->Row(i);
        for (int j = 0; j < cols; ++j) {
            const Scan scan = ScanNumber(p, end);
            switch (scan.status) {
            case ScanStatus::Number:
                row[j] = static_cast<double>(scan.value);
                p = scan.next;
                break;
            case ScanStatus::EndOfText:
                return {false, "the file ends after " + std::to_string(static_cast<long long>(i) * cols + j) +
                                   " numbers; " + std::to_string(rows) + " rows of " + std::to_string(cols) +
                                   " items need " + std::to_string(static_cast<long long>(rows) * cols)};
            case ScanStatus::NotANumber:
                return {false, "row " + std::to_string(i + 1) + ", item " + std::to_string(j + 1) + ": " +
                                   Quote(scan.next, end) + " is not a number"};
            case ScanStatus::NotFinite:
                return {false, "row " + std::to_string(i + 1) + ", item " + std::to_string(j + 1) + ": " +
                                   Quote(scan.next, end) + " is not a finite single-precision number"};
            }
        }
    }
    const char* rest = SkipBlanks(p, end);
    if (rest != end && StartsNumber(rest, end)) {
        return {false, "the file holds more than " + std::to_string(static_cast<long long>(rows) * cols) +
                           " numbers (" + std::to_string(rows) + " rows of " + std::to_string(cols) + " items)"};
    }
    return {true, ""};
}

SampleReadResult ReadSampleFile(const std::string& path, Matrix* into)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) {
        return {false, "cannot open " + path + ": " + std::strerror(errno)};
    }
    std::string text;
    char buffer[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        text.append(buffer, got);
    }
    if (std::ferror(file.get())) {
        return {false, "cannot read " + path + ": " + std::strerror(errno)};
    }
    return ParseSampleText(text.data(), text.data() + text.size(), into);
}

#include "data/SampleFileReader.h"

#include "data/FilePath.h"
#include "data/InputShown.h"
#include "data/WideEncoding.h"
#include "matrix/Matrix.h"
#include "matrix/NumberText.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <fstream>
#include <limits>
#include <vector>

namespace talver {

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

// The token at p, quoted, as every message shows input: control bytes as
// escapes (so that a NUL byte neither cuts the message nor hides), a long
// token cut.
std::string Quote(const char* p, const char* end)
{
    const char* stop = p;
    while (stop < end && !IsBlank(*stop) && stop - p <= static_cast<std::ptrdiff_t>(4 * kMostInputCharacters)) {
        ++stop;
    }
    return "'" + InputShown(std::string_view(p, static_cast<std::size_t>(stop - p))) + "'";
}

// Counts the numbers on each line, to tell the user when the lines hold
// another count than the items: the numbers are still read in order (line
// structure carries no meaning), but the declared count may be wrong.
class LineLengths {
public:
    // A number was read; `lineEnds` is the count of line ends before it.
    void Number(long long lineEnds)
    {
        if (lineEnds != lineEnds_) {
            EndLine();
            lineEnds_ = lineEnds;
        }
        ++onLine_;
    }

    // The note for `items` declared, or empty when the lines agree with it.
    std::string Note(int items)
    {
        EndLine();
        if (!uniform_ || lines_ < 2 || length_ == items) {
            return "";
        }
        return "every line of the file holds " + std::to_string(length_) + " numbers, but " + std::to_string(items) +
               " items were declared; the numbers are read in order, " + std::to_string(items) +
               " to a participant. Check the number of variables if that is not what you meant.";
    }

private:
    void EndLine()
    {
        if (onLine_ == 0) {
            return;
        }
        if (lines_ == 0) {
            length_ = onLine_;
        } else if (onLine_ != length_) {
            uniform_ = false;
        }
        ++lines_;
        onLine_ = 0;
    }

    long long lineEnds_ = 0;
    long long onLine_ = 0;
    long long length_ = 0;
    long long lines_ = 0;
    bool uniform_ = true;
};

// Whether a decimal number that no double holds is too small rather than too
// large: the power of ten of its leading significant digit is negative.
bool BelowDoubleRange(const char* p, const char* end)
{
    if (p < end && *p == '-') {
        ++p;
    }
    long long integerDigits = 0;
    long long zerosAfterPoint = 0;
    bool significant = false;
    bool afterPoint = false;
    for (; p < end && (*p == '.' || (*p >= '0' && *p <= '9')); ++p) {
        if (*p == '.') {
            afterPoint = true;
        } else if (significant || *p != '0') {
            significant = true;
            integerDigits += afterPoint ? 0 : 1;
        } else if (afterPoint) {
            ++zerosAfterPoint;
        }
    }
    long long exponent = 0;
    if (p < end && (*p == 'e' || *p == 'E')) {
        ++p;
        const bool negative = p < end && *p == '-';
        if (p < end && (*p == '-' || *p == '+')) {
            ++p;
        }
        for (; p < end && *p >= '0' && *p <= '9'; ++p) {
            exponent = std::min(exponent * 10 + (*p - '0'), 1000000000LL);
        }
        exponent = negative ? -exponent : exponent;
    }
    const long long leading = integerDigits > 0 ? integerDigits - 1 : -(zerosAfterPoint + 1);
    return leading + exponent < 0;
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
    auto [next, error] = ReadNumber(digits, end, value);
    if (error == std::errc::invalid_argument) {
        return {ScanStatus::NotANumber, 0.0f, p};
    }
    if (error == std::errc::result_out_of_range) {
        // Too small for single precision rounds towards zero; too large is refused.
        double wide = 0.0;
        auto wideResult = ReadNumber(digits, end, wide);
        if (wideResult.ec == std::errc::result_out_of_range && BelowDoubleRange(digits, wideResult.ptr)) {
            wide = *digits == '-' ? -0.0 : 0.0;
        } else if (wideResult.ec != std::errc() || !(std::fabs(wide) < 1.0)) {
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

// The text of a sample file as a window that the reading moves through. A
// file is read piece by piece, and a piece is asked for only when a token
// could reach past the end of the window, so a file is never held whole: a
// huge file is refused at its first number too many, not after it has filled
// the memory.
class TextSource {
public:
    // All the text, already in memory.
    TextSource(const char* begin, const char* end) : begin_(begin), end_(end) {}
    // The text of an open file, read from its start.
    explicit TextSource(std::istream& file) : file_(&file) {}

    const char* Begin() const { return begin_; }
    const char* End() const { return end_; }
    bool ReadFailed() const { return readFailed_; }

    // Blanks from p on are passed over, reading on as long as the window ends
    // in them; then the window is made to hold the whole token at p (up to
    // the next blank or the end of the text), or its first kLongestToken
    // characters when it is longer. Returns the token's start.
    const char* NextToken(const char* p)
    {
        cut_ = false;
        for (;;) {
            for (; p < end_ && IsBlank(*p); ++p) {
                lineEnds_ += *p == '\n' ? 1 : 0;
            }
            if (p == end_) {
                if (!More(p)) {
                    return p;
                }
                continue;
            }
            const std::size_t available = static_cast<std::size_t>(end_ - p);
            const char* limit = p + (available < kLongestToken ? available : kLongestToken);
            const char* stop = p;
            while (stop < limit && !IsBlank(*stop)) {
                ++stop;
            }
            if (stop < limit) {
                return p;
            }
            if (stop - p == static_cast<std::ptrdiff_t>(kLongestToken)) {
                cut_ = true;
                return p;
            }
            if (!More(p)) {
                return p;
            }
        }
    }

    // Whether the last token has kLongestToken characters or more, of
    // which the window may not hold all.
    bool TokenCut() const { return cut_; }

    // The line ends passed over so far.
    long long LineEnds() const { return lineEnds_; }

    // Keeps the text from `keep` to the end of the window and reads more
    // after it; `keep` then points at the same text in the new window. False
    // when nothing more can be read.
    bool More(const char*& keep)
    {
        if (file_ == nullptr || atEnd_) {
            return false;
        }
        const std::size_t offset = static_cast<std::size_t>(keep - begin_);
        const std::size_t kept = static_cast<std::size_t>(end_ - keep);
        if (buffer_.size() < kept + kPiece) {
            buffer_.resize(kept + kPiece);
        }
        if (kept > 0 && offset > 0) {
            std::memmove(buffer_.data(), buffer_.data() + offset, kept);
        }
        file_->read(buffer_.data() + kept, static_cast<std::streamsize>(buffer_.size() - kept));
        const auto got = static_cast<std::size_t>(file_->gcount());
        begin_ = buffer_.data();
        end_ = begin_ + kept + got;
        keep = begin_;
        if (got == 0) {
            atEnd_ = true;
            // The end of the file sets failbit; an error of the system, badbit.
            readFailed_ = file_->bad();
            return false;
        }
        return true;
    }

    // No number is written with more characters; a longer token is not held
    // whole, so that a file without blanks cannot fill the memory.
    static constexpr std::size_t kLongestToken = 4096;

private:
    static constexpr std::size_t kPiece = std::size_t{1} << 16;

    std::istream* file_ = nullptr;
    std::vector<char> buffer_;
    const char* begin_ = nullptr;
    const char* end_ = nullptr;
    bool atEnd_ = false;
    bool readFailed_ = false;
    bool cut_ = false;
    long long lineEnds_ = 0;
};

std::string Place(int row, int item)
{
    return "row " + std::to_string(row + 1) + ", item " + std::to_string(item + 1) + ": ";
}

SampleReadResult Parse(TextSource& source, Matrix* into, const StopAsked& stopAsked = {})
{
    static const char byteOrderMark[] = "\xEF\xBB\xBF";
    const char* p = source.Begin();
    while (source.End() - p < 4 && source.More(p)) {
    }
    if (const std::string wide = WideEncodingOf(std::string_view(p, static_cast<std::size_t>(source.End() - p)));
        !wide.empty()) {
        return {false, "the file is written in " + wide + "; save it as plain text (ASCII or UTF-8) and read it "
                       "again"};
    }
    if (source.End() - p >= 3 && std::memcmp(p, byteOrderMark, 3) == 0) {
        p += 3;
    }
    const int rows = into->Rows();
    const int cols = into->Cols();
    LineLengths lines;
    for (int i = 0; i < rows; ++i) {
        if (i > 0 && static_cast<std::size_t>(i) % kRowsBetweenStopChecks == 0 && stopAsked && stopAsked()) {
            SampleReadResult stopped{false, "the reading was stopped"};
            stopped.stopped = true;
            return stopped;
        }
        double* row = into->Row(i);
        for (int j = 0; j < cols; ++j) {
            p = source.NextToken(p);
            const Scan scan = ScanNumber(p, source.End());
            switch (scan.status) {
            case ScanStatus::Number:
                if (source.TokenCut() && scan.next - p >= static_cast<std::ptrdiff_t>(TextSource::kLongestToken)) {
                    return {false, Place(i, j) + Quote(p, source.End()) + "... has " +
                                       std::to_string(TextSource::kLongestToken) +
                                       " characters or more, too many for a number"};
                }
                // A number is a whole token: "4,5" or "3abc" is no 4 or 3.
                if (scan.next < source.End() && !IsBlank(*scan.next)) {
                    return {false, Place(i, j) + Quote(p, source.End()) + " is not a number"};
                }
                row[j] = static_cast<double>(scan.value);
                lines.Number(source.LineEnds());
                p = scan.next;
                break;
            case ScanStatus::EndOfText:
                return {false, "the file ends after " + std::to_string(static_cast<long long>(i) * cols + j) +
                                   " numbers; " + std::to_string(rows) + " rows of " + std::to_string(cols) +
                                   " items need " + std::to_string(static_cast<long long>(rows) * cols)};
            case ScanStatus::NotANumber:
                return {false, Place(i, j) + Quote(scan.next, source.End()) + " is not a number"};
            case ScanStatus::NotFinite:
                return {false, Place(i, j) + Quote(scan.next, source.End()) +
                                   " is outside single precision, in which scores are kept (larger than about 3.4e38)"};
            }
        }
    }
    const char* rest = source.NextToken(p);
    if (rest != source.End() && StartsNumber(rest, source.End())) {
        return {false, "the file holds more than " + std::to_string(static_cast<long long>(rows) * cols) +
                           " numbers (" + std::to_string(rows) + " rows of " + std::to_string(cols) + " items)"};
    }
    return {true, "", lines.Note(cols)};
}

} // namespace

SampleReadResult ParseSampleText(const char* begin, const char* end, Matrix* into)
{
    TextSource source(begin, end);
    return Parse(source, into);
}

SampleReadResult ReadSampleFile(const std::string& path, Matrix* into, const StopAsked& stopAsked)
{
    std::ifstream file(FilePath(path), std::ios::binary);
    if (!file) {
        return {false, "cannot open " + path + ": " + std::strerror(errno)};
    }
    TextSource source(file);
    const SampleReadResult result = Parse(source, into, stopAsked);
    if (source.ReadFailed()) {
        return {false, "cannot read " + path + ": " + std::strerror(errno)};
    }
    return result;
}

} // namespace talver

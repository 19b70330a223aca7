#include "data/DelimitedReader.h"

#include "data/InputShown.h"
#include "data/RegularFile.h"
#include "data/WideEncoding.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <new>
#include <set>

namespace talver {

namespace {

bool IsLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

// Counts of each candidate delimiter outside quotes in the first record;
// nothing when the text ends inside it and more may follow (`whole` false).
std::optional<char> DetectDelimiter(std::string_view text, bool whole)
{
    int tabs = 0, semicolons = 0, commas = 0;
    bool quoted = false;
    bool ended = whole;
    for (const char c : text) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && IsLineEnd(c)) {
            ended = true;
            break;
        } else if (!quoted) {
            tabs += c == '\t';
            semicolons += c == ';';
            commas += c == ',';
        }
    }
    if (!ended) {
        return std::nullopt;
    }
    if (tabs > 0 && tabs >= semicolons && tabs >= commas) {
        return '\t';
    }
    if (semicolons > 0 && semicolons >= commas) {
        return ';';
    }
    return ',';
}

bool IsValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        const int extra = (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : 0;
        if (extra == 0 || i + static_cast<std::size_t>(extra) >= text.size()) {
            return false;
        }
        unsigned long point = lead & (0x3Fu >> extra);
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
            if ((next >> 6) != 0x2) {
                return false;
            }
            point = (point << 6) | (next & 0x3Fu);
        }
        const unsigned long smallest[] = {0, 0x80, 0x800, 0x10000};
        if (point < smallest[extra] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
            return false;
        }
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

std::string Trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return "";
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// What reading one record gave.
enum class Record { Read, Broken, Cut };

// Records of delimited text held in memory, which may end before the file
// does (`whole` false): a record that reaches past the end of the text held
// comes back Cut, the parser where it was, to be read again once more text
// is held.
class RecordParser {
public:
    RecordParser(std::string_view text, bool whole, char delimiter) : text_(text), whole_(whole), delimiter_(delimiter)
    {
    }

    bool AtEnd() const { return pos_ >= text_.size(); }
    long Line() const { return line_; }
    std::size_t Used() const { return pos_; }

    // The text held now: that of before from Used() on, and more after it.
    void Continue(std::string_view text, bool whole)
    {
        text_ = text;
        whole_ = whole;
        pos_ = 0;
    }

    // One record into `fields`; Broken with `error` set on broken quoting.
    Record Next(std::vector<std::string>& fields, std::string& error)
    {
        const std::size_t startPos = pos_;
        const long startLine = line_;
        cut_ = false;
        const bool read = Parse(fields, error);
        if (cut_) {
            pos_ = startPos;
            line_ = startLine;
            return Record::Cut;
        }
        return read ? Record::Read : Record::Broken;
    }

private:
    // Whether the character at `at` is held; when it is not but more text
    // may follow, the record is cut.
    bool Has(std::size_t at)
    {
        if (at < text_.size()) {
            return true;
        }
        cut_ = cut_ || !whole_;
        return false;
    }

    bool Parse(std::vector<std::string>& fields, std::string& error)
    {
        fields.clear();
        const long startLine = line_;
        while (true) {
            std::string field;
            // Blanks before an opening quote, as some exports write them.
            std::size_t quote = pos_;
            while (Has(quote) && (text_[quote] == ' ' || text_[quote] == '\t') && text_[quote] != delimiter_) {
                ++quote;
            }
            if (Has(quote) && text_[quote] == '"') {
                pos_ = quote;
                if (!Quoted(field, startLine, error)) {
                    return false;
                }
            } else {
                const std::size_t start = pos_;
                while (Has(pos_) && text_[pos_] != delimiter_ && !IsLineEnd(text_[pos_])) {
                    ++pos_;
                }
                field.assign(text_.substr(start, pos_ - start));
            }
            fields.push_back(std::move(field));
            if (Has(pos_) && text_[pos_] == delimiter_) {
                ++pos_;
                continue;
            }
            EndLine();
            return true;
        }
    }

    bool Quoted(std::string& field, long startLine, std::string& error)
    {
        const long quoteLine = line_;
        ++pos_;
        while (true) {
            if (!Has(pos_)) {
                error = "the quoted field that starts on line " + std::to_string(quoteLine) + " is never closed";
                return false;
            }
            const char c = text_[pos_];
            if (c == '"') {
                if (Has(pos_ + 1) && text_[pos_ + 1] == '"') {
                    field += '"';
                    pos_ += 2;
                    continue;
                }
                ++pos_;
                break;
            }
            if (c == '\n' || (c == '\r' && (!Has(pos_ + 1) || text_[pos_ + 1] != '\n'))) {
                ++line_;
            }
            field += c;
            ++pos_;
        }
        while (Has(pos_) && (text_[pos_] == ' ' || text_[pos_] == '\t') && text_[pos_] != delimiter_) {
            ++pos_;
        }
        if (Has(pos_) && text_[pos_] != delimiter_ && !IsLineEnd(text_[pos_])) {
            error = "line " + std::to_string(line_) + " has text after the closing quote of a field" +
                    (line_ == startLine ? "" : " that starts on line " + std::to_string(startLine)) +
                    "; a quote inside a quoted field is written twice (\"\")";
            return false;
        }
        return true;
    }

    void EndLine()
    {
        if (Has(pos_) && text_[pos_] == '\r') {
            ++pos_;
            if (Has(pos_) && text_[pos_] == '\n') {
                ++pos_;
            }
        } else if (Has(pos_) && text_[pos_] == '\n') {
            ++pos_;
        }
        ++line_;
    }

    std::string_view text_;
    bool whole_;
    char delimiter_;
    std::size_t pos_ = 0;
    long line_ = 1;
    bool cut_ = false;
};

// The text of a delimited file: all of it already in memory, or an open
// file read a chunk at a time, so that only the record being read and the
// chunk around it are held.
class TextFeed {
public:
    explicit TextFeed(std::string_view whole) : held_(whole), whole_(true) {}
    explicit TextFeed(std::istream& file) : file_(&file) {}

    std::string_view Held() const { return held_; }
    bool Whole() const { return whole_; }
    bool ReadFailed() const { return readFailed_; }
    // A chunk held a NUL byte, which no delimited text has.
    bool Binary() const { return binary_; }

    // Lets go of the first `used` bytes held and reads a chunk after the
    // rest, unless the whole text is held already.
    void More(std::size_t used)
    {
        if (whole_) {
            return;
        }
        buffer_.erase(0, used);
        // A record longer than a chunk is read again from its start when more
        // is held: reading as much again as is held keeps that linear.
        const std::size_t kept = buffer_.size();
        const std::size_t wanted = std::max(kDelimitedChunkBytes, kept);
        buffer_.resize(kept + wanted);
        file_->read(buffer_.data() + kept, static_cast<std::streamsize>(wanted));
        const auto got = static_cast<std::size_t>(file_->gcount());
        buffer_.resize(kept + got);
        binary_ = binary_ || std::memchr(buffer_.data() + kept, '\0', got) != nullptr;
        if (got < wanted) {
            whole_ = true;
            // The end of the file sets failbit; an error of the system, badbit.
            readFailed_ = file_->bad();
        }
        held_ = buffer_;
    }

private:
    std::istream* file_ = nullptr;
    std::string buffer_;
    std::string_view held_;
    bool whole_ = false;
    bool readFailed_ = false;
    bool binary_ = false;
};

bool IsBlankRecord(const std::vector<std::string>& fields)
{
    return fields.size() == 1 && Trimmed(fields[0]).empty();
}

} // namespace

char DelimiterNamed(const std::string& name)
{
    if (name == "," || name == "comma") {
        return ',';
    }
    if (name == ";" || name == "semicolon") {
        return ';';
    }
    if (name == "\t" || name == "tab" || name == "\\t") {
        return '\t';
    }
    return 0;
}

namespace {

DataReadResult ParseRecords(TextFeed& feed, char delimiter, const std::string& fileName, DataTable& table,
                            const ColumnChoice& choice, const StopAsked& stopAsked)
{
    table = DataTable{};
    auto refuse = [&](const std::string& why) {
        table = DataTable{};
        return DataReadResult{false, fileName + ": " + why};
    };
    const auto binary = [&] {
        return refuse("the file is not delimited text (it holds binary bytes). Export the data as CSV, or give "
                      "the file the extension of its program (.sav, .zsav, .dta, .sas7bdat).");
    };
    // The start of the file, and its first record when the delimiter is to be
    // guessed from it.
    while (!feed.Whole() && (feed.Held().size() < 4 || (delimiter == 0 && !DetectDelimiter(feed.Held(), false)))) {
        feed.More(0);
    }
    std::string_view text = feed.Held();
    if (const std::string wide = WideEncodingOf(text); !wide.empty()) {
        return refuse("the file is " + wide + " text. Save it as UTF-8 (or plain ASCII) text and read it again.");
    }
    const std::size_t mark = text.substr(0, 3) == "\xEF\xBB\xBF" ? 3 : 0;
    text.remove_prefix(mark);
    if (feed.Binary() || (feed.Whole() && text.find('\0') != std::string_view::npos)) {
        return binary();
    }
    if (delimiter == 0) {
        delimiter = *DetectDelimiter(text, true);
    }
    table.delimiter = delimiter;
    table.decimalComma = delimiter == ';';
    RecordParser parser(text, feed.Whole(), delimiter);
    std::vector<std::string> fields;
    std::string error;
    // The next record into `fields`, reading on while it is cut; false with
    // `error` set when the text is broken or the file is not text.
    const auto next = [&]() -> bool {
        while (true) {
            const Record got = parser.Next(fields, error);
            if (got != Record::Cut) {
                return got == Record::Read;
            }
            const std::size_t used = parser.Used() + (feed.Held().size() - text.size());
            feed.More(used);
            text = feed.Held();
            parser.Continue(text, feed.Whole());
            if (feed.Binary()) {
                error.clear();
                return false;
            }
        }
    };
    const auto atEnd = [&] {
        while (parser.AtEnd() && !feed.Whole()) {
            feed.More(parser.Used() + (feed.Held().size() - text.size()));
            text = feed.Held();
            parser.Continue(text, feed.Whole());
        }
        return parser.AtEnd();
    };
    const auto broken = [&] { return feed.Binary() ? binary() : refuse(error + "."); };
    // The header is the first record that is not blank.
    bool haveHeader = false;
    while (!atEnd() && !haveHeader) {
        if (feed.Binary() || !next()) {
            return broken();
        }
        haveHeader = !IsBlankRecord(fields);
    }
    if (feed.Binary()) {
        return binary();
    }
    if (!haveHeader) {
        return refuse("the file is empty; it needs a header row of column names and a row per participant.");
    }
    std::set<std::string> seen;
    for (std::string& field : fields) {
        std::string name = Trimmed(field);
        if (!IsValidUtf8(name)) {
            return refuse("the header row is not UTF-8 text. Save the file as UTF-8 and read it again.");
        }
        if (!name.empty() && !seen.insert(name).second) {
            return refuse("the header names the column \"" + InputShown(name) +
                          "\" twice. Give every column its own name, then read the file again.");
        }
        table.columns.push_back(DataColumn{std::move(name), false, {}, {}});
    }
    const std::size_t width = table.columns.size();
    // The columns kept, in file order; every one without a choice.
    std::vector<std::size_t> kept;
    if (const std::optional<std::vector<std::size_t>> chosen = choice ? choice(table.columns) : std::nullopt) {
        kept = *chosen;
        std::vector<DataColumn> keptColumns;
        for (const std::size_t column : kept) {
            keptColumns.push_back(table.columns[column]);
        }
        table.columns = std::move(keptColumns);
    } else {
        for (std::size_t column = 0; column < width; ++column) {
            kept.push_back(column);
        }
    }
    const std::size_t mostRows = kept.empty() ? kMostTableCells : kMostTableCells / kept.size();
    std::size_t records = 0;
    std::vector<DataCell> row(kept.size(), DataCell{DataCell::Kind::Text, 0.0, {}});
    while (!atEnd()) {
        if (feed.Binary()) {
            return binary();
        }
        if (++records % kRowsBetweenStopChecks == 0 && stopAsked && stopAsked()) {
            table = DataTable{};
            return {false, "", true};
        }
        const long line = parser.Line();
        if (!next()) {
            return broken();
        }
        if (IsBlankRecord(fields)) {
            continue;
        }
        if (fields.size() != width) {
            const char* name = delimiter == '\t' ? "tab" : delimiter == ';' ? "semicolon" : "comma";
            return refuse("line " + std::to_string(line) + " has " + std::to_string(fields.size()) +
                          " fields but the header has " + std::to_string(width) + " (fields separated by " + name +
                          "). Make every row as long as the header, or name the delimiter if it was guessed "
                          "wrongly.");
        }
        if (table.RowCount() == mostRows) {
            const std::size_t columns = table.columns.size();
            table = DataTable{};
            return {false, TooManyCellsMessage(fileName, mostRows, columns)};
        }
        for (std::size_t k = 0; k < kept.size(); ++k) {
            row[k].text = std::move(fields[kept[k]]);
        }
        table.AppendRow(row);
        table.firstLineOfRow.push_back(line);
    }
    if (feed.Binary()) {
        return binary();
    }
    if (feed.ReadFailed()) {
        return refuse("the file could not be read to its end.");
    }
    table.ShrinkToFit();
    return {true, ""};
}

DataReadResult ParseFeed(TextFeed& feed, char delimiter, const std::string& fileName, DataTable& table,
                         const ColumnChoice& choice, const StopAsked& stopAsked)
{
    try {
        return ParseRecords(feed, delimiter, fileName, table, choice, stopAsked);
    } catch (const std::bad_alloc&) {
        const std::size_t rows = table.RowCount();
        const std::size_t columns = table.columns.size();
        table = DataTable{};
        return {false, NoMemoryMessage(fileName, rows, columns)};
    }
}

} // namespace

DataReadResult ParseDelimitedText(std::string_view text, char delimiter, const std::string& fileName,
                                  DataTable& table, const ColumnChoice& choice, const StopAsked& stopAsked)
{
    TextFeed feed(text);
    return ParseFeed(feed, delimiter, fileName, table, choice, stopAsked);
}

DataReadResult ReadDelimitedFile(const std::string& path, char delimiter, DataTable& table, const ColumnChoice& choice,
                                 const StopAsked& stopAsked)
{
    table = DataTable{};
    std::ifstream file;
    const DataReadResult open = OpenRegularFile(path, file);
    if (!open.ok) {
        return open;
    }
    TextFeed feed(file);
    return ParseFeed(feed, delimiter, path, table, choice, stopAsked);
}

} // namespace talver

#include "data/DelimitedReader.h"

#include "data/InputShown.h"
#include "data/WholeFile.h"
#include "data/WideEncoding.h"

#include <new>
#include <set>

namespace talver {

namespace {

bool IsLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

// Counts of each candidate delimiter outside quotes in the first record.
char DetectDelimiter(std::string_view text)
{
    int tabs = 0, semicolons = 0, commas = 0;
    bool quoted = false;
    for (const char c : text) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && IsLineEnd(c)) {
            break;
        } else if (!quoted) {
            tabs += c == '\t';
            semicolons += c == ';';
            commas += c == ',';
        }
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

class RecordParser {
public:
    RecordParser(std::string_view text, char delimiter) : text_(text), delimiter_(delimiter) {}

    bool AtEnd() const { return pos_ >= text_.size(); }
    long Line() const { return line_; }

    // One record into `fields`; false with `error` set on broken quoting.
    bool Next(std::vector<std::string>& fields, std::string& error)
    {
        fields.clear();
        const long startLine = line_;
        while (true) {
            std::string field;
            // Blanks before an opening quote, as some exports write them.
            std::size_t quote = pos_;
            while (quote < text_.size() && (text_[quote] == ' ' || text_[quote] == '\t') && text_[quote] != delimiter_) {
                ++quote;
            }
            if (quote < text_.size() && text_[quote] == '"') {
                pos_ = quote;
                if (!Quoted(field, startLine, error)) {
                    return false;
                }
            } else {
                while (pos_ < text_.size() && text_[pos_] != delimiter_ && !IsLineEnd(text_[pos_])) {
                    field += text_[pos_++];
                }
            }
            fields.push_back(std::move(field));
            if (pos_ < text_.size() && text_[pos_] == delimiter_) {
                ++pos_;
                continue;
            }
            EndLine();
            return true;
        }
    }

private:
    bool Quoted(std::string& field, long startLine, std::string& error)
    {
        const long quoteLine = line_;
        ++pos_;
        while (true) {
            if (pos_ >= text_.size()) {
                error = "the quoted field that starts on line " + std::to_string(quoteLine) + " is never closed";
                return false;
            }
            const char c = text_[pos_];
            if (c == '"') {
                if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
                    field += '"';
                    pos_ += 2;
                    continue;
                }
                ++pos_;
                break;
            }
            if (c == '\n' || (c == '\r' && (pos_ + 1 >= text_.size() || text_[pos_ + 1] != '\n'))) {
                ++line_;
            }
            field += c;
            ++pos_;
        }
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t') && text_[pos_] != delimiter_) {
            ++pos_;
        }
        if (pos_ < text_.size() && text_[pos_] != delimiter_ && !IsLineEnd(text_[pos_])) {
            error = "line " + std::to_string(line_) + " has text after the closing quote of a field" +
                    (line_ == startLine ? "" : " that starts on line " + std::to_string(startLine)) +
                    "; a quote inside a quoted field is written twice (\"\")";
            return false;
        }
        return true;
    }

    void EndLine()
    {
        if (pos_ < text_.size() && text_[pos_] == '\r') {
            ++pos_;
        }
        if (pos_ < text_.size() && text_[pos_] == '\n') {
            ++pos_;
        }
        ++line_;
    }

    std::string_view text_;
    char delimiter_;
    std::size_t pos_ = 0;
    long line_ = 1;
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

DataReadResult ParseRecords(std::string_view text, char delimiter, const std::string& fileName, DataTable& table,
                            const ColumnChoice& choice, const StopAsked& stopAsked)
{
    table = DataTable{};
    auto refuse = [&](const std::string& why) { return DataReadResult{false, fileName + ": " + why}; };
    if (const std::string wide = WideEncodingOf(text); !wide.empty()) {
        return refuse("the file is " + wide + " text. Save it as UTF-8 (or plain ASCII) text and read it again.");
    }
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    if (text.find('\0') != std::string_view::npos) {
        return refuse("the file is not delimited text (it holds binary bytes). Export the data as CSV, or give "
                      "the file the extension of its program (.sav, .zsav, .dta, .sas7bdat).");
    }
    if (delimiter == 0) {
        delimiter = DetectDelimiter(text);
    }
    table.delimiter = delimiter;
    table.decimalComma = delimiter == ';';
    RecordParser parser(text, delimiter);
    std::vector<std::string> fields;
    std::string error;
    // The header is the first record that is not blank.
    bool haveHeader = false;
    while (!parser.AtEnd() && !haveHeader) {
        if (!parser.Next(fields, error)) {
            return refuse(error + ".");
        }
        haveHeader = !IsBlankRecord(fields);
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
    while (!parser.AtEnd()) {
        if (++records % kRowsBetweenStopChecks == 0 && stopAsked && stopAsked()) {
            table = DataTable{};
            return {false, "", true};
        }
        const long line = parser.Line();
        if (!parser.Next(fields, error)) {
            return refuse(error + ".");
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
        if (table.rows.size() == mostRows) {
            const std::size_t columns = table.columns.size();
            table = DataTable{};
            return {false, TooManyCellsMessage(fileName, mostRows, columns)};
        }
        std::vector<DataCell> row(kept.size());
        for (std::size_t k = 0; k < kept.size(); ++k) {
            row[k].kind = DataCell::Kind::Text;
            row[k].text = std::move(fields[kept[k]]);
        }
        table.rows.push_back(std::move(row));
        table.firstLineOfRow.push_back(line);
    }
    return {true, ""};
}

} // namespace

DataReadResult ParseDelimitedText(std::string_view text, char delimiter, const std::string& fileName,
                                  DataTable& table, const ColumnChoice& choice, const StopAsked& stopAsked)
{
    try {
        return ParseRecords(text, delimiter, fileName, table, choice, stopAsked);
    } catch (const std::bad_alloc&) {
        const std::size_t rows = table.rows.size();
        const std::size_t columns = table.columns.size();
        table = DataTable{};
        return {false, NoMemoryMessage(fileName, rows, columns)};
    }
}

DataReadResult ReadDelimitedFile(const std::string& path, char delimiter, DataTable& table, const ColumnChoice& choice,
                                 const StopAsked& stopAsked)
{
    std::string text;
    DataReadResult read;
    try {
        read = ReadWholeFile(path, text);
    } catch (const std::bad_alloc&) {
        return {false, NoMemoryMessage(path, 0, 0)};
    }
    if (!read.ok) {
        return read;
    }
    return ParseDelimitedText(text, delimiter, path, table, choice, stopAsked);
}

} // namespace talver

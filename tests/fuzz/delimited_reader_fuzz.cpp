// Feeds the delimited-text reader any bytes as a file with a header row. The
// first byte chooses the delimiter (detected, comma, semicolon or tab).
//
// Besides the sanitizers' checks: a refusal has a message and a reading none,
// every row is as wide as the header and starts on a later line than the one
// before, and the table written back as RFC 4180 text, every field quoted,
// reads back the same.

#include <cstddef>
#include <cstdint>
#include <string>

#include "data/DelimitedReader.h"
#include "fuzz_support.h"

namespace {

std::string Quoted(const std::string& text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return quoted + "\"";
}

std::string Written(const DataTable& table, char delimiter)
{
    std::string text;
    for (std::size_t j = 0; j < table.columns.size(); ++j) {
        text += (j ? std::string(1, delimiter) : "") + Quoted(table.columns[j].name);
    }
    text += "\r\n";
    for (std::size_t i = 0; i < table.RowCount(); ++i) {
        for (std::size_t j = 0; j < table.columns.size(); ++j) {
            text += (j ? std::string(1, delimiter) : "") + Quoted(table.Cell(i, j).text);
        }
        text += "\n";
    }
    return text;
}

bool SameCells(const DataTable& a, const DataTable& b)
{
    if (a.columns.size() != b.columns.size() || a.RowCount() != b.RowCount() || a.decimalComma != b.decimalComma) {
        return false;
    }
    for (std::size_t j = 0; j < a.columns.size(); ++j) {
        if (a.columns[j].name != b.columns[j].name) {
            return false;
        }
    }
    for (std::size_t i = 0; i < a.RowCount(); ++i) {
        for (std::size_t j = 0; j < a.columns.size(); ++j) {
            if (a.Cell(i, j).text != b.Cell(i, j).text) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) {
        return 0;
    }
    const char delimiters[] = {0, ',', ';', '\t'};
    const char asked = delimiters[data[0] % 4];
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    DataTable table;
    const DataReadResult result = ParseDelimitedText(text, asked, "fuzz.csv", table);
    FUZZ_REQUIRE(result.ok == result.message.empty());
    if (!result.ok) {
        return 0;
    }
    FUZZ_REQUIRE(!table.columns.empty());
    FUZZ_REQUIRE(table.firstLineOfRow.size() == table.RowCount());
    long previousLine = 1;
    for (std::size_t i = 0; i < table.RowCount(); ++i) {
        FUZZ_REQUIRE(table.firstLineOfRow[i] > previousLine);
        previousLine = table.firstLineOfRow[i];
    }
    FUZZ_REQUIRE(asked == 0 || table.delimiter == asked);
    DataTable again;
    const DataReadResult reread = ParseDelimitedText(Written(table, table.delimiter), table.delimiter, "again.csv", again);
    FUZZ_REQUIRE(reread.ok);
    FUZZ_REQUIRE(SameCells(table, again));
    return 0;
}

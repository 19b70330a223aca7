// The compact storage of a table's cells: every cell reads back as it was
// stored, whatever its kind, and a file read a chunk at a time gives the
// table that the same text read at once gives.

#include "data/ColumnCells.h"
#include "data/DelimitedReader.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace talver;

namespace {

bool SameCell(const DataCell& a, const DataCell& b)
{
    return a.kind == b.kind && std::memcmp(&a.number, &b.number, sizeof a.number) == 0 && a.text == b.text;
}

DataCell Number(double value)
{
    return {DataCell::Kind::Number, value, {}};
}

DataCell Text(std::string text)
{
    return {DataCell::Kind::Text, 0.0, std::move(text)};
}

void ExpectRoundTrip(const std::vector<DataCell>& cells)
{
    ColumnCells column;
    for (const DataCell& cell : cells) {
        column.Append(cell);
    }
    column.ShrinkToFit();
    ASSERT_EQ(column.Size(), cells.size());
    for (std::size_t row = 0; row < cells.size(); ++row) {
        const DataCell back = column.Cell(row);
        EXPECT_TRUE(SameCell(back, cells[row]))
            << "row " << row << ": stored kind " << static_cast<int>(cells[row].kind) << " number "
            << cells[row].number << " text \"" << cells[row].text << "\", read kind " << static_cast<int>(back.kind)
            << " number " << back.number << " text \"" << back.text << "\"";
    }
}

} // namespace

TEST(ColumnCells, EveryKindOfCellReadsBackExactly)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    std::vector<DataCell> cells = {
        DataCell{},
        // Numbers single precision holds, and those it does not.
        Number(0.0), Number(-0.0), Number(1.0), Number(-2.5), Number(0.1), Number(20200104.0), Number(20200103.0),
        Number(FLT_MAX), Number(static_cast<double>(FLT_MAX) * 2.0), Number(FLT_MIN), Number(FLT_TRUE_MIN),
        Number(1e-320), Number(-DBL_MAX), Number(DBL_MIN), Number(1e300), Number(infinity), Number(-infinity),
        Number(nan), Number(-nan),
        // Texts that are plain whole numbers, and texts that only look alike.
        Text("0"), Text("3"), Text("-3"), Text("2147483647"), Text("-2147483648"), Text("2147483648"),
        Text("-2147483649"), Text("99999999999"), Text("-0"), Text("01"), Text("+1"), Text(" 1"), Text("1 "),
        Text("1.0"), Text("1,5"), Text("-"), Text(""), Text("NA"), Text("."), Text("original"),
        Text(std::string("a\0b", 3)), Text("\xC3\xA9t\xC3\xA9"), Text(std::string(5000, 'x')),
        DataCell{}, Text("original"), Number(0.1)};
    ExpectRoundTrip(cells);
}

TEST(ColumnCells, ManyDistinctTextsAndNumbersMixedWithRepeatsReadBack)
{
    // Past the texts stored once, texts are stored each time; repeats of the
    // first ones still find them.
    std::mt19937 random(26);
    std::vector<DataCell> cells;
    for (int i = 0; i < 20000; ++i) {
        switch (random() % 6) {
        case 0: cells.push_back(DataCell{}); break;
        case 1: cells.push_back(Text("t" + std::to_string(random() % 5000))); break;
        case 2: cells.push_back(Text(std::to_string(static_cast<int>(random() % 11) - 5))); break;
        case 3: cells.push_back(Number(static_cast<double>(random()) / 7.0)); break;
        case 4: cells.push_back(Number(static_cast<double>(random() % 7))); break;
        default: cells.push_back(Text(i % 2 ? "original" : "retest")); break;
        }
    }
    ExpectRoundTrip(cells);
}

namespace {

struct Reading {
    DataReadResult result;
    DataTable table;
};

Reading FromMemory(const std::string& text, const std::string& name)
{
    Reading reading;
    reading.result = ParseDelimitedText(text, 0, name, reading.table);
    return reading;
}

Reading FromFile(const std::string& text, const std::string& path)
{
    std::ofstream(path, std::ios::binary) << text;
    Reading reading;
    reading.result = ReadDelimitedFile(path, 0, reading.table);
    std::filesystem::remove(path);
    return reading;
}

void ExpectSameReading(const Reading& file, const Reading& memory, const std::string& what)
{
    ASSERT_EQ(file.result.ok, memory.result.ok) << what << ": " << file.result.message << " / " << memory.result.message;
    EXPECT_EQ(file.result.message, memory.result.message) << what;
    ASSERT_EQ(file.table.RowCount(), memory.table.RowCount()) << what;
    ASSERT_EQ(file.table.columns.size(), memory.table.columns.size()) << what;
    EXPECT_EQ(file.table.delimiter, memory.table.delimiter) << what;
    EXPECT_EQ(file.table.firstLineOfRow, memory.table.firstLineOfRow) << what;
    for (std::size_t j = 0; j < file.table.columns.size(); ++j) {
        EXPECT_EQ(file.table.columns[j].name, memory.table.columns[j].name) << what;
        for (std::size_t i = 0; i < file.table.RowCount(); ++i) {
            ASSERT_TRUE(SameCell(file.table.Cell(i, j), memory.table.Cell(i, j))) << what << ", row " << i;
        }
    }
}

// `record` placed so that it begins `before` bytes ahead of the end of the
// first chunk, after rows that fill the chunk up to there.
std::string Straddling(const std::string& header, const std::string& record, std::size_t before)
{
    std::string text = header;
    const std::size_t start = kDelimitedChunkBytes - before;
    const std::string filler = "1;2;" + std::string(1000, 'f') + "\r\n";
    while (text.size() + filler.size() + 8 < start) {
        text += filler;
    }
    text += "1;2;\"" + std::string(start - text.size() - 8, 'f') + "\"\r\n";
    EXPECT_EQ(text.size(), start);
    return text + record + "4;5;end\r\n";
}

} // namespace

TEST(ReadingInChunks, RecordsAcrossTheEndOfAChunkReadAsFromMemory)
{
    const std::string path = (std::filesystem::temp_directory_path() / "talver_chunks.csv").string();
    // Quotes, doubled quotes, line ends of each kind inside and after a
    // field, blanks before a quote: each falls on the end of a chunk in turn.
    const std::string record = "7;  \"a\"\"b\r\nc\";\"x\ry\"\r\n8;9;\r\n\r\n10;\"\"\"\";z\n";
    for (std::size_t before = 0; before <= record.size() + 1; ++before) {
        const std::string text = Straddling("a;b;c\r\n", record, before);
        ExpectSameReading(FromFile(text, path), FromMemory(text, path), "end " + std::to_string(before));
    }
    // A field longer than a chunk, a header whose quoted name holds more than
    // a chunk before its delimiters, and a quote never closed.
    const std::string longField = "a,b\n1,\"" + std::string(3 * kDelimitedChunkBytes, '\n') + "\"\n2,3\n";
    ExpectSameReading(FromFile(longField, path), FromMemory(longField, path), "long field");
    const std::string longHeader = "\"" + std::string(kDelimitedChunkBytes + 5, 'n') + "\";b;c\n1;2;3\n";
    const Reading header = FromFile(longHeader, path);
    ExpectSameReading(header, FromMemory(longHeader, path), "long header");
    EXPECT_EQ(header.table.delimiter, ';');
    const std::string unclosed = Straddling("a;b;c\r\n", "1;\"open", 3);
    const Reading broken = FromFile(unclosed, path);
    ExpectSameReading(broken, FromMemory(unclosed, path), "unclosed");
    EXPECT_NE(broken.result.message.find("is never closed"), std::string::npos);
}

TEST(ReadingInChunks, ANulByteInALaterChunkRefusesTheFileAsFromMemory)
{
    const std::string path = (std::filesystem::temp_directory_path() / "talver_chunks_nul.csv").string();
    std::string text = Straddling("a;b;c\r\n", "1;2;3\r\n", 0);
    text += std::string(kDelimitedChunkBytes, 'x') + std::string(1, '\0') + "\n";
    const Reading file = FromFile(text, path);
    ExpectSameReading(file, FromMemory(text, path), "NUL");
    EXPECT_NE(file.result.message.find("binary bytes"), std::string::npos);
}

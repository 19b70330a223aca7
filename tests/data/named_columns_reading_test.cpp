// Reading files that name their columns: RFC 4180 delimited text, the
// interpretation of cells as scores, missing answers and group values, and
// the item lists with their ranges.

#include "data/DelimitedReader.h"
#include "data/ItemSelection.h"
#include "data/SampleExtraction.h"
#include "data/ScoreCells.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

using namespace talver;

namespace {

DataTable Parsed(const std::string& text, char delimiter = 0)
{
    DataTable table;
    const DataReadResult result = ParseDelimitedText(text, delimiter, "f.csv", table);
    EXPECT_TRUE(result.ok) << result.message;
    return table;
}

std::string Refusal(const std::string& text, char delimiter = 0)
{
    DataTable table;
    const DataReadResult result = ParseDelimitedText(text, delimiter, "f.csv", table);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(table.RowCount() == 0 || !result.ok);
    return result.message;
}

std::vector<std::string> Names(const DataTable& table)
{
    std::vector<std::string> names;
    for (const DataColumn& column : table.columns) {
        names.push_back(column.name);
    }
    return names;
}

std::vector<DataColumn> Columns(std::initializer_list<const char*> names)
{
    std::vector<DataColumn> columns;
    for (const char* name : names) {
        columns.push_back(DataColumn{name, false, {}, {}});
    }
    return columns;
}

std::vector<std::size_t> Items(const std::string& list, const std::vector<DataColumn>& columns)
{
    const ItemColumns items = ResolveItemList(list, columns, "f.csv");
    EXPECT_TRUE(items.ok) << items.message;
    return items.columns;
}

std::string ItemRefusal(const std::string& list, const std::vector<DataColumn>& columns)
{
    const ItemColumns items = ResolveItemList(list, columns, "f.csv");
    EXPECT_FALSE(items.ok);
    return items.message;
}

} // namespace

TEST(DelimitedReader, QuotingFollowsRfc4180)
{
    const DataTable table =
        Parsed("\xEF\xBB\xBF\"id\", \"a,b\" ,c\r\n1,\"x,\"\"y\"\"\",3\r\n2,\"two\r\nlines\",4\r\n\r\n5,,\r\n\n");
    EXPECT_EQ(Names(table), (std::vector<std::string>{"id", "a,b", "c"}));
    ASSERT_EQ(table.RowCount(), 3u);
    EXPECT_EQ(table.Cell(0, 1).text, "x,\"y\"");
    EXPECT_EQ(table.Cell(1, 1).text, "two\r\nlines");
    EXPECT_EQ(table.Cell(2, 1).text, "");
    EXPECT_EQ(table.Cell(2, 2).text, "");
    // Rows are placed by the line they start on, past the quoted line end.
    EXPECT_EQ(table.firstLineOfRow, (std::vector<long>{2, 3, 6}));
    EXPECT_EQ(RowPlace(table, 2), "line 6");
}

TEST(DelimitedReader, TheDelimiterIsGuessedFromTheHeaderOrGiven)
{
    DataTable table = Parsed("a;b;\"c,d\"\n1,5;2;3\n");
    EXPECT_EQ(table.delimiter, ';');
    EXPECT_TRUE(table.decimalComma);
    EXPECT_EQ(Names(table), (std::vector<std::string>{"a", "b", "c,d"}));
    table = Parsed("a\tb,c\n1\t2,3\n");
    EXPECT_EQ(table.delimiter, '\t');
    EXPECT_EQ(Names(table), (std::vector<std::string>{"a", "b,c"}));
    table = Parsed("a,b\n1,2\n");
    EXPECT_EQ(table.delimiter, ',');
    EXPECT_FALSE(table.decimalComma);
    table = Parsed("a;b\n1;2\n", ',');
    EXPECT_EQ(Names(table), (std::vector<std::string>{"a;b"}));
    EXPECT_EQ(DelimiterNamed("tab"), '\t');
    EXPECT_EQ(DelimiterNamed("semicolon"), ';');
    EXPECT_EQ(DelimiterNamed("|"), 0);
}

TEST(DelimitedReader, BrokenFilesAreRefusedWithWhereAndWhy)
{
    EXPECT_NE(Refusal("a,b\n1,\"2\n3,4\n").find("the quoted field that starts on line 2 is never closed"),
              std::string::npos);
    EXPECT_NE(Refusal("a,b\n1,\"2\"x\n").find("line 2 has text after the closing quote"), std::string::npos);
    EXPECT_NE(Refusal("a,b\n\"1\n\",2\n3\n").find("line 4 has 1 fields but the header has 2"), std::string::npos);
    EXPECT_NE(Refusal("a,b,a\n").find("names the column \"a\" twice"), std::string::npos);
    // Wide encodings are named as they are, with a byte-order mark or without.
    const std::pair<std::string, const char*> wide[] = {
        {std::string("\xFF\xFE" "a\0,\0b\0", 8), "UTF-16 (little-endian)"},
        {std::string("a\0,\0b\0", 6), "UTF-16 (little-endian)"},
        {std::string("\0a\0,\0b", 6), "UTF-16 (big-endian)"},
        {std::string("\xFF\xFE\0\0a\0\0\0", 8), "UTF-32 (little-endian)"},
        {std::string("a\0\0\0,\0\0\0", 8), "UTF-32 (little-endian)"},
        {std::string("\0\0\xFE\xFF\0\0\0a", 8), "UTF-32 (big-endian)"},
    };
    for (const auto& [text, name] : wide) {
        EXPECT_NE(Refusal(text).find(std::string("the file is ") + name + " text"), std::string::npos) << name;
    }
    EXPECT_NE(Refusal(std::string("a,b\n1,\0", 7)).find("binary"), std::string::npos);
    EXPECT_NE(Refusal("\n \n").find("empty"), std::string::npos);
    EXPECT_NE(Refusal("a,\xC3\n").find("not UTF-8"), std::string::npos);
    // Unnamed columns, such as a column of row names, may be several.
    EXPECT_EQ(Parsed(",,a\n1,2,3\n").columns.size(), 3u);
}

TEST(ScoreCells, NumbersAreReadWholeInSinglePrecision)
{
    for (const char* text : {"3", " 2.5 ", "+1", "-0.75", "1e2", "3.14159265", "0.1"}) {
        const std::optional<float> score = ParseScore(text, false);
        ASSERT_TRUE(score) << text;
        EXPECT_EQ(*score, std::strtof(text, nullptr)) << text;
    }
    EXPECT_EQ(ParseScore("2,5", true), 2.5f);
    EXPECT_FALSE(ParseScore("2,5", false));
    EXPECT_FALSE(ParseScore("1.234,5", true));
    for (const char* text : {"", "inf", "nan", "0x10", "1e40", "3a", "++1", "+-1", "1 2", "-"}) {
        EXPECT_FALSE(ParseScore(text, false)) << text;
    }
}

TEST(ScoreCells, MissingAnswersAndGroupValues)
{
    const MissingCodes codes = ParseMissingCodes(" -9, 99 ,n/a,");
    EXPECT_EQ(codes.texts, (std::vector<std::string>{"-9", "99", "n/a"}));
    double score = 0.0;
    auto status = [&](DataCell cell) { return InterpretScore(cell, false, codes, score); };
    const auto text = [](const char* t) { return DataCell{DataCell::Kind::Text, 0.0, t}; };
    for (const char* missing : {"", "  ", "NA", ".", "-9", "-9.0", "99", "n/a"}) {
        EXPECT_EQ(status(text(missing)), CellStatus::Missing) << missing;
    }
    EXPECT_EQ(status(DataCell{DataCell::Kind::Number, -9.0, ""}), CellStatus::Missing);
    EXPECT_EQ(status(DataCell{DataCell::Kind::Missing, 0.0, ""}), CellStatus::Missing);
    EXPECT_EQ(status(text("na")), CellStatus::NotANumber);
    EXPECT_EQ(status(DataCell{DataCell::Kind::Number, 0.1, ""}), CellStatus::Score);
    EXPECT_EQ(score, static_cast<double>(0.1f));

    DataColumn group{"g", false, {{1.0, "women"}, {2.0, "men"}}, {}};
    EXPECT_TRUE(GroupMatches(DataCell{DataCell::Kind::Number, 1.0, ""}, group, false, "1.0"));
    EXPECT_TRUE(GroupMatches(DataCell{DataCell::Kind::Number, 2.0, ""}, group, false, " men"));
    EXPECT_FALSE(GroupMatches(DataCell{DataCell::Kind::Number, 2.0, ""}, group, false, "women"));
    EXPECT_TRUE(GroupMatches(text(" 01 "), group, false, "1"));
    EXPECT_TRUE(GroupMatches(text("Group A"), group, false, "Group A"));
    EXPECT_FALSE(GroupMatches(text("group a"), group, false, "Group A"));
    EXPECT_FALSE(GroupMatches(DataCell{DataCell::Kind::Missing, 0.0, ""}, group, false, "1"));

    // Codes beyond 2^24 stay apart: single precision would merge them.
    const DataColumn waves{"wave", false, {}, {}};
    for (const auto& [near, wanted] : {std::pair{20200103.0, "20200104"}, {100000003.0, "100000001"}}) {
        ASSERT_EQ(static_cast<float>(near), static_cast<float>(std::stod(wanted)));
        EXPECT_FALSE(GroupMatches(DataCell{DataCell::Kind::Number, near, ""}, waves, false, wanted)) << wanted;
        EXPECT_FALSE(GroupMatches(text(std::to_string(static_cast<long>(near)).c_str()), waves, false, wanted));
        EXPECT_TRUE(GroupMatches(DataCell{DataCell::Kind::Number, std::stod(wanted), ""}, waves, false, wanted));
    }
    // A string variable's values are chosen by their labels too.
    DataColumn strings{"g", true, {}, {}};
    strings.textLabels = {{"o", "original"}, {"r", "retest"}};
    EXPECT_TRUE(GroupMatches(text("o"), strings, false, "original"));
    EXPECT_TRUE(GroupMatches(text("r"), strings, false, "r"));
    EXPECT_FALSE(GroupMatches(text("r"), strings, false, "original"));
    EXPECT_EQ(GroupValueText(text("o"), strings), "o (original)");
    EXPECT_EQ(GroupValueText(DataCell{DataCell::Kind::Number, 2.0, ""}, group), "2 (men)");
    EXPECT_EQ(GroupValueText(DataCell{DataCell::Kind::Missing, 0.0, ""}, group), "(missing)");
}

TEST(ScoreCells, NumbersOutsideSinglePrecisionAreToldApartFromText)
{
    const MissingCodes none;
    double score = 0.0;
    for (const char* outside : {"1e-50", "1e308", "1e39", "1e-320", "-1e39"}) {
        EXPECT_EQ(InterpretScore(DataCell{DataCell::Kind::Text, 0.0, outside}, false, none, score),
                  CellStatus::OutsideSinglePrecision)
            << outside;
        const double value = std::strtod(outside, nullptr);
        EXPECT_EQ(InterpretScore(DataCell{DataCell::Kind::Number, value, ""}, false, none, score),
                  CellStatus::OutsideSinglePrecision)
            << outside;
    }
    for (const char* inside : {"0", "-0", "1e-40", "3.4e38", "1e-45"}) {
        EXPECT_EQ(InterpretScore(DataCell{DataCell::Kind::Text, 0.0, inside}, false, none, score), CellStatus::Score)
            << inside;
    }
    EXPECT_EQ(InterpretScore(DataCell{DataCell::Kind::Text, 0.0, "1e3x"}, false, none, score),
              CellStatus::NotANumber);
}

TEST(ItemSelection, NamesAndRangesInFileOrder)
{
    const auto columns = Columns({"id", "q1", "q2", "q-3", "q4", "age", "q1-q2"});
    EXPECT_EQ(Items("q1-q4", columns), (std::vector<std::size_t>{1, 2, 3, 4}));
    EXPECT_EQ(Items(" q4 , q1,q-3", columns), (std::vector<std::size_t>{4, 1, 3}));
    EXPECT_EQ(Items("q-3-q4", columns), (std::vector<std::size_t>{3, 4}));
    // A name that is also a range of names is the name.
    EXPECT_EQ(Items("q1-q2", columns), (std::vector<std::size_t>{6}));
    EXPECT_NE(ItemRefusal("q4-q1", columns).find("runs backwards"), std::string::npos);
    EXPECT_NE(ItemRefusal("q1-q4,q2", columns).find("\"q2\" is chosen twice"), std::string::npos);
    EXPECT_NE(ItemRefusal("q1,q9", columns).find("There is no column \"q9\" in f.csv. Its columns are: id, q1, q2"),
              std::string::npos);
    EXPECT_NE(ItemRefusal("q1-q9", columns).find("no column \"q9\""), std::string::npos);
    EXPECT_NE(ItemRefusal(" , ", columns).find("No items are named"), std::string::npos);
    const auto unnamed = Columns({"a", "", "b"});
    EXPECT_NE(ItemRefusal("a-b", unnamed).find("Column 2 of f.csv has no name"), std::string::npos);
}

namespace {

// The cells of one column, as text or number.
std::vector<std::string> CellsOf(const DataTable& table, const std::string& name)
{
    std::vector<std::string> cells;
    for (std::size_t j = 0; j < table.columns.size(); ++j) {
        if (table.columns[j].name == name) {
            for (std::size_t i = 0; i < table.RowCount(); ++i) {
                const DataCell cell = table.Cell(i, j);
                cells.push_back(cell.kind == DataCell::Kind::Text ? cell.text : CellShown(cell));
            }
        }
    }
    return cells;
}

std::vector<std::size_t> Chosen(const std::vector<DataColumn>& columns, const std::vector<std::string>& names)
{
    std::vector<std::size_t> chosen;
    for (std::size_t j = 0; j < columns.size(); ++j) {
        for (const std::string& name : names) {
            chosen.insert(chosen.end(), columns[j].name == name ? 1 : 0, j);
        }
    }
    return chosen;
}

} // namespace

TEST(ReadingChosenColumns, OnlyTheChosenColumnsAreKeptAndTheyHoldWhatAWholeReadingHolds)
{
    std::string text = "id,group,a,q1,b,q2\n";
    for (int i = 0; i < 50; ++i) {
        text += std::to_string(i) + "," + (i % 3 ? "t" : "r") + ",x" + std::to_string(i) + "," +
                std::to_string(i % 5) + ",," + std::to_string(i % 4) + "\n";
    }
    const DataTable whole = Parsed(text);
    DataTable kept;
    const std::vector<std::string> names = {"group", "q1", "q2"};
    ASSERT_TRUE(ParseDelimitedText(text, 0, "f.csv", kept, [&](const std::vector<DataColumn>& columns) {
                    return std::optional(Chosen(columns, names));
                }).ok);
    EXPECT_EQ(Names(kept), names);
    EXPECT_EQ(kept.firstLineOfRow, whole.firstLineOfRow);
    for (const std::string& name : names) {
        EXPECT_EQ(CellsOf(kept, name), CellsOf(whole, name)) << name;
    }

    // A statistics file keeps its value labels with the chosen variables.
    const std::string sav = std::string(TALVER_SOURCE_DIR) + "/tests/batch/fixtures/columns/both.sav";
    DataTable wholeFile;
    DataTable keptFile;
    ASSERT_TRUE(ReadDataTable(sav, 0, wholeFile).ok);
    ASSERT_TRUE(ReadDataTable(sav, 0, keptFile, [](const std::vector<DataColumn>& columns) {
                    return std::optional(Chosen(columns, {"group", "q3"}));
                }).ok);
    EXPECT_EQ(Names(keptFile), (std::vector<std::string>{"group", "q3"}));
    EXPECT_EQ(keptFile.columns[0].valueLabels.at(2.0), "replication");
    EXPECT_EQ(CellsOf(keptFile, "q3"), CellsOf(wholeFile, "q3"));
    EXPECT_EQ(CellsOf(keptFile, "group"), CellsOf(wholeFile, "group"));
}

TEST(ReadingChosenColumns, AStatisticsFileDeclaringMoreRowsThanATableKeepsIsRefusedBeforeItsValues)
{
    // An SPSS file's header declares its cases at byte 80: declared far more
    // than a table keeps, the file is refused at once, as a compressed file
    // that would expand past the limit; declared as many as a table keeps of
    // the two columns chosen, it is read (and found short).
    std::ifstream in(std::string(TALVER_SOURCE_DIR) + "/tests/batch/fixtures/columns/both.sav", std::ios::binary);
    const std::string sav((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string path = (std::filesystem::temp_directory_path() / "talver_declared.sav").string();
    const auto declaring = [&](std::int32_t cases) {
        std::string patched = sav;
        std::memcpy(patched.data() + 80, &cases, sizeof cases);
        std::ofstream(path, std::ios::binary) << patched;
        DataTable table;
        const DataReadResult read = ReadDataTable(path, 0, table, [](const std::vector<DataColumn>& columns) {
            return std::optional(Chosen(columns, {"group", "q3"}));
        });
        std::filesystem::remove(path);
        return read;
    };
    const DataReadResult huge = declaring(2'000'000'000);
    EXPECT_FALSE(huge.ok);
    EXPECT_NE(huge.message.find("more than " + std::to_string(kMostTableCells / 2) + " rows of the 2 columns"),
              std::string::npos)
        << huge.message;
    const DataReadResult atLimit = declaring(static_cast<std::int32_t>(kMostTableCells / 2));
    EXPECT_EQ(atLimit.message.find("cells that can be read"), std::string::npos) << atLimit.message;
}

TEST(ReadingChosenColumns, AStopIsHonouredBetweenChunksOfRows)
{
    std::string text = "q1,q2\n";
    for (int i = 0; i < 3 * static_cast<int>(kRowsBetweenStopChecks); ++i) {
        text += "1,2\n";
    }
    int asked = 0;
    DataTable table;
    const DataReadResult result = ParseDelimitedText(text, 0, "f.csv", table, {}, [&] { return ++asked == 2; });
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(table.RowCount(), 0u);

    // Without a stop the same text is read whole.
    asked = 0;
    ASSERT_TRUE(ParseDelimitedText(text, 0, "f.csv", table, {}, [&] { return ++asked > 99; }).ok);
    EXPECT_EQ(table.RowCount(), 3 * kRowsBetweenStopChecks);
}

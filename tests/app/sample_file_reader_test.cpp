#include "app/SampleFileReader.h"
#include "app/ScoreRange.h"
#include "matrix/Matrix.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

struct Parsed {
    SampleReadResult result;
    Matrix* data;
};

Parsed Parse(const std::string& text, int rows, int cols)
{
    Matrix* data = NewMatrix(rows, cols);
    return {ParseSampleText(text.data(), text.data() + text.size(), data), data};
}

std::string TempPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() / ("talver_reader_" + name)).string();
}

TEST(SampleFileReader, LineStructureCarriesNoMeaning)
{
    MatrixScope scope;
    const Parsed spread = Parse("1\n2\n3\n4\n5\n6\n", 2, 3);
    const Parsed oneLine = Parse("1 2 3 4 5 6", 2, 3);
    const Parsed mixed = Parse("\t1 2\r\n3\n\n 4 5\t6  \n\n\n", 2, 3);
    for (const Parsed* p : {&spread, &oneLine, &mixed}) {
        ASSERT_TRUE(p->result.ok) << p->result.detail;
        EXPECT_EQ((*p->data)(0, 0), 1.0);
        EXPECT_EQ((*p->data)(0, 2), 3.0);
        EXPECT_EQ((*p->data)(1, 0), 4.0);
        EXPECT_EQ((*p->data)(1, 2), 6.0);
    }
}

TEST(SampleFileReader, ValuesCarrySinglePrecision)
{
    MatrixScope scope;
    const Parsed p = Parse("3.14159265 -0.5 1e3 +2 .25 7.", 1, 6);
    ASSERT_TRUE(p.result.ok) << p.result.detail;
    EXPECT_EQ((*p.data)(0, 0), static_cast<double>(3.14159265f));
    EXPECT_NE((*p.data)(0, 0), 3.14159265);
    char printed[32];
    std::snprintf(printed, sizeof printed, "%.8g", (*p.data)(0, 0));
    EXPECT_STREQ(printed, "3.1415927");
    EXPECT_EQ((*p.data)(0, 1), -0.5);
    EXPECT_EQ((*p.data)(0, 2), 1000.0);
    EXPECT_EQ((*p.data)(0, 3), 2.0);
    EXPECT_EQ((*p.data)(0, 4), 0.25);
    EXPECT_EQ((*p.data)(0, 5), 7.0);
}

TEST(SampleFileReader, TrailingTextThatIsNotANumberIsAccepted)
{
    MatrixScope scope;
    EXPECT_TRUE(Parse("1 2 3 4\n\n\n", 2, 2).result.ok);
    EXPECT_TRUE(Parse("1 2 3 4\nend of data\n5 6\n", 2, 2).result.ok);
    EXPECT_TRUE(Parse("\xEF\xBB\xBF" "1 2 3 4", 2, 2).result.ok);
}

TEST(SampleFileReader, RefusesWrongCountsAndBadTokens)
{
    MatrixScope scope;
    // One value short, one extra value.
    EXPECT_FALSE(Parse("1 2 3", 2, 2).result.ok);
    EXPECT_FALSE(Parse("1 2 3 4 5", 2, 2).result.ok);
    EXPECT_FALSE(Parse("1 2 3 4\n-.5", 2, 2).result.ok);
    EXPECT_FALSE(Parse("", 1, 1).result.ok);
    // Tokens that are not numbers inside the expected values.
    EXPECT_FALSE(Parse("1 2 x 4", 2, 2).result.ok);
    EXPECT_FALSE(Parse("1 2 3,5 4", 2, 2).result.ok);
    EXPECT_FALSE(Parse("1 2 - 4", 2, 2).result.ok);
    // Non-finite values and numbers beyond single precision.
    EXPECT_FALSE(Parse("1 nan 3 4", 2, 2).result.ok);
    EXPECT_FALSE(Parse("1 -INF 3 4", 2, 2).result.ok);
    EXPECT_FALSE(Parse("1 1e39 3 4", 2, 2).result.ok);
    EXPECT_FALSE(Parse("1 2 3 4 inf", 2, 2).result.ok);
}

TEST(SampleFileReader, ExtremeButFiniteValuesAreKept)
{
    MatrixScope scope;
    const Parsed p = Parse("1e30 -1e30 1e-50 3.4e38", 1, 4);
    ASSERT_TRUE(p.result.ok) << p.result.detail;
    EXPECT_EQ((*p.data)(0, 0), static_cast<double>(1e30f));
    EXPECT_EQ((*p.data)(0, 2), 0.0);
}

TEST(SampleFileReader, DetailNamesTheProblem)
{
    MatrixScope scope;
    EXPECT_NE(Parse("1 2 abc 4", 2, 2).result.detail.find("'abc' is not a number"), std::string::npos);
    EXPECT_NE(Parse("1 2 3", 2, 2).result.detail.find("after 3 numbers"), std::string::npos);
}

TEST(SampleFileReader, FilesThatCannotBeReadAreRefused)
{
    MatrixScope scope;
    Matrix* data = NewMatrix(1, 1);
    EXPECT_FALSE(ReadSampleFile(TempPath("does_not_exist.dat"), data).ok);
    EXPECT_FALSE(ReadSampleFile(std::filesystem::temp_directory_path().string(), data).ok);
    const std::string path = TempPath("one.dat");
    std::ofstream(path) << "42\n";
    EXPECT_TRUE(ReadSampleFile(path, data).ok);
    EXPECT_EQ((*data)(0, 0), 42.0);
    std::filesystem::remove(path);
}

TEST(SampleFileReader, SizeCheckRefusesAbsurdCountsBeforeAllocating)
{
    const std::string path = TempPath("small.dat");
    std::ofstream(path) << "1 2 3 4\n";
    EXPECT_TRUE(CheckSampleFileSize(path, 2, 2).ok);
    EXPECT_FALSE(CheckSampleFileSize(path, 2000000000, 10).ok);
    EXPECT_FALSE(CheckSampleFileSize(std::filesystem::temp_directory_path().string(), 1, 1).ok);
    std::filesystem::remove(path);
}

TEST(SampleFileReader, LargeFileReadsQuickly)
{
    MatrixScope scope;
    const int rows = 100000;
    const int cols = 50;
    std::string text;
    text.reserve(static_cast<std::size_t>(rows) * cols * 3);
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < cols; ++j) {
            text += static_cast<char>('1' + (i + j) % 5);
            text += j + 1 == cols ? '\n' : ' ';
        }
    }
    const std::string path = TempPath("large.dat");
    std::ofstream(path, std::ios::binary) << text;
    Matrix* data = NewMatrix(rows, cols);
    const auto start = std::chrono::steady_clock::now();
    const SampleReadResult result = ReadSampleFile(path, data);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::filesystem::remove(path);
    ASSERT_TRUE(result.ok) << result.detail;
    EXPECT_EQ((*data)(rows - 1, cols - 1), 1.0 + (rows - 1 + cols - 1) % 5);
    EXPECT_LT(seconds, 1.0);
}

TEST(ScoreRange, TruncatesTowardZero)
{
    MatrixScope scope;
    Matrix* target = NewMatrix(2, 1);
    Matrix* replication = NewMatrix(2, 1);
    (*target)(0, 0) = 4.7;
    (*target)(1, 0) = 1.0;
    (*replication)(0, 0) = -0.5;
    (*replication)(1, 0) = 2.0;
    const ScoreRange range = ObservedScoreRange(target, replication);
    EXPECT_EQ(range.maximum, 4);
    EXPECT_EQ(range.minimum, 0);
    EXPECT_EQ(CategoryCount(0, 5), 6);
}

TEST(ScoreRange, HugeScoresDoNotOverflow)
{
    EXPECT_EQ(TruncateToScore(1e30), 2147483647);
    EXPECT_EQ(TruncateToScore(-1e30), -2147483647 - 1);
    EXPECT_EQ(TruncateToScore(-3.9), -3);
    EXPECT_EQ(CategoryCount(-2147483647 - 1, 2147483647), 2147483647);
}

} // namespace

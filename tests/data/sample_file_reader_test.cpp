#include "data/SampleFileReader.h"
#include "data/ScoreRange.h"
#include "matrix/Matrix.h"
#include "support/time_limits.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

using namespace talver;

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
    const Parsed tiny = Parse("4e-400 -1e-330 0.000001e-400 1e-99999999999 123e-500", 1, 5);
    ASSERT_TRUE(tiny.result.ok) << tiny.result.detail;
    for (int j = 0; j < 5; ++j) {
        EXPECT_EQ((*tiny.data)(0, j), 0.0);
    }
    EXPECT_TRUE(std::signbit((*tiny.data)(0, 1)));
    EXPECT_FALSE(Parse("4e400 1", 1, 2).result.ok);
    EXPECT_FALSE(Parse("0.0001e312 1", 1, 2).result.ok);
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
    // Explained in the rows and numbers the user declared, not in bytes.
    EXPECT_EQ(CheckSampleFileSize(path, 3, 4).detail,
              path + " holds 4 numbers in 1 line (4 on each line), too few for 3 rows of 4 numbers (12); check the "
                     "number of participants and of items");
    std::ofstream(path) << "1 2\n\n3 4 5\n6 7\n";
    EXPECT_EQ(CheckSampleFileSize(path, 3, 12).detail,
              path + " holds 7 numbers in 3 lines (2 to 3 on a line), too few for 3 rows of 12 numbers (36); check "
                     "the number of participants and of items");
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
    // The processor time of the reading, not the wall clock: a machine busy
    // with other work must not fail the test, a quadratic reader must.
    const std::clock_t start = std::clock();
    const SampleReadResult result = ReadSampleFile(path, data);
    const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    std::filesystem::remove(path);
    ASSERT_TRUE(result.ok) << result.detail;
    EXPECT_EQ((*data)(rows - 1, cols - 1), 1.0 + (rows - 1 + cols - 1) % 5);
    EXPECT_LT(seconds, 1.0 * kTimeLimitFactor);
}

// The text of a file as ReadSampleFile reads it, piece by piece.
SampleReadResult ReadAsFile(const std::string& name, const std::string& text, Matrix* into)
{
    const std::string path = TempPath(name);
    std::ofstream(path, std::ios::binary) << text;
    const SampleReadResult result = ReadSampleFile(path, into);
    std::filesystem::remove(path);
    return result;
}

TEST(SampleFileReader, FileReadInPiecesReadsAsTheWholeText)
{
    MatrixScope scope;
    // Numbers of every length and separators of every kind, among them runs of
    // blanks longer than a piece, so that numbers and blanks straddle the ends
    // of the pieces in which the file is read.
    const char* const separators[] = {" ", "\t", "\r\n", "\n", "  \t ", "\r\n\r\n"};
    std::string text = "\xEF\xBB\xBF";
    const int count = 60000;
    unsigned state = 7;
    for (int k = 0; k < count; ++k) {
        state = state * 1103515245u + 12345u;
        const unsigned r = (state >> 16) & 0x7FFF;
        text += std::to_string(r % 7) + (r % 3 == 0 ? "." + std::to_string(r) : "") + (r % 5 == 0 ? "e-2" : "");
        text += k == 30000 ? std::string(200000, ' ') : separators[r % 6];
    }
    text += "end of data";
    Matrix* fromFile = NewMatrix(count / 4, 4);
    Matrix* fromText = NewMatrix(count / 4, 4);
    const SampleReadResult file = ReadAsFile("pieces.dat", text, fromFile);
    ASSERT_TRUE(file.ok) << file.detail;
    ASSERT_TRUE(ParseSampleText(text.data(), text.data() + text.size(), fromText).ok);
    for (int i = 0; i < fromFile->Rows(); ++i) {
        for (int j = 0; j < 4; ++j) {
            ASSERT_EQ((*fromFile)(i, j), (*fromText)(i, j)) << i << " " << j;
        }
    }
    // One number more, after a long run of blanks.
    const std::string values = text.substr(0, text.size() - std::string("end of data").size());
    EXPECT_FALSE(ReadAsFile("pieces.dat", values + std::string(100000, '\n') + "5", NewMatrix(count / 4, 4)).ok);
}

TEST(SampleFileReader, FormatsOfOtherSystemsReadAlike)
{
    MatrixScope scope;
    const std::string plain = "1 2.5 3\n4 5 6\n";
    // A byte-order mark, Windows line ends, tabs, exponents, no final line end.
    const std::string other = "\xEF\xBB\xBF" "1\t2.5E0\t3\r\n4e0\t+5\t0.6e1";
    Matrix* a = NewMatrix(2, 3);
    Matrix* b = NewMatrix(2, 3);
    ASSERT_TRUE(ReadAsFile("plain.dat", plain, a).ok);
    const SampleReadResult result = ReadAsFile("other.dat", other, b);
    ASSERT_TRUE(result.ok) << result.detail;
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 3; ++j) {
            EXPECT_EQ((*a)(i, j), (*b)(i, j));
        }
    }
}

TEST(SampleFileReader, UnusableFilesAreRefused)
{
    MatrixScope scope;
    Matrix* data = NewMatrix(2, 2);
    EXPECT_NE(ReadAsFile("empty.dat", "", data).detail.find("ends after 0 numbers"), std::string::npos);
    const std::string binary("\x7f" "ELF\x02\x01\x01\0\0\0\x03\0>\0\x01\0\0\0\x10\x10", 20);
    EXPECT_NE(ReadAsFile("binary.dat", binary, data).detail.find("is not a number"), std::string::npos);
    if (geteuid() != 0) {
        const std::string path = TempPath("unreadable.dat");
        std::ofstream(path) << "1 2 3 4\n";
        std::filesystem::permissions(path, std::filesystem::perms::none);
        EXPECT_NE(ReadSampleFile(path, data).detail.find("cannot open"), std::string::npos);
        std::filesystem::remove(path);
    }
}

TEST(SampleFileReader, HugeFilesAreNotHeldInMemory)
{
    MatrixScope scope;
    Matrix* data = NewMatrix(2, 2);
    const std::string path = TempPath("sparse.dat");
    // A number too many, then 8 GiB of zero bytes that take no room on disk.
    std::ofstream(path, std::ios::binary) << "1 2 3 4 5 ";
    std::filesystem::resize_file(path, std::uintmax_t{8} << 30);
    // Processor time, which other work on the machine does not stretch.
    const std::clock_t start = std::clock();
    EXPECT_NE(ReadSampleFile(path, data).detail.find("more than 4 numbers"), std::string::npos);
    // The values, then gigabytes of text that is not a number: accepted.
    std::ofstream(path, std::ios::binary) << "1 2 3 4 ";
    std::filesystem::resize_file(path, std::uintmax_t{8} << 30);
    EXPECT_TRUE(ReadSampleFile(path, data).ok);
    const double seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
    std::filesystem::remove(path);
    EXPECT_LT(seconds, 1.0 * kTimeLimitFactor);
}

TEST(SampleFileReader, TokensTooLongForANumberAreRefused)
{
    MatrixScope scope;
    Matrix* data = NewMatrix(1, 2);
    const std::string digits = "0." + std::string(5000, '0');
    EXPECT_NE(ReadAsFile("long.dat", "1 " + digits, data).detail.find("characters or more, too many for a number"),
              std::string::npos);
    EXPECT_NE(Parse("1 " + digits, 1, 2).result.detail.find("too many for a number"), std::string::npos);
    // Below the limit a long number is read as usual.
    EXPECT_TRUE(ReadAsFile("long.dat", "1 " + std::string(4000, '1') + "e-3990", data).ok);
    EXPECT_NEAR((*data)(0, 1), 1.1111111e9, 1e3);
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

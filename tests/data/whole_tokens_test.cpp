// Every blank-separated token of a sample file is one whole number, wherever
// it stands: the last value is judged like every other, and the refusal names
// the token, its row and its item in a form that survives any byte.

#include "data/SampleFileReader.h"
#include "data/ScoreRange.h"
#include "matrix/Matrix.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>

using namespace talver;

namespace {

SampleReadResult ParseText(const std::string& text, int rows, int cols)
{
    MatrixScope scope;
    Matrix* data = NewMatrix(rows, cols);
    return ParseSampleText(text.data(), text.data() + text.size(), data);
}

TEST(WholeTokens, APartNumberIsRefusedAtEveryPlaceWithItsRowAndItem)
{
    for (const std::string token : {"0x1p3", "4,5", "3abc", "1e", "2.5.1", "7-"}) {
        SCOPED_TRACE(token);
        // The same token as the first value, in the middle, and as the last.
        const struct {
            std::string text;
            std::string place;
        } cases[] = {
            {token + " 2\n3 4\n", "row 1, item 1: "},
            {"1 2\n" + token + " 4\n", "row 2, item 1: "},
            {"1 2\n3 " + token, "row 2, item 2: "},
            {"1 2\n3 " + token + "\n", "row 2, item 2: "},
        };
        for (const auto& c : cases) {
            const SampleReadResult result = ParseText(c.text, 2, 2);
            EXPECT_FALSE(result.ok) << c.text;
            EXPECT_EQ(result.detail, c.place + "'" + token + "' is not a number");
        }
    }
    // Whole numbers in every spelling the formatted reading takes stay accepted.
    EXPECT_TRUE(ParseText("1e3 -0.5\n+2 .25", 2, 2).ok);
}

TEST(WholeTokens, BytesThatCannotBePrintedAreShownVisibly)
{
    const std::string withNul = std::string("1 2\n3 4\0x", 9);
    SampleReadResult result = ParseText(withNul, 2, 2);
    EXPECT_EQ(result.detail, "row 2, item 2: '4\\0x' is not a number");
    result = ParseText("1 2\n3 \x01\x7f", 2, 2);
    EXPECT_EQ(result.detail, "row 2, item 2: '\\x01\\x7f' is not a number");
}

TEST(WholeTokens, Utf16FilesAreNamedAsSuch)
{
    const std::string utf8 = "1 2\n3 4\n";
    std::string little = "\xFF\xFE";
    std::string big = "\xFE\xFF";
    std::string bare;
    for (char c : utf8) {
        little += std::string(1, c) + '\0';
        big += std::string(1, '\0') + c;
        bare += std::string(1, c) + '\0';
    }
    for (const std::string& text : {little, big, bare}) {
        const SampleReadResult result = ParseText(text, 2, 2);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.detail.rfind("the file is written in UTF-16 (", 0), 0u) << result.detail;
    }
}

TEST(WholeTokens, LinesOfAnotherLengthThanTheItemsAreNoted)
{
    std::string tenPerLine;
    for (int line = 0; line < 4; ++line) {
        tenPerLine += "1 2 3 4 5 1 2 3 4 5\n";
    }
    // Read as the numbers come, five to a participant, with a note.
    SampleReadResult result = ParseText(tenPerLine, 8, 5);
    ASSERT_TRUE(result.ok) << result.detail;
    EXPECT_EQ(result.note.rfind("every line of the file holds 10 numbers, but 5 items were declared", 0), 0u)
        << result.note;
    // Lines that match, all numbers on one line, or lines of mixed lengths: no note.
    EXPECT_EQ(ParseText(tenPerLine, 4, 10).note, "");
    EXPECT_EQ(ParseText("1 2 3 4 5 6 7 8", 4, 2).note, "");
    EXPECT_EQ(ParseText("1 2 3\n4 5\n6 7 8\n", 4, 2).note, "");
}

TEST(WholeTokens, FilesThatAreNoFilesSayWhatTheyAre)
{
    const std::string fifo = (std::filesystem::temp_directory_path() / "talver_tokens_fifo").string();
    std::filesystem::remove(fifo);
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(CheckSampleFileSize(fifo, 1, 1).detail, fifo + " is a FIFO (named pipe), not a data file");
    std::filesystem::remove(fifo);
    EXPECT_EQ(CheckSampleFileSize("/dev/null", 1, 1).detail, "/dev/null is a character device, not a data file");
}

} // namespace

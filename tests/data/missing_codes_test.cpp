#include "data/MissingCodes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace talver {
namespace {

// Each column holds one item's scores.
std::vector<SuspectMissingCode> Scan(const std::vector<std::vector<double>>& columns)
{
    MissingCodeScan scan(static_cast<int>(columns.size()));
    for (std::size_t item = 0; item < columns.size(); ++item) {
        for (double score : columns[item]) {
            scan.AddValue(static_cast<int>(item), score);
        }
    }
    return scan.Suspects();
}

TEST(MissingCodes, FindsTheCodesOfAFivePointScaleItemByItem)
{
    const auto suspects = Scan({{1, 2, 3, 4, 5, 3},
                                {1, 2, -9, 4, 5, -9},
                                {2, 3, 99, 4, 9, 1},
                                {1, 5, -9, 3, 2, 2}});
    ASSERT_EQ(suspects.size(), 3u);
    EXPECT_EQ(suspects[0].code, -9);
    ASSERT_EQ(suspects[0].items.size(), 2u);
    EXPECT_EQ(suspects[0].items[0].item, 1);
    EXPECT_EQ(suspects[0].items[0].count, 2);
    EXPECT_EQ(suspects[0].items[1].item, 3);
    EXPECT_EQ(suspects[0].Total(), 3);
    EXPECT_EQ(suspects[1].code, 9);
    EXPECT_EQ(suspects[2].code, 99);
    EXPECT_EQ(SuspectCodeList(suspects), "-9,9,99");
}

// Scores that only look odd are a scale's own and must not be flagged.
TEST(MissingCodes, LeavesTheScoresOfTheItemsOwnScaleAlone)
{
    EXPECT_TRUE(Scan({{1, 2, 3, 5, 6, 7, 9}}).empty()) << "9 on a 1-7 scale may be a score";
    EXPECT_TRUE(Scan({{0, 40, 99, 100, 77}}).empty()) << "99 on a 0-100 scale is a score";
    EXPECT_TRUE(Scan({{-3, -1, 0, 2, 3, -9}}).empty()) << "a scale with negative scores of its own";
    EXPECT_TRUE(Scan({{1, 2, 3, 4, 5, 6, 7, 8, 9}}).empty()) << "a nine-point scale";
    EXPECT_TRUE(Scan({{1, 2, -2, 4}}).empty()) << "-2 is no usual code";
    EXPECT_TRUE(Scan({{-9, -9, 99}}).empty()) << "nothing but codes: no scale to compare with";
    EXPECT_TRUE(Scan({{}}).empty());
}

TEST(MissingCodes, PassesOverEmptyCellsAndCountsRowsOfBothSamples)
{
    MissingCodeScan scan(2);
    const double rows[][2] = {{1, 2}, {std::nan(""), -1}, {3, 4}, {-1, std::nan("")}, {0, 1}};
    for (const auto& row : rows) {
        scan.AddRow(row);
    }
    const auto suspects = scan.Suspects();
    ASSERT_EQ(suspects.size(), 1u);
    EXPECT_EQ(suspects[0].code, -1);
    EXPECT_EQ(suspects[0].Total(), 2);
    EXPECT_EQ(DescribeSuspectCode(suspects[0], {"q1", "q2"}),
              "The score -1 looks like a code for a missing answer: it occurs 2 times, in q1 (1) and q2 (1).");
    EXPECT_EQ(DescribeSuspectCode({999, {{0, 1}, {2, 3}, {4, 1}}}, {}),
              "The score 999 looks like a code for a missing answer: it occurs 5 times, in item 1 (1), item 3 (3) "
              "and item 5 (1).");
}

} // namespace
} // namespace talver

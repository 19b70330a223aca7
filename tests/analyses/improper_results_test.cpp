// Results that hold no information are said so instead of printed as numbers:
// Hotelling's T square of a rank-deficient item set, and the causes of a
// polychoric refusal, and the scores polychoric correlations cannot use.

#include "analyses/AnalysisWarnings.h"
#include "analyses/ItemDifficulties.h"
#include "analyses/PolychoricCauses.h"
#include "analyses/PolychoricScores.h"
#include "factor/RankDeficiency.h"
#include "matrix/Matrix.h"
#include "matrix/MatrixOps.h"
#include "matrix/matrix_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using namespace talver;

namespace {

// Scores 1..5 from a fixed sequence, rows x items.
Matrix* Scores(int rows, int items, unsigned seed)
{
    Matrix* data = NewMatrix(rows, items);
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < items; ++j) {
            seed = seed * 1103515245u + 12345u;
            (*data)(i, j) = 1 + (seed >> 16) % 5;
        }
    }
    return data;
}

// Column `to` becomes the sum of columns `a` and `b`, plus `jitter` on every
// other row.
void SumInto(Matrix* data, int to, int a, int b, double jitter)
{
    for (int i = 0; i < data->Rows(); ++i) {
        (*data)(i, to) = (*data)(i, a) + (*data)(i, b) + (i % 2 == 0 ? jitter : 0.0);
    }
}

TEST(RankDeficiency, CollinearItemsAreFoundWhateverTheirScale)
{
    MatrixScope scope;
    Matrix* data = Scores(200, 6, 7);
    EXPECT_FALSE(IsRankDeficient(CovarianceMatrix(data)));
    SumInto(data, 2, 0, 1, 0.0);
    EXPECT_TRUE(IsRankDeficient(CovarianceMatrix(data)));
    // The decision does not depend on the units of an item.
    for (int i = 0; i < data->Rows(); ++i) {
        (*data)(i, 0) *= 1e6;
        (*data)(i, 2) = (*data)(i, 0) + (*data)(i, 1);
    }
    EXPECT_TRUE(IsRankDeficient(CovarianceMatrix(data)));
    // An item without variance, or a value that is not a number.
    Matrix* constant = Scores(50, 3, 9);
    for (int i = 0; i < constant->Rows(); ++i) {
        (*constant)(i, 1) = 4.0;
    }
    EXPECT_TRUE(IsRankDeficient(CovarianceMatrix(constant)));
    EXPECT_TRUE(IsRankDeficient(FromRows({{1.0, 0.0}, {0.0, std::nan("")}})));
}

TEST(RankDeficiency, HotellingOfACollinearItemSetIsAWarningNotANumber)
{
    MatrixScope scope;
    Matrix* target = Scores(120, 5, 11);
    Matrix* replication = Scores(90, 5, 12);
    SumInto(target, 2, 0, 1, 0.0);
    SumInto(replication, 2, 0, 1, 0.0);
    const HotellingResults exact = TestAllMeans(target, replication, 120, 90);
    EXPECT_FALSE(exact.computable);
    EXPECT_TRUE(exact.singular);
    EXPECT_NE(exact.warning.find("singular"), std::string::npos);

    // Nearly collinear items still have a T square.
    SumInto(target, 2, 0, 1, 0.5);
    SumInto(replication, 2, 0, 1, 0.5);
    const HotellingResults near = TestAllMeans(target, replication, 120, 90);
    EXPECT_TRUE(near.computable);
    EXPECT_GE(near.tSquare, 0.0);
    EXPECT_EQ(near.warning, "");
}

TEST(PolychoricCauses, EachCauseIsNamedWithItsSampleItemAndScore)
{
    MatrixScope scope;
    Matrix* target = Scores(200, 3, 21);
    Matrix* replication = Scores(150, 3, 22);
    const Matrix* lowest = FromRows({{1}, {1}, {1}});
    const Matrix* highest = FromRows({{5}, {5}, {5}});
    EXPECT_EQ(PolychoricRefusalCauses(target, replication, lowest, highest, {}), "");

    // A declared range wider than the data.
    EXPECT_EQ(PolychoricRefusalCauses(target, replication, FromRows({{0}, {0}, {0}}), FromRows({{7}, {7}, {7}}),
                                      {}),
              "\nThe declared score range 0 to 7 is wider than the scores of the data, 1 to 5: declare the range of "
              "the data.");

    // Nobody scores 3 on item 2 of the Replication sample.
    for (int i = 0; i < replication->Rows(); ++i) {
        (*replication)(i, 1) = (*replication)(i, 1) == 3.0 ? 4.0 : (*replication)(i, 1);
    }
    EXPECT_EQ(PolychoricRefusalCauses(target, replication, lowest, highest, {}),
              "\nReplication sample, item 2: nobody has the score 3; the item has 4 categories, fewer than the 5 of "
              "other items.");

    // Every item misses the same score: no item has fewer categories than another.
    for (int j = 0; j < 3; ++j) {
        for (int i = 0; i < target->Rows(); ++i) {
            (*target)(i, j) = (*target)(i, j) == 2.0 ? 1.0 : (*target)(i, j);
        }
    }
    const std::string causes = PolychoricRefusalCauses(target, replication, lowest, highest, {});
    EXPECT_EQ(causes.find("\nTarget sample, item 1: nobody has the score 2.\nTarget sample, item 2: nobody has the "
                          "score 2.\nTarget sample, item 3: nobody has the score 2.\n"),
              0u)
        << causes;

    // A score beyond the declared range.
    (*target)(0, 0) = 9.0;
    EXPECT_NE(PolychoricRefusalCauses(target, replication, lowest, highest, {})
                  .find("\nTarget sample, item 1: the score 9 lies outside the declared range 1 to 5."),
              std::string::npos);
    // Items the user named are named so.
    EXPECT_EQ(PolychoricRefusalCauses(target, replication, lowest, highest, {"anx1", "dep 2", "3"}),
              "\nTarget sample, item \"anx1\": the score 9 lies outside the declared range 1 to 5.\n"
              "Target sample, item \"anx1\": nobody has the score 2.\n"
              "Target sample, item \"dep 2\": nobody has the score 2; the item has 4 categories, fewer than the 5 of "
              "other items.\n"
              "Target sample, item \"3\": nobody has the score 2; the item has 4 categories, fewer than the 5 of "
              "other items.\n"
              "Replication sample, item \"dep 2\": nobody has the score 3; the item has 4 categories, fewer than the 5 "
              "of other items.");
}

TEST(ItemsInWarnings, NamedAsTheUserNamedThemAndNumberedOtherwise)
{
    // The improper items are counted from 1, as the JSON lists them.
    const std::string tail = ". The loadings of these items are not to be trusted; please try fewer factors.";
    EXPECT_EQ(ImproperSolutionWarning({2}, {1, 3}, {}),
              "Improper solution (a Heywood case): the residual variance is at or below zero for item 2 in the "
              "Target sample and for items 1 and 3 in the Replication sample" + tail);
    // A name that is empty or missing falls back to the number.
    EXPECT_EQ(ImproperSolutionWarning({}, {1, 2, 3, 4}, {"q1", "", "q 3"}),
              "Improper solution (a Heywood case): the residual variance is at or below zero for items \"q1\", 2, "
              "\"q 3\" and 4 in the Replication sample" + tail);
    EXPECT_EQ(ImproperSolutionWarning({}, {}, {"q1"}), "");
}

TEST(PolychoricScores, OnlyWholeNumbersWithinTheScoreRangeAreUsable)
{
    MatrixScope scope;
    Matrix* target = Scores(40, 3, 31);
    Matrix* replication = Scores(30, 3, 32);
    // Whole numbers of either sign and the ends of the 32-bit range are categories.
    (*target)(0, 0) = -0.0;
    (*target)(1, 1) = -7.0;
    (*target)(2, 2) = 2147483647.0;
    (*replication)(0, 0) = -2147483648.0;
    EXPECT_EQ(UnusablePolychoricScores(target, replication, {}), "");

    // Each kind of unusable score is refused on its own, wherever it stands.
    const double fraction = 2.5;
    const double tiny = 1e-30;
    const double huge = 1e30;
    const double justBeyond = 2147483648.0;
    for (double bad : {fraction, tiny, -tiny, huge, -huge, justBeyond, std::numeric_limits<double>::quiet_NaN(),
                       std::numeric_limits<double>::infinity()}) {
        (*replication)(29, 2) = bad;
        const std::string refusal = UnusablePolychoricScores(target, replication, {});
        EXPECT_EQ(refusal.find("Polychoric correlations cannot be computed: item 3 has the score "), 0u)
            << refusal;
        EXPECT_NE(refusal.find(" in row 30 of the Replication sample"), std::string::npos) << refusal;
        EXPECT_NE(refusal.find("\nRecode the scores"), std::string::npos) << refusal;
    }
    (*replication)(29, 2) = tiny;
    EXPECT_NE(UnusablePolychoricScores(target, replication, {}).find("the score 1e-30 in"), std::string::npos);
    (*replication)(29, 2) = huge;
    EXPECT_NE(UnusablePolychoricScores(target, replication, {}).find(
                  "the score 1e+30 in row 30 of the Replication sample, outside the whole numbers"),
              std::string::npos);
    (*replication)(29, 2) = 3.0;

    // The first one found is named, by the user's item names and the rows of
    // the file; the others are counted.
    (*target)(4, 1) = 2.25;
    (*target)(9, 1) = 3.5;
    (*replication)(3, 0) = 0.5;
    SampleRowOrigins origins{{"data.csv", "line", {}}, {"data.csv", "line", {}}};
    for (std::int64_t row = 0; row < 40; ++row) {
        origins.target.numbers.push_back(2 * row + 2);
    }
    EXPECT_EQ(UnusablePolychoricScores(target, replication, {"q1", "q4", "q7"}, origins),
              "Polychoric correlations cannot be computed: item \"q4\" has the score 2.25 in line 10 of data.csv "
              "(Target sample), which is not a whole number.\n"
              "3 scores of 2 items are not whole numbers or lie outside -2147483648 to 2147483647.\n"
              "Recode the scores into whole-number categories, or choose Pearson correlations.");
}

} // namespace

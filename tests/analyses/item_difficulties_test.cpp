// Item difficulties and Hotelling's T square against values computed
// independently in R (fixtures/make_difficulty_fixtures.R).

#include "analyses/ItemDifficulties.h"
#include "report/AnalysisSections.h"
#include "data/SampleFileReader.h"
#include "matrix/Matrix.h"
#include "support/report_capture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace talver;

namespace {

const std::string kFixtures = std::string(TALVER_SOURCE_DIR) + "/tests/analyses/fixtures/";

struct ItemExpectation {
    double targetMean, replicationMean, t, d;
};

struct Expected {
    std::vector<ItemExpectation> items;
    double tSquare = 0, f = 0, p = 0;
    int df1 = 0, df2 = 0;
};

Expected LoadExpected()
{
    Expected expected;
    std::ifstream in(kFixtures + "difficulty_expected.txt");
    std::string kind;
    while (in >> kind) {
        if (kind == "item") {
            int number;
            ItemExpectation item;
            double studentT;
            in >> number >> item.targetMean >> item.replicationMean >> item.t >> item.d >> studentT;
            expected.items.push_back(item);
        } else {
            in >> expected.tSquare >> expected.df1 >> expected.df2 >> expected.f >> expected.p;
        }
    }
    return expected;
}

Matrix* Load(const std::string& name, int rows, int cols)
{
    Matrix* data = NewMatrix(rows, cols);
    EXPECT_TRUE(ReadSampleFile(kFixtures + name, data).ok);
    return data;
}

class ItemDifficultiesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        expected_ = LoadExpected();
        ASSERT_EQ(expected_.items.size(), 6u);
        target_ = Load("difficulty_target.dat", 120, 6);
        replication_ = Load("difficulty_replica.dat", 90, 6);
    }
    void TearDown() override { FreeAllMatrices(); }

    Expected expected_;
    Matrix* target_ = nullptr;
    Matrix* replication_ = nullptr;
};

// The printed value must be the reference rounded to two decimals.
void ExpectPrinted(const std::string& printed, double reference)
{
    EXPECT_NEAR(std::stod(printed), reference, 0.005 + 1e-9) << printed;
}

TEST_F(ItemDifficultiesTest, TableAgreesWithIndependentValues)
{
    for (int alphaCode : {5, 10}) {
        CapturedReport report;
        AnalyzeItemDifficulties(target_, replication_, 120, 90, alphaCode, {}, report.context);
        const std::vector<std::string> lines = report.Lines();
        ASSERT_GE(lines.size(), 14u);
        EXPECT_EQ(lines[0], "ITEM DIFFICULTIES");
        EXPECT_EQ(lines[2], "Item      Target       Replication  Student's t   Effect Size");
        EXPECT_EQ(lines[3], "          Sample       Sample                     (Cohen's d)");
        const double critical = alphaCode == 5 ? 1.96 : 1.645;
        for (int i = 0; i < 6; ++i) {
            const std::string& line = lines[5 + i];
            ASSERT_EQ(line.size(), 4u + 5 + 7 + 6 + 7 + 2 * (5 + 7 + 2)) << line;
            EXPECT_EQ(std::stoi(line.substr(0, 4)), i + 1);
            const ItemExpectation& item = expected_.items[i];
            ExpectPrinted(line.substr(9, 7), item.targetMean);
            ExpectPrinted(line.substr(22, 7), item.replicationMean);
            ExpectPrinted(line.substr(34, 7), item.t);
            ExpectPrinted(line.substr(48, 7), item.d);
            EXPECT_EQ(line.substr(41, 2) == "**", std::fabs(item.t) >= critical) << line;
            EXPECT_EQ(line.substr(55, 2) == "**", std::fabs(item.d) >= critical) << line;
        }
        EXPECT_EQ(lines[12], "**Significant differences");
        EXPECT_EQ(lines[14], std::string(80, '-'));
    }
}

// The records hold the values at full precision; the reference was written
// with ten decimals.
TEST_F(ItemDifficultiesTest, RecordsAgreeWithIndependentValues)
{
    for (const AlphaLevel alpha : {AlphaLevel::Five, AlphaLevel::Ten}) {
        const DifficultyResults results = CompareItemMeans(target_, replication_, 120, 90, alpha, {});
        EXPECT_NEAR(results.criticalValue, alpha == AlphaLevel::Five ? 1.96 : 1.645, 5e-4);
        ASSERT_EQ(results.items.size(), 6u);
        for (int i = 0; i < 6; ++i) {
            const DifficultyItem& item = results.items[i];
            const ItemExpectation& reference = expected_.items[i];
            EXPECT_NEAR(item.targetMean, reference.targetMean, 1e-9) << i;
            EXPECT_NEAR(item.replicationMean, reference.replicationMean, 1e-9) << i;
            EXPECT_NEAR(item.t, reference.t, 1e-9) << i;
            EXPECT_NEAR(item.d, reference.d, 1e-9) << i;
            EXPECT_EQ(item.tSignificant, std::fabs(item.t) >= results.criticalValue) << i;
            EXPECT_EQ(item.dSignificant, std::fabs(item.d) >= results.criticalValue) << i;
        }
    }
    const HotellingResults hotelling = TestAllMeans(target_, replication_, 120, 90);
    ASSERT_TRUE(hotelling.computable);
    EXPECT_FALSE(hotelling.singular);
    EXPECT_NEAR(hotelling.tSquare, expected_.tSquare, 1e-8);
    EXPECT_EQ(hotelling.df1, expected_.df1);
    EXPECT_EQ(hotelling.df2, expected_.df2);
    EXPECT_NEAR(hotelling.f, expected_.f, 1e-8);
    // The normal distribution function is a bisection to 1e-4 in z.
    EXPECT_NEAR(hotelling.p, expected_.p, 5e-5);
}

TEST_F(ItemDifficultiesTest, AlphaDecidesTheFlagOfAModerateDifference)
{
    // Item 3 has t = 1.79: significant at 0.10, not at 0.05.
    CapturedReport strict;
    AnalyzeItemDifficulties(target_, replication_, 120, 90, 5, {}, strict.context);
    CapturedReport lenient;
    AnalyzeItemDifficulties(target_, replication_, 120, 90, 10, {}, lenient.context);
    EXPECT_EQ(strict.Lines()[7].find("**"), std::string::npos);
    EXPECT_NE(lenient.Lines()[7].find("**"), std::string::npos);
}

TEST_F(ItemDifficultiesTest, HotellingAgreesWithIndependentValues)
{
    CapturedReport report;
    HotellingTSquare(target_, replication_, 120, 90, report.context);
    const std::vector<std::string> lines = report.Lines();
    ASSERT_GE(lines.size(), 9u);
    EXPECT_EQ(lines[0], "OVERALL INDICES OF ITEM MEASUREMENT INVARIANCE");
    EXPECT_EQ(lines[2], "ITEM DIFFICULTIES");
    EXPECT_EQ(lines[4], "Hotteling's T Square");
    double tSquare = 0, f = 0, p = 0;
    int df1 = 0, df2 = 0;
    ASSERT_EQ(std::sscanf(lines[6].c_str(), "TSQ = %lf; Freedom degrees = %d and %d; F = %lf (P = %lf)", &tSquare, &df1,
                          &df2, &f, &p),
              5)
        << lines[6];
    EXPECT_NEAR(tSquare, expected_.tSquare, 1e-6);
    EXPECT_EQ(df1, expected_.df1);
    EXPECT_EQ(df2, expected_.df2);
    EXPECT_NEAR(f, expected_.f, 1e-6);
    // The normal distribution function is a bisection to 1e-4 in z.
    EXPECT_NEAR(p, expected_.p, 5e-5);
    EXPECT_EQ(lines[8], std::string(80, '-'));
}

TEST_F(ItemDifficultiesTest, HotellingNeedsMoreParticipantsThanItems)
{
    CapturedReport report;
    HotellingTSquare(target_, replication_, 3, 3, report.context);
    const std::vector<std::string> lines = report.Lines();
    EXPECT_EQ(lines[4], "Hotteling's T Square");
    EXPECT_NE(lines[6].find("needs more participants than items"), std::string::npos);
    EXPECT_EQ(lines[8], std::string(80, '-'));
}

TEST(ItemDifficultiesEqualMeans, NothingIsFlagged)
{
    MatrixScope scope;
    Matrix* a = NewMatrix(4, 2);
    const double values[4][2] = {{1, 2}, {2, 4}, {3, 1}, {4, 3}};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 2; ++j) {
            (*a)(i, j) = values[i][j];
        }
    }
    CapturedReport report;
    AnalyzeItemDifficulties(a, a, 4, 4, 10, {}, report.context);
    const std::vector<std::string> lines = report.Lines();
    EXPECT_EQ(lines[5], "   1        2.50         2.50        0.00          0.00  ");
    EXPECT_EQ(lines[6].find("**"), std::string::npos);
}

} // namespace

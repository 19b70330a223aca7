// Agreement with an independent implementation: fixtures/polychoric_reference.txt
// holds polycor's two-step estimates (its thresholds and its likelihood, with
// cell probabilities from mvtnorm, maximised to 1e-12), made by
// fixtures/polychoric_reference.R: 2 x 2 tables with and without zero
// cells, hand-made tables, simulated pairs with correlations up to .95,
// skewed thresholds and 100 to 3000 cases, and the pairs of the example
// Target sample.

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "PolychoricReference.h"
#include "matrix/MatrixOps.h"
#include "stats/ContingencyTable.h"
#include "stats/Polychoric.h"
#include "stats/PolychoricPair.h"

using namespace talver;

namespace {

constexpr double kAgreement = 1e-6;

std::vector<std::string> FixtureLines(const char* kind)
{
    std::ifstream in(TALVER_SOURCE_DIR "/tests/stats/fixtures/polychoric_reference.txt");
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(std::string(kind) + " ", 0) == 0) {
            lines.push_back(line.substr(line.find(' ') + 1));
        }
    }
    return lines;
}

// Where the likelihood keeps rising towards a bound (a zero cell that the
// margins allow), it is flat to the last bit long before the bound and R's
// search stops anywhere on the flat part: there the engine's estimate must
// be the bound, with a likelihood at least as high as R's.
void ExpectAgreement(const Matrix* table, double estimate, double expected, const std::string& line)
{
    const std::vector<double> a = ColumnThresholds(table);
    const std::vector<double> b = RowThresholds(table);
    if (std::fabs(estimate) == kLargestPolychoricCorrelation && std::fabs(expected) > 0.99) {
        EXPECT_GE(ReferenceLogLikelihood(table, a, b, estimate),
                  ReferenceLogLikelihood(table, a, b, expected) - 1e-12 * CellTotal(table))
            << line;
        return;
    }
    EXPECT_NEAR(estimate, expected, kAgreement) << line;
}

TEST(PolychoricAgreement, TwoByTwoTablesMatchPolycor)
{
    const std::vector<std::string> lines = FixtureLines("tetrachoric");
    ASSERT_EQ(lines.size(), 15u);
    int atBound = 0;
    for (const std::string& line : lines) {
        MatrixScope scope;
        std::istringstream fields(line);
        double a, b, c, d, expected;
        fields >> a >> b >> c >> d >> expected;
        // Item j descending in the rows.
        Matrix* table = NewMatrix(2, 2);
        (*table)(0, 0) = b;
        (*table)(0, 1) = d;
        (*table)(1, 0) = a;
        (*table)(1, 1) = c;
        const double r = PolychoricPairCorrelation(table, ColumnThresholds(table), RowThresholds(table));
        atBound += std::fabs(r) == kLargestPolychoricCorrelation;
        ExpectAgreement(table, r, expected, line);
    }
    // The zero cells 25 0 8 30, 60 12 0 3, 9 0 0 14, 0 12 7 0 and 0 10 15 20.
    EXPECT_EQ(atBound, 5);
}

TEST(PolychoricAgreement, LargerTablesMatchPolycor)
{
    const std::vector<std::string> lines = FixtureLines("table");
    ASSERT_EQ(lines.size(), 45u);
    for (const std::string& line : lines) {
        MatrixScope scope;
        std::istringstream fields(line);
        int rows, cols;
        fields >> rows >> cols;
        // The fixture lists item j ascending; the table holds it descending.
        Matrix* table = NewMatrix(rows, cols);
        for (int r = rows - 1; r >= 0; --r) {
            for (int c = 0; c < cols; ++c) {
                fields >> (*table)(r, c);
            }
        }
        double expected;
        fields >> expected;
        const double r = PolychoricPairCorrelation(table, ColumnThresholds(table), RowThresholds(table));
        ExpectAgreement(table, r, expected, line);
        // A maximum, not a saddle or a minimum of the likelihood.
        EXPECT_NEAR(r, ReferencePairCorrelation(table, ColumnThresholds(table), RowThresholds(table)), 1e-7)
            << line;
    }
}

TEST(PolychoricAgreement, TargetSampleMatchesPolycor)
{
    MatrixScope scope;
    std::ifstream in(TALVER_SOURCE_DIR "/examples/target.dat");
    std::vector<double> scores;
    for (double v; in >> v;) {
        scores.push_back(v);
    }
    ASSERT_EQ(scores.size(), 7070u);
    Matrix* data = NewMatrix(707, 10);
    for (int n = 0; n < 707; ++n) {
        for (int i = 0; i < 10; ++i) {
            (*data)(n, i) = scores[n * 10 + i];
        }
    }
    const Matrix* r = PolychoricMatrix(data, Filled(10, 1, 1.0), Filled(10, 1, 5.0));
    ASSERT_NE(r, nullptr);
    const std::vector<std::string> lines = FixtureLines("target");
    ASSERT_EQ(lines.size(), 45u);
    for (const std::string& line : lines) {
        std::istringstream fields(line);
        int i, j;
        double expected;
        fields >> i >> j >> expected;
        EXPECT_NEAR((*r)(i, j), expected, kAgreement) << line;
        EXPECT_EQ((*r)(i, j), (*r)(j, i));
    }
}

} // namespace

#include "report/ReportFrame.h"
#include "app/RunDetails.h"
#include "support/report_capture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace talver;

namespace {

std::string Details(const Workspace& workspace)
{
    CapturedReport report;
    WriteDetailsBlock(report.context, DetailsOf(workspace));
    return report.Text();
}

const std::string kSeparator(80, '-');

TEST(ReportFrame, DetailsBlockOfTheDefaults)
{
    const std::string expected =
        "\nDETAILS OF ANALYSIS\n\n"
        "Target sample data file                         : target.dat\n"
        "Number of observations in Target sample         : 707\n"
        "Replication sample data file                    : replica.dat\n"
        "Number of observations in Replication sample    : 335\n\n"
        "Number of variables                             : 10\n"
        "Number of factors                               : 2\n\n"
        "Dispersion matrix                               : Covariances\n"
        "Method for factor extraction                    : Unweighted Least Squares (ULS)\n\n"
        "Rotation to simplicity of Target loading matrix : Normalized Varimax\n"
        "Rotation to similitude between loading matrices : Orthogonal Procrustes\n\n"
        "Bias corrected Percentile intervals obtained by : Bootstrap resampling\n"
        "Critical values obtained by                     : Bootstrap resampling\n"
        "Number of samples in Bootstrap resampling       : 1000\n\n"
        "Alpha value                                     : 0.05\n\n" +
        kSeparator + "\n\n";
    EXPECT_EQ(Details(Workspace{}), expected);
}

TEST(ReportFrame, DetailsBlockVariants)
{
    Workspace w;
    w.options.extractionMethod = kMethodPca;
    w.options.dispersionKind = kDispersionPearson;
    w.options.factorCount = 1;
    w.options.alphaCode = kAlpha10;
    std::string text = Details(w);
    EXPECT_NE(text.find("Number of components                            : 1\n\n"), std::string::npos);
    EXPECT_NE(text.find(": Pearson correlations\n"), std::string::npos);
    EXPECT_NE(text.find("Method for components extraction                : Principal Components Analysis\n\n"),
              std::string::npos);
    EXPECT_EQ(text.find("Rotation"), std::string::npos);
    EXPECT_NE(text.find("Alpha value                                     : 0.10\n\n"), std::string::npos);

    w.options.extractionMethod = kMethodMl;
    w.options.dispersionKind = kDispersionPolychoric;
    w.options.alphaCode = 7; // any code other than 5 reads as 0.10
    text = Details(w);
    EXPECT_NE(text.find("Number of factors                               : 1\n\n"), std::string::npos);
    EXPECT_NE(text.find(": Polychoric (tetrachoric) correlations\n"), std::string::npos);
    EXPECT_NE(text.find("Method for factor extraction                    : Unrestricted Maximum Likelihood (ML)\n\n"),
              std::string::npos);
    EXPECT_NE(text.find(": 0.10\n"), std::string::npos);
}

TEST(ReportFrame, HeaderLayout)
{
    CapturedReport report;
    WriteReportHeader(report.context);
    const std::string text = report.Text();
    EXPECT_EQ(text.rfind("\n" + std::string(34, ' ') + "T A L V E R \n\n\n" + std::string(27, ' ') +
                             "Item Measurement Invariance  \n" + std::string(23, ' ') +
                             "Based on Exploratory Factor Analysis\n\n" + std::string(30, ' ') +
                             "Release Version 2.01\n" + std::string(34, ' ') + "August, 2002\n",
                         0),
              0u);
    EXPECT_NE(text.find("\n" + std::string(35, ' ') + "Programing:\n"), std::string::npos);
    EXPECT_NE(text.find("\n" + std::string(28, ' ') + "Mathematical Specification:\n"), std::string::npos);
    EXPECT_NE(text.find("\n" + std::string(28, ' ') + "Date: "), std::string::npos);
    EXPECT_NE(text.find("\n" + std::string(28, ' ') + "Time: "), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 81), kSeparator + "\n");
}

TEST(ReportFrame, EnglishDateWhateverTheLocale)
{
    std::tm day{};
    day.tm_year = 2002 - 1900;
    day.tm_mon = 7;
    day.tm_mday = 5;
    day.tm_wday = 1;
    EXPECT_EQ(EnglishDate(day), "Monday, August 05, 2002");
}

TEST(ReportFrame, ClosingLinesGiveMinutes)
{
    CapturedReport report;
    report.context.startTime = 1000;
    report.context.endTime = 1090;
    WriteClosingLines(report.context);
    EXPECT_EQ(report.Text(), "TALVER completed\nComputing time:           1.50000000 minutes.\n");
}

} // namespace

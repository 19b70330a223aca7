#pragma once
// Shared pieces of the bootstrap analysis tests: the two fixture samples
// (fixtures/make_discrimination_fixtures.R), a status display that records
// what an analysis shows, runs of both analyses into text, and line-by-line
// matching of a report against patterns.

#include "analyses/ComputeContext.h"
#include "report/AnalysisSections.h"
#include "data/SampleFileReader.h"
#include "analyses/AnalysisProgress.h"
#include "app/RunPort.h"
#include "matrix/Matrix.h"
#include "stats/RandomSource.h"
#include "support/report_capture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>
#include "support/test_random.h"

using namespace talver;

inline const std::string kAnalysisFixtures = std::string(TALVER_SOURCE_DIR) + "/tests/analyses/fixtures/";
inline const std::string kSeparator(80, '-');

class RecordingDisplay : public AnalysisProgress {
public:
    void ShowStep(const std::string& text) override { calls.emplace_back(TextField::Step, text); }
    void ShowProgress(const std::string& text) override { calls.emplace_back(TextField::Progress, text); }
    void ShowBootstrapProgress(int done, int total, double percent) override
    {
        percents.push_back(percent);
        AnalysisProgress::ShowBootstrapProgress(done, total, percent);
    }
    std::vector<std::string> Texts(TextField field) const
    {
        std::vector<std::string> texts;
        for (const auto& [shown, text] : calls) {
            if (shown == field) {
                texts.push_back(text);
            }
        }
        return texts;
    }

    std::vector<std::pair<TextField, std::string>> calls;
    std::vector<double> percents;
};

inline Matrix* LoadSample(const std::string& name, int rows, int cols)
{
    Matrix* data = NewMatrix(rows, cols);
    EXPECT_TRUE(ReadSampleFile(kAnalysisFixtures + name, data).ok) << name;
    return data;
}

inline Matrix* CopyOf(const Matrix* data)
{
    Matrix* copy = NewMatrix(data->Rows(), data->Cols());
    for (int i = 0; i < data->Rows(); ++i) {
        for (int j = 0; j < data->Cols(); ++j) {
            (*copy)(i, j) = (*data)(i, j);
        }
    }
    return copy;
}

// The reference values of fixtures/discrimination_expected.txt by name.
inline std::map<std::string, std::vector<double>> ExpectedSolution()
{
    std::map<std::string, std::vector<double>> expected;
    std::ifstream in(kAnalysisFixtures + "discrimination_expected.txt");
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string name;
        fields >> name;
        for (double value; fields >> value;) {
            expected[name].push_back(value);
        }
    }
    return expected;
}

// The analysis options the tests vary.
struct RunOptions {
    int factors = 2;
    int samples = 20;
    int alphaCode = 5;
    int method = 1;
    int dispersion = 1;
    bool first = true;  // discriminations, or congruence
    bool second = true; // residual variances, or discrepancy
    int categories = 5;
    const Matrix* itemLowest = nullptr;
    const Matrix* itemHighest = nullptr;
};

class BootstrapAnalysisTest : public ::testing::Test {
public:
    static constexpr int kItems = 8;
    static constexpr int kTargetRows = 120;
    static constexpr int kReplicationRows = 90;

protected:
    void SetUp() override
    {
        ResetTestRandom();
        OpenScope();
        target_ = LoadSample("discrimination_target.dat", kTargetRows, kItems);
        replication_ = LoadSample("discrimination_replica.dat", kReplicationRows, kItems);
    }
    void TearDown() override { CloseScope(); }

    // Each run checks that the analysis leaves no matrix behind.
    std::string Discriminations(const RunOptions& o, const Matrix* target = nullptr,
                                const Matrix* replication = nullptr)
    {
        CapturedReport report;
        const std::size_t live = LiveMatrixCount();
        AnalyzeItemDiscriminations(compute_, target ? target : target_, replication ? replication : replication_,
                                   o.itemLowest, o.itemHighest, o.factors, o.samples, o.categories, o.alphaCode,
                                   0.0001, o.method, o.dispersion, o.first, o.second, {}, report.context);
        EXPECT_EQ(LiveMatrixCount(), live);
        return report.Text();
    }
    std::string Indices(const RunOptions& o, const Matrix* target = nullptr, const Matrix* replication = nullptr)
    {
        CapturedReport report;
        const std::size_t live = LiveMatrixCount();
        AnalyzeInvarianceIndices(compute_, target ? target : target_, replication ? replication : replication_,
                                 o.itemLowest, o.itemHighest, o.factors, o.samples, o.alphaCode, 0.0001, o.method,
                                 o.dispersion, o.first, o.second, {}, report.context);
        EXPECT_EQ(LiveMatrixCount(), live);
        return report.Text();
    }

    Matrix* target_ = nullptr;
    Matrix* replication_ = nullptr;
    RecordingDisplay display_;
    ComputeContext compute_{display_, TestRandom(), 1};
};

inline std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The text of printf(format, k).
inline std::string Numbered(const char* format, int k)
{
    char text[64];
    std::snprintf(text, sizeof text, format, k);
    return text;
}

// A number with three decimals, right-aligned in its field after a blank or
// its minus sign (printf's "% w.3f").
inline bool IsNumberField(const std::string& field)
{
    if (field.empty() || (field[0] != ' ' && field[0] != '-')) {
        return false;
    }
    std::size_t k = field.find_first_not_of(' ');
    if (k != std::string::npos && field[k] == '-') {
        ++k;
    }
    const std::size_t point = field.find('.', k);
    if (k == std::string::npos || point == std::string::npos || point == k || field.size() - point != 4) {
        return false;
    }
    for (std::size_t i = k; i < field.size(); ++i) {
        if (i != point && (field[i] < '0' || field[i] > '9')) {
            return false;
        }
    }
    return true;
}

// Whether `line` is `pattern`: literal text, except that a run of '#' stands
// for a number field of that width, "??" for "**" or two blanks, and "!!" at
// the end for "**" or nothing.
inline bool LineMatches(const std::string& line, const std::string& pattern)
{
    std::size_t at = 0;
    for (std::size_t k = 0; k < pattern.size();) {
        if (pattern[k] == '#') {
            const std::size_t width = pattern.find_first_not_of('#', k) == std::string::npos
                                          ? pattern.size() - k
                                          : pattern.find_first_not_of('#', k) - k;
            if (at + width > line.size() || !IsNumberField(line.substr(at, width))) {
                return false;
            }
            at += width;
            k += width;
        } else if (pattern.compare(k, 2, "??") == 0) {
            const std::string mark = line.substr(at, 2);
            if (mark != "**" && mark != "  ") {
                return false;
            }
            at += 2;
            k += 2;
        } else if (pattern.compare(k, 2, "!!") == 0 && k + 2 == pattern.size()) {
            return line.substr(at) == "**" || at == line.size();
        } else if (at < line.size() && line[at] == pattern[k]) {
            ++at;
            ++k;
        } else {
            return false;
        }
    }
    return at == line.size();
}

inline void AddLines(std::vector<std::string>& patterns, const std::vector<std::string>& lines)
{
    patterns.insert(patterns.end(), lines.begin(), lines.end());
}

// Every line of text must match its pattern, and there must be as many lines.
inline void ExpectLinesMatch(const std::string& text, const std::vector<std::string>& patterns)
{
    const std::vector<std::string> lines = SplitLines(text);
    ASSERT_EQ(lines.size(), patterns.size()) << text;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        EXPECT_TRUE(LineMatches(lines[k], patterns[k])) << "line " << k << ": \"" << lines[k] << "\" against \""
                                                        << patterns[k] << "\"";
    }
}

// The heading, "\n\nWARNING: <warning>\n\n\n", then the separator.
inline std::string WarningBlock(const std::string& heading, const std::string& warning)
{
    return heading + "\n\n\n\nWARNING: " + warning + "\n\n\n" + kSeparator + "\n\n";
}

// Degenerate samples run end to end through talver-batch with every output on,
// for each dispersion matrix and extraction method: every run ends within its
// time limit, with a report or a message that says why not, and no report
// shows a value that is not a number.

#include "batch_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <functional>
#include <future>
#include <stdexcept>
#include <string>
#include <vector>


namespace {

using Scores = std::vector<std::vector<double>>;

// Pseudo-random numbers of their own, so the data do not depend on the library.
class Draws {
public:
    explicit Draws(unsigned seed) : state_(seed) {}
    double Uniform()
    {
        state_ = state_ * 1103515245u + 12345u;
        return ((state_ >> 16) & 0x7FFF) / 32768.0;
    }
    // Roughly standard normal: the centred sum of six uniforms, rescaled.
    double Normal()
    {
        double sum = 0.0;
        for (int k = 0; k < 6; ++k) {
            sum += Uniform();
        }
        return (sum - 3.0) * 1.4142135623730951;
    }

private:
    unsigned state_;
};

// Scores 1 to 3 of two factors: odd items load on the first, even items on
// the second, so every dispersion matrix has a clear two-factor structure.
Scores FactorScores(int rows, int items, unsigned seed)
{
    Draws draws(seed);
    Scores scores(rows, std::vector<double>(items));
    for (auto& row : scores) {
        const double first = draws.Normal();
        const double second = draws.Normal();
        for (int j = 0; j < items; ++j) {
            const double latent = 0.7 * (j % 2 == 0 ? first : second) + 0.5 * draws.Normal();
            row[j] = std::clamp(std::round(0.9 * latent + 2.0), 1.0, 3.0);
        }
    }
    return scores;
}

std::string Text(const Scores& scores)
{
    std::string text;
    for (const auto& row : scores) {
        for (std::size_t j = 0; j < row.size(); ++j) {
            char number[32];
            std::snprintf(number, sizeof number, "%.9g", row[j]);
            text += number;
            text += j + 1 == row.size() ? "\n" : " ";
        }
    }
    return text;
}

Scores Changed(Scores scores, const std::function<void(std::vector<double>&)>& change)
{
    for (auto& row : scores) {
        change(row);
    }
    return scores;
}

Scores FirstRows(const Scores& scores, int rows)
{
    return Scores(scores.begin(), scores.begin() + rows);
}

const Scores kTarget = FactorScores(60, 4, 1);
const Scores kReplication = FactorScores(50, 4, 2);

struct DegenerateCase {
    const char* name;
    Scores target;
    Scores replication;
    // Both samples read from the Target's file.
    bool oneFile = false;
};

std::vector<DegenerateCase> Cases()
{
    const auto constantFirstItem = [](std::vector<double>& row) { row[0] = 2.0; };
    const auto secondItemRepeatsFirst = [](std::vector<double>& row) { row[1] = row[0]; };
    const auto shifted = [](std::vector<double>& row) {
        for (double& value : row) {
            value -= 2.0;
        }
    };
    const auto middleScoreUnused = [](std::vector<double>& row) {
        for (double& value : row) {
            value = value == 2.0 ? 3.0 : value;
        }
    };
    const auto binary = [](std::vector<double>& row) {
        for (double& value : row) {
            value = value >= 2.0 ? 1.0 : 0.0;
        }
    };
    // Item 2 is never 1 where item 1 is 0: an empty cell of their 2 x 2 table.
    const auto binaryWithEmptyCell = [&](std::vector<double>& row) {
        binary(row);
        if (row[0] == 0.0) {
            row[1] = 0.0;
        }
    };
    Scores huge = kTarget;
    huge[0][0] = 1e30;
    huge[1][1] = -1e30;
    const auto firstTwoItems = [](std::vector<double>& row) { row.resize(2); };
    return {
        {"ConstantItemInOneSample", Changed(kTarget, constantFirstItem), kReplication},
        {"ConstantItemInBothSamples", Changed(kTarget, constantFirstItem), Changed(kReplication, constantFirstItem)},
        {"IdenticalItems", Changed(kTarget, secondItemRepeatsFirst), Changed(kReplication, secondItemRepeatsFirst)},
        {"FewerParticipantsThanItems", FactorScores(4, 6, 3), FactorScores(30, 6, 4)},
        {"OneParticipant", FirstRows(kTarget, 1), kReplication},
        {"TwoParticipants", FirstRows(kTarget, 2), kReplication},
        {"OneParticipantInEachSample", FirstRows(kTarget, 1), FirstRows(kReplication, 1)},
        {"HugeScores", huge, kReplication},
        {"NegativeScores", Changed(kTarget, shifted), Changed(kReplication, shifted)},
        {"UnusedMiddleScore", Changed(kTarget, middleScoreUnused), kReplication},
        {"BinaryItemsWithAnEmptyCell", Changed(kTarget, binaryWithEmptyCell), Changed(kReplication, binary)},
        {"IdenticalSamples", kTarget, kTarget, true},
        {"TwoItemsOneFactor", Changed(kTarget, firstTwoItems), Changed(kReplication, firstTwoItems)},
    };
}

struct Combination {
    const char* dispersion;
    const char* method;
};

// ML is not offered with polychoric correlations.
const Combination kCombinations[] = {{"covariance", "uls"}, {"covariance", "pca"}, {"covariance", "ml"},
                                     {"pearson", "uls"},    {"pearson", "pca"},    {"pearson", "ml"},
                                     {"polychoric", "uls"}, {"polychoric", "pca"}};

// Generous for runs that take about a second, yet a hang fails the test.
constexpr int kTimeLimitSeconds = 60;

struct Outcome {
    std::string label;
    BatchRun run;
    std::string report;
    std::string companion;
};

Outcome RunCombination(const DegenerateCase& c, const Combination& combination)
{
    const std::string label = std::string(c.name) + "_" + combination.dispersion + "_" + combination.method;
    ScratchFolder folder("degenerate_" + label);
    folder.Write("target.dat", Text(c.target));
    folder.Write("replica.dat", Text(c.replication));
    const int items = static_cast<int>(c.target[0].size());
    const std::vector<std::string> arguments = {
        "--target-count", std::to_string(c.target.size()), "--replication-count", std::to_string(c.replication.size()),
        "--items",        std::to_string(items),           "--factors",           items > 2 ? "2" : "1",
        "--method",       combination.method,              "--dispersion",        combination.dispersion,
        "--samples",      "500",                           "--json",              "output.json",
        "--replication",  c.oneFile ? "target.dat" : "replica.dat"};
    Outcome outcome{label, RunBatch(folder.Path(""), arguments, "", kTimeLimitSeconds), "", ""};
    outcome.report = ReadFile(folder.Path("output.txt"));
    outcome.companion = ReadFile(folder.Path("output.json"));
    return outcome;
}

// The combinations of one case, two processes at a time.
std::vector<Outcome> RunAll(const DegenerateCase& c)
{
    std::vector<Outcome> outcomes;
    constexpr std::size_t kAtOnce = 2;
    const std::size_t count = std::size(kCombinations);
    for (std::size_t first = 0; first < count; first += kAtOnce) {
        std::vector<std::future<Outcome>> running;
        for (std::size_t k = first; k < std::min(first + kAtOnce, count); ++k) {
            running.push_back(std::async(std::launch::async, RunCombination, std::cref(c), kCombinations[k]));
        }
        for (auto& future : running) {
            outcomes.push_back(future.get());
        }
    }
    return outcomes;
}

// The words of a text that printf writes for values that are not numbers:
// "nan", "-nan", "inf", "-inf", "infinity", in any case.
std::vector<std::string> NonFiniteWords(const std::string& text)
{
    std::vector<std::string> found;
    std::string word;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : ' ';
        if (std::isalpha(static_cast<unsigned char>(c))) {
            word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            continue;
        }
        if (word == "nan" || word == "inf" || word == "infinity") {
            found.push_back(word);
        }
        word.clear();
    }
    return found;
}

const DegenerateCase& Case(const std::string& name)
{
    static const std::vector<DegenerateCase> cases = Cases();
    for (const DegenerateCase& c : cases) {
        if (name == c.name) {
            return c;
        }
    }
    throw std::invalid_argument(name);
}

// What a case must say, in the report or on stderr, for one dispersion matrix
// or for all of them.
struct Expectation {
    const char* caseName;
    const char* dispersion; // nullptr: every one
    const char* text;
    bool onStderr = false;
};

const Expectation kExpectations[] = {
    {"ConstantItemInOneSample", nullptr,
     "WARNING: The dispersion matrix of the Target sample cannot be analysed: item 1 has no variance in that "
     "sample"},
    {"ConstantItemInBothSamples", nullptr, "   1        2.00         2.00           -             -  \n"},
    {"ConstantItemInBothSamples", nullptr,
     "**Significant differences\n\nWARNING: Student's t and Cohen's d cannot be computed for item 1: its scores "
     "do not vary within either sample, so the pooled standard deviation is 0.\n\n---"},
    {"ConstantItemInBothSamples", nullptr,
     "Hotteling's T Square\n\nWARNING: The pooled covariance matrix of the two samples is singular"},
    {"IdenticalItems", nullptr, "Hotteling's T Square\n\nWARNING: The pooled covariance matrix of the two samples "
                                "is singular"},
    {"OneParticipantInEachSample", nullptr,
     "WARNING: Student's t and Cohen's d cannot be computed for items 1, 2, 3 and 4: the two samples together "
     "have 2 participants, and a pooled standard deviation needs at least 3."},
    {"OneParticipantInEachSample", nullptr, "The test needs more participants than items"},
    {"HugeScores", "polychoric",
     "Polychoric correlations cannot be computed: item 1 has the score 1e+30 in row 1 of the Target "
     "sample, outside the whole numbers -2147483648 to 2147483647.\n2 scores of 2 items",
     true},
    {"UnusedMiddleScore", "polychoric",
     "ITEM DISCRIMINATIONS\n\n\n\nWARNING: Polychoric correlations cannot be computed: a score of the declared "
     "range is unused in a sample"},
    {"IdenticalSamples", "covariance", "        0.00          0.00  \n   2     "},
    {"IdenticalSamples", "covariance", "TSQ = 0.000000;"},
    {"IdenticalSamples", "covariance", "  1          1.000         0."},
};

void ExpectWhatTheCaseSays(const char* caseName, const std::string& dispersion, const Outcome& outcome)
{
    for (const Expectation& expected : kExpectations) {
        if (std::string(expected.caseName) != caseName ||
            (expected.dispersion != nullptr && dispersion != expected.dispersion)) {
            continue;
        }
        const std::string& text = expected.onStderr ? outcome.run.errorOutput : outcome.report;
        EXPECT_NE(text.find(expected.text), std::string::npos) << "missing: " << expected.text;
    }
}

class DegenerateDataTest : public ::testing::TestWithParam<const char*> {};

TEST_P(DegenerateDataTest, EveryRunEndsWithAReportOrAReasonAndNoValueThatIsNotANumber)
{
    const std::vector<Outcome> outcomes = RunAll(Case(GetParam()));
    for (std::size_t k = 0; k < outcomes.size(); ++k) {
        const Outcome& outcome = outcomes[k];
        SCOPED_TRACE(outcome.label + "\n" + outcome.run.errorOutput);
        ExpectWhatTheCaseSays(GetParam(), kCombinations[k].dispersion, outcome);
        ASSERT_NE(outcome.run.exitStatus, kTimedOut) << "no end within " << kTimeLimitSeconds << " s";
        if (outcome.run.exitStatus != 0) {
            // Only a refusal with its reason: no crash, no fatal stop of the engine.
            EXPECT_EQ(outcome.run.exitStatus, 2);
            EXPECT_NE(outcome.run.errorOutput.find("cannot"), std::string::npos);
            continue;
        }
        EXPECT_NE(outcome.report.find("TALVER completed\n"), std::string::npos);
        EXPECT_EQ(NonFiniteWords(outcome.report), std::vector<std::string>{}) << outcome.report;
        EXPECT_EQ(NonFiniteWords(outcome.companion), std::vector<std::string>{});
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, DegenerateDataTest,
                         ::testing::Values("ConstantItemInOneSample", "ConstantItemInBothSamples", "IdenticalItems",
                                           "FewerParticipantsThanItems", "OneParticipant", "TwoParticipants",
                                           "OneParticipantInEachSample", "HugeScores", "NegativeScores",
                                           "UnusedMiddleScore", "BinaryItemsWithAnEmptyCell", "IdenticalSamples",
                                           "TwoItemsOneFactor"),
                         [](const ::testing::TestParamInfo<const char*>& info) { return std::string(info.param); });

} // namespace

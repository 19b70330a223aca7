// Messages name the items as the user chose them: by their columns' names
// when the data file has them, by their numbers in plain files; and a score
// that polychoric correlations cannot use is placed at its line of the file,
// whatever rows of other groups or with missing answers came before it (the
// plain files' "row N of the Target sample" is in degenerate_data_test).

#include "batch_support.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

std::vector<std::vector<std::string>> Fields(const std::string& scores)
{
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(scores);
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        rows.emplace_back();
        for (std::string value; fields >> value;) {
            rows.back().push_back(value);
        }
    }
    return rows;
}

// Six items of which q5 is the same for everybody, or q2 repeats q1.
enum class Flaw { ConstantItem, RepeatedItem };

std::vector<std::vector<std::string>> FlawedRows(int rows, int seed, Flaw flaw)
{
    std::vector<std::vector<std::string>> scores = Fields(ScoreText(rows, 6, seed));
    for (std::vector<std::string>& row : scores) {
        if (flaw == Flaw::ConstantItem) {
            row[4] = "3";
        } else {
            row[1] = row[0];
        }
    }
    return scores;
}

// The items as the runs choose them, in an order that is not the file's.
const std::vector<std::string> kChosen = {"q3", "q1", "q5", "q2", "q6", "q4"};

int ColumnOf(const std::string& name)
{
    return name[1] - '1';
}

// The report with each chosen item's quoted name put back as its number in
// the choice, and without the clock and the lines that name the data files.
std::string NumberedAndComparable(std::string report)
{
    for (std::size_t k = 0; k < kChosen.size(); ++k) {
        const std::string quoted = "\"" + kChosen[k] + "\"";
        for (std::size_t at = report.find(quoted); at != std::string::npos; at = report.find(quoted, at)) {
            report.replace(at, quoted.size(), std::to_string(k + 1));
        }
    }
    std::string kept;
    std::istringstream in(WithoutClock(report));
    for (std::string line; std::getline(in, line);) {
        if (line.find("sample data file") == std::string::npos) {
            kept += line + "\n";
        }
    }
    return kept;
}

class ItemNamesTest : public ::testing::TestWithParam<Flaw> {};

// The same samples as one named file and as two plain files of the chosen
// columns give the same report, but for the names in place of the numbers.
TEST_P(ItemNamesTest, WarningsNameWhatThePlainFilesNumber)
{
    ScratchFolder folder(GetParam() == Flaw::ConstantItem ? "names-constant" : "names-repeated");
    const auto target = FlawedRows(120, 1, GetParam());
    const auto replication = FlawedRows(100, 2, GetParam());
    std::string csv = "id,group,q1,q2,q3,q4,q5,q6\n";
    std::string plainTarget;
    std::string plainReplication;
    for (const auto& [rows, group, plain] : {std::tuple{&target, "t", &plainTarget},
                                            std::tuple{&replication, "r", &plainReplication}}) {
        for (const std::vector<std::string>& row : *rows) {
            csv += "7," + std::string(group);
            for (const std::string& score : row) {
                csv += "," + score;
            }
            csv += "\n";
            for (const std::string& name : kChosen) {
                *plain += row[static_cast<std::size_t>(ColumnOf(name))] + " ";
            }
            *plain += "\n";
        }
    }
    folder.Write("data.csv", csv);
    folder.Write("target.dat", plainTarget);
    folder.Write("replica.dat", plainReplication);
    const std::vector<std::string> options = {"--factors", "2", "--samples", "500"};
    std::vector<std::string> named = {"--data",  "data.csv", "--group", "group", "--target-group", "t",
                                      "--replication-group", "r", "--items", "q3,q1,q5,q2,q6,q4", "--output",
                                      "named.txt"};
    std::vector<std::string> plain = {"--target-count", "120", "--replication-count", "100", "--items", "6",
                                      "--output", "plain.txt"};
    named.insert(named.end(), options.begin(), options.end());
    plain.insert(plain.end(), options.begin(), options.end());
    const BatchRun namedRun = RunBatch(folder.Path(""), named, "", 120);
    const BatchRun plainRun = RunBatch(folder.Path(""), plain, "", 120);
    ASSERT_EQ(namedRun.exitStatus, 0) << namedRun.errorOutput;
    ASSERT_EQ(plainRun.exitStatus, 0) << plainRun.errorOutput;
    const std::string namedReport = ReadFile(folder.Path("named.txt"));
    const std::string plainReport = ReadFile(folder.Path("plain.txt"));

    if (GetParam() == Flaw::ConstantItem) {
        for (const std::string warning :
             {"Student's t and Cohen's d cannot be computed for item ",
              "The dispersion matrix of the Target sample cannot be analysed: item "}) {
            EXPECT_NE(namedReport.find(warning + "\"q5\""), std::string::npos) << warning << "\n" << namedReport;
            EXPECT_NE(plainReport.find(warning + "3"), std::string::npos) << warning << "\n" << plainReport;
        }
    } else {
        // Which items end at the bound depends on the data; the repeated
        // pair is among them.
        const std::size_t named = namedReport.find("WARNING: Improper solution (a Heywood case)");
        ASSERT_NE(named, std::string::npos) << namedReport;
        const std::string line = namedReport.substr(named, namedReport.find('\n', named) - named);
        EXPECT_NE(line.find("\"q1\""), std::string::npos) << line;
        EXPECT_NE(line.find("\"q2\""), std::string::npos) << line;
        EXPECT_NE(plainReport.find("WARNING: Improper solution (a Heywood case)"), std::string::npos);
    }
    EXPECT_EQ(NumberedAndComparable(namedReport), NumberedAndComparable(plainReport));
}

INSTANTIATE_TEST_SUITE_P(BothFlaws, ItemNamesTest, ::testing::Values(Flaw::ConstantItem, Flaw::RepeatedItem));

TEST(PolychoricRefusal, NamesTheItemAndTheLineOfTheFile)
{
    ScratchFolder folder("names-polychoric");
    // Rows that move the samples' rows away from the file's lines: a note
    // that spans two lines, rows of another group, rows with a missing answer.
    std::string csv = "id,group,note,q1,q2,q3\n";
    int line = 2;
    const auto scores = Fields(ScoreText(40, 3, 5));
    int badLine = 0;
    for (std::size_t i = 0; i < scores.size(); ++i) {
        const bool target = i % 2 == 0;
        std::string row = std::to_string(i) + "," + (target ? "a" : "b") + ",";
        row += i == 3 ? "\"two\nlines\"" : "";
        std::string q2 = i % 7 == 5 ? "NA" : scores[i][1];
        if (!target && i > 30 && q2 != "NA" && badLine == 0) {
            q2 = "2.5";
            badLine = line;
        }
        csv += row + "," + scores[i][0] + "," + q2 + "," + scores[i][2] + "\n";
        line += i == 3 ? 2 : 1;
        if (i % 5 == 1) {
            csv += "99,other,,1,2,3\n";
            ++line;
        }
    }
    folder.Write("data.csv", csv);
    folder.Write("output.txt", "an earlier report\n");
    const BatchRun run =
        RunBatch(folder.Path(""), {"--data", "data.csv", "--group", "group", "--target-group", "a",
                                   "--replication-group", "b", "--items", "q1-q3", "--dispersion", "polychoric"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.errorOutput.find("Polychoric correlations cannot be computed: item \"q2\" has the score 2.5 in "
                                   "line " + std::to_string(badLine) +
                                   " of data.csv (Replication sample), which is not a whole number."),
              std::string::npos)
        << run.errorOutput;
    EXPECT_EQ(ReadFile(folder.Path("output.txt")), "an earlier report\n");
}

} // namespace

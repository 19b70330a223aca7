// Samples read from files that name their columns (delimited text, SPSS and
// Stata files made with R's haven) give the report of the plain files of the
// complete rows, byte for byte apart from the clock and the lines that name
// the data files; bad input gets a message that says what to fix and leaves
// the earlier report alone.

#include "batch_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

const std::string kFixtures = std::string(TALVER_SOURCE_DIR) + "/tests/batch/fixtures/columns/";

std::vector<std::vector<std::string>> RowsOf(const std::string& plainFile)
{
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(ReadFile(kFixtures + plainFile));
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::vector<std::string> row;
        for (std::string value; fields >> value;) {
            row.push_back(value);
        }
        if (!row.empty()) {
            rows.push_back(row);
        }
    }
    return rows;
}

std::string Joined(const std::vector<std::string>& fields, const std::string& delimiter)
{
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        line += (i ? delimiter : "") + fields[i];
    }
    return line;
}

std::string WithDecimalComma(std::string value)
{
    for (char& c : value) {
        c = c == '.' ? ',' : c;
    }
    return value;
}

// Both samples in one comma-separated file, as a survey platform exports it:
// a byte-order mark, CRLF line ends, quoted names, an id and a group column
// first, incomplete rows between the complete ones.
std::string GroupCsv()
{
    std::string text = "\xEF\xBB\xBF\"id\",\"group\",\"q1\",\"q2\",\"q3\",\"q4\",\"q5\"\r\n";
    const auto target = RowsOf("plain_target.dat");
    const auto replica = RowsOf("plain_replica.dat");
    std::size_t t = 0, r = 0, id = 0;
    while (t < target.size() || r < replica.size()) {
        const bool fromTarget = r >= replica.size() || (t < target.size() && (t + r) % 3 != 0);
        const auto& row = fromTarget ? target[t++] : replica[r++];
        text += std::to_string(++id) + (fromTarget ? ",\"Target group\"," : ",retest,") + Joined(row, ",") + "\r\n";
        if (id == 7) {
            text += "900,\"Target group\",1,,3,4,5\r\n900,retest,NA,1,1,1,1\r\n901,retest,2,2,.,-9,2\r\n";
        }
        if (id == 8) {
            text += "902,other,x,1,1,1,1\r\n";
        }
    }
    return text;
}

// One sample in a semicolon file with decimal commas and its items in
// another order among other columns, rows with missing answers appended.
std::string SemicolonCsv(const std::string& plainFile)
{
    std::string text = "q5;age;q4;q3;q2;q1\n";
    for (const auto& row : RowsOf(plainFile)) {
        text += WithDecimalComma(row[4]) + ";33;" + WithDecimalComma(row[3]) + ";" + WithDecimalComma(row[2]) + ";" +
                WithDecimalComma(row[1]) + ";" + WithDecimalComma(row[0]) + "\n";
    }
    return text + "1;40;2;NA;1;2\n;41;1;1;1;1\n";
}

std::string TabText(const std::string& plainFile)
{
    std::string text = "q1\tq2\tq3\tq4\tq5\n";
    for (const auto& row : RowsOf(plainFile)) {
        text += Joined(row, "\t") + "\n";
    }
    return text;
}

// The report without its clock and without the lines that name the data files.
std::string Comparable(const std::string& report)
{
    std::string kept;
    std::istringstream in(WithoutClock(report));
    for (std::string line; std::getline(in, line);) {
        if (line.find("sample data file") == std::string::npos) {
            kept += line + "\n";
        }
    }
    return kept;
}

class NamedColumnsTest : public ::testing::Test {
protected:
    NamedColumnsTest() : folder_(::testing::UnitTest::GetInstance()->current_test_info()->name())
    {
        folder_.Write("group.csv", GroupCsv());
        folder_.Write("target.csv", SemicolonCsv("plain_target.dat"));
        folder_.Write("replica.csv", SemicolonCsv("plain_replica.dat"));
        folder_.Write("target.tsv", TabText("plain_target.dat"));
        folder_.Write("replica.tsv", TabText("plain_replica.dat"));
    }

    BatchRun Run(std::vector<std::string> arguments)
    {
        for (const char* option : {"--factors", "1", "--samples", "500"}) {
            arguments.push_back(option);
        }
        return RunBatch(folder_.Path(""), arguments);
    }

    std::string Report(const std::string& name) { return ReadFile(folder_.Path(name)); }

    ScratchFolder folder_;
};

TEST_F(NamedColumnsTest, EveryKindOfFileGivesThePlainFilesReport)
{
    BatchRun run = Run({"--target", kFixtures + "plain_target.dat", "--replication", kFixtures + "plain_replica.dat",
                        "--target-count", "60", "--replication-count", "50", "--items", "5", "--output", "plain.txt"});
    ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
    const std::string plain = Comparable(Report("plain.txt"));
    ASSERT_NE(plain.find("ITEM DISCRIMINATIONS"), std::string::npos);

    const std::vector<std::vector<std::string>> sources = {
        {"--data", "group.csv", "--group", "group", "--target-group", "Target group", "--replication-group", "retest",
         "--items", "q1-q5", "--missing", "-9"},
        {"--target", "target.csv", "--replication", "replica.csv", "--items", "q1,q2, q3 ,q4,q5"},
        {"--target", "target.tsv", "--replication", "replica.tsv", "--items", "q1-q3,q4-q5", "--delimiter", "tab"},
        // The SPSS file marks -9 as user-missing itself; its groups are
        // picked by a value and by a value label.
        {"--data", kFixtures + "both.sav", "--group", "group", "--target-group", "1", "--replication-group",
         "replication", "--items", "q1-q5"},
        {"--data", kFixtures + "both.dta", "--group", "group", "--target-group", "target", "--replication-group", "2",
         "--items", "q1-q5", "--missing", "-9"},
        {"--target", kFixtures + "target.sav", "--replication", kFixtures + "replica.dta", "--items", "q1-q5"},
    };
    for (std::vector<std::string> source : sources) {
        source.insert(source.end(), {"--output", "columns.txt"});
        run = Run(source);
        ASSERT_EQ(run.exitStatus, 0) << source[1] << "\n" << run.errorOutput;
        EXPECT_EQ(Comparable(Report("columns.txt")), plain) << source[1];
        EXPECT_NE(run.errorOutput.find("Target sample: 60 complete rows"), std::string::npos) << run.errorOutput;
        EXPECT_NE(run.errorOutput.find("Replication sample: 50 complete rows"), std::string::npos) << run.errorOutput;
    }
}

TEST_F(NamedColumnsTest, JsonNamesTheItemsAndWhatEachSampleLost)
{
    BatchRun run = Run({"--data", "group.csv", "--group", "group", "--target-group", "Target group",
                        "--replication-group", "retest", "--items", "q2,q1,q3-q5", "--missing", "-9", "--json",
                        "out.json", "--no-discriminations", "--no-congruence", "--no-discrepancy"});
    ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
    EXPECT_NE(run.errorOutput.find("Target sample: 60 complete rows; 1 of 61 rows dropped for missing values (q2: 1)"),
              std::string::npos)
        << run.errorOutput;
    EXPECT_NE(run.errorOutput.find("Replication sample: 50 complete rows; 2 of 52 rows dropped for missing values "
                                   "(q1: 1, q3: 1, q4: 1)"),
              std::string::npos)
        << run.errorOutput;
    std::string json = Report("out.json");
    json.erase(std::remove_if(json.begin(), json.end(), [](char c) { return c == ' ' || c == '\n'; }), json.end());
    EXPECT_NE(json.find("\"itemNames\":[\"q2\",\"q1\",\"q3\",\"q4\",\"q5\"]"), std::string::npos) << json;
    EXPECT_NE(json.find("\"target\":{\"rowsRead\":61,\"rowsDropped\":1,\"items\":[{\"item\":\"q2\",\"missing\":1}]}"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"replication\":{\"rowsRead\":52,\"rowsDropped\":2,\"items\":[{\"item\":\"q1\",\"missing\":1}"
                        ",{\"item\":\"q3\",\"missing\":1},{\"item\":\"q4\",\"missing\":1}]}"),
              std::string::npos)
        << json;

    // Plain files name their items by number and say nothing of missing values.
    folder_.Write("t.dat", ScoreText(30, 3, 1));
    folder_.Write("r.dat", ScoreText(30, 3, 2));
    run = Run({"--target", "t.dat", "--replication", "r.dat", "--target-count", "30", "--replication-count", "30",
               "--items", "3", "--json", "plain.json", "--no-discriminations", "--no-congruence", "--no-discrepancy"});
    ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
    json = Report("plain.json");
    json.erase(std::remove_if(json.begin(), json.end(), [](char c) { return c == ' ' || c == '\n'; }), json.end());
    EXPECT_NE(json.find("\"itemNames\":[\"1\",\"2\",\"3\"]"), std::string::npos) << json;
    EXPECT_EQ(json.find("missingValues"), std::string::npos);
}

// One file of wave codes: the Target and Replication waves, a neighbouring
// code that single precision would merge with the Target's, a typo and a
// value with a terminal's control sequence in it.
std::string WaveCsv(int others)
{
    std::string text = "wave,q1,q2,q3\n";
    const std::vector<std::pair<std::string, int>> waves = {
        {"20200104", 30}, {"20200103", others}, {"20200105", 25}, {"Original", 1}, {"x\x1b[2J", 1}};
    unsigned seed = 7;
    for (const auto& [wave, rows] : waves) {
        for (int i = 0; i < rows; ++i) {
            text += wave;
            for (int j = 0; j < 3; ++j) {
                seed = seed * 1103515245u + 12345u;
                text += "," + std::to_string(1 + (seed >> 16) % 5);
            }
            text += "\n";
        }
    }
    return text;
}

TEST_F(NamedColumnsTest, RowsOfOtherGroupsAreCountedByValueAndNeverMerged)
{
    folder_.Write("waves.csv", WaveCsv(4));
    BatchRun run = Run({"--data", "waves.csv", "--group", "wave", "--target-group", "20200104", "--replication-group",
                        "20200105", "--items", "q1-q3", "--json", "waves.json", "--no-discriminations",
                        "--no-congruence", "--no-discrepancy"});
    ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
    EXPECT_NE(run.errorOutput.find("61 rows read: 30 Target (20200104), 25 Replication (20200105), 6 in other "
                                   "groups: 20200103 (4), Original (1), x\\x1b[2J (1)\n"),
              std::string::npos)
        << run.errorOutput;
    EXPECT_EQ(run.errorOutput.find('\x1b'), std::string::npos);
    EXPECT_NE(run.errorOutput.find("Target sample: 30 complete rows"), std::string::npos);
    std::string json = Report("waves.json");
    json.erase(std::remove_if(json.begin(), json.end(), [](char c) { return c == ' ' || c == '\n'; }), json.end());
    EXPECT_NE(json.find("\"groups\":{\"rowsRead\":61,\"targetRows\":30,\"replicationRows\":25,\"otherGroups\":[{"
                        "\"value\":\"20200103\",\"rows\":4},{\"value\":\"Original\",\"rows\":1},{\"value\":\"x\\u001b[2J\","
                        "\"rows\":1}]}"),
              std::string::npos)
        << json;

    // When most rows belong to no sample, the run stops and shows the values.
    folder_.Write("output.txt", "an earlier report\n");
    folder_.Write("shifted.csv", WaveCsv(60));
    run = Run({"--data", "shifted.csv", "--group", "wave", "--target-group", "20200104", "--replication-group",
               "20200105", "--items", "q1-q3"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.errorOutput.find("Only 55 of 117 rows of shifted.csv belong to a sample (30 Target, 25 Replication); "
                                   "62 rows have other values in the group column \"wave\": 20200103 (60), "
                                   "Original (1), x\\x1b[2J (1). Check the group column"),
              std::string::npos)
        << run.errorOutput;
    EXPECT_EQ(Report("output.txt"), "an earlier report\n");
}

TEST_F(NamedColumnsTest, StringGroupsOfSpssFilesAreChosenByLabelOrValue)
{
    for (const auto& [target, replication] : {std::pair{"original", "retest"}, {"o", "retest"}}) {
        const BatchRun run = Run({"--data", kFixtures + "strings.sav", "--group", "group", "--target-group", target,
                                  "--replication-group", replication, "--items", "q1-q3", "--no-discriminations",
                                  "--no-congruence", "--no-discrepancy"});
        ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
        EXPECT_NE(run.errorOutput.find("25 rows read: 10 Target (" + std::string(target) +
                                       "), 10 Replication (retest), 5 in other groups: x (5)"),
                  std::string::npos)
            << run.errorOutput;
    }
}

TEST_F(NamedColumnsTest, BadInputIsRefusedWithWhatToFixAndLosesNothing)
{
    folder_.Write("output.txt", "an earlier report\n");
    folder_.Write("dup.csv", "a,b,a\n1,2,3\n");
    folder_.Write("fake.sav", "q1,q2\n1,2\n");
    folder_.Write("short.csv", "q1,q2\n1,2\n3\n");
    folder_.Write("open.csv", "q1,q2\n1,\"2\n");
    folder_.Write("header.csv", "group,q1,q2\n");
    std::string never = "q1,q2,q3\n";
    for (int i = 0; i < 12; ++i) {
        never += std::to_string(1 + i % 5) + ",NA," + std::to_string(1 + i % 3) + "\n";
    }
    folder_.Write("never.csv", never);
    const std::string group = "group.csv";
    const std::vector<std::string> groupArguments = {"--data", group, "--group", "group", "--target-group",
                                                     "Target group", "--replication-group", "retest"};
    auto withGroup = [&](std::vector<std::string> more) {
        std::vector<std::string> arguments = groupArguments;
        arguments.insert(arguments.end(), more.begin(), more.end());
        return arguments;
    };
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {withGroup({"--items", "q1-q6"}), "There is no column \"q6\" in group.csv. Its columns are: id, group, q1"},
        {withGroup({"--items", "q5-q1"}), "runs backwards"},
        {withGroup({"--items", "q1,q2,q1"}), "\"q1\" is chosen twice"},
        {withGroup({"--items", "group,q1,q2"}), "The group column \"group\" is also chosen as an item"},
        // Without -9 as a missing code the dropped rows hold it as a score,
        // but the text "x" of the row of group "other" is never read.
        {{"--data", group, "--group", "group", "--target-group", "Target group", "--replication-group", "Retest",
          "--items", "q1-q5"},
         "No row of group.csv has the value Retest in the group column \"group\". Its values there are: Target "
         "group (61), retest (52), other (1)."},
        {{"--data", group, "--group", "sex", "--target-group", "1", "--replication-group", "2", "--items", "q1-q5"},
         "There is no group column \"sex\""},
        {{"--data", group, "--group", "group", "--target-group", "other", "--replication-group", "Target group",
          "--items", "q1-q5"},
         "group.csv (group = other), line 13, column \"q1\": \"x\" is not a number"},
        {withGroup({"--items", "q1-q5", "--missing", "1,1.5,2,2.5,3,3.5,4,4.5,5"}),
         "has 0 complete rows after 61 rows with missing"},
        {{"--target", "dup.csv", "--replication", "dup.csv", "--items", "a"}, "names the column \"a\" twice"},
        {{"--target", "fake.sav", "--replication", "fake.sav", "--items", "q1"},
         "fake.sav: the file could not be read as an SPSS file"},
        {{"--target", "short.csv", "--replication", "short.csv", "--items", "q1"},
         "line 3 has 1 fields but the header has 2"},
        {{"--target", "open.csv", "--replication", "open.csv", "--items", "q1"},
         "the quoted field that starts on line 2 is never closed"},
        {{"--data", kFixtures + "both.sav", "--group", "group", "--target-group", "1", "--replication-group", "2",
          "--items", "name,q1"},
         "The item \"name\" is a string variable"},
        {{"--target", "target.csv", "--replication", "replica.tsv", "--items", "q1,age"},
         "There is no column \"age\" in replica.tsv (the Replication sample)"},
        {{"--data", group, "--items", "q1"}, "name the column that tells them apart with --group"},
        {{"--target", "target.csv", "--replication", "replica.csv"}, "Name the item columns with --items"},
        {{"--target", "target.csv", "--replication", "replica.csv", "--items", "q1", "--target-count", "5"},
         "leave out --target-count"},
        {{"--target-count", "5", "--missing", "-9"}, "--missing and --delimiter are for files that name"},
        {{"--data", "header.csv", "--group", "group", "--target-group", "a", "--replication-group", "b", "--items",
          "q1-q2"},
         "header.csv has a header but no rows of data."},
        {{"--target", "never.csv", "--replication", "never.csv", "--items", "q1-q3"},
         "The item \"q2\" is missing in every row of the sample: leave it out of the items"},
        // Half scores cannot be categories of polychoric correlations.
        {withGroup({"--items", "q1-q5", "--missing", "-9", "--dispersion", "polychoric"}),
         "Polychoric correlations cannot be computed: item \"q5\" has the score 2.5 in line 3 of group.csv (Target "
         "sample), which is not a whole number."},
    };
    for (const auto& [arguments, message] : cases) {
        const BatchRun run = Run(arguments);
        EXPECT_EQ(run.exitStatus, 2) << message;
        EXPECT_NE(run.errorOutput.find(message), std::string::npos) << run.errorOutput;
    }
    EXPECT_EQ(Report("output.txt"), "an earlier report\n");
}

} // namespace

// talver-batch --version: the version it names is the one its reports carry,
// and it says which compiler and which kind of build made the program.

#include "batch_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <sys/wait.h>

namespace {

struct Output {
    int exitStatus = -1;
    std::string text;
};

Output RunCapturingStdout(const std::string& command)
{
    Output output;
    FILE* pipe = popen((command + " </dev/null").c_str(), "r");
    if (pipe == nullptr) {
        return output;
    }
    char buffer[512];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        output.text.append(buffer, count);
    }
    const int status = pclose(pipe);
    output.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return output;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST(BatchVersion, NamesTheVersionOfItsReportsTheCompilerAndTheBuild)
{
    const Output version = RunCapturingStdout(std::string(TALVER_BATCH_PATH) + " --version");
    ASSERT_EQ(version.exitStatus, 0);
    const std::vector<std::string> lines = Lines(version.text);
    ASSERT_EQ(lines.size(), 3u) << version.text;
    const std::string prefix = "talver-batch (TALVER) ";
    ASSERT_EQ(lines[0].rfind(prefix, 0), 0u) << lines[0];
    const std::string number = lines[0].substr(prefix.size());
    EXPECT_EQ(lines[1].rfind("Compiler: ", 0), 0u) << lines[1];
    EXPECT_GT(lines[1].size(), std::string("Compiler: ").size());
    for (const std::string& line : lines) {
        EXPECT_NE(line.back(), ' ') << "a blank ends: " << line;
    }
    EXPECT_TRUE(lines[2].rfind("Build: release build (", 0) == 0 || lines[2].rfind("Build: not the release build (", 0) == 0)
        << lines[2];

    // The same number as the report's title block and the JSON companion.
    ScratchFolder folder("version");
    folder.Write("target.dat", ScoreText(20, 4, 1));
    folder.Write("replica.dat", ScoreText(20, 4, 2));
    std::vector<std::string> arguments = EveryOutputOff();
    for (const char* argument : {"--target-count", "20", "--replication-count", "20", "--items", "4",
                                        "--factors", "1", "--json", "output.json"}) {
        arguments.push_back(argument);
    }
    const BatchRun run = RunBatch(folder.Path(""), arguments);
    ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
    EXPECT_NE(ReadFile(folder.Path("output.txt")).find("Release Version " + number + "\n"), std::string::npos);
    EXPECT_NE(ReadFile(folder.Path("output.json")).find("\"version\": \"" + number + "\""), std::string::npos);
}

TEST(BatchVersion, AmongOtherOptionsItStillOnlyPrintsTheVersion)
{
    ScratchFolder folder("version_only");
    const Output version = RunCapturingStdout("cd '" + folder.Path("") + "' && " + TALVER_BATCH_PATH +
                                              " --items 0 --version --output report.txt");
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.text.rfind("talver-batch (TALVER) ", 0), 0u) << version.text;
    EXPECT_FALSE(std::filesystem::exists(folder.Path("report.txt")));
}

} // namespace

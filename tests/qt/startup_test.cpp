// talver as a process: the registration switches end it at once without a
// window, and a start without a display says what to use instead.

#include "batch_support.h"

#include <gtest/gtest.h>

#include <sys/wait.h>


namespace {

struct Start {
    int exitStatus = -1;
    std::string output;
};

// Runs talver without any display, with `environment` added in front.
Start RunWindowProgram(const std::string& arguments, const std::string& environment = "")
{
    ScratchFolder folder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    const std::string output = folder.Path("output.txt");
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + environment + " timeout 20 " +
                                TALVER_WINDOW_PATH + " " + arguments + " >'" + output + "' 2>&1 </dev/null";
    const int status = std::system(command.c_str());
    Start start;
    start.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    start.output = ReadFile(output);
    return start;
}

TEST(WindowProgramStart, RegistrationSwitchesEndAtOnceWithoutADisplay)
{
    for (const char* arguments : {"-RegServer", "/UnregServer", "-regserver", "/unregSERVER", "-Embedding -RegServer"}) {
        const Start start = RunWindowProgram(arguments);
        EXPECT_EQ(start.exitStatus, 0) << arguments;
        EXPECT_EQ(start.output, "") << arguments;
    }
}

TEST(WindowProgramStart, VersionAndHelpNeedNoDisplay)
{
    const Start version = RunWindowProgram("--version");
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.output.rfind("talver (TALVER) ", 0), 0u) << version.output;
    // The same version, compiler and build as the batch program built with it.
    ScratchFolder folder("batch_version");
    const std::string batchOutput = folder.Path("version.txt");
    ASSERT_EQ(std::system((std::string(TALVER_BATCH_PATH) + " --version >'" + batchOutput + "'").c_str()), 0);
    std::string batchVersion = ReadFile(batchOutput);
    ASSERT_EQ(batchVersion.rfind("talver-batch ", 0), 0u) << batchVersion;
    EXPECT_EQ(version.output, "talver " + batchVersion.substr(std::string("talver-batch ").size()));

    const Start help = RunWindowProgram("-platform offscreen --help");
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.output.rfind("Usage: talver ", 0), 0u) << help.output;
    EXPECT_NE(help.output.find("talver-batch"), std::string::npos) << help.output;
}

TEST(WindowProgramStart, WithoutADisplayItPointsToTheBatchProgram)
{
    // A switch that is not the last thing on the line is no switch.
    for (const char* arguments : {"", "-RegServer now"}) {
        const Start start = RunWindowProgram(arguments);
        EXPECT_EQ(start.exitStatus, 2) << arguments;
        EXPECT_NE(start.output.find("no graphical display"), std::string::npos) << start.output;
        EXPECT_NE(start.output.find("talver-batch"), std::string::npos) << start.output;
    }
}

TEST(WindowProgramStart, ADisplayThatCannotBeOpenedEndsWithTheSameAdvice)
{
    const Start start = RunWindowProgram("", "DISPLAY=:93");
    EXPECT_EQ(start.exitStatus, 2) << start.output;
    EXPECT_NE(start.output.find("talver-batch"), std::string::npos) << start.output;
}

} // namespace

// The registration switches: found only as the last thing on the command line,
// after '-' or '/', in any case.

#include "app/StartupSwitches.h"

#include <gtest/gtest.h>

using namespace talver;

namespace {

TEST(StartupSwitches, EitherLeadCharacterAndAnyCase)
{
    EXPECT_EQ(FindStartupSwitch("-RegServer"), StartupSwitch::RegServer);
    EXPECT_EQ(FindStartupSwitch("/regserver"), StartupSwitch::RegServer);
    EXPECT_EQ(FindStartupSwitch("/UnregServer"), StartupSwitch::UnregServer);
    EXPECT_EQ(FindStartupSwitch("-UNREGSERVER"), StartupSwitch::UnregServer);
}

TEST(StartupSwitches, OnlyTheLastThingOnTheLineCounts)
{
    EXPECT_EQ(FindStartupSwitch("-RegServer extra"), StartupSwitch::None);
    EXPECT_EQ(FindStartupSwitch("-RegServer "), StartupSwitch::None);
    EXPECT_EQ(FindStartupSwitch("-UnregServer -RegServer"), StartupSwitch::RegServer);
    EXPECT_EQ(FindStartupSwitch("-RegServer /UnregServer"), StartupSwitch::UnregServer);
    // Text before the switch is scanned past, slashes of paths included.
    EXPECT_EQ(FindStartupSwitch("/tmp/data -Embedding /RegServer"), StartupSwitch::RegServer);
    EXPECT_EQ(FindStartupSwitch("--regserver"), StartupSwitch::RegServer);
}

TEST(StartupSwitches, OtherTextIsNoSwitch)
{
    EXPECT_EQ(FindStartupSwitch(""), StartupSwitch::None);
    EXPECT_EQ(FindStartupSwitch("RegServer"), StartupSwitch::None);
    EXPECT_EQ(FindStartupSwitch("-"), StartupSwitch::None);
    EXPECT_EQ(FindStartupSwitch("-RegServe"), StartupSwitch::None);
    EXPECT_EQ(FindStartupSwitch("-Reg Server"), StartupSwitch::None);
    EXPECT_EQ(FindStartupSwitch("-Unreg"), StartupSwitch::None);
    EXPECT_EQ(FindStartupSwitch("-Embedding"), StartupSwitch::None);
}

TEST(StartupSwitches, ArgumentsAreJoinedByBlanks)
{
    const char* const none[] = {"talver"};
    EXPECT_EQ(CommandLineAfterProgram(1, none), "");
    const char* const two[] = {"talver", "-platform", "-RegServer"};
    EXPECT_EQ(CommandLineAfterProgram(3, two), "-platform -RegServer");
    EXPECT_EQ(FindStartupSwitch(CommandLineAfterProgram(3, two)), StartupSwitch::RegServer);
    // An argument with a blank in it reads like two on the line.
    const char* const spaced[] = {"talver", "-Reg Server"};
    EXPECT_EQ(FindStartupSwitch(CommandLineAfterProgram(2, spaced)), StartupSwitch::None);
}

} // namespace

#pragma once
// Runs talver-batch as a whole process on files made by the test.

#include <string>
#include <vector>

struct BatchRun {
    int exitStatus = -1;
    std::string errorOutput;
    std::string output;
};

// A fresh folder for one test, removed with the object.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name);
    ~ScratchFolder();
    std::string Path(const std::string& file) const;
    std::string Write(const std::string& file, const std::string& text) const;

private:
    std::string folder_;
};

// Runs the batch program with these arguments in `folder`; `environment` adds
// NAME=VALUE entries in front of the command. With a time limit the program is
// stopped after that many seconds, and the exit status is then 124.
BatchRun RunBatch(const std::string& folder, const std::vector<std::string>& arguments,
                  const std::string& environment = "", int timeLimitSeconds = 0);

// The exit status of a run stopped at its time limit.
inline constexpr int kTimedOut = 124;

// Starts the batch program in `folder` without waiting for it, its stderr
// going to `errorFile` there and its stdout to nothing. Returns its process id.
int StartBatch(const std::string& folder, const std::vector<std::string>& arguments, const std::string& errorFile);
// Waits for a started run and returns its wait status.
int WaitBatch(int processId);

std::string ReadFile(const std::string& path);

// A report with its two clock lines replaced by fixed text and the computing
// time blanked, so two runs can be compared byte for byte.
std::string WithoutClock(const std::string& report);

// Rows x items whitespace-separated scores cycling through 1..5.
std::string ScoreText(int rows, int items, int seed);

// The arguments that select every output off.
std::vector<std::string> EveryOutputOff();

#include "batch_support.h"

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>


namespace {

std::string Quoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

} // namespace

ScratchFolder::ScratchFolder(const std::string& name)
{
    folder_ = (std::filesystem::temp_directory_path() /
               ("talver_" + name + "_" + std::to_string(getpid())))
                  .string();
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::permissions(folder_, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(folder_, ignored);
}

std::string ScratchFolder::Path(const std::string& file) const
{
    return folder_ + "/" + file;
}

std::string ScratchFolder::Write(const std::string& file, const std::string& text) const
{
    std::ofstream(Path(file), std::ios::binary) << text;
    return Path(file);
}

BatchRun RunBatch(const std::string& folder, const std::vector<std::string>& arguments,
                  const std::string& environment, int timeLimitSeconds)
{
    const std::string errors = folder + "/stderr.txt";
    const std::string limit =
        timeLimitSeconds > 0 ? "timeout -k 5 " + std::to_string(timeLimitSeconds) + " " : std::string();
    std::string command =
        "cd " + Quoted(folder) + " && " + environment + " " + limit + Quoted(TALVER_BATCH_PATH);
    for (const std::string& argument : arguments) {
        command += " " + Quoted(argument);
    }
    const std::string output = folder + "/stdout.txt";
    command += " >" + Quoted(output) + " 2>" + Quoted(errors) + " </dev/null";
    const int status = std::system(command.c_str());
    BatchRun run;
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.errorOutput = ReadFile(errors);
    run.output = ReadFile(output);
    return run;
}

int StartBatch(const std::string& folder, const std::vector<std::string>& arguments, const std::string& errorFile)
{
    std::vector<std::string> argv = {TALVER_BATCH_PATH};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers;
    for (std::string& argument : argv) {
        pointers.push_back(argument.data());
    }
    pointers.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const int errors = open((folder + "/" + errorFile).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int nothing = open("/dev/null", O_RDWR);
        if (chdir(folder.c_str()) != 0 || errors < 0 || nothing < 0) {
            _exit(127);
        }
        dup2(nothing, 0);
        dup2(nothing, 1);
        dup2(errors, 2);
        execv(pointers[0], pointers.data());
        _exit(127);
    }
    return child;
}

int WaitBatch(int processId)
{
    int status = 0;
    waitpid(processId, &status, 0);
    return status;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

namespace {

// The text after `label`, up to its line end, replaced by a dash wherever the
// label stands.
std::string Blanked(std::string text, const std::string& label)
{
    for (std::size_t at = text.find(label); at != std::string::npos; at = text.find(label, at + 1)) {
        const std::size_t from = at + label.size();
        const std::size_t lineEnd = text.find('\n', from);
        text.replace(from, (lineEnd == std::string::npos ? text.size() : lineEnd) - from, "-");
    }
    return text;
}

} // namespace

std::string WithoutClock(const std::string& report)
{
    return Blanked(Blanked(Blanked(report, "Date: "), "Time: "), "Computing time: ");
}

std::string ScoreText(int rows, int items, int seed)
{
    std::string text;
    unsigned state = static_cast<unsigned>(seed);
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < items; ++j) {
            state = state * 1103515245u + 12345u;
            text += std::to_string(1 + (state >> 16) % 5);
            text += j + 1 == items ? "\n" : " ";
        }
    }
    return text;
}

std::vector<std::string> EveryOutputOff()
{
    return {"--no-difficulties", "--no-discriminations", "--no-residual-variances",
            "--no-difficulty-fit", "--no-congruence",      "--no-discrepancy"};
}

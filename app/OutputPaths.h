#pragma once
// The checks an output path passes before a run computes anything: it names
// no input file and no other output (also through a symbolic link, a hard
// link or another spelling of the path), and it is a regular file or not
// there yet, never a folder, a FIFO or a device.

#include <optional>
#include <string>
#include <vector>

namespace talver {

struct NamedPath {
    std::string path;
    // How messages call the file: "report file", "Target sample data file" ...
    std::string role;
    // An output that must be written; an optional one is none when empty.
    bool required = false;
};

// The first problem of `outputs`, as a message that says what to do, or
// nothing when every output path may be written.
std::optional<std::string> OutputPathProblem(const std::vector<NamedPath>& outputs,
                                             const std::vector<NamedPath>& inputs);

// Whether two paths name the same file, existing or not.
bool SameFile(const std::string& a, const std::string& b);

} // namespace talver

#include "app/OutputPaths.h"

#include "data/DataFileKind.h"
#include "data/FilePath.h"
#include "platform/FileAccess.h"

#include <filesystem>

namespace talver {

namespace fs = std::filesystem;

namespace {

std::string Quoted(const std::string& path)
{
    return "\"" + path + "\"";
}

} // namespace

bool SameFile(const std::string& aName, const std::string& bName)
{
    const fs::path a = FilePath(aName);
    const fs::path b = FilePath(bName);
    std::error_code error;
    if (fs::exists(a, error) && fs::exists(b, error)) {
        const bool same = fs::equivalent(a, b, error);
        return !error && same;
    }
    // A file that is not there yet is the same as another only by its name,
    // once both are made absolute and their links and dots resolved.
    const fs::path first = fs::weakly_canonical(fs::absolute(a, error), error);
    const fs::path second = fs::weakly_canonical(fs::absolute(b, error), error);
    return first == second;
}

std::optional<std::string> OutputPathProblem(const std::vector<NamedPath>& outputs,
                                             const std::vector<NamedPath>& inputs)
{
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        const NamedPath& output = outputs[i];
        if (output.path.empty()) {
            if (output.required) {
                return "No name was given for the " + output.role + ". Choose the name of a file to write.";
            }
            continue;
        }
        for (const NamedPath& input : inputs) {
            if (SameFile(output.path, input.path)) {
                return "The " + output.role + " " + Quoted(output.path) + " is the " + input.role + " " +
                       Quoted(input.path) + ": writing it would destroy the data. Choose another name for the " +
                       output.role + ".";
            }
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (!outputs[j].path.empty() && SameFile(output.path, outputs[j].path)) {
                return "The " + outputs[j].role + " and the " + output.role + " are the same file " +
                       Quoted(output.path) + ": one would replace the other. Choose two different names.";
            }
        }
        const std::string kind = NonRegularKind(output.path);
        if (!kind.empty()) {
            return "The " + output.role + " " + Quoted(output.path) + " is " + kind +
                   ", not a regular file. Choose the name of a file to write.";
        }
        std::error_code error;
        if (fs::exists(FilePath(output.path), error) && !MayWriteFile(output.path)) {
            return "The " + output.role + " " + Quoted(output.path) +
                   " is read-only and is kept as it is. Allow writing to it or choose another name.";
        }
    }
    return std::nullopt;
}

} // namespace talver

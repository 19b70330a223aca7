#include "data/RegularFile.h"

#include "data/FilePath.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace talver {

DataReadResult OpenRegularFile(const std::string& path, std::ifstream& file)
{
    const std::filesystem::path name = FilePath(path);
    std::error_code error;
    // A pipe or a device would block the reading or never end.
    if (!std::filesystem::exists(name, error)) {
        return {false, path + ": no such file. Check its name and folder."};
    }
    if (!std::filesystem::is_regular_file(name, error)) {
        return {false, path + ": not a regular file that can be read. Choose the data file itself."};
    }
    file.open(name, std::ios::binary);
    if (!file) {
        return {false, path + ": the file could not be opened (" + std::strerror(errno) + ")."};
    }
    return {true, ""};
}

} // namespace talver

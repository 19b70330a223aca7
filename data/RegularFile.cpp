#include "data/RegularFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace talver {

DataReadResult OpenRegularFile(const std::string& path, std::FILE*& file)
{
    file = nullptr;
    std::error_code error;
    // A pipe or a device would block the reading or never end.
    if (!std::filesystem::exists(path, error)) {
        return {false, path + ": no such file. Check its name and folder."};
    }
    if (!std::filesystem::is_regular_file(path, error)) {
        return {false, path + ": not a regular file that can be read. Choose the data file itself."};
    }
    file = std::fopen(path.c_str(), "rb");
    if (!file) {
        return {false, path + ": the file could not be opened (" + std::strerror(errno) + ")."};
    }
    return {true, ""};
}

} // namespace talver

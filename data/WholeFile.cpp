#include "data/WholeFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace talver {

DataReadResult ReadWholeFile(const std::string& path, std::string& text)
{
    std::error_code error;
    // A pipe or a device would block the reading or never end.
    if (!std::filesystem::exists(path, error)) {
        return {false, path + ": no such file. Check its name and folder."};
    }
    if (!std::filesystem::is_regular_file(path, error)) {
        return {false, path + ": not a regular file that can be read. Choose the data file itself."};
    }
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (!in) {
        return {false, path + ": the file could not be opened (" + std::strerror(errno) + ")."};
    }
    text.clear();
    char buffer[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
        text.append(buffer, got);
    }
    const bool failed = std::ferror(in) != 0;
    std::fclose(in);
    if (failed) {
        return {false, path + ": the file could not be read to its end."};
    }
    return {true, ""};
}

} // namespace talver

#pragma once
// File names are UTF-8 text throughout the program, on every system. A
// std::filesystem::path made from a narrow string reads it in the system's
// narrow encoding instead, which on Windows is a legacy code page: a name
// outside ASCII would name another file, or none. Every path handed to the
// file system is made here, and every path shown is turned back here.

#include <filesystem>
#include <string>

namespace talver {

std::filesystem::path FilePath(const std::string& utf8);
std::string Utf8Name(const std::filesystem::path& path);

} // namespace talver

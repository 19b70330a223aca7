#pragma once
// Whole files read and written as bytes, for the targets that run the
// command line on files of their own.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

inline std::string ReadFileText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteFileText(const std::filesystem::path& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

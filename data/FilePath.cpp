#include "data/FilePath.h"

namespace talver {

// Text of char8_t is UTF-8 by definition: the standard library keeps it as it
// is where paths are narrow and converts it to UTF-16 where they are wide.
std::filesystem::path FilePath(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Name(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace talver

#include "data/WideEncoding.h"

namespace talver {

std::string WideEncodingOf(std::string_view start)
{
    // UTF-32 first: its little-endian mark begins with UTF-16's.
    if (start.substr(0, 4) == std::string_view("\xFF\xFE\0\0", 4)) {
        return "UTF-32 (little-endian)";
    }
    if (start.substr(0, 4) == std::string_view("\0\0\xFE\xFF", 4)) {
        return "UTF-32 (big-endian)";
    }
    if (start.substr(0, 2) == "\xFF\xFE") {
        return "UTF-16 (little-endian)";
    }
    if (start.substr(0, 2) == "\xFE\xFF") {
        return "UTF-16 (big-endian)";
    }
    // Without a mark: the first character is ASCII (a digit, a letter, a
    // quote), so its code unit holds one byte below 0x80 and NULs.
    const auto ascii = [&](std::size_t k) {
        return k < start.size() && start[k] != '\0' && static_cast<unsigned char>(start[k]) < 0x80;
    };
    const auto nul = [&](std::size_t k) { return k < start.size() && start[k] == '\0'; };
    if (ascii(0) && nul(1) && nul(2) && nul(3)) {
        return "UTF-32 (little-endian)";
    }
    if (nul(0) && nul(1) && nul(2) && ascii(3)) {
        return "UTF-32 (big-endian)";
    }
    if (ascii(0) && nul(1)) {
        return "UTF-16 (little-endian)";
    }
    if (nul(0) && ascii(1)) {
        return "UTF-16 (big-endian)";
    }
    return "";
}

} // namespace talver

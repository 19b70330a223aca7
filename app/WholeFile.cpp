#include "app/WholeFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace talver {

bool WriteWholeFile(const std::string& path, const std::string& text, std::string& reason)
{
    const std::string temporary = path + ".part" + std::to_string(static_cast<long>(getpid()));
    std::FILE* out = std::fopen(temporary.c_str(), "wb");
    if (!out) {
        reason = std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    const int writeError = errno;
    const bool closed = std::fclose(out) == 0;
    if (!written || !closed) {
        reason = std::strerror(written ? errno : writeError);
        std::remove(temporary.c_str());
        return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        reason = std::strerror(errno);
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace talver

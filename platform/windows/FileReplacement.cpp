#include "platform/FileReplacement.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include "platform/windows/SystemMessage.h"

#include <windows.h>

namespace talver {

std::FILE* CreateUniqueFile(std::string& pattern, const std::string&, std::string& error)
{
    // The Xs become six letters and digits from the process, the time and a
    // count; creating with _O_EXCL fails on a name taken, and the next count
    // is tried.
    static const char symbols[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    const std::size_t start = pattern.size() - 6;
    unsigned long long seed = (static_cast<unsigned long long>(GetCurrentProcessId()) << 32) ^ GetTickCount64();
    for (int attempt = 0; attempt < 1000; ++attempt) {
        unsigned long long value = seed + static_cast<unsigned long long>(attempt) * 0x9E3779B97F4A7C15ull;
        for (std::size_t k = 0; k < 6; ++k) {
            pattern[start + k] = symbols[value % 36];
            value /= 36;
        }
        int descriptor = -1;
        // Binary: the file holds the bytes written, "\n" line ends included.
        const errno_t opened = _sopen_s(&descriptor, pattern.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY,
                                        _SH_DENYNO, _S_IREAD | _S_IWRITE);
        if (opened == EEXIST) {
            continue;
        }
        if (opened != 0) {
            error = std::strerror(opened);
            return nullptr;
        }
        std::FILE* stream = _fdopen(descriptor, "wb");
        if (!stream) {
            error = std::strerror(errno);
            _close(descriptor);
            _unlink(pattern.c_str());
            return nullptr;
        }
        return stream;
    }
    error = "no free name for a temporary file";
    return nullptr;
}

bool WriteThrough(std::FILE* stream, std::string& error)
{
    if (std::fflush(stream) != 0 || std::ferror(stream) != 0) {
        error = std::strerror(errno != 0 ? errno : EIO);
        return false;
    }
    if (_commit(_fileno(stream)) != 0) {
        error = std::strerror(errno);
        return false;
    }
    return true;
}

bool ReplaceFileWith(const std::string& from, const std::string& to, std::string& error)
{
    // rename() refuses an existing target on Windows; this replaces it in one
    // step and returns once the change is on the disk.
    if (!MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = SystemMessage(GetLastError());
        return false;
    }
    return true;
}

void RemoveFileNow(const char* path) noexcept
{
    DeleteFileA(path);
}

} // namespace talver

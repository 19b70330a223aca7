#include "platform/FileReplacement.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace talver {

namespace {

// The permissions a new file gets from fopen: 0666 less the umask. The umask
// can only be read by setting it, so it is set back at once.
mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

std::FILE* CreateUniqueFile(std::string& pattern, const std::string& permissionsOf, std::string& error)
{
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int descriptor = ::mkstemp(buffer.data());
    if (descriptor < 0) {
        error = std::strerror(errno);
        return nullptr;
    }
    pattern = buffer.data();
    // An existing file keeps its permissions; a new one gets those fopen gives.
    struct stat existing {};
    const mode_t mode = ::stat(permissionsOf.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : NewFileMode();
    ::fchmod(descriptor, mode);
    std::FILE* stream = ::fdopen(descriptor, "w");
    if (!stream) {
        error = std::strerror(errno);
        ::close(descriptor);
        ::unlink(pattern.c_str());
        return nullptr;
    }
    return stream;
}

bool WriteThrough(std::FILE* stream, std::string& error)
{
    if (std::fflush(stream) != 0 || std::ferror(stream) != 0) {
        error = std::strerror(errno != 0 ? errno : EIO);
        return false;
    }
    if (::fsync(::fileno(stream)) != 0) {
        error = std::strerror(errno);
        return false;
    }
    return true;
}

bool ReplaceFileWith(const std::string& from, const std::string& to, std::string& error)
{
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        error = std::strerror(errno);
        return false;
    }
    return true;
}

void RemoveFileNow(const char* path) noexcept
{
    ::unlink(path);
}

} // namespace talver

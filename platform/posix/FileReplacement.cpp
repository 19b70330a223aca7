#include "platform/FileReplacement.h"

#include <cerrno>
#include <charconv>
#include <signal.h>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>
#include <sys/file.h>
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

// When process `owner` started, in seconds after the epoch, or -1 when that
// cannot be told.
long long ProcessStart(pid_t owner)
{
#if defined(__linux__)
    std::ifstream statFile("/proc/" + std::to_string(owner) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
    // The command name (field 2, in parentheses) may hold anything, so the
    // fields are counted from its end: field 22 is the start, in clock ticks
    // after the boot.
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) {
        return -1;
    }
    std::istringstream fields(stat.substr(close + 1));
    std::string field;
    for (int k = 3; k <= 22; ++k) {
        if (!(fields >> field)) {
            return -1;
        }
    }
    long long startTicks = 0;
    if (std::from_chars(field.data(), field.data() + field.size(), startTicks).ec != std::errc()) {
        return -1;
    }
    std::ifstream systemFile("/proc/stat");
    std::string line;
    while (std::getline(systemFile, line)) {
        long long boot = 0;
        const long ticks = ::sysconf(_SC_CLK_TCK);
        if (line.rfind("btime ", 0) == 0 && ticks > 0 &&
            std::from_chars(line.data() + 6, line.data() + line.size(), boot).ec == std::errc()) {
            return boot + startTicks / ticks;
        }
    }
    return -1;
#else
    (void)owner;
    return -1;
#endif
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

std::vector<std::string> PlainFilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* listing = ::opendir(folder.c_str());
    if (!listing) {
        return names;
    }
    while (const dirent* entry = ::readdir(listing)) {
        struct stat status {};
        const std::string path = folder + "/" + entry->d_name;
        if (::lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
            names.emplace_back(entry->d_name);
        }
    }
    ::closedir(listing);
    return names;
}

long long CurrentProcessId()
{
    return ::getpid();
}

bool LeftByEndedProcess(long long owner, const std::string& path)
{
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) {
        return false;
    }
    // No process can have an id beyond those of pid_t.
    if (owner <= 0 || owner > std::numeric_limits<pid_t>::max()) {
        return true;
    }
    const pid_t process = static_cast<pid_t>(owner);
    if (::kill(process, 0) != 0) {
        return errno == ESRCH;
    }
    const long long started = ProcessStart(process);
    // The start is known to the second; the file is written after it.
    return started >= 0 && started > static_cast<long long>(status.st_mtime) + 1;
}

FolderLock::FolderLock(const std::string& folder)
    : handle_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
{
    if (handle_ >= 0) {
        while (::flock(static_cast<int>(handle_), LOCK_EX) != 0 && errno == EINTR) {
        }
    }
}

FolderLock::~FolderLock()
{
    if (handle_ >= 0) {
        ::close(static_cast<int>(handle_));
    }
}

} // namespace talver

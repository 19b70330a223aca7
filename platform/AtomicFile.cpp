#include "platform/AtomicFile.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <iterator>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace talver {

namespace {

// The temporary paths of the open files, readable from a signal handler: a
// slot's path is complete before it is marked used.
struct TemporarySlot {
    volatile std::sig_atomic_t used = 0;
    char path[PATH_MAX] = {};
};
TemporarySlot temporarySlots[16];

// A temporary name is "." + the file's name + ".tmp-" + process id + "-" and
// six characters from mkstemp. The name is cut to this many bytes so that the
// whole stays within the 255 bytes that file systems allow a name.
constexpr std::size_t kNameBytesKept = 255 - 1 - 5 - 10 - 1 - 6;
constexpr const char* kTemporaryMark = ".tmp-";

// Links followed to find the file a path names, as the system does at most.
constexpr int kLinkHops = 40;

int Register(const std::string& path)
{
    if (path.size() >= PATH_MAX) {
        return -1;
    }
    for (int k = 0; k < static_cast<int>(std::size(temporarySlots)); ++k) {
        if (temporarySlots[k].used == 0) {
            std::memcpy(temporarySlots[k].path, path.c_str(), path.size() + 1);
            temporarySlots[k].used = 1;
            return k;
        }
    }
    return -1;
}

void Unregister(int& slot)
{
    if (slot >= 0) {
        temporarySlots[slot].used = 0;
        slot = -1;
    }
}

std::string Reason(int error)
{
    return std::strerror(error);
}

// The permissions a new file gets from fopen: 0666 less the umask. The umask
// can only be read by setting it, so it is set back at once.
mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The file that writing to `path` writes: the path itself, or what its chain
// of symbolic links names, even when that file does not exist yet (as a
// shell's redirection creates it).
std::string WrittenFile(const std::string& path)
{
    std::filesystem::path file(path);
    std::error_code error;
    for (int hop = 0; hop < kLinkHops && std::filesystem::is_symlink(file, error); ++hop) {
        const std::filesystem::path target = std::filesystem::read_symlink(file, error);
        if (error) {
            break;
        }
        file = target.is_absolute() ? target : file.parent_path() / target;
    }
    return file.string();
}

// The beginning of `name` that a temporary name keeps, cut at the start of a
// UTF-8 character.
std::string KeptName(const std::string& name)
{
    if (name.size() <= kNameBytesKept) {
        return name;
    }
    std::size_t end = kNameBytesKept;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) {
        --end;
    }
    return name.substr(0, end);
}

// The process id in a temporary name of `stem` ("." + kept name + ".tmp-"),
// or 0 when the name is no such temporary.
long TemporaryOwner(const std::string& entry, const std::string& stem)
{
    // After the stem: the process id, "-" and the six characters of mkstemp.
    if (entry.size() < stem.size() + 8 || entry.compare(0, stem.size(), stem) != 0 ||
        entry[entry.size() - 7] != '-') {
        return 0;
    }
    long owner = 0;
    const char* first = entry.data() + stem.size();
    const char* last = entry.data() + entry.size() - 7;
    const std::from_chars_result parsed = std::from_chars(first, last, owner);
    return parsed.ptr == last && parsed.ec == std::errc() && owner > 0 ? owner : 0;
}

// When process `owner` started, in seconds after the epoch, or -1 when that
// cannot be told.
long long ProcessStart(long owner)
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

// Whether a temporary file made by process `owner` and last written at
// `written` is left over: its process is gone, or started after it was
// written (its id was given to another process since).
bool LeftOver(long owner, long long written)
{
    if (owner == static_cast<long>(::getpid())) {
        return false;
    }
    if (::kill(static_cast<pid_t>(owner), 0) != 0) {
        return errno == ESRCH;
    }
    const long long started = ProcessStart(owner);
    // The start is known to the second; the file is written after it.
    return started >= 0 && started > written + 1;
}

// Removes the temporary files that processes which are gone left beside
// `file` (see LeftOver).
void RemoveStaleTemporaries(const std::filesystem::path& file)
{
    const std::filesystem::path folder = file.parent_path().empty() ? "." : file.parent_path();
    const std::string stem = "." + KeptName(file.filename().string()) + kTemporaryMark;
    DIR* listing = ::opendir(folder.c_str());
    if (!listing) {
        return;
    }
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        const long owner = TemporaryOwner(name, stem);
        struct stat status {};
        const std::string path = (folder / name).string();
        if (owner != 0 && ::lstat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
            LeftOver(owner, static_cast<long long>(status.st_mtime))) {
            ::unlink(path.c_str());
        }
    }
    ::closedir(listing);
}

// Holds an exclusive lock on a folder for its lifetime; none when the file
// system does not lock folders, as the renames still work without it.
class FolderLock {
public:
    explicit FolderLock(const std::filesystem::path& folder)
        : descriptor_(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        if (descriptor_ >= 0) {
            while (::flock(descriptor_, LOCK_EX) != 0 && errno == EINTR) {
            }
        }
    }
    ~FolderLock()
    {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
    }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int descriptor_;
};

} // namespace

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {}

AtomicFile::~AtomicFile()
{
    Discard();
}

bool AtomicFile::Open(std::string& error)
{
    Discard();
    // Writing through a symbolic link replaces the file it names, as writing
    // into it would, and leaves the link in place.
    finalPath_ = WrittenFile(path_);
    const std::filesystem::path final(finalPath_);
    RemoveStaleTemporaries(final);
    const std::filesystem::path folder = final.parent_path();
    // A hidden name beside the file, unique per run: mkstemp fills the Xs.
    const std::string pattern = (folder.empty() ? std::string() : folder.string() + "/") + "." +
                                KeptName(final.filename().string()) + kTemporaryMark +
                                std::to_string(::getpid()) + "-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int descriptor = ::mkstemp(buffer.data());
    if (descriptor < 0) {
        error = Reason(errno);
        return false;
    }
    temporaryPath_ = buffer.data();
    slot_ = Register(temporaryPath_);
    // An existing file keeps its permissions; a new one gets those fopen gives.
    struct stat existing {};
    const mode_t mode = ::stat(finalPath_.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : NewFileMode();
    ::fchmod(descriptor, mode);
    stream_ = ::fdopen(descriptor, "w");
    if (!stream_) {
        error = Reason(errno);
        ::close(descriptor);
        Discard();
        return false;
    }
    finished_ = false;
    return true;
}

bool AtomicFile::Finish(std::string& error)
{
    if (!stream_) {
        error = "the file was not open";
        return false;
    }
    bool ok = std::fflush(stream_) == 0 && std::ferror(stream_) == 0;
    int failure = ok ? 0 : (errno != 0 ? errno : EIO);
    if (ok && ::fsync(::fileno(stream_)) != 0) {
        ok = false;
        failure = errno;
    }
    const int closed = std::fclose(stream_);
    stream_ = nullptr;
    if (ok && closed != 0) {
        ok = false;
        failure = errno;
    }
    if (!ok) {
        error = Reason(failure);
        Discard();
        return false;
    }
    finished_ = true;
    return true;
}

bool AtomicFile::Replace(std::string& error)
{
    if (!finished_) {
        error = "the file was not complete";
        Discard();
        return false;
    }
    if (std::rename(temporaryPath_.c_str(), finalPath_.c_str()) != 0) {
        error = Reason(errno);
        Discard();
        return false;
    }
    Unregister(slot_);
    temporaryPath_.clear();
    finished_ = false;
    return true;
}

void AtomicFile::Discard()
{
    if (stream_) {
        std::fclose(stream_);
        stream_ = nullptr;
    }
    if (!temporaryPath_.empty()) {
        ::unlink(temporaryPath_.c_str());
        Unregister(slot_);
        temporaryPath_.clear();
    }
    finished_ = false;
}

bool ReplaceTogether(const std::vector<AtomicFile*>& files, std::string& error, const AtomicFile*& failed)
{
    failed = nullptr;
    if (files.empty()) {
        return true;
    }
    const FolderLock lock(std::filesystem::path(files.front()->finalPath_).parent_path());
    for (AtomicFile* file : files) {
        if (failed) {
            file->Discard();
        } else if (!file->Replace(error)) {
            failed = file;
        }
    }
    return failed == nullptr;
}

void RemoveOpenTemporaryFiles() noexcept
{
    for (TemporarySlot& slot : temporarySlots) {
        if (slot.used != 0) {
            ::unlink(slot.path);
        }
    }
}

} // namespace talver

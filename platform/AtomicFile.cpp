#include "platform/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <iterator>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
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

} // namespace

AtomicFile::AtomicFile(std::string path) : path_(std::move(path)) {}

AtomicFile::~AtomicFile()
{
    Discard();
}

bool AtomicFile::Open(std::string& error)
{
    Discard();
    std::error_code ignored;
    finalPath_ = path_;
    // Writing through a symbolic link replaces the file it names, as writing
    // into it would, and leaves the link in place.
    if (std::filesystem::is_symlink(path_, ignored)) {
        const std::filesystem::path resolved = std::filesystem::weakly_canonical(path_, ignored);
        if (!ignored) {
            finalPath_ = resolved.string();
        }
    }
    const std::filesystem::path final(finalPath_);
    std::filesystem::path folder = final.parent_path();
    const std::string name = final.filename().string();
    // A hidden name beside the file, unique per run: mkstemp fills the Xs.
    std::string pattern = (folder.empty() ? std::string() : folder.string() + "/") + "." + name + ".tmp-XXXXXX";
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
    return true;
}

bool AtomicFile::Commit(std::string& error)
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
    if (ok && std::rename(temporaryPath_.c_str(), finalPath_.c_str()) != 0) {
        ok = false;
        failure = errno;
    }
    if (!ok) {
        error = Reason(failure);
        Discard();
        return false;
    }
    Unregister(slot_);
    temporaryPath_.clear();
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

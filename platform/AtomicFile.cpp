#include "platform/AtomicFile.h"

#include "platform/FileReplacement.h"

#include <cerrno>
#include <csignal>
#include <iterator>
#include <cstring>
#include <filesystem>
#include <utility>

namespace talver {

namespace {

// Longer paths are not registered (their files are still removed on every
// way out but a second signal).
constexpr std::size_t kLongestPath = 4096;

// The temporary paths of the open files, readable from a signal handler: a
// slot's path is complete before it is marked used.
struct TemporarySlot {
    volatile std::sig_atomic_t used = 0;
    char path[kLongestPath] = {};
};
TemporarySlot temporarySlots[16];

int Register(const std::string& path)
{
    if (path.size() >= kLongestPath) {
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
    // A hidden name beside the file, unique per run: the Xs are filled in.
    std::string pattern = (folder.empty() ? std::string() : folder.string() + "/") + "." + name + ".tmp-XXXXXX";
    stream_ = CreateUniqueFile(pattern, finalPath_, error);
    if (!stream_) {
        return false;
    }
    temporaryPath_ = pattern;
    slot_ = Register(temporaryPath_);
    return true;
}

bool AtomicFile::Commit(std::string& error)
{
    if (!stream_) {
        error = "the file was not open";
        return false;
    }
    bool ok = WriteThrough(stream_, error);
    const int closed = std::fclose(stream_);
    stream_ = nullptr;
    if (ok && closed != 0) {
        ok = false;
        error = std::strerror(errno);
    }
    if (ok && !ReplaceFileWith(temporaryPath_, finalPath_, error)) {
        ok = false;
    }
    if (!ok) {
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
        RemoveFileNow(temporaryPath_.c_str());
        Unregister(slot_);
        temporaryPath_.clear();
    }
}

void RemoveOpenTemporaryFiles() noexcept
{
    for (TemporarySlot& slot : temporarySlots) {
        if (slot.used != 0) {
            RemoveFileNow(slot.path);
        }
    }
}

} // namespace talver

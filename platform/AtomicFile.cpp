#include "platform/AtomicFile.h"

#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <utility>
#include <vector>

#include "platform/FileReplacement.h"

namespace talver {

namespace {

// The longest temporary path that a stop can remove, in bytes.
constexpr std::size_t kLongestPath = 4096;

// The temporary paths of the open files, readable from a signal handler: a
// slot's path is complete before it is marked used.
struct TemporarySlot {
    volatile std::sig_atomic_t used = 0;
    char path[kLongestPath] = {};
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

// Paths are UTF-8 in this program; the standard library's paths take the
// system's narrow encoding, which on Windows is not, unless told.
std::filesystem::path PathOf(const std::string& utf8)
{
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Of(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// The file that writing to `path` writes: the path itself, or what its chain
// of symbolic links names, even when that file does not exist yet (as a
// shell's redirection creates it).
std::string WrittenFile(const std::string& path)
{
    std::filesystem::path file = PathOf(path);
    std::error_code error;
    for (int hop = 0; hop < kLinkHops && std::filesystem::is_symlink(file, error); ++hop) {
        const std::filesystem::path target = std::filesystem::read_symlink(file, error);
        if (error) {
            break;
        }
        file = target.is_absolute() ? target : file.parent_path() / target;
    }
    return Utf8Of(file);
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
long long TemporaryOwner(const std::string& entry, const std::string& stem)
{
    // After the stem: the process id, "-" and the six characters of mkstemp.
    if (entry.size() < stem.size() + 8 || entry.compare(0, stem.size(), stem) != 0 ||
        entry[entry.size() - 7] != '-') {
        return 0;
    }
    long long owner = 0;
    const char* first = entry.data() + stem.size();
    const char* last = entry.data() + entry.size() - 7;
    const std::from_chars_result parsed = std::from_chars(first, last, owner);
    return parsed.ptr == last && parsed.ec == std::errc() && owner > 0 ? owner : 0;
}

// Removes the temporary files that processes which have ended left beside
// `file`: those of this process may still be open.
void RemoveStaleTemporaries(const std::filesystem::path& file)
{
    const std::string folder = file.parent_path().empty() ? std::string(".") : Utf8Of(file.parent_path());
    const std::string stem = "." + KeptName(Utf8Of(file.filename())) + kTemporaryMark;
    const long long self = CurrentProcessId();
    for (const std::string& name : PlainFilesIn(folder)) {
        const long long owner = TemporaryOwner(name, stem);
        const std::string path = folder + "/" + name;
        if (owner != 0 && owner != self && LeftByEndedProcess(owner, path)) {
            RemoveFileNow(path.c_str());
        }
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
    // Writing through a symbolic link replaces the file it names, as writing
    // into it would, and leaves the link in place.
    finalPath_ = WrittenFile(path_);
    const std::filesystem::path final = PathOf(finalPath_);
    RemoveStaleTemporaries(final);
    const std::filesystem::path folder = final.parent_path();
    // A hidden name beside the file, unique per run: the Xs become a name no
    // file has.
    std::string pattern = (folder.empty() ? std::string() : Utf8Of(folder) + "/") + "." +
                          KeptName(Utf8Of(final.filename())) + kTemporaryMark +
                          std::to_string(CurrentProcessId()) + "-XXXXXX";
    // An existing file keeps its permissions; a new one gets those fopen gives.
    stream_ = CreateUniqueFile(pattern, finalPath_, error);
    if (!stream_) {
        return false;
    }
    temporaryPath_ = pattern;
    slot_ = Register(temporaryPath_);
    finished_ = false;
    return true;
}

bool AtomicFile::Finish(std::string& error)
{
    if (!stream_) {
        error = "the file was not open";
        return false;
    }
    const bool written = WriteThrough(stream_, error);
    const int closed = std::fclose(stream_);
    stream_ = nullptr;
    if (written && closed != 0) {
        error = std::strerror(errno);
    }
    if (!written || closed != 0) {
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
    if (!ReplaceFileWith(temporaryPath_, finalPath_, error)) {
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
        RemoveFileNow(temporaryPath_.c_str());
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
    const std::filesystem::path folder = PathOf(files.front()->finalPath_).parent_path();
    const FolderLock lock(folder.empty() ? std::string(".") : Utf8Of(folder));
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
            RemoveFileNow(slot.path);
        }
    }
}

} // namespace talver

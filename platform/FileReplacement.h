#pragma once
// The calls of the system with which AtomicFile replaces a file: a new file
// of a name no other file has, its data written through to the disk, a
// rename over the old file in one step, a lock that two runs writing into
// one folder share, and what tells a temporary file that a process which has
// ended left behind. Paths are UTF-8 on every system.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace talver {

// Creates a new file named by `pattern`, whose last six characters, XXXXXX,
// become a name no file has yet, and opens it for writing bytes unchanged
// (no line-end translation). The file gets the permissions of the file at
// `permissionsOf` if there is one, else those of any new file. Returns the
// stream with the name made in `pattern`, or nullptr with the reason in
// `error` and no file left.
std::FILE* CreateUniqueFile(std::string& pattern, const std::string& permissionsOf, std::string& error);

// Flushes the stream and has the system write the file's data to the disk.
// False, with the reason in `error`, when either fails.
bool WriteThrough(std::FILE* stream, std::string& error);

// Puts the file `from` in place of `to` in one step, replacing `to` if it is
// there. False, with the reason in `error`, when it fails.
bool ReplaceFileWith(const std::string& from, const std::string& to, std::string& error);

// Removes a file, using only calls that a signal handler may make.
void RemoveFileNow(const char* path) noexcept;

// The names of the plain files in `folder` (no folders, no links); none when
// it cannot be read.
std::vector<std::string> PlainFilesIn(const std::string& folder);

// The id of this process, as the names of its temporary files hold it.
long long CurrentProcessId();

// Whether the file at `path`, made by the process with id `owner`, was left
// by a process that has ended: no process has that id now, or the one that
// has it started after the file was last written (the id was given to
// another process since). False when that cannot be told.
bool LeftByEndedProcess(long long owner, const std::string& path);

// Holds an exclusive lock on a folder for its lifetime, against the other
// processes that take it: a run that puts a set of files in place holds it
// for the renames. None when the system cannot lock the folder, as the
// renames still work without it.
class FolderLock {
public:
    explicit FolderLock(const std::string& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    // The system's handle of the lock: a descriptor, or a mutex.
    std::intptr_t handle_;
};

} // namespace talver

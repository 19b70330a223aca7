#pragma once
// The calls of the system with which AtomicFile replaces a file: a new file
// of a name no other file has, its data written through to the disk, and a
// rename over the old file in one step.

#include <cstdio>
#include <string>

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

} // namespace talver

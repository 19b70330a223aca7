#pragma once
// What this process may do with an existing file, asked of the system rather
// than guessed from the permission bits (access lists, read-only mounts).

#include <string>

namespace talver {

// Whether the process may open the existing file `path` for writing.
bool MayWriteFile(const std::string& path);

} // namespace talver

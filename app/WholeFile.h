#pragma once
// Writes a whole output file so that a reader never sees half of it and a
// failed run leaves the earlier file as it was: the text goes to a temporary
// file in the same folder, which then replaces the file.

#include <string>

namespace talver {

// False, with the reason, when the file could not be written; the temporary
// file is removed then.
bool WriteWholeFile(const std::string& path, const std::string& text, std::string& reason);

} // namespace talver

#pragma once
// Opens a data file for reading, refusing what is not a regular file.

#include "data/DataTable.h"

#include <fstream>
#include <string>

namespace talver {

// On success `file` is open for reading in binary mode. `path` is UTF-8.
DataReadResult OpenRegularFile(const std::string& path, std::ifstream& file);

} // namespace talver

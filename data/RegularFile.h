#pragma once
// Opens a data file for reading, refusing what is not a regular file.

#include "data/DataTable.h"

#include <cstdio>
#include <string>

namespace talver {

// On success `file` is open for reading in binary mode; the caller closes it.
DataReadResult OpenRegularFile(const std::string& path, std::FILE*& file);

} // namespace talver

#pragma once
// Reads a data file whole into memory, refusing what is not a regular file.

#include "data/DataTable.h"

#include <string>

namespace talver {

DataReadResult ReadWholeFile(const std::string& path, std::string& text);

} // namespace talver

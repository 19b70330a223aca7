#pragma once
// Messages are UTF-8, the names of files and groups in them included. A
// Windows console reads the bytes written to it in a code page, and the C
// library may translate them on the way; text for a console is handed to it
// as characters instead. Files and pipes get the bytes as they are.

#include <cstdio>
#include <string>

namespace talver {

void WriteText(std::FILE* stream, const std::string& utf8);

} // namespace talver

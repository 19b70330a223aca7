#include "platform/FileAccess.h"

#include <io.h>

namespace talver {

bool MayWriteFile(const std::string& path)
{
    // Mode 2 asks for writing; a read-only attribute refuses it.
    return _access(path.c_str(), 2) == 0;
}

} // namespace talver
